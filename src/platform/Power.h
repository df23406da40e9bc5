#pragma once
#include <string>

namespace platform {

enum ExitFlags : unsigned { kEwxLogoff = 0, kEwxShutdown = 1, kEwxReboot = 2, kEwxForce = 4 };

class Power {
public:
    virtual ~Power() = default;
    // Enables or disables a privilege of the process's own token; false when
    // the token, the privilege or the adjustment failed.
    virtual bool setPrivilege(const std::string& name, bool enable) = 0;
    // 0 when the system accepted the request, else its error code.
    virtual unsigned exitWindows(unsigned flags) = 0;
    // Answers false when the power library or its entry is missing.
    virtual bool hibernationAllowed() = 0;
    // SetSuspendState from the system's power library, looked up at the first
    // call and kept; false when it is missing or refused.
    virtual bool suspend(bool hibernate, bool force, bool disableWakeEvents) = 0;
    // While on, the system does not fall asleep by itself.
    virtual void keepAwake(bool on) = 0;
};

}  // namespace platform
