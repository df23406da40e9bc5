#pragma once
// A window's icon in the notification area.
#include <windows.h>
#include <shellapi.h>
#include <string>
#include "ui/Form.h"

namespace win32 {

// One icon of a window's; it leaves the notification area with the object.
// After the shell restarts, a remove (refused: the shell has forgotten the
// icon) followed by an add puts it back.
class TrayIcon {
public:
    TrayIcon(HWND window, unsigned id);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // False where the shell refused; the icon is then as it was.
    bool add(const ui::TrayIconData&, HICON);
    bool remove();
    bool balloon(const std::string& title, const std::string& text);
    // In the notification area as far as the program knows: added, and not removed since.
    bool added() const { return added_; }

private:
    NOTIFYICONDATAW data_{};
    bool added_ = false;
};

}  // namespace win32
