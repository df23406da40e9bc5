#include "win32/UiFormWindow.h"
#include <optional>
#include "forms/ClockMenuIds.h"
#include "platform/Failure.h"
#include "ui/Dpi.h"
#include "win32/Dpi.h"
#include "win32/Edge.h"
#include "win32/Text.h"
#include "win32/Win32Ui.h"

namespace win32 {

namespace {

DWORD styleFor(ui::BorderStyle b) {
    if (b == ui::BorderStyle::None) return WS_POPUP | WS_CLIPCHILDREN;
    return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

DWORD exStyleFor(const ui::Form& f) {
    DWORD ex = 0;
    if (f.border == ui::BorderStyle::Dialog) ex |= WS_EX_DLGMODALFRAME;
    if (f.border == ui::BorderStyle::ToolWindow) ex |= WS_EX_TOOLWINDOW;
    if (f.stayOnTop()) ex |= WS_EX_TOPMOST;
    if (f.alphaBlend() || f.transparentColor()) ex |= WS_EX_LAYERED;
    if (f.showWithoutActivation()) ex |= WS_EX_NOACTIVATE;
    return ex;
}

// Sent to a per-monitor aware program's windows; older headers lack the name.
constexpr UINT kWmDpiChanged = 0x02E0;

bool inUserRange(UINT msg) { return (msg >= WM_USER && msg <= 0x7FFF) || (msg >= 0xC000 && msg <= 0xFFFF); }

// The system's notices that the program answers itself besides its own messages.
static_assert(forms::kMsgPowerBroadcast == WM_POWERBROADCAST && forms::kMsgTimeChange == WM_TIMECHANGE);
static_assert(forms::kPbtResumeSuspend == PBT_APMRESUMESUSPEND && forms::kPbtResumeAutomatic == PBT_APMRESUMEAUTOMATIC);
static_assert(forms::kMsgQueryEndSession == WM_QUERYENDSESSION && forms::kMsgEndSession == WM_ENDSESSION &&
              forms::kMsgDisplayChange == WM_DISPLAYCHANGE);
bool forTheModel(UINT msg) {
    return inUserRange(msg) || msg == WM_POWERBROADCAST || msg == WM_TIMECHANGE || msg == WM_DISPLAYCHANGE;
}

}  // namespace

FormWindow::FormWindow(Win32Ui& ui, ui::Form& form) : ui_(ui), form_(&form), dpi_(dpi::system()) {}

FormWindow::~FormWindow() {
    unwatchLayer();
    abandon();
    if (hwnd_) destroyWindowNow();
}

void FormWindow::abandon() {
    if (!form_) return;
    for (; handlerCalls_ > 0; --handlerCalls_) form_->endHandler();
    killTimers();
    form_->attachPeer(nullptr);
    form_ = nullptr;
}

// ---- creation and destruction -------------------------------------------------------

void FormWindow::create() {
    ui::Form& f = *form_;
    const DWORD style = styleFor(f.border), ex = exStyleFor(f);
    // Made at the system's resolution; a monitor of another one is answered once the window is there.
    dpi_ = dpi::system();
    const RECT outer = outerRect(f.bounds().width, f.bounds().height, style, ex);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    int x = dpi::screenFromModel(f.bounds().left), y = dpi::screenFromModel(f.bounds().top);
    if (f.position == ui::FormPosition::ScreenCenter) {
        x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
        f.assignBoundsFromUser({dpi::modelFromScreen(x), dpi::modelFromScreen(y), f.bounds().width, f.bounds().height});
    }
    applied_.bounds = f.bounds();
    applied_.caption = f.caption();
    applied_.color = f.color();
    applied_.crisp = crisp();
    CreateWindowExW(ex, widen(f.className()).c_str(), widen(f.caption()).c_str(), style, x, y, w, h, ui_.owner(),
                    nullptr, ui_.instance(), this);
    if (!hwnd_) throw platform::WindowError("cannot create the window of " + f.name());
    if (const int actual = dpi::ofWindow(hwnd_); actual != dpi_) {
        dpi_ = actual;
        const RECT resized = outerRect(f.bounds().width, f.bounds().height, style, ex);
        SetWindowPos(hwnd_, nullptr, 0, 0, resized.right - resized.left, resized.bottom - resized.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    createChildren();
    if (f.keepLayer) watchLayer();
    const auto& timers = f.timers();
    for (std::size_t i = 0; i < timers.size(); ++i)
        if (timers[i]->enabled() && timers[i]->interval() > 0) SetTimer(hwnd_, i + 1, timers[i]->interval(), nullptr);
    // Nothing is on screen yet: the first paint covers the whole window.
    for (const auto& c : f.controls())
        if (c->isGraphic() || c->kind() == ui::ControlKind::PageControl) looks_[c.get()] = lookOf(*c);
    created_ = true;
    syncFromWindow();
    dirty_ = true;
    flush();
}

void FormWindow::runCreate() {
    const Busy busy(*this);
    if (form_ && form_->onCreate) form_->onCreate();
    ui_.flushAll();
}

void FormWindow::leave() {
    if (--busy_ == 0 && pendingDestroy_) {
        pendingDestroy_ = false;
        destroyWindowNow();
    }
}

void FormWindow::destroyWindowNow() {
    unwatchLayer();
    removeTrayIcons();
    tooltip_.reset();
    if (hwnd_) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void FormWindow::destroy() {
    if (!form_) return;
    capture_ = {};
    abandon();
    if (hwnd_) {
        if (IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
        // A window cannot go while one of its own messages is being handled.
        if (busy_ > 0) pendingDestroy_ = true;
        else destroyWindowNow();
    }
    ui_.released(this);
}

void FormWindow::killTimers() {
    if (!hwnd_ || !form_) return;
    for (std::size_t i = 0; i < form_->timers().size(); ++i) KillTimer(hwnd_, i + 1);
}

// ---- the model's calls -----------------------------------------------------------------

void FormWindow::formChanged(ui::Prop p) {
    dirty_ = true;
    // Other copies find the clock by its caption, at any moment: a restart
    // starts one from inside a handler, before the next flush.
    if (p == ui::Prop::Caption && created_ && hwnd_ && form_ && form_->caption() != applied_.caption) {
        applied_.caption = form_->caption();
        SetWindowTextW(hwnd_, widen(applied_.caption).c_str());
    }
}

void FormWindow::controlChanged(ui::Control& c, ui::Prop p) {
    dirty_ = true;
    if (p == ui::Prop::Picture) ++pictures_[&c];
    if (!created_ || !hwnd_) return;
    if (Child* ch = childOf(c)) updateChild(*ch, p);
    if (p == ui::Prop::Bounds || p == ui::Prop::Visible || p == ui::Prop::Enabled ||
        (p == ui::Prop::ItemIndex && c.kind() == ui::ControlKind::PageControl))
        layoutChildren();
}

void FormWindow::timerChanged(ui::Timer& t) {
    if (!hwnd_ || !form_) return;
    const auto& timers = form_->timers();
    for (std::size_t i = 0; i < timers.size(); ++i) {
        if (timers[i].get() != &t) continue;
        if (t.enabled() && t.interval() > 0) SetTimer(hwnd_, i + 1, t.interval(), nullptr);
        else KillTimer(hwnd_, i + 1);
        return;
    }
}

void FormWindow::show() {
    if (!hwnd_) return;
    ui_.flushAll();
    if (!hwnd_ || !form_) return;
    if (!IsWindowVisible(hwnd_)) reveal();
    // Shown again by its own paint handler: that paint is still under way.
    if (painting_ == 0) UpdateWindow(hwnd_);
}

// SW_SHOWNA would leave the window without activation on Windows, but Wine
// then keeps it out of the X window manager's care and loses track of its
// place once it is activated later. The no-activate style keeps clicks and
// the window manager from activating it; should showing it have done so, the
// activation goes back.
void FormWindow::reveal() {
    if (!hwnd_ || !form_ || IsWindowVisible(hwnd_)) return;
    if (!form_->showWithoutActivation()) {
        ShowWindow(hwnd_, SW_SHOW);
        return;
    }
    const HWND before = GetActiveWindow();
    ShowWindow(hwnd_, SW_SHOW);
    if (before && before != hwnd_ && GetActiveWindow() == hwnd_ && IsWindowVisible(before)) SetActiveWindow(before);
}

void FormWindow::hide() {
    if (hwnd_ && IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
}

void FormWindow::closed() {
    if (!form_) return;
    // Input goes back to the other windows before this one goes, so that
    // activation passes to them and not to another program.
    ui_.formClosed(*form_);
    hide();
    if (ui_.isMainForm(form_)) ui_.terminate();
}

// In model units that hold the text as painted at the window's resolution.
ui::Size FormWindow::measureText(const ui::Font& f, const std::string& text) {
    const ui::Size s = ui_.resources().measure(f, text, crisp(), dpi_);
    return {ui::dpi::toModelCeil(s.width, dpi_), ui::dpi::toModelCeil(s.height, dpi_)};
}

// The capture and the region are in the window's own pixels: a shape cut at
// the model's coarser units would clip the painted edges.
ui::Bitmap FormWindow::captureClient() {
    ui_.flushAll();
    if (!hwnd_ || !form_) return {};
    RECT client;
    GetClientRect(hwnd_, &client);
    Surface s;
    if (!s.resize(client.right, client.bottom)) return {};
    renderForm(ui_.resources(), *form_, s, client, renderOptions());
    return fromDib(s.bits(), s.width(), s.height());
}

void FormWindow::setRegion(const std::vector<ui::Rect>* rects) {
    ui_.flushAll();
    if (!hwnd_) return;
    if (!rects) {
        SetWindowRgn(hwnd_, nullptr, TRUE);
        return;
    }
    // The rectangles are in client coordinates, a window region in window ones.
    POINT origin{0, 0};
    ClientToScreen(hwnd_, &origin);
    RECT window;
    GetWindowRect(hwnd_, &window);
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + rects->size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(rects->size());
    data->rdh.nRgnSize = DWORD(rects->size() * sizeof(RECT));
    RECT bounds{0, 0, 0, 0};
    auto* out = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < rects->size(); ++i) {
        const ui::Rect& r = (*rects)[i];
        out[i] = {r.left + dx, r.top + dy, r.right() + dx, r.bottom() + dy};
        UnionRect(&bounds, &bounds, &out[i]);
    }
    data->rdh.rcBound = bounds;
    UniqueRegion region(ExtCreateRegion(nullptr, DWORD(buffer.size()), data));
    if (region && SetWindowRgn(hwnd_, region.get(), TRUE)) region.release();  // the system owns it now
}

// A window that is gone takes its queue with it; so does one the program is leaving.
void FormWindow::post(unsigned msg) {
    if (hwnd_) PostMessageW(hwnd_, msg, 0, 0);
}

// ---- applying the model ----------------------------------------------------------------

bool FormWindow::crisp() const { return form_ && form_->transparentColor(); }

void FormWindow::flush() {
    if (!created_ || !form_ || !hwnd_ || !dirty_) return;
    if (flushing_) return;  // the pass under way sees dirty_ and goes round again
    flushing_ = true;
    for (int pass = 0; dirty_ && pass < 3 && form_ && hwnd_; ++pass) {
        dirty_ = false;
        applyForm();
        applyLooks();
        applyTools();
    }
    flushing_ = false;
}

void FormWindow::applyForm() {
    ui::Form& f = *form_;
    const ui::Rect b = f.bounds();
    const bool move = b.left != applied_.bounds.left || b.top != applied_.bounds.top;
    const bool size = b.width != applied_.bounds.width || b.height != applied_.bounds.height;
    if (move || size) {
        const RECT outer = outerRect(b.width, b.height, DWORD(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                                     DWORD(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
        applied_.bounds = b;
        SetWindowPos(hwnd_, nullptr, dpi::screenFromModel(b.left), dpi::screenFromModel(b.top), outer.right - outer.left,
                     outer.bottom - outer.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | (move ? 0 : SWP_NOMOVE) | (size ? 0 : SWP_NOSIZE));
        if (size) fitClient(b.width, b.height);
    }
    if (f.caption() != applied_.caption) {
        applied_.caption = f.caption();
        SetWindowTextW(hwnd_, widen(f.caption()).c_str());
    }
    if (f.color() != applied_.color || crisp() != applied_.crisp) {
        applied_.color = f.color();
        applied_.crisp = crisp();
        InvalidateRect(hwnd_, nullptr, FALSE);
    }

    if (bool(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) != f.stayOnTop()) setTopmost(f.stayOnTop());
    if (const LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE); bool(ex & WS_EX_NOACTIVATE) != f.showWithoutActivation())
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex ^ WS_EX_NOACTIVATE);
    const LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);

    const bool layered = f.alphaBlend() || f.transparentColor();
    if (layered) {
        if (!(ex & WS_EX_LAYERED)) {
            SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
            applied_.layeredValid = false;
        }
        const DWORD flags = (f.transparentColor() ? LWA_COLORKEY : 0) | (f.alphaBlend() ? LWA_ALPHA : 0);
        const BYTE alpha = f.alphaBlend() ? BYTE(f.alphaBlendValue()) : BYTE(255);
        const COLORREF key = f.transparentColorValue();
        if (!applied_.layeredValid || flags != applied_.layeredFlags || alpha != applied_.alpha || key != applied_.key) {
            SetLayeredWindowAttributes(hwnd_, key, alpha, flags);
            applied_.layeredValid = true;
            applied_.key = key;
            applied_.alpha = alpha;
            applied_.layeredFlags = flags;
        }
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
        applied_.layeredValid = false;
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void FormWindow::setTopmost(bool on) {
    constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    if (on || !(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST)) return;
    // Wine keeps an owned window in the topmost band; unowned it can leave.
    const HWND owner = GetWindow(hwnd_, GW_OWNER);
    SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, 0);
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, LONG_PTR(owner));
}

FormWindow::Look FormWindow::lookOf(const ui::Control& c) {
    Look l;
    l.shown = shown(c);
    l.rect = c.clientBounds();
    l.caption = c.caption();
    l.font = c.font();
    l.color = c.color();
    l.enabled = c.enabled();
    switch (c.kind()) {
        case ui::ControlKind::Label: {
            const auto& label = static_cast<const ui::Label&>(c);
            l.options = unsigned(label.transparent) | unsigned(label.wordWrap) << 1;
            if (!label.transparent) l.color = label.color() == ui::kDefaultColor ? colourBehind(c) : label.color();
            break;
        }
        case ui::ControlKind::Image: {
            const auto& image = static_cast<const ui::Image&>(c);
            l.options = unsigned(image.transparent) | unsigned(image.stretch) << 1 | unsigned(image.proportional) << 2 |
                        unsigned(image.center) << 3;
            auto it = pictures_.find(&c);
            l.picture = it == pictures_.end() ? 0 : it->second;
            break;
        }
        case ui::ControlKind::Panel:
            l.options = unsigned(static_cast<const ui::Panel&>(c).bevel) |
                        unsigned(static_cast<const ui::Panel&>(c).innerLowered) << 1;
            l.color = panelColour(c);
            break;
        case ui::ControlKind::PageControl:
            if (const Child* ch = childOf(c)) l.tabRow = ch->tabRow;
            break;
        default: break;
    }
    return l;
}

// Only what looks different is invalidated: the old and the new area of it.
void FormWindow::applyLooks() {
    for (const auto& owned : form_->controls()) {
        const ui::Control& c = *owned;
        if (!c.isGraphic() && c.kind() != ui::ControlKind::PageControl) continue;
        Look now = lookOf(c);
        auto [it, added] = looks_.try_emplace(&c, now);
        if (!added && it->second == now) continue;
        RECT area{0, 0, 0, 0};
        if (!added && it->second.shown) area = px(it->second.rect);
        if (now.shown) {
            const RECT r = px(now.rect);
            UnionRect(&area, &area, &r);
        }
        if (!IsRectEmpty(&area)) InvalidateRect(hwnd_, &area, FALSE);
        it->second = std::move(now);
    }
}

// The window moved or changed size: the model follows, unless it holds a
// change of its own that has not reached the window yet.
void FormWindow::syncFromWindow() {
    if (!created_ || !form_ || !hwnd_ || IsIconic(hwnd_)) return;
    RECT window, client;
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    const ui::Rect actual = modelRect(window, client);
    ui::Rect model = form_->bounds();
    if (model.left == applied_.bounds.left && model.top == applied_.bounds.top) {
        model.left = actual.left;
        model.top = actual.top;
    }
    if (model.width == applied_.bounds.width && model.height == applied_.bounds.height) {
        model.width = actual.width;
        model.height = actual.height;
    }
    applied_.bounds = actual;
    if (!(model == form_->bounds())) form_->assignBoundsFromUser(model);
    if (!(model == actual)) dirty_ = true;
}

// ---- painting ------------------------------------------------------------------------------

RenderOptions FormWindow::renderOptions() {
    RenderOptions o;
    o.crisp = crisp();
    o.dpi = dpi_;
    o.picture = [this](const ui::Image& image, ui::Size size) -> const ui::Bitmap& { return scaledPicture(image, size); };
    o.shown = [this](const ui::Control& c) { return shown(c); };
    o.tabRow = [this](const ui::Control& c) {
        const Child* ch = childOf(c);
        return ch ? ch->tabRow : 0;
    };
    return o;
}

void FormWindow::paint() {
    // Ended whatever happens, or the paint would come back at once and a
    // show from a later paint handler would never paint.
    struct Painting {
        FormWindow& w;
        HWND h;
        PAINTSTRUCT ps{};
        HDC dc;
        Painting(FormWindow& w, HWND h) : w(w), h(h), dc(BeginPaint(h, &ps)) { ++w.painting_; }
        ~Painting() {
            --w.painting_;
            EndPaint(h, &ps);
        }
        Painting(const Painting&) = delete;
        Painting& operator=(const Painting&) = delete;
    } painting(*this, hwnd_);
    if (form_) {
        ui::Form* f = form_;
        dispatch([f] { f->paint(); });
    }
    if (form_ && hwnd_ && painting.dc) render(painting.dc, painting.ps.rcPaint);
}

// The back buffer lives for one paint only: the clock repaints once a minute
// (a second at most) and would otherwise hold its whole face in memory between.
void FormWindow::render(HDC target, const RECT& area) {
    RECT client, clip;
    GetClientRect(hwnd_, &client);
    Surface back;
    if (!IntersectRect(&clip, &area, &client) || !back.resize(client.right, client.bottom)) return;
    renderForm(ui_.resources(), *form_, back, clip, renderOptions());
    BitBlt(target, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, back.dc(), clip.left, clip.top,
           SRCCOPY);
}

// ---- the model's handlers ---------------------------------------------------------------------

// Nothing may unwind through the system's frames: a failure that escaped a
// handler's own guard ends here.
void FormWindow::dispatch(const std::function<void()>& call) {
    const Busy busy(*this);
    ui::Form* f = form_;
    if (f) {
        f->beginHandler();
        ++handlerCalls_;
    }
    try {
        call();
        ui_.flushAll();
    } catch (...) {
        logUnhandled();
    }
    // A form let go of meanwhile had its handler calls ended by abandon().
    if (f && form_ == f && handlerCalls_ > 0) {
        --handlerCalls_;
        f->endHandler();
    }
}

// ---- the end of the session -----------------------------------------------------------------

// Agreed at once, also while a modal window or message box of ours is open:
// the model is told, but not asked.
LRESULT FormWindow::endSessionQuery(WPARAM wParam, LPARAM lParam) {
    tellModel(WM_QUERYENDSESSION, wParam, lParam);
    return TRUE;
}

void FormWindow::endSession(WPARAM wParam, LPARAM lParam) {
    tellModel(WM_ENDSESSION, wParam, lParam);
    if (wParam) removeTrayIcons();  // whatever the model managed, no icon outlives the session
}

// The model's answer does not count.
void FormWindow::tellModel(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!form_ || !form_->onMessage) return;
    ui::Form* f = form_;
    dispatch([&] {
        if (f->onMessage) f->onMessage(msg, wParam, lParam);
    });
}

// ---- the window procedure ---------------------------------------------------------------------

// The handlers have their own guard (dispatch); this one catches what fails
// in the window system's own code.
LRESULT CALLBACK FormWindow::windowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (msg == WM_NCCREATE) {
            self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            SetWindowLongPtrW(h, GWLP_USERDATA, LONG_PTR(self));
            self->hwnd_ = h;
        }
        if (!self) return DefWindowProcW(h, msg, wParam, lParam);
        const Busy busy(*self);
        return self->handle(h, msg, wParam, lParam);
    } catch (...) {
        logUnhandled();
        // A failed paint still counts as done, or it would come back at once.
        if (msg == WM_PAINT) ValidateRect(h, nullptr);
        return 0;
    }
}

LRESULT FormWindow::handle(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: paint(); return 0;
        case WM_TIMER: timerFired(wParam); return 0;
        case WM_LBUTTONDOWN: mouseDown(ui::MouseButton::Left, modelPoint(lParam), false); return 0;
        case WM_LBUTTONDBLCLK: mouseDown(ui::MouseButton::Left, modelPoint(lParam), true); return 0;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK: mouseDown(ui::MouseButton::Right, modelPoint(lParam), false); return 0;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK: mouseDown(ui::MouseButton::Middle, modelPoint(lParam), false); return 0;
        case WM_MOUSEMOVE: mouseMove(modelPoint(lParam)); return 0;
        case WM_LBUTTONUP: mouseUp(ui::MouseButton::Left, modelPoint(lParam)); return 0;
        case WM_MBUTTONUP: mouseUp(ui::MouseButton::Middle, modelPoint(lParam)); return 0;
        // The default handling turns it into WM_CONTEXTMENU.
        case WM_RBUTTONUP: mouseUp(ui::MouseButton::Right, modelPoint(lParam)); break;
        case WM_CAPTURECHANGED: captureChanged(h, HWND(lParam)); break;
        case WM_SETCURSOR: if (LOWORD(lParam) == HTCLIENT && setCursor(HWND(wParam))) return TRUE; break;
        case WM_CONTEXTMENU: if (contextMenu(lParam)) return 0; break;
        case WM_COMMAND: command(wParam, lParam); return 0;
        case WM_NOTIFY: return notify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_HSCROLL:
        case WM_VSCROLL: if (scrolled(HWND(lParam))) return 0; break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: if (const LRESULT brush = childColours(HWND(lParam), HDC(wParam))) return brush; break;
        case WM_MEASUREITEM: measureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)); return TRUE;
        case WM_DRAWITEM: drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_CLOSE: closeRequested(); return 0;
        case WM_KEYDOWN: if (previewKey(int(wParam))) return 0; break;
        case WM_ACTIVATE: if (activated(h, wParam)) return 0; break;
        case WM_WINDOWPOSCHANGING: if (layerHook_) layerChanging(*reinterpret_cast<WINDOWPOS*>(lParam)); break;
        case WM_WINDOWPOSCHANGED: placeChanged(*reinterpret_cast<const WINDOWPOS*>(lParam)); break;
        case kWmDpiChanged: dpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam)); return 0;
        case kMsgKeepLayer: restoreLayer(); return 0;
        case WM_QUERYENDSESSION: return endSessionQuery(wParam, lParam);
        case WM_ENDSESSION: endSession(wParam, lParam); return 0;
        case WM_DESTROY: removeTrayIcons(); break;
        case WM_NCDESTROY: windowGone(h); break;
        default: if (const auto answer = otherMessage(msg, wParam, lParam)) return *answer; break;
    }
    return DefWindowProcW(h, msg, wParam, lParam);
}

