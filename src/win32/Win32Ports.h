#pragma once
// The platform ports on the real Windows API.
#include "platform/Clock.h"
#include "platform/Mail.h"
#include "platform/Power.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "win32/Handles.h"

namespace win32 {

class Win32Clock final : public platform::Clock {
public:
    platform::LocalTime now() override;
};

class Win32Shell final : public platform::Shell {
public:
    bool open(const std::string& target, const std::string& verb, const std::string& params, int showCommand,
              platform::WindowId owner = 0, const std::string& folder = {}) override;
};

class Win32Power final : public platform::Power {
public:
    bool setPrivilege(const std::string& name, bool enable) override;
    unsigned exitWindows(unsigned flags) override;
    bool hibernationAllowed() override;
    bool suspend(bool hibernate, bool force, bool disableWakeEvents) override;
    void keepAwake(bool on) override;

private:
    using SetSuspendStateFn = BOOLEAN(WINAPI*)(BOOLEAN hibernate, BOOLEAN force, BOOLEAN disableWakeEvent);
    UniqueLibrary powerLibrary_;                  // loaded at the first suspend, kept while the address is
    SetSuspendStateFn setSuspendState_ = nullptr;
};

class Win32System final : public platform::System {
public:
    platform::OsVersion version() override;
    std::string userName() override;
    std::string computerName() override;
    std::filesystem::path programFile() override;
    std::filesystem::path localAppData() override;
    std::string timeSeparator() override;
    std::string longDate(const platform::LocalTime&) override;
    std::string shortDate(const platform::LocalTime&) override;
    std::string dateSeparator() override;
    bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) override;
    std::int16_t asyncKeyState(int virtualKey) override;
    platform::WindowId findWindow(const std::string& className, const std::string& caption) override;
    std::intptr_t sendMessage(platform::WindowId, unsigned message, std::uintptr_t wParam,
                              std::intptr_t lParam) override;
    unsigned registerWindowMessage(const std::string& name) override;
    void bringToFront(platform::WindowId window) override;
    void setForeground(platform::WindowId window) override;
};

// Puts the window at the top of the z-order over the foreground window of
// another thread, through that thread's input; false when the foreground is
// none or this thread's own, and nothing was done.
bool raiseOverForeground(HWND window);

class Win32Mail final : public platform::Mail {
public:
    bool send(const platform::MailMessage&) override;

private:
    using SendMailFn = ULONG(WINAPI*)(ULONG_PTR session, ULONG_PTR parent, void* message, ULONG flags,
                                      ULONG reserved);
    UniqueLibrary mapiLibrary_;  // loaded at the first send, kept while the address is
    SendMailFn sendMail_ = nullptr;
    bool lookedUp_ = false;
};

}  // namespace win32
