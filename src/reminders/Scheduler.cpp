#include "reminders/Scheduler.h"
#include "app/App.h"

namespace reminders {

// No reminders are stored yet: nothing is ever due.
void FindNextRemind(app::App& app) { app.remind.NextRemindSet = false; }

void FireRemind(app::App&, int, int, const std::string&) {}

}  // namespace reminders
