// Mouse and keyboard input, commands from menus and controls, the focus; and
// where a control is shown and usable, which the painting asks too.
#include "win32/UiFormWindow.h"
#include <windowsx.h>
#include <commctrl.h>
#include "ui/Dpi.h"
#include "win32/UiMenu.h"
#include "win32/Win32Ui.h"

namespace win32 {

namespace {

POINT pointOf(LPARAM l) { return {GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }

}  // namespace

// Visible through every parent, and on the active page of a page control.
bool FormWindow::shown(const ui::Control& c) const {
    if (!c.showing()) return false;
    for (const ui::Control* p = &c; p; p = p->parent()) {
        const ui::Control* pages = p->parent();
        if (p->kind() != ui::ControlKind::TabSheet || !pages || pages->kind() != ui::ControlKind::PageControl) continue;
        int index = 0;
        for (const auto& o : form_->controls()) {
            if (o.get() == p) break;
            if (o->parent() == pages && o->kind() == ui::ControlKind::TabSheet) ++index;
        }
        if (index != static_cast<const ui::PageControl*>(pages)->activePage()) return false;
    }
    return true;
}

bool FormWindow::usable(const ui::Control& c) const {
    for (const ui::Control* p = &c; p; p = p->parent())
        if (!p->enabled()) return false;
    return true;
}

// The last added is on top.
ui::Control* FormWindow::hitTest(POINT p) const {
    if (!form_) return nullptr;
    const auto& controls = form_->controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        ui::Control& c = **it;
        if (c.isGraphic() && shown(c) && usable(c) && c.clientBounds().contains(p.x, p.y)) return &c;
    }
    return nullptr;
}

// WM_NEXTDLGCTL would do this in a dialog, but plain windows ignore it.
void FormWindow::focus(ui::Control& c) {
    flush();
    const Child* ch = childOf(c);
    if (!hwnd_ || !ch || !ch->hwnd || !ch->visible || !ch->enabled) return;
    // As Tab comes into an edit: with its text selected.
    if (SendMessageW(ch->hwnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(ch->hwnd, EM_SETSEL, 0, -1);
    // Focus in a window in the background would activate it; it waits for
    // the window's next activation instead.
    if (GetActiveWindow() == hwnd_) SetFocus(ch->hwnd);
    else lastFocus_ = ch->hwnd;
}

void FormWindow::popup(ui::PopupMenu& menu, int x, int y) {
    ui_.flushAll();
    if (!hwnd_) return;
    const UniqueMenu m = buildPopupMenu(menu.root());
    if (!m) return;
    capture_.active = false;
    // Without the foreground the menu would not close when clicked away from.
    SetForegroundWindow(hwnd_);
    TrackPopupMenu(m.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, hwnd_, nullptr);
    if (hwnd_) PostMessageW(hwnd_, WM_NULL, 0, 0);
    // The menu's own loop may have taken the request to end the program.
    if (ui_.terminated()) PostQuitMessage(0);
}

void FormWindow::deliverMouse(ui::Control* c, MouseSlot ui::Control::*onControl, MouseSlot ui::Form::*onForm,
                              ui::MouseButton b, POINT p) {
    if (!form_) return;
    if (c) {
        const MouseSlot handler = c->*onControl;
        const ui::Rect r = c->clientBounds();
        if (handler) handler({b, int(p.x) - r.left, int(p.y) - r.top});
    } else {
        const MouseSlot handler = form_->*onForm;
        if (handler) handler({b, int(p.x), int(p.y)});
    }
}

void FormWindow::mouseDown(ui::MouseButton b, POINT p, bool doubleClick) {
    if (!form_) return;
    ui::Control* c = hitTest(p);
    capture_ = {true, c, b, !doubleClick};
    SetCapture(hwnd_);
    ui::Form* f = form_;
    dispatch([&] {
        if (doubleClick && c && c->onDblClick) {
            const auto handler = c->onDblClick;
            handler();
        }
        if (form_ == f) deliverMouse(c, &ui::Control::onMouseDown, &ui::Form::onMouseDown, b, p);
    });
}

void FormWindow::mouseMove(POINT p) {
    if (!form_) return;
    ui::Control* c = capture_.active ? capture_.control : hitTest(p);
    const ui::MouseButton b = capture_.active ? capture_.button : ui::MouseButton::Left;
    dispatch([&] { deliverMouse(c, &ui::Control::onMouseMove, &ui::Form::onMouseMove, b, p); });
}

void FormWindow::mouseUp(ui::MouseButton b, POINT p) {
    if (!form_) return;
    if (!capture_.active || capture_.button != b) {
        ui::Control* c = hitTest(p);
        dispatch([&] { deliverMouse(c, &ui::Control::onMouseUp, &ui::Form::onMouseUp, b, p); });
        return;
    }
    const Capture pressed = capture_;
    capture_.active = false;
    ReleaseCapture();
    ui::Control* c = pressed.control;
    const bool click = pressed.clickable && b == ui::MouseButton::Left && c && shown(*c) && usable(*c) &&
                       c->clientBounds().contains(p.x, p.y);
    ui::Form* f = form_;
    dispatch([&] {
        if (click && c->onClick) {
            const auto handler = c->onClick;
            handler();
        }
        if (form_ == f) deliverMouse(c, &ui::Control::onMouseUp, &ui::Form::onMouseUp, b, p);
    });
}

void FormWindow::captureChanged(HWND h, HWND to) {
    if (to != h) capture_.active = false;
}

bool FormWindow::setCursor(HWND over) {
    if (!form_) return false;
    bool hand = form_->handCursor;
    if (over == hwnd_) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd_, &p);
        p = {ui::dpi::toModel(p.x, dpi_), ui::dpi::toModel(p.y, dpi_)};
        const ui::Control* c = capture_.active ? capture_.control : hitTest(p);
        hand = hand || (c && c->handCursor());
    } else if (const Child* ch = childByHwnd(over)) {
        hand = hand || ch->control->handCursor();
    }
    if (!hand) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

bool FormWindow::previewKey(int virtualKey) {
    if (!form_ || !form_->onKeyDown) return false;
    ui::Form* f = form_;
    dispatch([f, virtualKey] {
        if (f->onKeyDown) f->onKeyDown(virtualKey);
    });
    return true;
}

bool FormWindow::contextMenu(LPARAM at) {
    if (!form_ || !form_->popupMenu) return false;
    POINT p = pointOf(at);
    if (p.x == -1 && p.y == -1) GetCursorPos(&p);  // from the keyboard
    ui::Form* f = form_;
    ui::PopupMenu* menu = f->popupMenu;
    dispatch([f, menu, p] { f->popup(*menu, p.x, p.y); });
    return true;
}

// The focus comes back to the control that had it when the window was left,
// else to the first one; true where it was set here.
bool FormWindow::activated(HWND h, WPARAM wParam) {
    if (layerHook_ && LOWORD(wParam) == WA_INACTIVE) layerDeactivated();
    else if (layerHook_) layerActivated();
    if (children_.empty() || HIWORD(wParam)) return false;
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(h, focus)) lastFocus_ = focus;
        return false;
    }
    const bool keep = lastFocus_ && IsWindow(lastFocus_) && IsChild(h, lastFocus_) && IsWindowVisible(lastFocus_) &&
                      IsWindowEnabled(lastFocus_);
    const HWND focus = keep ? lastFocus_ : firstFocus();
    if (!focus) return false;
    SetFocus(focus);
    return true;
}

