#include <string>
#include "forms/Forms.h"

namespace forms {

namespace {
using K = ui::ControlKind;

// Each page: a sky-blue box filling it, with the page's help button in its lower left corner.
constexpr ui::Rect kPage{4, 30, 370, 210};
constexpr ui::Rect kBox{2, 2, 366, 206};
constexpr ui::Rect kHelp{4, 177, 25, 25};

std::vector<std::string> hours() {
    std::vector<std::string> items;
    for (int h = 0; h < 24; ++h) items.push_back((h < 10 ? "0" : "") + std::to_string(h) + ":00");
    return items;
}
}  // namespace

const FormLayout& settingsForm() {
    static const FormLayout layout{
        .className = "TFormSettings",
        .name = "FormSettings",
        .caption = "Настройки ...",
        .bounds = {0, 0, 378, 279},
        .border = ui::BorderStyle::Dialog,
        .position = ui::FormPosition::ScreenCenter,
        .showHint = true,
        .controls =
            {
                {.kind = K::PageControl, .name = "PageControlSettings", .bounds = {0, 0, 378, 244}, .tabOrder = 0,
                 .pushLike = true},

                // ---- general
                {.kind = K::TabSheet, .name = "TabSheetSet", .bounds = kPage, .caption = "Об&щие",
                 .parent = "PageControlSettings", .tabOrder = 0},
                {.kind = K::Panel, .name = "ScrollBoxSet", .bounds = kBox, .parent = "TabSheetSet",
                 .color = ui::kSkyBlue, .tabOrder = 0},
                {.kind = K::Panel, .name = "Panel1", .bounds = {4, 4, 358, 30}, .parent = "ScrollBoxSet",
                 .tabOrder = 0},
                {.kind = K::Label, .name = "Label1", .bounds = {8, 8, 0, 0}, .caption = "Автозагрузка при старте:",
                 .parent = "Panel1"},
                {.kind = K::ComboBox, .name = "ComboBox1", .bounds = {168, 4, 182, 21}, .parent = "Panel1",
                 .items = {"Нет", "Для всех пользователей", "Только для меня"}, .tabOrder = 0},
                {.kind = K::Panel, .name = "Panel2", .bounds = {4, 38, 358, 50}, .parent = "ScrollBoxSet",
                 .tabOrder = 1},
                // The blanks push the keys onto a line of their own.
                {.kind = K::CheckBox, .name = "CheckBoxGlobalHK", .bounds = {8, 4, 342, 42},
                 .caption = "&Использовать глобальные горячие клавиши.                      "
                            "[Win+T - Время голосом и Ctrl+T - Показать часы]",
                 .parent = "Panel2", .tabOrder = 0, .wordWrap = true},
                {.kind = K::Panel, .name = "Panel9", .bounds = {4, 92, 358, 80}, .parent = "ScrollBoxSet",
                 .tabOrder = 2},
                {.kind = K::Label, .name = "Label6", .bounds = {8, 6, 0, 0},
                 .caption = "Резервирование параметров [ BackUp ]", .parent = "Panel9"},
                {.kind = K::Label, .name = "LabelBackUpAgo", .bounds = {8, 26, 0, 0},
                 .caption = "Последнее резервирование параметров:", .parent = "Panel9"},
                {.kind = K::Panel, .name = "Panel10", .bounds = {252, 22, 98, 21}, .caption = "Неизвестно",
                 .parent = "Panel9"},
                {.kind = K::Button, .name = "ButtonSaveBackUp", .bounds = {8, 49, 166, 25},
                 .caption = "Со&хранить параметры", .parent = "Panel9", .hint = "Сохранить параметры в BackUp файл",
                 .tabOrder = 0},
                {.kind = K::Button, .name = "ButtonLoadBackUp", .bounds = {184, 49, 166, 25},
                 .caption = "З&агрузить параметры", .parent = "Panel9", .hint = "Загрузить параметры из BackUp файла",
                 .tabOrder = 1},
                helpButton("BitBtn1", kHelp, 3, "ScrollBoxSet"),

                // ---- interface
                {.kind = K::TabSheet, .name = "TabSheetView", .bounds = kPage, .caption = "&Интерфейс",
                 .parent = "PageControlSettings", .tabOrder = 1},
                {.kind = K::Panel, .name = "ScrollBoxView", .bounds = kBox, .parent = "TabSheetView",
                 .color = ui::kSkyBlue, .tabOrder = 0},
                {.kind = K::Panel, .name = "Panel4", .bounds = {4, 4, 358, 62}, .parent = "ScrollBoxView",
                 .tabOrder = 0},
                {.kind = K::CheckBox, .name = "CheckBox1", .bounds = {8, 4, 342, 17},
                 .caption = "Значок  <&Быстрый выход>", .parent = "Panel4", .tabOrder = 0},
                {.kind = K::CheckBox, .name = "CheckBoxQE", .bounds = {8, 22, 342, 17},
                 .caption = "Пункт <Быстрый выход> в &главном меню", .parent = "Panel4", .tabOrder = 1},
                {.kind = K::CheckBox, .name = "CheckBoxST", .bounds = {8, 40, 342, 17},
                 .caption = "Пункт <&Настройка Времени/Даты> в главном меню", .parent = "Panel4", .tabOrder = 2},
                {.kind = K::Panel, .name = "Panel8", .bounds = {4, 70, 358, 58}, .parent = "ScrollBoxView",
                 .tabOrder = 1},
                {.kind = K::CheckBox, .name = "CheckBox10", .bounds = {8, 4, 342, 17},
                 .caption = "Испо&льзовать прозрачность", .parent = "Panel8", .tabOrder = 0},
                {.kind = K::Label, .name = "Label3", .bounds = {8, 30, 0, 0}, .caption = "Непрозрачность:",
                 .parent = "Panel8"},
                {.kind = K::TrackBar, .name = "TrackBar4", .bounds = {112, 24, 196, 30}, .parent = "Panel8",
                 .tabOrder = 1, .track = TrackSteps{100, 255, 10, 50, 10}},
                {.kind = K::Label, .name = "LabelAS", .bounds = {314, 30, 0, 0}, .caption = "255", .parent = "Panel8"},
                {.kind = K::Panel, .name = "Panel12", .bounds = {4, 132, 358, 40}, .parent = "ScrollBoxView",
                 .tabOrder = 2},
                {.kind = K::Panel, .name = "Panel11", .bounds = {8, 7, 120, 25}, .caption = "Цвет", .parent = "Panel12",
                 .handCursor = true},
                {.kind = K::Button, .name = "ButtonSetFont", .bounds = {136, 7, 100, 25}, .caption = "&Шрифт",
                 .parent = "Panel12", .hint = "Настройка шрифта для часов", .tabOrder = 0},
                helpButton("BitBtn2", kHelp, 3, "ScrollBoxView"),

                // ---- sounds
                {.kind = K::TabSheet, .name = "TabSheetSound", .bounds = kPage, .caption = "&Звуки",
                 .parent = "PageControlSettings", .tabOrder = 2},
                {.kind = K::Panel, .name = "ScrollBoxSound", .bounds = kBox, .parent = "TabSheetSound",
                 .color = ui::kSkyBlue, .tabOrder = 0},
                {.kind = K::Panel, .name = "Panel5", .bounds = {4, 4, 358, 56}, .parent = "ScrollBoxSound",
                 .tabOrder = 0},
                {.kind = K::CheckBox, .name = "CheckBoxSoundH", .bounds = {8, 4, 150, 17},
                 .caption = "Си&гнал каждый час", .parent = "Panel5", .tabOrder = 0},
                {.kind = K::CheckBox, .name = "CheckBoxSoundH05", .bounds = {176, 4, 174, 17},
                 .caption = "Сигнал каждые пол&часа", .parent = "Panel5", .tabOrder = 1},
                {.kind = K::ComboBox, .name = "ComboBoxSoundH", .bounds = {8, 28, 304, 21}, .parent = "Panel5",
                 .enabled = false, .items = {"Стандартный", "Восклицание", "Ошибка", "Вопрос", "Звездочка"},
                 .tabOrder = 2},
                {.kind = K::Button, .name = "SpeedButtonSoundH", .bounds = {320, 26, 29, 25}, .caption = kPlayGlyph,
                 .parent = "Panel5", .enabled = false, .tabOrder = 3},
                {.kind = K::Panel, .name = "Panel3", .bounds = {4, 64, 358, 56}, .parent = "ScrollBoxSound",
                 .tabOrder = 1},
                {.kind = K::CheckBox, .name = "CheckBoxTimeVoice", .bounds = {8, 4, 190, 17},
                 .caption = "&Время голосом каждый час", .parent = "Panel3", .tabOrder = 0},
                {.kind = K::CheckBox, .name = "CheckBoxTVoice05", .bounds = {210, 4, 140, 17},
                 .caption = "Ка&ждые полчаса", .parent = "Panel3", .tabOrder = 1},
                {.kind = K::Label, .name = "Label4", .bounds = {8, 31, 0, 0}, .caption = "Выбор голоса:  ",
                 .parent = "Panel3"},
                {.kind = K::ComboBox, .name = "ComboBoxChangeVoice", .bounds = {108, 28, 204, 21}, .parent = "Panel3",
                 .enabled = false, .tabOrder = 2, .dropDownCount = 24},
                {.kind = K::Button, .name = "SpeedButtonVoice", .bounds = {320, 26, 29, 25}, .caption = kPlayGlyph,
                 .parent = "Panel3", .enabled = false, .tabOrder = 3},
                {.kind = K::Panel, .name = "Panel6", .bounds = {4, 124, 358, 33}, .parent = "ScrollBoxSound",
                 .tabOrder = 2},
                // The hours go into the blanks of the caption.
                {.kind = K::CheckBox, .name = "CheckBox9", .bounds = {4, 8, 350, 17},
                 .caption = "О&тключить голос и сигнал с                       до        , ", .parent = "Panel6",
                 .hint = "Отключить с [включительно] по [невключительно]", .tabOrder = 0},
                {.kind = K::ComboBox, .name = "ComboBox2", .bounds = {186, 6, 56, 21}, .parent = "Panel6",
                 .enabled = false, .items = hours(), .tabOrder = 1, .dropDownCount = 24, .inGapOf = "CheckBox9",
                 .gap = 0},
                {.kind = K::ComboBox, .name = "ComboBox3", .bounds = {298, 6, 56, 21}, .parent = "Panel6",
                 .enabled = false, .items = hours(), .tabOrder = 2, .dropDownCount = 24, .inGapOf = "CheckBox9",
                 .gap = 1},
                helpButton("BitBtn3", kHelp, 3, "ScrollBoxSound"),

                // ---- reminders
                {.kind = K::TabSheet, .name = "TabSheet1", .bounds = kPage, .caption = "Н&апоминания",
                 .parent = "PageControlSettings", .tabOrder = 3},
                {.kind = K::Panel, .name = "ScrollBox1", .bounds = kBox, .parent = "TabSheet1", .color = ui::kSkyBlue,
                 .tabOrder = 0},
                {.kind = K::CheckListBox, .name = "CheckListBox1", .bounds = {4, 4, 358, 168}, .parent = "ScrollBox1",
                 .tabOrder = 0, .itemHeight = 13},
                helpButton("BitBtn4", kHelp, 1, "ScrollBox1"),
                {.kind = K::Button, .name = "Button4", .bounds = {92, 177, 84, 25}, .caption = "&Добавить",
                 .parent = "ScrollBox1", .tabOrder = 2},
                {.kind = K::Button, .name = "Button2", .bounds = {182, 177, 104, 25}, .caption = "&Редактировать",
                 .parent = "ScrollBox1", .enabled = false, .tabOrder = 3},
                {.kind = K::Button, .name = "Button3", .bounds = {292, 177, 70, 25}, .caption = "&Удалить",
                 .parent = "ScrollBox1", .enabled = false, .tabOrder = 4},

                {.kind = K::Button, .name = "ButtonOk", .bounds = {216, 250, 76, 25}, .caption = "&Ok",
                 .hint = "Закрыть окно и сохранить изменения", .isDefault = true, .tabOrder = 1},
                {.kind = K::Button, .name = "ButtonCancel", .bounds = {298, 250, 76, 25}, .caption = "&Отмена",
                 .enabled = false, .hint = "Закрыть окно и отменить изменения", .isCancel = true, .tabOrder = 2},
            },
    };
    return layout;
}

}  // namespace forms
