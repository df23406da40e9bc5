#pragma once
#include <string>

namespace app { class App; }

namespace sound {

// The reminder sound channel: one file at a time under the MCI alias mySndR.

// Stops the channel if a reminder sound was started in this run, hides N6 and
// stops the poll.
void StopReminderSound(app::App&);
// Stops whatever plays, then starts `path`; when asked, 500 ms later (so a chime
// or the spoken time just before it is not cut off) without holding up the clock.
void StartReminderSound(app::App&, const std::string& path, bool pauseFirst);

// TFormClock handlers.
void N6Click(app::App&);
void TimerMySndTimer(app::App&);
void TimerSndPauseTimer(app::App&);

}  // namespace sound
