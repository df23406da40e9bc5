#include "forms/ClockMenuIds.h"
#include "forms/Forms.h"

namespace forms {

namespace {
ui::Font clockFont(ui::Color color) {
    ui::Font f;
    f.name = "Forte";
    f.size = 80;  // 107 pixels high at 96 dpi
    f.color = color;
    return f;
}

ControlLayout indicator(const char* name, const char* picture) {
    return {.kind = ui::ControlKind::Image, .name = name, .bounds = {0, 0, 15, 15}, .visible = false,
            .picture = picture, .transparent = true};
}
}  // namespace

const FormLayout& clockForm() {
    using K = ui::ControlKind;
    static const FormLayout layout{
        .className = "TFormClock",
        .name = "FormClock",
        .caption = "LumivoLaunch",
        .bounds = {30, -15, 100, 100},
        .border = ui::BorderStyle::None,
        .color = ui::kBlack,
        .stayOnTop = true,
        .autoSize = true,
        .showHint = true,
        .alphaBlend = true,
        .alpha = 1,
        .transparentColor = true,
        .transparentColorValue = ui::kBlack,
        .controls =
            {
                {.kind = K::Label, .name = "TimeSize", .bounds = {4, 14, 0, 0}, .font = clockFont(ui::kBlack)},
                {.kind = K::Label, .name = "TimeShadow", .bounds = {4, 14, 0, 0}, .font = clockFont(kShadowColor),
                 .visible = false},
                {.kind = K::Label, .name = "TimeMain", .bounds = {8, 10, 0, 0}, .font = clockFont(ui::kRed),
                 .visible = false, .handCursor = true},
                indicator("ImageGreen", "QSD_GREEN"),
                indicator("ImageYellow", "QSD_YELLOW"),
                indicator("ImageOrange", "QSD_ORANGE"),
                indicator("ImageRed", "QSD_RED"),
            },
        .timers = {{"Timer1", 1, true}, {"Timer2", 60000, false}, {"TimerMySnd", 50, false},
                   {"TimerSndPause", 500, false}},
        .menuName = "MainPoM",
        .menu =
            {
                {.name = "N6", .caption = "Остановить  проигрывание звука", .command = cmd::N6, .visible = false,
                 .isDefault = true},
                {.name = "N8", .caption = "&Восстановить", .command = cmd::N8, .visible = false},
                {.name = "HidePOM", .caption = "Свернуть в &трей", .command = cmd::HidePOM},
                {.name = "OnTopPOM", .caption = "&Поверх остальных окон", .command = cmd::OnTopPOM, .checked = true,
                 .autoCheck = true},
                {.name = "SoundDiss", .caption = "От&ключить звук", .command = cmd::SoundDiss},
                {.name = "N4", .caption = "В левый-верхний угол", .command = cmd::N4, .visible = false},
                {.name = "N1",
                 .caption = "Формат отображаемого времени",
                 .items =
                     {
                         {.name = "NillFirst", .caption = "&Лидирующий ноль", .command = cmd::NillFirst,
                          .autoCheck = true},
                         {.name = "ViewSecondsA", .caption = "&Отображать секунды", .command = cmd::ViewSecondsA,
                          .autoCheck = true},
                         {.name = "PMAM24", .caption = "&Формат времени AM/PM", .command = cmd::PMAM24,
                          .autoCheck = true},
                     }},
                {.name = "N3", .caption = "-"},
                {.name = "QuickExit", .caption = "&Быстрый выход...", .command = cmd::QuickExit},
                {.name = "N2", .caption = "&Настройки программы...", .command = cmd::N2},
                {.name = "SetTime", .caption = "Настройка &Времени/Даты...", .command = cmd::SetTime},
                {.name = "HelpPOM",
                 .caption = "Справка",
                 .items =
                     {
                         {.name = "HelpSec", .caption = "По&мощь...", .command = cmd::HelpSec},
                         {.name = "AboutPro", .caption = "О &программе...", .command = cmd::AboutPro},
                         {.name = "Err", .caption = "Ошибка", .command = cmd::Err, .visible = false,
                          .enabled = false},
                     }},
                {.name = "N5", .caption = "-"},
                {.name = "ExitPOM", .caption = "&Закрыть", .command = cmd::ExitPOM},
            },
    };
    return layout;
}

}  // namespace forms
