#include "forms/Forms.h"

namespace forms {

namespace {
using K = ui::ControlKind;

ControlLayout link(const char* name, ui::Rect r, const char* caption, ui::Color colour, const char* hint) {
    return {.kind = K::Label, .name = name, .bounds = r, .caption = caption,
            .font = dialogFont(8, colour, false, true), .handCursor = true, .hint = hint};
}

ControlLayout logo() {
    return {.kind = K::Image, .name = "ImageLogo", .bounds = {15, 10, 330, 160}, .transparent = true,
            .proportional = true, .center = true};
}

// The maker's two links and the OK button, from `top` down: the foot of the logo windows.
// The links start clear of the longer caption's colon in the real dialog font.
std::vector<ControlLayout> withMakerLinks(std::vector<ControlLayout> controls, int top, ui::Color linkColour) {
    constexpr int linkLeft = 130;
    controls.push_back({.kind = K::Label, .name = "LabelWebCaption", .bounds = {15, top, 0, 0},
                        .caption = "Сайт программы:"});
    controls.push_back(link("LabelWeb", {linkLeft, top, 0, 0}, kWebAddress, linkColour,
                            "Посетите сайт программы для обновлений"));
    controls.push_back({.kind = K::Label, .name = "LabelMailCaption", .bounds = {15, top + 20, 0, 0}, .caption = "E-mail:"});
    controls.push_back(link("LabelEMail", {linkLeft, top + 20, 0, 0}, kSupportEmail, linkColour,
                            "Напишите автору пожелания и замечания"));
    controls.push_back({.kind = K::Button, .name = "ButtonOk", .bounds = {140, top + 54, 80, 26}, .caption = "&Ok",
                        .isDefault = true, .isCancel = true});
    return controls;
}
}  // namespace

const FormLayout& splashForm() {
    static const FormLayout layout{
        .className = "TFormSplashScreen",
        .name = "FormSplashScreen",
        .caption = "",
        .bounds = {0, 0, 300, 150},
        .border = ui::BorderStyle::None,
        .position = ui::FormPosition::ScreenCenter,
        .color = ui::kRed,
        .stayOnTop = true,
        .keyPreview = true,
        .transparentColor = true,
        .transparentColorValue = ui::kRed,
        .controls = {{.kind = K::Image, .name = "Image1", .bounds = {0, 0, 300, 150}, .picture = "SPLASH"}},
        .timers = {{"Timer1", 5000, true}},
    };
    return layout;
}

const FormLayout& aboutForm() {
    static const FormLayout layout{
        .className = "TFormAbout",
        .name = "FormAbout",
        .caption = "О программе...",
        .bounds = {0, 0, 360, 330},
        .border = ui::BorderStyle::Dialog,
        .position = ui::FormPosition::ScreenCenter,
        .stayOnTop = true,
        .showHint = true,
        .controls = withMakerLinks({logo(), {.kind = K::Memo, .name = "Memo3", .bounds = {15, 178, 330, 44}}}, 232,
                                  ui::kBlue),
    };
    return layout;
}

const FormLayout& notSupportedOsForm() {
    static const FormLayout layout{
        .className = "TFormNotSupportedOS",
        .name = "FormNotSupportedOS",
        .caption = "Not supported OS...",
        .bounds = {0, 0, 360, 420},
        .border = ui::BorderStyle::Dialog,
        .position = ui::FormPosition::ScreenCenter,
        .stayOnTop = true,
        .showHint = true,
        .controls = withMakerLinks(
            {
                logo(),
                {.kind = K::Memo, .name = "Memo2", .bounds = {15, 178, 330, 44}},
                {.kind = K::Memo, .name = "Memo1", .bounds = {15, 228, 330, 84},
                 .items = {"Программа - часы + выключение компьютера ", "через заданное время. ", "",
                           "Программа не совместима с вашей операционной ", "системой!"}},
            },
            322, ui::kRed),
    };
    return layout;
}

const FormLayout& firstLaunchForm() {
    static const FormLayout layout{
        .className = "TFormFirstLaunch",
        .name = "FormFirstLaunch",
        .caption = "Первый запуск...",
        .bounds = {0, 0, 330, 196},
        .border = ui::BorderStyle::ToolWindow,
        .position = ui::FormPosition::ScreenCenter,
        .stayOnTop = true,
        .controls =
            {
                {.kind = K::Panel, .name = "Panel1", .bounds = {8, 8, 314, 144}, .color = ui::kSkyBlue},
                // Both panels are filled with the version texts when the window is created.
                {.kind = K::Panel, .name = "Panel2", .bounds = {6, 6, 302, 20}, .parent = "Panel1",
                 .font = dialogFont(8, ui::kRed, true, true), .color = ui::kSkyBlue},
                {.kind = K::Label, .name = "Label2", .bounds = {10, 32, 0, 0},
                 .caption = "Программа - часы + выключение компьютера", .parent = "Panel1"},
                {.kind = K::Label, .name = "Label1", .bounds = {10, 48, 0, 0}, .caption = "через заданное время. ",
                 .parent = "Panel1"},
                {.kind = K::Panel, .name = "Panel3", .bounds = {6, 68, 302, 20}, .parent = "Panel1", .color = ui::kSkyBlue},
                {.kind = K::Label, .name = "Label4", .bounds = {10, 100, 0, 0}, .caption = "Первый запуск программы.",
                 .parent = "Panel1", .font = dialogFont(8, ui::kRed, true)},
                {.kind = K::Label, .name = "Label5", .bounds = {10, 118, 0, 0}, .caption = "Будет открыто окно настроек...",
                 .parent = "Panel1", .font = dialogFont(8, ui::kRed, true)},
                {.kind = K::Button, .name = "ButtonOk", .bounds = {125, 162, 80, 26}, .caption = "&Ok",
                 .isDefault = true, .isCancel = true},
            },
    };
    return layout;
}

const FormLayout& errorForm() {
    static const FormLayout layout{
        .className = "TFormError",
        .name = "FormError",
        .caption = "Ошибка...",
        .bounds = {0, 0, 528, 188},
        .border = ui::BorderStyle::Single,
        .position = ui::FormPosition::ScreenCenter,
        .stayOnTop = true,
        .controls =
            {
                {.kind = K::Label, .name = "Label1", .bounds = {12, 10, 0, 0},
                 .caption = "Ошибка в работе программы Lumivo.XP !", .font = dialogFont(10, ui::kRed, true, true)},
                {.kind = K::Label, .name = "Label2", .bounds = {12, 34, 0, 0}, .caption = "Код ошибки:"},
                {.kind = K::Button, .name = "Button4", .bounds = {376, 8, 140, 24}, .caption = "&Сообщить автору...",
                 .tabOrder = 5},
                {.kind = K::Panel, .name = "Panel1", .bounds = {12, 54, 504, 62}, .color = ui::kSkyBlue},
                {.kind = K::Label, .name = "Label6", .bounds = {8, 6, 0, 0}, .caption = "Приносим извинения за неудобства.",
                 .parent = "Panel1"},
                {.kind = K::Label, .name = "Label3", .bounds = {8, 24, 0, 0},
                 .caption = "Если ошибка будет повторяться, переустановите программу. ", .parent = "Panel1"},
                {.kind = K::Label, .name = "Label4", .bounds = {8, 42, 0, 0},
                 .caption = "Для сохранения настроек используйте резервирование параметров.", .parent = "Panel1"},
                {.kind = K::Label, .name = "Label5", .bounds = {12, 124, 0, 0},
                 .caption = "Выберите действие которое нужно выполнить:"},
                helpButton("BitBtn1", {12, 148, 26, 26}, 4),
                {.kind = K::Button, .name = "Button3", .bounds = {46, 148, 112, 26}, .caption = "&Игнорировать",
                 .isDefault = true, .isCancel = true, .tabOrder = 0},
                {.kind = K::Button, .name = "Button2", .bounds = {166, 148, 150, 26}, .caption = "&Закрыть программу",
                 .tabOrder = 1},
                {.kind = K::Button, .name = "Button1", .bounds = {324, 148, 192, 26},
                 .caption = "&Перезапустить программу", .tabOrder = 2},
            },
    };
    return layout;
}

}  // namespace forms
