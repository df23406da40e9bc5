#include "ui/Form.h"
#include <algorithm>

namespace ui {

void Timer::changed() {
    ++generation_;
    if (form_) form_->notify(*this);
}

void Timer::setInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    changed();
}

void Timer::setEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    changed();
}

Form::Form(std::string className, std::string name) : className_(std::move(className)), name_(std::move(name)) {}

// A form freed without destroy() still takes its window along, so the window
// system never holds a form that is gone.
Form::~Form() {
    if (peer_) peer_->destroy();
}

void Form::setCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    formChanged(Prop::Caption);
}

void Form::setPosition(int left, int top) {
    if (left == bounds_.left && top == bounds_.top) return;
    bounds_.left = left;
    bounds_.top = top;
    formChanged(Prop::Position);
}

void Form::setClientSize(int width, int height) {
    if (width == bounds_.width && height == bounds_.height) return;
    bounds_.width = width;
    bounds_.height = height;
    formChanged(Prop::Bounds);
}

void Form::setHint(const std::string& h) {
    if (h == hint_) return;
    hint_ = h;
    formChanged(Prop::Hint);
}

// The window system paints a form as it shows it: the show handler runs first.
void Form::show() {
    const bool showing = !visible_ && !hiddenInHandler_;
    hiddenInHandler_ = false;
    visible_ = true;
    if (showing && onShow) onShow();
    if (visible_ && peer_) peer_->show();
}

void Form::hide() {
    if (visible_ && handling_ > 0) hiddenInHandler_ = true;
    visible_ = false;
    if (peer_) peer_->hide();
}

void Form::paint() {
    beginHandler();
    struct End {
        Form& f;
        ~End() { f.endHandler(); }
    } end{*this};
    if (onPaint) onPaint();
}

// Still hidden when its handlers are done, the form was really hidden: the
// next show is a showing again.
void Form::endHandler() {
    if (handling_ > 0 && --handling_ == 0) hiddenInHandler_ = false;
}

void Form::setShowWithoutActivation(bool v) {
    if (v == showWithoutActivation_) return;
    showWithoutActivation_ = v;
    formChanged(Prop::Other);
}

void Form::setStayOnTop(bool v) {
    if (v == stayOnTop_) return;
    stayOnTop_ = v;
    formChanged(Prop::Other);
}

void Form::setAlphaBlend(bool v) {
    if (v == alphaBlend_) return;
    alphaBlend_ = v;
    formChanged(Prop::Other);
}

void Form::setAlphaBlendValue(int a) {
    a = std::clamp(a, 0, 255);
    if (a == alpha_) return;
    alpha_ = a;
    formChanged(Prop::Other);
}

void Form::setTransparentColor(bool on, Color c) {
    if (on == transparentColor_ && c == transparentColorValue_) return;
    transparentColor_ = on;
    transparentColorValue_ = c;
    formChanged(Prop::Other);
}

void Form::adopt(std::unique_ptr<Control> c, Control* parent) {
    c->form_ = this;
    c->parent_ = parent;
    controls_.push_back(std::move(c));
    if (auto* l = dynamic_cast<Label*>(controls_.back().get())) l->adjustSize();
    fitToContents();
}

Control* Form::find(const std::string& name) {
    for (auto& c : controls_)
        if (c->name() == name) return c.get();
    return nullptr;
}

Timer& Form::addTimer(std::string name, unsigned interval, bool enabled) {
    timers_.push_back(std::make_unique<Timer>(std::move(name), interval, enabled));
    timers_.back()->form_ = this;
    // A form already on screen starts it at once.
    notify(*timers_.back());
    return *timers_.back();
}

Timer& Form::timer(const std::string& name) {
    for (auto& t : timers_)
        if (t->name() == name) return *t;
    throw platform::WindowError("no timer " + name + " on " + name_);
}

PopupMenu& Form::addMenu(std::string name) {
    menus_.push_back(std::make_unique<PopupMenu>(std::move(name)));
    return *menus_.back();
}

PopupMenu& Form::menu(const std::string& name) {
    for (auto& m : menus_)
        if (m->name() == name) return *m;
    throw platform::WindowError("no menu " + name + " on " + name_);
}

bool Form::close() {
    if (closed_) return true;
    bool canClose = true;
    if (onCloseQuery) onCloseQuery(canClose);
    if (!canClose) return false;
    if (onClose) onClose();
    closed_ = true;
    visible_ = false;
    if (peer_) peer_->closed();
    if (freeOnClose) destroy();
    return true;
}

void Form::destroy() {
    if (destroyed_) return;
    destroyed_ = true;
    if (onDestroy) onDestroy();
    if (peer_) peer_->destroy();
}

void Form::notify(Control& c, Prop p) {
    if (autoSize && (p == Prop::Bounds || p == Prop::Visible)) fitToContents();
    if (peer_) peer_->controlChanged(c, p);
}

void Form::notify(Timer& t) {
    if (peer_) peer_->timerChanged(t);
}

void Form::fitToContents() {
    if (!autoSize) return;
    int w = 0, h = 0;
    for (auto& c : controls_) {
        if (c->parent()) continue;
        w = std::max(w, c->bounds().right());
        h = std::max(h, c->bounds().bottom());
    }
    setClientSize(w, h);
}

Size Form::measureText(const Font& f, const std::string& text) {
    if (peer_) return peer_->measureText(f, text);
    // Without a window system: a fixed-pitch estimate, enough for layout tests.
    int chars = 0;
    for (unsigned char ch : text)
        if ((ch & 0xC0) != 0x80) ++chars;
    const int h = f.pixelHeight();
    return {chars * h / 2, h + h / 4};
}

Bitmap Form::captureClient() {
    return peer_ ? peer_->captureClient() : Bitmap(bounds_.width, bounds_.height);
}

void Form::popup(PopupMenu& m, int x, int y) {
    if (m.onPopup) m.onPopup();
    if (peer_) peer_->popup(m, x, y);
}

namespace {
// Where a control stands in tab order: its ancestors' places, then its own.
std::vector<int> tabPath(const Control& c) {
    std::vector<int> path;
    for (const Control* p = &c; p; p = p->parent()) path.insert(path.begin(), p->tabOrder);
    return path;
}

bool inside(const Control& c, const Control* within) {
    if (!within) return true;
    for (const Control* p = c.parent(); p; p = p->parent())
        if (p == within) return true;
    return false;
}

bool takesFocus(const Control& c) {
    return !c.isGraphic() && c.kind() != ControlKind::UpDown && c.kind() != ControlKind::TabSheet && c.showing() &&
           c.enabled();
}
}  // namespace

void Form::selectNext(const Control& from, const Control* within) {
    std::vector<const Control*> order;
    for (const auto& c : controls_)
        if (c.get() == &from || (inside(*c, within) && takesFocus(*c))) order.push_back(c.get());
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return tabPath(*a) < tabPath(*b); });
    const auto at = std::find(order.begin(), order.end(), &from);
    if (at == order.end() || order.size() < 2) return;
    const Control* next = std::next(at) == order.end() ? order.front() : *std::next(at);
    if (next != &from && peer_) peer_->focus(const_cast<Control&>(*next));
}

}  // namespace ui
