#include <windows.h>
#include "win32/Win32Ui.h"

namespace win32 {

namespace {

// Screen pixels as the forms count them. One place, for when the two part ways.
ui::Rect modelRect(const RECT& r) { return {int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)}; }

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
