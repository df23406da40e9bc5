// The hints: one tooltip for the form's window and its controls.
#include "win32/UiFormWindow.h"
#include <commctrl.h>
#include "win32/CommonControls.h"
#include "win32/Text.h"
#include "win32/Win32Ui.h"

namespace win32 {

// The loop hands the tooltip the mouse messages: letting it subclass the
// window instead would put a costly property lookup on every message, the
// clock's ticks included.
void FormWindow::relayMouse(const MSG& msg) {
    if (!tooltip_ && !pointedAt_) {
        pointedAt_ = true;
        if (hintsWanted_ && form_ && hwnd_) applyTools();
    }
    if (tooltip_) SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, LPARAM(&msg));
}

void FormWindow::applyTools() {
    std::vector<Tool> wanted;
    if (form_->showHint) {
        // Tools are matched first to last: the controls' own before the form's.
        const auto& controls = form_->controls();
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const ui::Control& c = *controls[i];
            if (c.hint().empty() || !shown(c)) continue;
            if (const Child* ch = childOf(c)) wanted.push_back({UINT_PTR(ch->hwnd), true, {}, c.hint()});
            else if (c.isGraphic()) wanted.push_back({UINT_PTR(i + 1), false, px(c.clientBounds()), c.hint()});
        }
        if (!form_->hint().empty())
            wanted.push_back({0, false, px(ui::Rect{0, 0, form_->bounds().width, form_->bounds().height}), form_->hint()});
    }
    hintsWanted_ = !wanted.empty();
    if (wanted == tools_) return;
    // A tip shows only after the mouse has rested on the window, so the tooltip
    // (and the library behind it) can wait for the mouse's first visit.
    if (!tooltip_ && hintsWanted_ && pointedAt_) {
        if (!commonControls::load()) return;
        tooltip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                       ui_.instance(), nullptr));
        if (!tooltip_) return;
        SendMessageW(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, px(480));
    }
    if (!tooltip_) return;
    auto send = [this](UINT msg, const Tool& t) {
        // The tip sizes itself by the text's reported extent, which can fall a
        // few pixels short of the painted one (see Resources::measure).
        std::wstring text = widen(t.text) + std::wstring(1 + t.text.size() / 24, L' ');
        TTTOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.uFlags = t.isWindow ? TTF_IDISHWND : 0;
        ti.hwnd = hwnd_;
        ti.uId = t.id;
        ti.rect = t.rect;
        ti.lpszText = text.data();
        SendMessageW(tooltip_.get(), msg, 0, LPARAM(&ti));
    };
    for (const Tool& t : tools_) send(TTM_DELTOOLW, t);
    for (const Tool& t : wanted) send(TTM_ADDTOOLW, t);
    tools_ = std::move(wanted);
}

}  // namespace win32
