#pragma once
#include <vector>
#include "forms/Layout.h"

namespace forms {

// The maker's addresses, shown in the about and unsupported-system windows.
inline constexpr const char* kWebAddress = "https://lumivo.example.org/";
inline constexpr const char* kSupportEmail = "support@lumivo.example.org";

inline constexpr ui::Color kShadowColor = 3289650;  // red, green and blue 50 each

// The test buttons' pictures: play and stop.
inline constexpr const char* kPlayGlyph = "\u25BA";
inline constexpr const char* kStopGlyph = "\u25A0";

// Every window's layout. Each is declared through this one list, so that
// allLayouts(), and the layout checks that go through it, hold a new window
// without more ado.
#define LUMIVO_FORM_LAYOUTS(X) X(clockForm) X(splashForm) X(aboutForm) X(notSupportedOsForm) X(firstLaunchForm) \
    X(errorForm) X(quickShutDownForm) X(qsdWarningForm) X(signForm) X(addMsgForm) X(settingsForm)

#define LUMIVO_DECLARE_LAYOUT(name) const FormLayout& name();
LUMIVO_FORM_LAYOUTS(LUMIVO_DECLARE_LAYOUT)
#undef LUMIVO_DECLARE_LAYOUT

// The help button of the dialogs (a "?"; its picture is ours to choose).
ControlLayout helpButton(const char* name, ui::Rect r, int tabOrder, const char* parent = nullptr);

// The hour-and-minute entry: a sky-blue panel named `name` holding
// name.EditH / name.UpDown1 / name.Label2 and name.EditM / name.UpDown2 / name.Label3.
inline constexpr int kTimeSetFrameWidth = 270, kTimeSetFrameHeight = 41;
std::vector<ControlLayout> timeSetFrame(const char* name, int left, int top, int tabOrder);

// Puts each control that the layout sets into a gap of a check box's caption
// (ControlLayout::inGapOf) over that gap, by the caption as the window system
// measures it: a realized form only.
void placeInGaps(ui::Form&, const FormLayout&);

inline std::vector<const FormLayout*> allLayouts() {
#define LUMIVO_LAYOUT_ADDRESS(name) &name(),
    return {LUMIVO_FORM_LAYOUTS(LUMIVO_LAYOUT_ADDRESS)};
#undef LUMIVO_LAYOUT_ADDRESS
}

}  // namespace forms
