#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include "platform/Types.h"

namespace platform {

// Virtual key codes the program polls.
enum VirtualKey : int { kVkControl = 17, kVkT = 84, kVkLWin = 91, kVkRWin = 92 };

class System {
public:
    virtual ~System() = default;
    virtual OsVersion version() = 0;
    // Empty when the system reports no name; SystemError when it cannot answer.
    virtual std::string userName() = 0;
    virtual std::string computerName() = 0;
    virtual std::filesystem::path programFile() = 0;
    // Per-user writable data folder (…\AppData\Local); empty if unknown.
    virtual std::filesystem::path localAppData() = 0;
    virtual std::string timeSeparator() = 0;
    // "dddd dd MMMM yyyy" in the user's language.
    virtual std::string longDate(const LocalTime&) = 0;
    // The date in the user's short date format; empty for a date that is none.
    virtual std::string shortDate(const LocalTime&) = 0;
    // What stands between day, month and year in the user's dates.
    virtual std::string dateSeparator() = 0;
    // Puts the file `from` in the place of `to` in one step, replacing it.
    // False, with both left as they were, when the system refuses: `to` is
    // read-only or open in another program, or the folder cannot be written.
    virtual bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Raw GetAsyncKeyState result.
    virtual std::int16_t asyncKeyState(int virtualKey) = 0;

    // Other copies of the program.
    virtual WindowId findWindow(const std::string& className, const std::string& caption) = 0;
    virtual std::intptr_t sendMessage(WindowId, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual unsigned registerWindowMessage(const std::string& name) = 0;
    // Puts `window` in front of the current foreground window, attaching to the
    // foreground thread's input when it belongs to another thread.
    virtual void bringToFront(WindowId window) = 0;
    virtual void setForeground(WindowId window) = 0;
};

inline std::filesystem::path programFolder(System& s) { return s.programFile().parent_path(); }

}  // namespace platform
