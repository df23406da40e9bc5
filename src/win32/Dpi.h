#pragma once
// The screen's resolution as each system version can tell it. The newer
// functions are looked up at run time: the program still starts where they
// are missing and then works at the system-wide resolution.
#include <windows.h>

namespace win32::dpi {

// The resolution the whole session was started with (LOGPIXELSX where the
// system has nothing newer).
int system();
// The resolution of the monitor the window is on, for a window of a
// per-monitor aware program; the system's elsewhere.
int ofWindow(HWND);
// The outer rectangle of a window whose client area is `client`, its frame at `dpi`.
RECT outerRect(RECT client, DWORD style, DWORD exStyle, int dpi);

// Model coordinates on the screen. They are 96-dpi units of the system-wide
// resolution: a program that was not aware of the resolution saw the screen
// so on Windows, and the stored clock positions it wrote mean the same place
// to this one. At 96 dpi they are the screen's own pixels.
int screenFromModel(int v);
int modelFromScreen(int v);

}  // namespace win32::dpi
