#pragma once
// The common dialogs library, loaded the first time a dialog is asked for
// rather than with the program: under Wine it brings the common controls and
// the printing library with it, over 2 MB of private memory for a clock that
// may never show a file, font or colour dialog. Once loaded it stays for the
// life of the process. Each call answers FALSE, as a cancel does, when the
// library cannot be had.
#include <windows.h>
#include <commdlg.h>

namespace win32::commonDialogs {

BOOL getOpenFileName(OPENFILENAMEW&);
BOOL getSaveFileName(OPENFILENAMEW&);
BOOL chooseFont(CHOOSEFONTW&);
BOOL chooseColor(CHOOSECOLORW&);

}  // namespace win32::commonDialogs
