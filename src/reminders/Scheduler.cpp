#include "reminders/Scheduler.h"

namespace reminders {

Scheduler::Scheduler(Ports ports, NextRemind& next, errors::Guard& guard)
    : ports_(ports), next_(next), guard_(guard) {}

// The search over the stored reminders comes with the reminders themselves;
// until then the store reads as empty and nothing is due.
void Scheduler::FindNextRemind() {
    guard_(errors::code::FindNextRemind, [&] {
        (void)ports_.registry.read(platform::Hive::CurrentUser, kRemindKey, "RemindCount");
        next_.NextRemindH = 0;
        next_.NextRemindM = 0;
        next_.NextRemindSet = false;
    });
}

void Scheduler::FireRemind(int, int, const std::string&) {}

bool Scheduler::TickStep(const platform::LocalTime& now) {
    if (!next_.NextRemindSet || now.second <= 30 || now.hour != next_.NextRemindH) return false;
    int minute = now.minute;
    bool called = false;
    if (minute == next_.NextRemindM) {
        // Kept before the search moves past this minute.
        const int h = next_.NextRemindH, m = next_.NextRemindM;
        const std::string name = next_.NextRemindName;
        FindNextRemind();
        FireRemind(h, m, name);
        minute = ports_.clock.now().minute;
        called = true;
    }
    if (next_.NextRemindM < minute) {
        FindNextRemind();
        called = true;
    }
    return called;
}

}  // namespace reminders
