#pragma once

namespace platform {

enum ExitFlags : unsigned { kEwxLogoff = 0, kEwxShutdown = 1, kEwxReboot = 2, kEwxForce = 4 };

class Power {
public:
    virtual ~Power() = default;
    virtual bool enableShutdownPrivilege() = 0;
    virtual bool exitWindows(unsigned flags) = 0;
    // Answers false when the power library or its entry is missing.
    virtual bool hibernationAllowed() = 0;
    virtual bool suspend(bool hibernate) = 0;
};

}  // namespace platform
