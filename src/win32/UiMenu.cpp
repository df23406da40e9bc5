#include "win32/UiMenu.h"
#include "win32/Text.h"

namespace win32 {

UniqueMenu buildPopupMenu(const ui::MenuItem& root) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return menu;
    for (const auto& owned : root.items()) {
        const ui::MenuItem& item = *owned;
        if (!item.visible) continue;
        if (item.separator()) {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT state = (item.checked ? MF_CHECKED : 0) | (item.enabled ? 0 : MF_GRAYED);
        const std::wstring text = widen(item.caption());
        if (!item.items().empty()) {
            UniqueMenu sub = buildPopupMenu(item);
            // Once appended, the parent menu destroys its submenus.
            if (sub && AppendMenuW(menu.get(), MF_POPUP | state, UINT_PTR(sub.get()), text.c_str())) sub.release();
            continue;
        }
        AppendMenuW(menu.get(), MF_STRING | state, item.command(), text.c_str());
        if (item.isDefault && item.command() != 0) SetMenuDefaultItem(menu.get(), item.command(), FALSE);
    }
    return menu;
}

}  // namespace win32
