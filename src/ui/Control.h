#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "ui/Geometry.h"

namespace ui {

class Form;

enum class ControlKind {
    Label, Image, Panel,                                  // painted by their form
    Button, CheckBox, ComboBox, Edit, UpDown, Memo,       // real child controls
    CheckListBox, TrackBar, PageControl, TabSheet,
};

// What changed, so a window-system peer can update only that.
enum class Prop { Bounds, Visible, Enabled, Caption, Font, Color, Hint, Checked, Items, ItemIndex,
                  Position, Range, Lines, Picture, Cursor, Other };

enum class MouseButton { Left, Right, Middle };
struct MouseEvent {
    MouseButton button = MouseButton::Left;
    int x = 0, y = 0;  // relative to the control
};

class Control {
public:
    Control(ControlKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Form* form() const { return form_; }
    Control* parent() const { return parent_; }
    bool isGraphic() const { return kind_ == ControlKind::Label || kind_ == ControlKind::Image || kind_ == ControlKind::Panel; }

    const Rect& bounds() const { return bounds_; }
    void setBounds(const Rect& r);
    void setLeft(int v) { setBounds({v, bounds_.top, bounds_.width, bounds_.height}); }
    void setTop(int v) { setBounds({bounds_.left, v, bounds_.width, bounds_.height}); }
    void setSize(int w, int h) { setBounds({bounds_.left, bounds_.top, w, h}); }
    // Bounds relative to the form's client area (parents may be panels).
    Rect clientBounds() const;

    bool visible() const { return visible_; }
    void setVisible(bool v);
    // Visible itself and through every parent.
    bool showing() const;
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);
    const std::string& caption() const { return caption_; }
    virtual void setCaption(const std::string& text);
    const Font& font() const { return font_; }
    virtual void setFont(const Font& f);
    Color color() const { return color_; }
    void setColor(Color c);
    const std::string& hint() const { return hint_; }
    void setHint(const std::string& h);
    bool handCursor() const { return handCursor_; }
    void setHandCursor(bool v);
    int tabOrder = 0;

    std::function<void()> onClick, onDblClick;
    std::function<void(const MouseEvent&)> onMouseDown, onMouseMove, onMouseUp;
    // A typed character (edits, combo boxes, check boxes), before the control
    // sees it; setting it to 0 discards it.
    std::function<void(int& key)> onKeyPress;

