#pragma once
// The common controls library, loaded the first time a window needs it rather
// than with the program: under Wine its start-up alone (it decodes the tooltip
// icons from large pictures) leaves 1.7 MB of private memory behind, and the
// clock's own window has no common control (its tooltip waits for the mouse).
// Once loaded it stays for the life of the process.
#include <windows.h>
#include <commctrl.h>

namespace win32::commonControls {

// Loads the library (the version the manifest asks for) and registers its
// window classes; false when it cannot be had.
bool load();

// The library's subclassing calls; false / 0 when it cannot be had.
bool setWindowSubclass(HWND, SUBCLASSPROC, UINT_PTR id, DWORD_PTR data);
bool removeWindowSubclass(HWND, SUBCLASSPROC, UINT_PTR id);
LRESULT defSubclassProc(HWND, UINT, WPARAM, LPARAM);

}  // namespace win32::commonControls
