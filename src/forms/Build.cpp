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
        if (auto* l = dynamic_cast<ui::Label*>(c.get())) {
            l->autoSize = s.autoSize;
            l->wordWrap = s.wordWrap;
        }
        if (auto* b = dynamic_cast<ui::Button*>(c.get())) {
            b->isDefault = s.isDefault;
            b->isCancel = s.isCancel;
        }
        if (auto* box = dynamic_cast<ui::CheckBox*>(c.get())) {
            box->pushLike = s.pushLike;
            box->wordWrap = s.wordWrap;
        }
        if (auto* panel = dynamic_cast<ui::Panel*>(c.get())) panel->innerLowered = s.innerLowered;
        if (auto* combo = dynamic_cast<ui::ComboBox*>(c.get())) combo->dropDownCount = s.dropDownCount;
        if (auto* list = dynamic_cast<ui::CheckListBox*>(c.get())) list->itemHeight = s.itemHeight;
        if (auto* bar = dynamic_cast<ui::TrackBar*>(c.get()); bar && s.track) {
            bar->min = s.track->min;
            bar->max = s.track->max;
            bar->lineSize = s.track->line;
            bar->pageSize = s.track->page;
            bar->frequency = s.track->tick;
        }
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

namespace forms {

namespace {
// The caption as painted: an access-key mark is not drawn.
std::string painted(const std::string& caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&&" paints one
        text += caption[i];
    }
    return text;
}
}  // namespace

void placeInGaps(ui::Form& form, const FormLayout& layout) {
    for (const ControlLayout& s : layout.controls) {
        if (!s.inGapOf) continue;
        ui::Control* owner = form.find(s.inGapOf);
        ui::Control* c = form.find(s.name);
        if (!owner || !c) continue;
        const std::string text = painted(owner->caption());
        // The gaps are the runs of two blanks or more.
        std::size_t from = std::string::npos, to = 0;
        int found = -1;
        for (std::size_t i = 0; i + 1 < text.size() && found < s.gap; ++i) {
            if (text[i] != ' ' || text[i + 1] != ' ') continue;
            from = i;
            for (to = i; to < text.size() && text[to] == ' ';) ++to;
            ++found;
            i = to;
        }
        if (found != s.gap) continue;
        const int start = form.measureText(owner->font(), text.substr(0, from)).width;
        const int room = form.measureText(owner->font(), text.substr(0, to)).width - start;
        const int blank = form.measureText(owner->font(), " ").width;
        const int width = c->bounds().width;
        // Centred where it fits with a blank either side; else a blank after the gap's start.
        const int left = start + (room >= width + 2 * blank ? (room - width) / 2 : blank);
        const ui::Rect& o = owner->bounds();
        c->setBounds({o.left + kCheckBoxTextLeft + left, o.top + (o.height - c->bounds().height) / 2, width,
                      c->bounds().height});
    }
}

}  // namespace forms
