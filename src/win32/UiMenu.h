#pragma once
#include <windows.h>
#include "ui/Menu.h"
#include "win32/Handles.h"

namespace win32 {

// A popup menu as the model stands now: hidden items left out, "-" as a
// separator, marks, greyed items, submenus and the default item in bold.
// Item ids are the model's command numbers.
UniqueMenu buildPopupMenu(const ui::MenuItem& root);

}  // namespace win32
