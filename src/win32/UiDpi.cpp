// A form window at the resolution of the monitor it is on.
#include "win32/UiFormWindow.h"
#include <commctrl.h>
#include "ui/Dpi.h"
#include "win32/Dpi.h"
#include "win32/Win32Ui.h"

namespace win32 {

int FormWindow::px(int length) const { return ui::dpi::toPixels(length, dpi_); }

RECT FormWindow::px(const ui::Rect& r) const {
    const ui::Rect p = ui::dpi::toPixels(r, dpi_);
    return {p.left, p.top, p.right(), p.bottom()};
}

POINT FormWindow::modelPoint(LPARAM l) const {
    return {ui::dpi::toModel(short(LOWORD(l)), dpi_), ui::dpi::toModel(short(HIWORD(l)), dpi_)};
}

RECT FormWindow::outerRect(int width, int height, DWORD style, DWORD exStyle) const {
    return dpi::outerRect({0, 0, px(width), px(height)}, style, exStyle, dpi_);
}

// The window's place in model coordinates, its client size in model units.
ui::Rect FormWindow::modelRect(const RECT& window, const RECT& client) const {
    return {dpi::modelFromScreen(window.left), dpi::modelFromScreen(window.top), ui::dpi::toModel(client.right, dpi_),
            ui::dpi::toModel(client.bottom, dpi_)};
}

// The frame the system draws need not be the one it computes for a
// resolution (Wine keeps its frames at the system's): the client area is
// what the layout gives, so the difference goes to the outer size.
void FormWindow::fitClient(int width, int height) {
    if (!hwnd_ || IsIconic(hwnd_)) return;
    RECT client, window;
    GetClientRect(hwnd_, &client);
    const int dw = px(width) - client.right, dh = px(height) - client.bottom;
    if ((dw == 0 && dh == 0) || !GetWindowRect(hwnd_, &window)) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + dw, window.bottom - window.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The clock paints its marks every tick: each is scaled once per picture and size.
const ui::Bitmap& FormWindow::scaledPicture(const ui::Image& image, ui::Size size) {
    const auto counter = pictures_.find(&image);
    const unsigned picture = counter == pictures_.end() ? 0 : counter->second;
    ScaledPicture& s = scaled_[&image];
    if (s.picture != picture || !(s.size == size) || s.bitmap.empty()) {
        s.picture = picture;
        s.size = size;
        s.bitmap = win32::scaledPicture(image, size);
    }
    return s.bitmap;
}

// Fonts, texts, controls and the window itself are made again at the new
// resolution. A window with a frame goes where the system suggests, so that
// it does not flip back and forth on the border between two monitors; the
// clock keeps its top-left corner where the user put it (the model's
// position is the same place on every monitor).
void FormWindow::dpiChanged(int dpi, const RECT* suggested) {
    if (dpi <= 0 || !form_ || !hwnd_ || !created_) return;
    const int before = dpi_;
    dpi_ = dpi;
    if (suggested && form_->border != ui::BorderStyle::None) {
        ui::Rect b = form_->bounds();
        b.left = dpi::modelFromScreen(suggested->left);
        b.top = dpi::modelFromScreen(suggested->top);
        form_->assignBoundsFromUser(b);
    }
    if (before == dpi) return;
    scaled_.clear();
    for (Child& ch : children_) {
        const ui::Control& c = *ch.control;
        SendMessageW(ch.hwnd, WM_SETFONT, WPARAM(ui_.resources().font(c.font(), false, dpi_)), FALSE);
        if (c.kind() == ui::ControlKind::CheckListBox)
            SendMessageW(ch.hwnd, LB_SETITEMHEIGHT, 0, LPARAM(listItemHeight(static_cast<const ui::CheckListBox&>(c))));
        if (c.kind() == ui::ControlKind::PageControl) {
            ch.tabRow = 0;
            fillChild(ch);  // the row of tabs is as high as its new font
        }
    }
    if (tooltip_) SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, px(480));
    applied_.bounds.width = applied_.bounds.height = -1;  // the same model size is another window size now
    dirty_ = true;
    // Texts measured at the old resolution may be a pixel too short or too long at the new one.
    ui::Form* f = form_;
    dispatch([f] {
        for (const auto& c : f->controls())
            if (c->kind() == ui::ControlKind::Label) static_cast<ui::Label&>(*c).adjustSize();
    });
    if (!hwnd_ || !form_) return;
    layoutChildren();
    InvalidateRect(hwnd_, nullptr, FALSE);
    for (const Child& ch : children_) InvalidateRect(ch.hwnd, nullptr, TRUE);
}

}  // namespace win32
