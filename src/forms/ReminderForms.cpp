#include "forms/Forms.h"

namespace forms {

namespace {
using K = ui::ControlKind;
}  // namespace

const FormLayout& signForm() {
    static const FormLayout layout = [] {
        FormLayout f{
            .className = "TFormSign",
            .name = "FormSign",
            .caption = "Настройка напоминания...",
            .bounds = {0, 0, 295, 322},
            .border = ui::BorderStyle::Dialog,
            .position = ui::FormPosition::ScreenCenter,
            .showHint = true,
            .timers = {{"Timer1", 50, false}},
        };
        f.controls = {
            {.kind = K::PageControl, .name = "PageControl1", .bounds = {0, 0, 295, 286}, .tabOrder = 0,
             .pushLike = true},
            {.kind = K::TabSheet, .name = "TabSheet1", .bounds = {4, 30, 287, 252}, .caption = "Время",
             .parent = "PageControl1", .tabOrder = 0},
            {.kind = K::Label, .name = "LabeledEdit1.EditLabel", .bounds = {8, 6, 0, 0},
             .caption = "   Название напоминания", .parent = "TabSheet1"},
            {.kind = K::Edit, .name = "LabeledEdit1", .bounds = {8, 21, 271, 21}, .caption = "Без названия",
             .parent = "TabSheet1", .tabOrder = 0},
            {.kind = K::CheckBox, .name = "CheckBox4", .bounds = {8, 48, 271, 17},
             .caption = "Напомнить один раз, и отключить.", .parent = "TabSheet1", .tabOrder = 1},
        };
        for (ControlLayout c : timeSetFrame("FrameTimeSet1", 8, 70, 2)) {
            if (!c.parent) c.parent = "TabSheet1";
            f.controls.push_back(c);
        }
        const std::vector<ControlLayout> rest = {
            {.kind = K::Panel, .name = "Panel2", .bounds = {2, 116, 283, 90}, .parent = "TabSheet1", .enabled = false,
             .tabOrder = 3},
            // A smaller font: the note's lines are longer than the page is wide.
            {.kind = K::Memo, .name = "Memo1", .bounds = {2, 2, 279, 86}, .parent = "Panel2", .font = dialogFont(7),
             .items = {"  Во времени напоминания, можно использовать ", "знак подстановки * для часа, ",
                       "  * : 20 - напоминание будет запускаться в 20 мин. ", " каждого часа.",
                       " Не вводите одинаковое время для напоминаний,",
                       "пример - одинаковым будет \"** : 20\" и \"15 : 20\"."}},
            {.kind = K::Label, .name = "Label2", .bounds = {8, 211, 0, 0}, .caption = " Дни недели:",
             .parent = "TabSheet1"},
            {.kind = K::CheckBox, .name = "SP1", .bounds = {8, 227, 37, 22}, .caption = "Пн.", .parent = "TabSheet1",
             .tabOrder = 4, .pushLike = true},
            {.kind = K::CheckBox, .name = "SP2", .bounds = {47, 227, 37, 22}, .caption = "Вт.", .parent = "TabSheet1",
             .tabOrder = 5, .pushLike = true},
            {.kind = K::CheckBox, .name = "SP3", .bounds = {86, 227, 37, 22}, .caption = "Ср.", .parent = "TabSheet1",
             .tabOrder = 6, .pushLike = true},
            {.kind = K::CheckBox, .name = "SP4", .bounds = {125, 227, 37, 22}, .caption = "Чт.", .parent = "TabSheet1",
             .tabOrder = 7, .pushLike = true},
            {.kind = K::CheckBox, .name = "SP5", .bounds = {164, 227, 37, 22}, .caption = "Пт.", .parent = "TabSheet1",
             .tabOrder = 8, .pushLike = true},
            {.kind = K::CheckBox, .name = "SP6", .bounds = {203, 227, 37, 22}, .caption = "Сб.", .parent = "TabSheet1",
             .tabOrder = 9, .pushLike = true},
            {.kind = K::CheckBox, .name = "SP7", .bounds = {242, 227, 37, 22}, .caption = "Вс.", .parent = "TabSheet1",
             .tabOrder = 10, .pushLike = true},

            {.kind = K::TabSheet, .name = "TabSheet2", .bounds = {4, 30, 287, 252}, .caption = "Действия",
             .parent = "PageControl1", .tabOrder = 1},
            {.kind = K::Label, .name = "Label1", .bounds = {8, 6, 0, 0}, .caption = "Настройка действия",
             .parent = "TabSheet2"},
            {.kind = K::Panel, .name = "ScrollBox1", .bounds = {8, 22, 271, 228}, .parent = "TabSheet2",
             .color = ui::kSkyBlue, .tabOrder = 0},
            {.kind = K::Panel, .name = "Panel3", .bounds = {4, 4, 224, 46}, .parent = "ScrollBox1", .tabOrder = 0},
            {.kind = K::CheckBox, .name = "CheckBox5", .bounds = {4, 3, 150, 17}, .caption = "Голосом",
             .parent = "Panel3", .hint = "Произнести время", .tabOrder = 0},
            {.kind = K::ComboBox, .name = "ComboBox7", .bounds = {4, 21, 216, 21}, .parent = "Panel3",
             .enabled = false, .tabOrder = 1},
            {.kind = K::Button, .name = "SpeedButton1", .bounds = {234, 38, 29, 25}, .caption = kPlayGlyph,
             .parent = "ScrollBox1", .hint = "Прослушать", .tabOrder = 3},
            {.kind = K::CheckBox, .name = "CheckBox6", .bounds = {8, 54, 150, 17}, .caption = "Звуком",
             .parent = "ScrollBox1", .hint = "Системный звук", .tabOrder = 1},
            {.kind = K::ComboBox, .name = "ComboBox6", .bounds = {8, 73, 220, 21}, .parent = "ScrollBox1",
             .items = {"Стандартный", "Восклицание", "Ошибка", "Вопрос", "Звездочка"}, .tabOrder = 2},
            {.kind = K::CheckBox, .name = "CheckBox7", .bounds = {8, 102, 255, 17},
             .caption = "Проиграть звуковой файл...", .parent = "ScrollBox1", .tabOrder = 4},
            {.kind = K::Edit, .name = "Edit1", .bounds = {8, 121, 220, 21}, .parent = "ScrollBox1", .enabled = false,
             .tabOrder = 5, .readOnly = true},
            {.kind = K::Button, .name = "SpeedButton2", .bounds = {234, 119, 29, 25}, .caption = kPlayGlyph,
             .parent = "ScrollBox1", .enabled = false, .hint = "Проиграть файл", .tabOrder = 6},
            {.kind = K::Button, .name = "SpeedButton3", .bounds = {234, 119, 29, 25}, .caption = kStopGlyph,
             .parent = "ScrollBox1", .visible = false, .hint = "Остановить", .tabOrder = 7},
            {.kind = K::Button, .name = "Button6", .bounds = {8, 146, 80, 23}, .caption = "Обзор...",
             .parent = "ScrollBox1", .enabled = false, .tabOrder = 8},
            {.kind = K::Button, .name = "Button5", .bounds = {94, 146, 169, 23},
             .caption = "Открыть \"Звукозапись\"...", .parent = "ScrollBox1", .enabled = false, .tabOrder = 9},
            {.kind = K::CheckBox, .name = "CheckBox1", .bounds = {8, 174, 255, 17}, .caption = "Игнорировать тихий час",
             .parent = "ScrollBox1", .tabOrder = 10},
            {.kind = K::CheckBox, .name = "CheckBox3", .bounds = {8, 192, 255, 17},
             .caption = "Игнорировать отключение звука", .parent = "ScrollBox1", .tabOrder = 11},
            {.kind = K::CheckBox, .name = "CheckBox2", .bounds = {8, 210, 255, 17}, .caption = "Показать сообщение...",
             .parent = "ScrollBox1", .tabOrder = 12},

            helpButton("BitBtn1", {8, 293, 25, 25}, 1),
            {.kind = K::Panel, .name = "Panel1", .bounds = {124, 288, 171, 34}, .tabOrder = 2},
            {.kind = K::Button, .name = "Button1", .bounds = {4, 5, 78, 25}, .caption = "&Ок", .parent = "Panel1",
             .isDefault = true, .tabOrder = 1},
            {.kind = K::Button, .name = "Button2", .bounds = {88, 5, 78, 25}, .caption = "&Отмена", .parent = "Panel1",
             .isCancel = true, .tabOrder = 0},
        };
        for (const ControlLayout& c : rest) f.controls.push_back(c);
        return f;
    }();
    return layout;
}

const FormLayout& addMsgForm() {
    static const FormLayout layout{
        .className = "TFormAddMsg",
        .name = "FormAddMsg",
        .caption = "Редактирование сообщения...",
        .bounds = {0, 0, 335, 194},
        .border = ui::BorderStyle::Dialog,
        .position = ui::FormPosition::ScreenCenter,
        .showHint = true,
        .controls =
            {
                {.kind = K::Label, .name = "LabeledEdit1.EditLabel", .bounds = {8, 6, 0, 0},
                 .caption = "Заголовок окна:"},
                {.kind = K::Edit, .name = "LabeledEdit1", .bounds = {8, 21, 319, 21}, .caption = "Внимание...",
                 .tabOrder = 0, .maxLength = 40},
                {.kind = K::Label, .name = "Label1", .bounds = {8, 48, 0, 0}, .caption = "Текст сообщения:"},
                {.kind = K::Memo, .name = "Memo1", .bounds = {8, 63, 319, 68}, .tabOrder = 1, .readOnly = false,
                 .scrollBar = true},
                {.kind = K::Label, .name = "Label2", .bounds = {8, 140, 0, 0}, .caption = "Тип иконки и звука:"},
                {.kind = K::ComboBox, .name = "CBIcon", .bounds = {136, 137, 191, 21},
                 .items = {"Не использовать", "Информация", "Предупреждение", "Вопрос", "Ошибка"}, .tabOrder = 2},
                helpButton("BitBtn1", {8, 165, 25, 25}, 3),
                {.kind = K::Button, .name = "Button1", .bounds = {38, 165, 142, 25}, .caption = "&Просмотр сообщения",
                 .tabOrder = 4},
                {.kind = K::Button, .name = "Button2", .bounds = {186, 165, 68, 25}, .caption = "&Ok",
                 .isDefault = true, .tabOrder = 5},
                {.kind = K::Button, .name = "Button3", .bounds = {259, 165, 68, 25}, .caption = "&Отмена",
                 .isCancel = true, .tabOrder = 6},
            },
    };
    return layout;
}

}  // namespace forms
