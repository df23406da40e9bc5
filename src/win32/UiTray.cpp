// The form's icons in the notification area.
#include "win32/UiFormWindow.h"
#include "win32/Win32Ui.h"

namespace win32 {

// An id the shell does not hold is not kept: a remove it refuses keeps the
// icon, which goes again with the window.
bool FormWindow::tray(bool add, const ui::TrayIconData& d) {
    if (!hwnd_) return false;
    TrayIcon& icon = trayIcons_.try_emplace(d.id, hwnd_, d.id).first->second;
    const bool ok = add ? icon.add(d, ui_.smallIcon()) : icon.remove();
    if (!icon.added()) trayIcons_.erase(d.id);
    return ok;
}

bool FormWindow::balloon(const ui::TrayIconData& d, const std::string& title, const std::string& text) {
    const auto icon = trayIcons_.find(d.id);
    return hwnd_ && icon != trayIcons_.end() && icon->second.balloon(title, text);
}

// Each icon goes with its object, in the order of their ids.
void FormWindow::removeTrayIcons() {
    while (!trayIcons_.empty()) trayIcons_.erase(trayIcons_.begin());
}

}  // namespace win32
