#pragma once
#include <optional>
#include <string>

namespace sound {

struct SoundState {
    std::string SoundHLast;      // "hhnn" of the last :00 or :30 minute handled, "25" in between
    std::string SoundHLastDate;  // "dd" of that minute
    // Unset until the first reminder sound of the run; empty once stopped.
    std::optional<std::string> ReminderSoundPath;
    // A reminder sound waiting out its pause after the reminder's own chime or voice.
    std::optional<std::string> PendingReminderSound;
    // "От&ключить звук", and its temporary form after a wake-up from hibernation.
    bool SoundDisabled = false;
    bool SoundDisabledTemp = false;
    int SoundDisabledUntilH = 0;  // may reach 24
    int SoundDisabledUntilM = 0;
};

}  // namespace sound
