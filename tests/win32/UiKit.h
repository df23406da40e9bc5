#pragma once
// What the window-system tests share: finding a form's window, running the
// thread's messages, a plain label.
#include <windows.h>
#include <memory>
#include <string>
#include "ui/Form.h"
#include "win32/Text.h"

namespace uikit {

inline std::string classOf(HWND h) {
    wchar_t buf[256] = {};
    GetClassNameW(h, buf, 256);
    return win32::narrow(buf);
}

inline std::string textOf(HWND h) {
    std::wstring w(std::size_t(GetWindowTextLengthW(h)) + 1, L'\0');
    w.resize(std::size_t(GetWindowTextW(h, w.data(), int(w.size()))));
    return win32::narrow(w);
}

inline HWND hwndOf(ui::Form& f) { return HWND(f.handle()); }

// Runs this thread's messages for a while, as the program's loop would; a
// quit message stays for the test to see.
inline void pump(int ms) {
    const DWORD end = GetTickCount() + DWORD(ms);
    MSG m;
    do {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                PostQuitMessage(int(m.wParam));
                return;
            }
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(5);
    } while (GetTickCount() < end);
}

inline ui::Label& addLabel(ui::Form& f, const char* name, ui::Rect r, const std::string& text, ui::Font font = {}) {
    auto& l = f.add(std::make_unique<ui::Label>(name));
    l.autoSize = false;
    l.setBounds(r);
    l.setFont(font);
    l.setCaption(text);
    return l;
}

}  // namespace uikit
