#pragma once

namespace app { class App; }
namespace settings { struct Settings; }

namespace sound {

// Sounds the system sound of SoundHType; returns at once.
void PlayChimeSound(app::App&);
// Whether `hour` (0..23) falls in the quiet hours; reminders ask it too.
bool QuietHour(const settings::Settings&, int hour);
// The hourly and half-hourly chime or spoken time, once per :00 / :30 minute.
void CheckChime(app::App&);
// Win+T speaks the time, Ctrl+T brings the clock back; polled on every tick.
void PollHotKeys(app::App&);

}  // namespace sound