void FormWindow::command(WPARAM wParam, LPARAM lParam) {
    if (!form_) return;
    const int id = LOWORD(wParam);
    if (const HWND from = HWND(lParam)) {
        if (Child* ch = childById(id); ch && ch->hwnd == from) childCommand(*ch, HIWORD(wParam));
        return;
    }
    // A menu command: found whatever the item's state, so tools can send any command.
    for (const auto& m : form_->menus()) {
        if (ui::MenuItem* item = m->root().findCommand(unsigned(id))) {
            dispatch([item] { item->click(); });
            return;
        }
    }
    // Enter and Esc from the dialog manager.
    if (id == IDOK) clickButton(false);
    else if (id == IDCANCEL) clickButton(true);
}

bool FormWindow::clickButton(bool cancel) {
    for (Child& ch : children_) {
        if (ch.control->kind() != ui::ControlKind::Button) continue;
        auto* b = static_cast<ui::Button*>(ch.control);
        if ((cancel ? b->isCancel : b->isDefault) && shown(*b) && usable(*b)) {
            dispatch([b] {
                const auto handler = b->onClick;
                if (handler) handler();
            });
            return true;
        }
    }
    return false;
}

// Enter presses the focused button, else the default one.
LRESULT FormWindow::defaultButtonId() {
    if (const Child* ch = childByHwnd(GetFocus()); ch && ch->control->kind() == ui::ControlKind::Button)
        return MAKELRESULT(ch->id, DC_HASDEFID);
    for (const Child& ch : children_)
        if (ch.control->kind() == ui::ControlKind::Button && static_cast<ui::Button*>(ch.control)->isDefault &&
            shown(*ch.control) && usable(*ch.control))
            return MAKELRESULT(ch.id, DC_HASDEFID);
    return 0;
}

