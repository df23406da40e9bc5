#pragma once
#include <string>
#include "errors/Guard.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "reminders/State.h"
#include "reminders/Store.h"

namespace reminders {

// Finds the next due reminder and fires it when the main tick says so.
class Scheduler {
public:
    struct Ports {
        platform::Registry& registry;
        platform::Clock& clock;
    };
    Scheduler(Ports ports, NextRemind& next, errors::Guard& guard);

    void FindNextRemind();
    void FireRemind(int hour, int minute, const std::string& name);
    // The main tick's share: fires the next due reminder once, in seconds 31
    // to 59 of its minute, and moves past one whose minute has gone by. True
    // when it called out (the clock is then read again).
    bool TickStep(const platform::LocalTime& now);

private:
    Ports ports_;
    NextRemind& next_;
    errors::Guard& guard_;
};

}  // namespace reminders
