#pragma once
#include <string>
#include "core/ClockFace.h"
#include "core/TimerLink.h"
#include "errors/Guard.h"
#include "platform/Audio.h"
#include "platform/Types.h"
#include "sound/State.h"

namespace sound {

// The reminder sound channel: one file at a time under the MCI alias mySndR.
class ReminderSound {
public:
    ReminderSound(platform::Audio& audio, SoundState& state, core::ClockFace& face, errors::Guard& guard);

    // Stops the channel if a reminder sound was started in this run, hides N6
    // and stops the poll.
    void Stop();
    // Stops whatever plays, then starts `path`; when asked, 500 ms later (so a
    // chime or the spoken time just before it is not cut off) without holding
    // up the clock.
    void Start(const std::string& path, bool pauseFirst);
    // Start on a channel already stopped.
    void Open(const std::string& path, bool pauseFirst);

    // The clock window's two timers for this channel, for as long as it lives.
    void attach(ui::Timer& TimerMySnd, ui::Timer& TimerSndPause);
    void detach();

    // TFormClock handlers.
    void N6Click();
    void TimerMySndTimer();
    void TimerSndPauseTimer();

private:
    // N6 and the poll that notices the sound's end: both on while one plays.
    void showPlaying(bool playing);

    void close();
    void playNow(const std::string& path);

    platform::Audio& audio_;
    SoundState& state_;
    core::ClockFace& face_;
    errors::Guard& guard_;
    core::TimerLink TimerMySnd_{[this] { TimerMySndTimer(); }};
    // The half second a sound file waits after its chime or voice.
    core::TimerLink TimerSndPause_{[this] { TimerSndPauseTimer(); }};
};

// "От&ключить звук": stops a reminder sound that plays and switches all sound off or on.
void ToggleSoundOff(SoundState&, ReminderSound&, core::ClockFace&);
// The sound off for the two or three minutes around a hibernation.
inline constexpr int kTemporarySoundOffMinutes = 3;
void StartTemporarySoundOff(SoundState&, core::ClockFace&, const platform::LocalTime& now);
// Lifts a temporary sound-off once its minute has come, or at once when the
// clock is no longer just before it; true when it did (the next reminder is
// then sought again).
bool EndTemporarySoundOff(SoundState&, core::ClockFace&, const platform::LocalTime& now);

}  // namespace sound