HWND FormWindow::firstFocus() const {
    for (const Child& ch : children_)
        if (ch.control->kind() == ui::ControlKind::Button && static_cast<ui::Button*>(ch.control)->isDefault &&
            ch.visible && ch.enabled)
            return ch.hwnd;
    for (const Child& ch : children_)
        if (ch.visible && ch.enabled && (GetWindowLongPtrW(ch.hwnd, GWL_STYLE) & WS_TABSTOP)) return ch.hwnd;
    return nullptr;
}

LRESULT FormWindow::notify(const NMHDR& h) {
    // A tip coming up lifts its owner with it under some window systems.
    if (layerHook_ && h.code == TTN_SHOW) layerActivated();
    Child* ch = childByHwnd(h.hwndFrom);
    if (!ch || !form_) return 0;
    if (ch->control->kind() == ui::ControlKind::UpDown && h.code == UDN_DELTAPOS) {
        auto* ud = static_cast<ui::UpDown*>(ch->control);
        const int delta = reinterpret_cast<const NMUPDOWN&>(h).iDelta;
        dispatch([ud, delta] {
            ud->setPosition(ud->position() + delta);
            if (ud->onClickArrow) ud->onClickArrow(delta > 0);
        });
        return TRUE;  // the model sets the position, the control only shows it
    }
    if (ch->control->kind() == ui::ControlKind::PageControl && h.code == TCN_SELCHANGE) {
        auto* pages = static_cast<ui::PageControl*>(ch->control);
        const int index = int(SendMessageW(ch->hwnd, TCM_GETCURSEL, 0, 0));
        dispatch([pages, index] {
            pages->setActivePage(index);
            if (pages->onChange) pages->onChange();
        });
    }
    return 0;
}

// From a scroll bar control; the window's own bars are the system's.
bool FormWindow::scrolled(HWND from) {
    if (!from) return false;
    Child* ch = childByHwnd(from);
    if (!ch || !form_ || ch->control->kind() != ui::ControlKind::TrackBar) return true;
    auto* bar = static_cast<ui::TrackBar*>(ch->control);
    const int pos = int(SendMessageW(from, TBM_GETPOS, 0, 0));
    if (pos != bar->position()) dispatch([bar, pos] { bar->setPosition(pos); });
    return true;
}

}  // namespace win32
