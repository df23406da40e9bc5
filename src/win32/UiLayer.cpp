// A form that keeps its layer: the clock on top of every window, or on the
// desktop under all of them. Other programs, the taskbar, a full-screen
// window or "show desktop" can take that place from it; it takes it back
// when the foreground changes, which costs nothing while nothing happens.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>
#include "win32/UiFormWindow.h"
#include "win32/Win32Ports.h"
#include "win32/Win32Ui.h"

namespace win32 {

namespace {

// The one hook of the process tells every form that keeps its layer.
std::vector<FormWindow*>& keepers() {
    static std::vector<FormWindow*> list;
    return list;
}

std::wstring classOf(HWND h) {
    wchar_t buf[64] = {};
    GetClassNameW(h, buf, 64);
    return buf;
}

// The shell's desktop, as "show desktop" brings it to the front.
bool isDesktop(HWND h) {
    if (!h) return false;
    if (h == GetShellWindow() || h == GetDesktopWindow()) return true;
    const std::wstring c = classOf(h);
    return c == L"Progman" || c == L"WorkerW";
}

// Just above the shell's desktop windows at the bottom of the z-order (below
// them the clock could not be seen); the very bottom where there are none.
HWND desktopSlot(HWND self) {
    HWND highest = nullptr;
    for (HWND h = GetWindow(self, GW_HWNDLAST); h; h = GetWindow(h, GW_HWNDPREV)) {
        if (h == self || !IsWindowVisible(h)) continue;
        if (!isDesktop(h)) break;
        highest = h;
    }
    if (!highest) return HWND_BOTTOM;
    const HWND above = GetWindow(highest, GW_HWNDPREV);
    return above ? above : HWND_TOP;
}

// A window covering its whole monitor (a film, a game, a presentation) is
// left in front while it lasts; the clock comes back on top once it goes.
bool fullScreen(HWND h) {
    RECT r{};
    if (!h || !GetWindowRect(h, &r) || isDesktop(h)) return false;
    MONITORINFO m{};
    m.cbSize = sizeof m;
    if (!GetMonitorInfoW(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &m)) return false;
    return r.left <= m.rcMonitor.left && r.top <= m.rcMonitor.top && r.right >= m.rcMonitor.right &&
           r.bottom >= m.rcMonitor.bottom;
}

}  // namespace

void FormWindow::watchLayer() {
    if (layerHook_) return;
    layerHook_.reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, foregroundChanged, 0,
                                     0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS));
    if (layerHook_) keepers().push_back(this);
}

void FormWindow::unwatchLayer() {
    std::erase(keepers(), this);
    layerHook_.reset();
}

// Runs in this thread's message loop, like a posted message.
void CALLBACK FormWindow::foregroundChanged(HWINEVENTHOOK hook, DWORD, HWND foreground, LONG, LONG, DWORD, DWORD) {
    for (FormWindow* w : std::vector<FormWindow*>(keepers()))
        if (std::find(keepers().begin(), keepers().end(), w) != keepers().end() && w->layerHook_.get() == hook)
            w->keepLayer(foreground);
}

void FormWindow::keepLayer(HWND foreground) {
    if (!form_ || !hwnd_ || !IsWindowVisible(hwnd_)) return;
    constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    if (form_->stayOnTop()) {
        if (!fullScreen(foreground)) SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, flags);
    } else if (isDesktop(foreground)) {
        // Every other window has made way for the desktop: the clock stands on it.
        raised_ = false;
        ownLayerMove_ = true;
        SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, flags);
        ownLayerMove_ = false;
    } else if (std::exchange(raised_, false)) {
        restoreLayer();
    }
}

// The user asked to see it (the bring-to-front procedure). Not on top, it
// stays in front of the others until the user turns to another window.
void FormWindow::bringToFront() {
    ui_.flushAll();
    if (!hwnd_ || !form_) return;
    raised_ = layerHook_ && !form_->stayOnTop();
    if (!raiseOverForeground(hwnd_)) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Not on top: whatever raises it in passing (a click, an activation) leaves
// it on the desktop. An owned window stays above its owner, so the (hidden) owner goes first.
void FormWindow::layerChanging(WINDOWPOS& pos) {
    if (!form_ || form_->stayOnTop() || ownLayerMove_ || raised_ || (pos.flags & SWP_NOZORDER)) return;
    if (const HWND owner = GetWindow(hwnd_, GW_OWNER); owner && GetWindow(owner, GW_HWNDNEXT))
        SetWindowPos(owner, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    pos.hwndInsertAfter = desktopSlot(hwnd_);
    if (pos.hwndInsertAfter == hwnd_) pos.flags |= SWP_NOZORDER;  // there already
}

// After the fact: the topmost style taken away, or (not on top) a raise that
// came past layerChanging, as a click's activation does under some window
// systems. The layer is put right once the change is over.
void FormWindow::layerChanged(const WINDOWPOS& pos) {
    if (!form_ || ownLayerMove_ || layerPosted_) return;
    if (form_->stayOnTop() ? bool(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST)
                           : raised_ || bool(pos.flags & SWP_NOZORDER))
        return;
    layerPosted_ = PostMessageW(hwnd_, kMsgKeepLayer, 0, 0) != FALSE;
}

void FormWindow::layerActivated() {
    if (form_ && !form_->stayOnTop() && !raised_ && !layerPosted_)
        layerPosted_ = PostMessageW(hwnd_, kMsgKeepLayer, 0, 0) != FALSE;
}

// The user turned to another window: the clock's time in front is over.
void FormWindow::layerDeactivated() {
    if (std::exchange(raised_, false)) layerActivated();
}

void FormWindow::restoreLayer() {
    layerPosted_ = false;
    if (!form_ || !hwnd_) return;
    if (form_->stayOnTop()) {
        keepLayer(GetForegroundWindow());
        return;
    }
    if (raised_) return;
    ownLayerMove_ = true;
    constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (const HWND owner = GetWindow(hwnd_, GW_OWNER)) SetWindowPos(owner, HWND_BOTTOM, 0, 0, 0, 0, flags);
    if (const HWND slot = desktopSlot(hwnd_); slot != hwnd_) SetWindowPos(hwnd_, slot, 0, 0, 0, 0, flags);
    ownLayerMove_ = false;
}

}  // namespace win32
