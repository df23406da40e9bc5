#pragma once
#include <string>

namespace reminders {

// The next due reminder, found by FindNextRemind and fired by the main tick.
struct NextRemind {
    bool NextRemindSet = false;
    int NextRemindH = 0;   // 26 / 61 while reminders exist but none is due
    int NextRemindM = 0;
    std::string NextRemindName;
};

}  // namespace reminders