    // For the window-system layer: state changes that came from the user, not echoed back.
    void assignBoundsFromUser(const Rect& r) { bounds_ = r; }

protected:
    void changed(Prop p);

private:
    friend class Form;
    ControlKind kind_;
    std::string name_;
    Form* form_ = nullptr;
    Control* parent_ = nullptr;
    Rect bounds_;
    bool visible_ = true, enabled_ = true, handCursor_ = false;
    std::string caption_, hint_;
    Font font_;
    Color color_ = kDefaultColor;
};

class Label : public Control {
public:
    explicit Label(std::string name) : Control(ControlKind::Label, std::move(name)) {}
    bool autoSize = true;
    bool transparent = true;
    bool wordWrap = false;
    void setCaption(const std::string& text) override;
    void setFont(const Font& f) override;
    void adjustSize();
};

class Image : public Control {
public:
    explicit Image(std::string name) : Control(ControlKind::Image, std::move(name)) {}
    const Bitmap& picture() const { return picture_; }
    void setPicture(Bitmap b);
    bool transparent = false;   // the bottom-left pixel's colour is not drawn
    bool stretch = false, proportional = false, center = false;

private:
    Bitmap picture_;
};

class Panel : public Control {
public:
    explicit Panel(std::string name) : Control(ControlKind::Panel, std::move(name)) {}
    bool bevel = true;           // the raised outer edge
    bool innerLowered = false;   // a lowered edge inside it: the inside looks sunk
};

class Button : public Control {
public:
    explicit Button(std::string name) : Control(ControlKind::Button, std::move(name)) {}
    bool isDefault = false, isCancel = false;
};

// Setting another state from code runs onClick, as a user's click does.
class CheckBox : public Control {
public:
    explicit CheckBox(std::string name) : Control(ControlKind::CheckBox, std::move(name)) {}
    bool checked() const { return checked_; }
    void setChecked(bool v);
    // Drawn as a button that stays down while checked.
    bool pushLike = false;
    // The caption breaks into lines at its blanks.
    bool wordWrap = false;

private:
    bool checked_ = false;
};

// Selecting from code runs no handler; the user's selection runs onChange.
class ComboBox : public Control {
public:
    explicit ComboBox(std::string name) : Control(ControlKind::ComboBox, std::move(name)) {}
    const std::vector<std::string>& items() const { return items_; }
    void setItems(std::vector<std::string> items);
    int itemIndex() const { return itemIndex_; }
    void setItemIndex(int i);
    void selectFromUser(int i);
    // Rows the open list shows before it scrolls; 0 for the window system's own.
    int dropDownCount = 0;
    std::string text() const { return itemIndex_ >= 0 && itemIndex_ < int(items_.size()) ? items_[itemIndex_] : std::string(); }
    std::function<void()> onChange;

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

class Edit : public Control {
public:
    explicit Edit(std::string name) : Control(ControlKind::Edit, std::move(name)) {}
    const std::string& text() const { return caption(); }
    void setText(const std::string& t);
    void setTextFromUser(const std::string& t);
    bool readOnly = false;
    int maxLength = 0;
    std::function<void()> onChange;
};

class Memo : public Control {
public:
    explicit Memo(std::string name) : Control(ControlKind::Memo, std::move(name)) {}
    const std::vector<std::string>& lines() const { return lines_; }
    void setLines(std::vector<std::string> lines);
    void addLine(const std::string& line);
    void setLinesFromUser(std::vector<std::string> lines) { lines_ = std::move(lines); }
    bool readOnly = true;
    bool borderless = false;
    bool scrollBar = false;   // vertical

private:
    std::vector<std::string> lines_;
};

class UpDown : public Control {
public:
    explicit UpDown(std::string name) : Control(ControlKind::UpDown, std::move(name)) {}
    int min = 0, max = 100;
    bool wrap = false;  // past max comes min, below min comes max
    int position() const { return position_; }
    void setPosition(int p);
    std::function<void(bool up)> onClickArrow;

private:
    int position_ = 0;
};

// Moving the thumb, by the user or from code, runs onChange.
class TrackBar : public Control {
public:
    explicit TrackBar(std::string name) : Control(ControlKind::TrackBar, std::move(name)) {}
    int min = 0, max = 10;
    int lineSize = 1, pageSize = 2;  // the arrow keys' step, the page keys' step
    int frequency = 1;               // a tick mark every so many positions
    int position() const { return position_; }
    void setPosition(int p);
    std::function<void()> onChange;

private:
    int position_ = 0;
};

class CheckListBox : public Control {
public:
    explicit CheckListBox(std::string name) : Control(ControlKind::CheckListBox, std::move(name)) {}
    struct Item { std::string text; bool checked = false; };
    const std::vector<Item>& items() const { return items_; }
    void setItems(std::vector<Item> items);
    void setItemChecked(int i, bool v);
    int itemIndex() const { return itemIndex_; }
    void setItemIndex(int i);
    // Pixel height of a line; 0 for one that follows the font.
    int itemHeight = 0;
    std::function<void(int index)> onClickCheck;
    std::function<void()> onChange;

private:
    std::vector<Item> items_;
    int itemIndex_ = -1;
};

class PageControl : public Control {
public:
    explicit PageControl(std::string name) : Control(ControlKind::PageControl, std::move(name)) {}
    int activePage() const { return active_; }
    void setActivePage(int i);
    std::function<void()> onChange;
    bool buttonTabs = false;  // the tabs drawn as a row of buttons

private:
    int active_ = 0;
};

class TabSheet : public Control {
public:
    explicit TabSheet(std::string name) : Control(ControlKind::TabSheet, std::move(name)) {}
};

}  // namespace ui
