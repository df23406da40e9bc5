#include <deque>
#include <string>
#include "forms/Forms.h"

namespace forms {

namespace {
using K = ui::ControlKind;
}  // namespace

ControlLayout helpButton(const char* name, ui::Rect r, int tabOrder, const char* parent) {
    return {.kind = K::Button, .name = name, .bounds = r, .caption = "?", .parent = parent, .hint = "Справка",
            .tabOrder = tabOrder};
}

std::vector<ControlLayout> timeSetFrame(const char* name, int left, int top, int tab) {
    // The frame's own controls carry its name, as a frame's do, so that two
    // frames, or a frame and its window, never share a control name.
    auto in = [name](const char* part) {
        static std::deque<std::string> names;  // layouts hold plain pointers: the texts must stay put
        names.push_back(std::string(name) + "." + part);
        return names.back().c_str();
    };
    const char* panel = name;
    return {
        {.kind = K::Panel, .name = panel, .bounds = {left, top, kTimeSetFrameWidth, kTimeSetFrameHeight},
         .color = ui::kSkyBlue, .tabOrder = tab},
        {.kind = K::Edit, .name = in("EditH"), .bounds = {10, 10, 36, 21}, .caption = "0", .parent = panel,
         .hint = "От 0 до 23", .tabOrder = 2},
        {.kind = K::UpDown, .name = in("UpDown1"), .bounds = {46, 10, 16, 21}, .parent = panel, .tabOrder = 0},
        {.kind = K::Label, .name = in("Label2"), .bounds = {68, 13, 0, 0}, .caption = "часов", .parent = panel},
        {.kind = K::Edit, .name = in("EditM"), .bounds = {136, 10, 36, 21}, .caption = "0", .parent = panel,
         .hint = "От 0 до 59", .tabOrder = 3},
        {.kind = K::UpDown, .name = in("UpDown2"), .bounds = {172, 10, 16, 21}, .parent = panel, .tabOrder = 1},
        {.kind = K::Label, .name = in("Label3"), .bounds = {194, 13, 0, 0}, .caption = "минут", .parent = panel},
    };
}

const FormLayout& quickShutDownForm() {
    static const FormLayout layout = [] {
        FormLayout f{
            .className = "TFormQuickShutDown",
            .name = "FormQuickShutDown",
            .caption = "Быстрый выход",
            .bounds = {0, 0, 279, 244},
            .border = ui::BorderStyle::Dialog,
            .position = ui::FormPosition::ScreenCenter,
            .stayOnTop = true,
            .showHint = true,
        };
        f.controls = {
            {.kind = K::Label, .name = "Label1", .bounds = {8, 6, 0, 0}, .caption = "Режим установки времени: *"},
            {.kind = K::ComboBox, .name = "ComboBox2", .bounds = {8, 22, 263, 21},
             .items = {"Обратный отсчет", "Точное время"}, .tabOrder = 0},
        };
        for (ControlLayout& c : timeSetFrame("FrameTimeSet1", 4, 50, 1)) f.controls.push_back(c);
        const std::vector<ControlLayout> rest = {
            {.kind = K::Label, .name = "Label4", .bounds = {8, 96, 0, 0}, .caption = "Режим срабатывания: *"},
            {.kind = K::ComboBox, .name = "ComboBox1", .bounds = {8, 112, 263, 21},
             .items = {"Выключение", "Перезагрузка", "Выход из системы", "Спящий режим"}, .tabOrder = 2},
            {.kind = K::CheckBox, .name = "CheckBoxWW", .bounds = {8, 139, 263, 17}, .caption = "О&кно предупреждения *",
             .hint = "Показать окно предупреждения за 5 минут до выключения", .tabOrder = 3},
            {.kind = K::Panel, .name = "Bevel2", .bounds = {8, 160, 263, 48}, .tabOrder = 4},
            {.kind = K::Label, .name = "Label2", .bounds = {6, 4, 0, 0}, .caption = "Настройки по умолчанию [*]:",
             .parent = "Bevel2"},
            {.kind = K::Button, .name = "Button5", .bounds = {6, 20, 92, 23}, .caption = "&Сохранить",
             .parent = "Bevel2", .hint = "Сохранить эти настройки по умолчанию", .tabOrder = 0},
            {.kind = K::Button, .name = "Button4", .bounds = {104, 20, 92, 23}, .caption = "З&агрузить",
             .parent = "Bevel2", .enabled = false, .hint = "Загрузить настройки по умолчанию", .tabOrder = 1},
            helpButton("BitBtn1", {234, 20, 23, 23}, 2, "Bevel2"),
            {.kind = K::Button, .name = "Button3", .bounds = {8, 214, 85, 25}, .caption = "&Пауза", .enabled = false,
             .hint = "Сдвигает срабатывание на время паузы, ДАЖЕ ЕСЛИ УСТАНОВЛЕНО ТОЧНОЕ ВРЕМЯ!", .tabOrder = 7},
            {.kind = K::Button, .name = "Button1", .bounds = {97, 214, 85, 25}, .caption = "Зап&уск", .tabOrder = 8},
            {.kind = K::Button, .name = "Button2", .bounds = {186, 214, 85, 25}, .caption = "&Закрыть",
             .hint = "Не изменяет состояния <Быстрого выхода>", .isCancel = true, .tabOrder = 9},
        };
        for (const ControlLayout& c : rest) f.controls.push_back(c);
        return f;
    }();
    return layout;
}

const FormLayout& qsdWarningForm() {
    static const FormLayout layout{
        .className = "TFormQSDWarDlg",
        .name = "FormQSDWarDlg",
        .caption = "Предупреждение...",
        .bounds = {0, 0, 382, 92},
        .border = ui::BorderStyle::ToolWindow,
        .position = ui::FormPosition::ScreenCenter,
        .stayOnTop = true,
        .showHint = true,
        .controls =
            {
                helpButton("BitBtn1", {8, 60, 25, 25}, 0),
                {.kind = K::Button, .name = "Button1", .bounds = {166, 60, 140, 25}, .caption = "&Изменить настройки...",
                 .tabOrder = 1},
                {.kind = K::Button, .name = "Button2", .bounds = {312, 60, 62, 25}, .caption = "&Ok", .isDefault = true,
                 .isCancel = true, .tabOrder = 2},
                {.kind = K::Panel, .name = "Panel1", .bounds = {8, 6, 366, 44}, .font = dialogFont(10),
                 .color = ui::kSkyBlue, .tabOrder = 3, .innerLowered = true},
                {.kind = K::Panel, .name = "Bevel1", .bounds = {8, 54, 366, 2}},
            },
    };
    return layout;
}

}  // namespace forms
