#include <windows.h>
#include "win32/Dpi.h"
#include "win32/Win32Ui.h"

namespace win32 {

namespace {

// Monitors in the forms' coordinates (the system's resolution counted as 96 dpi).
ui::Rect modelRect(const RECT& r) {
    const int left = dpi::modelFromScreen(r.left), top = dpi::modelFromScreen(r.top);
    return {left, top, dpi::modelFromScreen(r.right) - left, dpi::modelFromScreen(r.bottom) - top};
}

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<ui::Monitor>*>(list)->push_back({modelRect(info.rcMonitor), modelRect(info.rcWork)});
    return TRUE;
}

}  // namespace

std::vector<ui::Monitor> Win32Ui::monitors() {
    std::vector<ui::Monitor> list;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, LPARAM(&list));
    return list;
}

}  // namespace win32
