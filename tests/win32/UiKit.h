#pragma once
// What the window-system tests share: finding a form's window and its
// controls, running the thread's messages, a plain label, a picture of a window.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>
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

inline HWND childWithText(HWND parent, const std::string& text) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (textOf(c) == text) return c;
    return nullptr;
}

// With LUMIVO_SHOT_DIR set, the window as the screen shows it is saved there
// as a 24-bit BMP file for a person to look at.
inline void shot(HWND window, const std::string& name) {
    const char* dir = std::getenv("LUMIVO_SHOT_DIR");
    if (!dir || !*dir) return;
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const int stride = (w * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(std::size_t(stride) * h);
    GetDIBits(mem, bmp, 0, UINT(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = DWORD(file.bfOffBits + pixels.size());
    const std::string path = std::string(dir) + "\\" + name + ".bmp";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, f);
        std::fwrite(&info, sizeof info, 1, f);
        std::fwrite(pixels.data(), 1, pixels.size(), f);
        std::fclose(f);
    }
}

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

// A user in the file dialog titled "Укажите имя файла", answering from a
// timer in the dialog's own loop: each tick notes the name the dialog shows,
// types the next name and confirms it.
struct FileDialogUser {
    explicit FileDialogUser(std::vector<std::wstring> typed) : names(std::move(typed)) {}
    std::vector<std::wstring> names;
    std::size_t next = 0;
    std::vector<std::string> shown;
};
inline FileDialogUser* fileDialogUser = nullptr;

inline void CALLBACK typeAName(HWND, UINT, UINT_PTR, DWORD) {
    const HWND dialog = FindWindowW(L"#32770", L"Укажите имя файла");
    FileDialogUser* user = fileDialogUser;
    if (!dialog || !user || user->next >= user->names.size()) return;
    wchar_t name[MAX_PATH] = {};
    SendMessageW(dialog, CDM_GETSPEC, MAX_PATH, LPARAM(name));
    user->shown.push_back(win32::narrow(name));
    SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13, LPARAM(user->names[user->next++].c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
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
