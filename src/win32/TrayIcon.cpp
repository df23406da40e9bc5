#include "win32/TrayIcon.h"
#include <algorithm>
#include "win32/Text.h"

namespace win32 {

namespace {

// Cut to the field, which always ends in a zero.
template <std::size_t N>
void put(const std::string& from, wchar_t (&to)[N]) {
    const std::wstring w = widen(from);
    const std::size_t n = std::min(w.size(), N - 1);
    std::copy_n(w.data(), n, to);
    to[n] = L'\0';
}

}  // namespace

TrayIcon::TrayIcon(HWND window, unsigned id) {
    // The full size: the smaller ones end before the balloon's fields, and every system we run on takes it.
    data_.cbSize = sizeof data_;
    data_.hWnd = window;
    data_.uID = id;
}

// An icon left behind by its window would stay in the notification area
// until the pointer passes over it.
TrayIcon::~TrayIcon() {
    if (added_) Shell_NotifyIconW(NIM_DELETE, &data_);
}

bool TrayIcon::add(const ui::TrayIconData& d, HICON icon) {
    data_.uFlags = d.flags;
    data_.uCallbackMessage = d.callbackMessage;
    data_.hIcon = icon;
    put(d.tip, data_.szTip);
    const bool ok = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
    added_ = added_ || ok;
    return ok;
}

bool TrayIcon::remove() {
    const bool ok = Shell_NotifyIconW(NIM_DELETE, &data_) != FALSE;
    added_ = added_ && !ok;
    return ok;
}

// The balloon's fields go in a copy: the icon's own record never shows one again.
bool TrayIcon::balloon(const std::string& title, const std::string& text) {
    if (!added_) return false;
    NOTIFYICONDATAW info = data_;
    info.uFlags = NIF_INFO;
    info.dwInfoFlags = NIIF_INFO;
    put(title, info.szInfoTitle);
    put(text, info.szInfo);
    return Shell_NotifyIconW(NIM_MODIFY, &info) != FALSE;
}

}  // namespace win32
