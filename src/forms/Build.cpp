#include "forms/Layout.h"

namespace forms {

ui::Font dialogFont(int size, ui::Color color, bool bold, bool underline) {
    ui::Font f;
    f.name = "Tahoma";
    f.size = size;
    f.color = color;
    f.bold = bold;
    f.underline = underline;
    return f;
}

namespace {

std::unique_ptr<ui::Control> makeControl(const ControlLayout& s) {
    using K = ui::ControlKind;
    switch (s.kind) {
        case K::Label: return std::make_unique<ui::Label>(s.name);
        case K::Image: return std::make_unique<ui::Image>(s.name);
        case K::Panel: return std::make_unique<ui::Panel>(s.name);
        case K::Button: return std::make_unique<ui::Button>(s.name);
        case K::CheckBox: return std::make_unique<ui::CheckBox>(s.name);
        case K::ComboBox: return std::make_unique<ui::ComboBox>(s.name);
        case K::Edit: return std::make_unique<ui::Edit>(s.name);
        case K::UpDown: return std::make_unique<ui::UpDown>(s.name);
        case K::Memo: return std::make_unique<ui::Memo>(s.name);
        case K::CheckListBox: return std::make_unique<ui::CheckListBox>(s.name);
        case K::TrackBar: return std::make_unique<ui::TrackBar>(s.name);
        case K::PageControl: return std::make_unique<ui::PageControl>(s.name);
        case K::TabSheet: return std::make_unique<ui::TabSheet>(s.name);
    }
    return nullptr;
}

void addMenuItems(ui::MenuItem& parent, const std::vector<MenuLayout>& items) {
    for (const MenuLayout& m : items) {
        ui::MenuItem& it = parent.add(m.name, m.caption, m.command);
        it.visible = m.visible;
        it.enabled = m.enabled;
        it.checked = m.checked;
        it.autoCheck = m.autoCheck;
        it.isDefault = m.isDefault;
        addMenuItems(it, m.items);
    }
}

}  // namespace

std::unique_ptr<ui::Form> build(const FormLayout& layout, ui::Ui& u) {
    auto form = std::make_unique<ui::Form>(layout.className, layout.name);
    form->setCaption(layout.caption);
    form->setPosition(layout.bounds.left, layout.bounds.top);
    form->setClientSize(layout.bounds.width, layout.bounds.height);
    form->border = layout.border;
    form->position = layout.position;
    form->setColor(layout.color);
    form->setStayOnTop(layout.stayOnTop);
    form->keyPreview = layout.keyPreview;
    form->showHint = layout.showHint;
    form->setAlphaBlend(layout.alphaBlend);
    form->setAlphaBlendValue(layout.alpha);
    form->setTransparentColor(layout.transparentColor, layout.transparentColorValue);
    for (const ControlLayout& s : layout.controls) {
        auto c = makeControl(s);
        c->setBounds(s.bounds);
        c->setFont(s.font ? *s.font : dialogFont());
        c->setColor(s.color);
        c->setVisible(s.visible);
        c->setEnabled(s.enabled);
        c->setHint(s.hint);
        c->setHandCursor(s.handCursor);
        c->tabOrder = s.tabOrder;
        if (auto* l = dynamic_cast<ui::Label*>(c.get())) l->autoSize = s.autoSize;
        if (auto* b = dynamic_cast<ui::Button*>(c.get())) {
            b->isDefault = s.isDefault;
            b->isCancel = s.isCancel;
        }
        if (auto* box = dynamic_cast<ui::CheckBox*>(c.get())) box->pushLike = s.pushLike;
        if (auto* pages = dynamic_cast<ui::PageControl*>(c.get())) pages->buttonTabs = s.pushLike;
        if (auto* e = dynamic_cast<ui::Edit*>(c.get())) {
            e->readOnly = s.readOnly.value_or(false);
            e->maxLength = s.maxLength;
        }
        if (auto* m = dynamic_cast<ui::Memo*>(c.get())) {
            m->readOnly = s.readOnly.value_or(true);
            m->scrollBar = s.scrollBar;
        }
        if (auto* img = dynamic_cast<ui::Image*>(c.get())) {
            img->transparent = s.transparent;
            img->proportional = s.proportional;
            img->center = s.center;
            img->stretch = s.stretch;
        }
        ui::Control* parent = s.parent ? form->find(s.parent) : nullptr;
        ui::Control& added = form->add(std::move(c), parent);
        added.setCaption(s.caption);
        if (auto* cb = dynamic_cast<ui::ComboBox*>(&added)) cb->setItems(s.items);
        if (auto* m = dynamic_cast<ui::Memo*>(&added)) m->setLines(s.items);
        if (auto* img = dynamic_cast<ui::Image*>(&added); img && s.picture) img->setPicture(u.loadPicture(s.picture));
    }
    form->autoSize = layout.autoSize;
    form->fitToContents();
    for (const TimerLayout& t : layout.timers) form->addTimer(t.name, t.interval, t.enabled);
    if (layout.menuName) {
        ui::PopupMenu& m = form->addMenu(layout.menuName);
        addMenuItems(m.root(), layout.menu);
        form->popupMenu = &m;
    }
    return form;
}

}  // namespace forms
