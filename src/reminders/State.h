#pragma once
#include <string>

namespace reminders {

struct NextRemind {
    bool NextRemindSet = false;
    int NextRemindH = 0;
    int NextRemindM = 0;
    std::string NextRemindName;
};

}  // namespace reminders
