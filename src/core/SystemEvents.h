#pragma once

namespace core {

// What the system tells the program about the machine. The clock window
// hears it and hands it to every subsystem that cares, in a fixed order.
class SystemEvents {
public:
    virtual ~SystemEvents() = default;
    virtual void onResumed() {}         // back from sleep or hibernation
    virtual void onTimeChanged() {}     // the clock was set, by the user or a time service
    virtual void onDisplayChanged() {}  // monitors, resolution or scaling changed
    virtual void onSessionEnding() {}   // Windows is ending the session for good
};

}  // namespace core
