#include "win32/Dpi.h"
#include "win32/Entry.h"
#include "ui/Dpi.h"

namespace win32::dpi {

namespace {

template <class F>
F user32(const char* name) {
    static const HMODULE module = GetModuleHandleW(L"user32.dll");
    return entry<F>(module, name);
}

using DpiForSystem = UINT(WINAPI*)();
using DpiForWindow = UINT(WINAPI*)(HWND);
using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

int deviceDpi() {
    const HDC screen = GetDC(nullptr);
    const int d = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return d > 0 ? d : ui::dpi::kModel;
}

}  // namespace

// Fixed for the session on every system version: asked once.
int system() {
    static const int value = [] {
        if (const auto f = user32<DpiForSystem>("GetDpiForSystem"))
            if (const UINT d = f(); d > 0) return int(d);
        return deviceDpi();
    }();
    return value;
}

int ofWindow(HWND h) {
    static const auto f = user32<DpiForWindow>("GetDpiForWindow");
    if (f && h)
        if (const UINT d = f(h); d > 0) return int(d);
    return system();
}

RECT outerRect(RECT r, DWORD style, DWORD ex, int dpi) {
    static const auto adjust = user32<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&r, style, FALSE, ex, UINT(dpi))) AdjustWindowRectEx(&r, style, FALSE, ex);
    return r;
}

int screenFromModel(int v) { return ui::dpi::toPixels(v, system()); }
int modelFromScreen(int v) { return ui::dpi::toModel(v, system()); }

}  // namespace win32::dpi
