#include "ui/Control.h"
#include <algorithm>
#include "ui/Form.h"

namespace ui {

void Control::changed(Prop p) {
    if (form_) form_->notify(*this, p);
}

void Control::setBounds(const Rect& r) {
    if (r == bounds_) return;
    bounds_ = r;
    changed(Prop::Bounds);
}

Rect Control::clientBounds() const {
    Rect r = bounds_;
    for (Control* p = parent_; p; p = p->parent_) {
        r.left += p->bounds_.left;
        r.top += p->bounds_.top;
    }
    return r;
}

bool Control::showing() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void Control::setVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    changed(Prop::Visible);
}

void Control::setEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    changed(Prop::Enabled);
}

void Control::setCaption(const std::string& text) {
    if (text == caption_) return;
    caption_ = text;
    changed(Prop::Caption);
}

void Control::setFont(const Font& f) {
    if (f == font_) return;
    font_ = f;
    changed(Prop::Font);
}

void Control::setColor(Color c) {
    if (c == color_) return;
    color_ = c;
    changed(Prop::Color);
}

void Control::setHint(const std::string& h) {
    if (h == hint_) return;
    hint_ = h;
    changed(Prop::Hint);
}

void Control::setHandCursor(bool v) {
    if (v == handCursor_) return;
    handCursor_ = v;
    changed(Prop::Cursor);
}

void Label::setCaption(const std::string& text) {
    Control::setCaption(text);
    adjustSize();
}

void Label::setFont(const Font& f) {
    Control::setFont(f);
    adjustSize();
}

void Label::adjustSize() {
    if (!autoSize || !form() || wordWrap) return;
    const Size s = form()->measureText(font(), caption());
    setSize(s.width, s.height);
}

void Image::setPicture(Bitmap b) {
    picture_ = std::move(b);
    changed(Prop::Picture);
}

void CheckBox::setChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    changed(Prop::Checked);
    if (onClick) onClick();
}

void ComboBox::setItems(std::vector<std::string> items) {
    items_ = std::move(items);
    if (itemIndex_ >= int(items_.size())) itemIndex_ = -1;
    changed(Prop::Items);
}

void ComboBox::setItemIndex(int i) {
    if (i < -1 || i >= int(items_.size())) i = -1;
    if (i == itemIndex_) return;
    itemIndex_ = i;
    changed(Prop::ItemIndex);
}

void ComboBox::selectFromUser(int i) {
    if (i < -1 || i >= int(items_.size())) return;
    itemIndex_ = i;
    if (onChange) onChange();
}

void Edit::setText(const std::string& t) {
    if (t == caption()) return;
    Control::setCaption(t);
    if (onChange) onChange();
}

void Edit::setTextFromUser(const std::string& t) { setText(t); }

void Memo::setLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    changed(Prop::Lines);
}

void Memo::addLine(const std::string& line) {
    lines_.push_back(line);
    changed(Prop::Lines);
}

void UpDown::setPosition(int p) {
    if (wrap && p > max) p = min;
    else if (wrap && p < min) p = max;
    p = std::clamp(p, min, max);
    if (p == position_) return;
    position_ = p;
    changed(Prop::Position);
}

void TrackBar::setPosition(int p) {
    p = std::clamp(p, min, max);
    if (p == position_) return;
    position_ = p;
    changed(Prop::Position);
    if (onChange) onChange();
}

void CheckListBox::setItems(std::vector<Item> items) {
    items_ = std::move(items);
    if (itemIndex_ >= int(items_.size())) itemIndex_ = -1;
    changed(Prop::Items);
}

void CheckListBox::setItemChecked(int i, bool v) {
    if (i < 0 || i >= int(items_.size()) || items_[i].checked == v) return;
    items_[i].checked = v;
    changed(Prop::Checked);
}

void CheckListBox::setItemIndex(int i) {
    if (i < -1 || i >= int(items_.size())) i = -1;
    if (i == itemIndex_) return;
    itemIndex_ = i;
    changed(Prop::ItemIndex);
}

void PageControl::setActivePage(int i) {
    if (i == active_) return;
    active_ = i;
    changed(Prop::ItemIndex);
}

}  // namespace ui
