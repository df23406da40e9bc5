#pragma once
#include <string>

namespace app { class App; }

namespace reminders {

void FindNextRemind(app::App&);
void FireRemind(app::App&, int hour, int minute, const std::string& name);

}  // namespace reminders