void FormWindow::timerFired(WPARAM id) {
    if (!form_ || id < 1 || id > form_->timers().size()) return;
    ui::Timer* t = form_->timers()[id - 1].get();
    dispatch([t] { t->fire(); });
}

void FormWindow::closeRequested() {
    if (!form_) return;
    ui::Form* f = form_;
    dispatch([f] { f->close(); });
}

void FormWindow::placeChanged(const WINDOWPOS& pos) {
    syncFromWindow();
    if (layerHook_) layerChanged(pos);
}

void FormWindow::windowGone(HWND h) {
    SetWindowLongPtrW(h, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    children_.clear();
    (void)tooltip_.release();  // went with its owner
}

// The dialog manager's questions, and the messages the model answers itself;
// nothing: the default handling.
std::optional<LRESULT> FormWindow::otherMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == DM_GETDEFID && ui_.inDialogKeys() && hasChildWindows()) return defaultButtonId();
    if (msg == DM_SETDEFID && ui_.inDialogKeys() && hasChildWindows()) return TRUE;
    if (!form_ || !form_->onMessage || !forTheModel(msg)) return std::nullopt;
    ui::Form* f = form_;
    bool handled = false;
    dispatch([&] { handled = f->onMessage && f->onMessage(msg, wParam, lParam); });
    // TRUE grants a power request; the others want 0.
    if (handled) return msg == WM_POWERBROADCAST ? TRUE : 0;
    return std::nullopt;
}

}  // namespace win32
