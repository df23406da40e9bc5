#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include "ui/Form.h"
#include "ui/Ui.h"

namespace forms {

// A track bar's range and steps.
struct TrackSteps {
    int min, max, line, page, tick;
};

// A window's layout as plain data; build() turns it into a ui::Form.
struct ControlLayout {
    ui::ControlKind kind;
    const char* name;
    ui::Rect bounds;
    const char* caption = "";
    const char* parent = nullptr;
    std::optional<ui::Font> font = {};
    ui::Color color = ui::kDefaultColor;
    bool visible = true;
    bool enabled = true;
    bool autoSize = true;      // labels
    bool handCursor = false;
    const char* hint = "";
    std::vector<std::string> items = {};   // combo items, memo lines
    bool isDefault = false, isCancel = false;
    const char* picture = nullptr;         // resource name of an image's picture
    bool transparent = false, proportional = false, center = false, stretch = false;
    int tabOrder = 0;
    bool innerLowered = false;             // panels: a lowered edge inside the raised one
    bool pushLike = false;                 // check boxes drawn as buttons that stay down; tabs as buttons
    std::optional<bool> readOnly = {};     // edits (default: writable) and memos (default: read-only)
    int maxLength = 0;                     // edits: characters the user may type, 0 for no limit
    bool scrollBar = false;                // memos: a vertical scroll bar
    bool wordWrap = false;                 // labels and check boxes: the caption breaks at blanks
    int itemHeight = 0;                    // check list boxes: pixels a line, 0 to follow the font
    int dropDownCount = 0;                 // combo boxes: rows the open list shows
    std::optional<TrackSteps> track = {};  // track bars
    // Set into the blank run number `gap` (from 0) of this check box's caption.
    const char* inGapOf = nullptr;
    int gap = 0;
};

// Where a check box's caption starts: the box and the gap after it.
inline constexpr int kCheckBoxTextLeft = 13 + 4;

struct MenuLayout {
    const char* name;
    const char* caption;
    unsigned command = 0;
    bool visible = true, enabled = true, checked = false, autoCheck = false, isDefault = false;
    std::vector<MenuLayout> items = {};
};

struct TimerLayout {
    const char* name;
    unsigned interval;
    bool enabled;
};

struct FormLayout {
    const char* className;
    const char* name;
    const char* caption;
    ui::Rect bounds;  // left, top, client width, client height
    ui::BorderStyle border = ui::BorderStyle::Single;
    ui::FormPosition position = ui::FormPosition::Designed;
    ui::Color color = ui::kBtnFace;
    bool stayOnTop = false, autoSize = false, keyPreview = false, showHint = false;
    bool alphaBlend = false;
    int alpha = 255;
    bool transparentColor = false;
    ui::Color transparentColorValue = ui::kBlack;
    std::vector<ControlLayout> controls = {};
    std::vector<TimerLayout> timers = {};
    const char* menuName = nullptr;   // the form's popup menu
    std::vector<MenuLayout> menu = {};
};

// The dialog font of every window but the clock.
ui::Font dialogFont(int size = 8, ui::Color color = ui::kBlack, bool bold = false, bool underline = false);

std::unique_ptr<ui::Form> build(const FormLayout&, ui::Ui&);

}  // namespace forms
