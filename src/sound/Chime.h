#pragma once
#include "core/Session.h"
#include "errors/Guard.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "quickexit/State.h"
#include "settings/Settings.h"
#include "sound/State.h"
#include "sound/TalkingClock.h"

namespace sound {

// Whether `hour` (0..23) falls in the quiet hours; reminders ask it too.
bool QuietHour(const settings::Settings&, int hour);

// The hourly and half-hourly chime or spoken time.
class Chime {
public:
    struct Ports {
        platform::Audio& audio;
        platform::Clock& clock;
    };
    Chime(Ports ports, const settings::Settings& settings, SoundState& state, const core::Session& session,
          const quickexit::QuickExitState& quickExit, TalkingClock& talk, errors::Guard& guard);

    // Sounds system sound `type` (as SoundHType counts them); returns at once.
    void PlayChimeSound(int type);
    void PlayChimeSound() { PlayChimeSound(settings_.SoundHType); }
    // Once per :00 / :30 minute: the chime, or the time spoken.
    void CheckChime();
    // The main tick's share, from second 1 of every minute: the chime check in
    // minutes 00 and 30 (after a restart from the error window only the slot
    // is taken), a fresh slot in any other minute.
    void HalfHourStep(const platform::LocalTime& now, bool restarted);

private:
    Ports ports_;
    const settings::Settings& settings_;
    SoundState& state_;
    const core::Session& session_;
    const quickexit::QuickExitState& quickExit_;
    TalkingClock& talk_;
    errors::Guard& guard_;
};

}  // namespace sound
