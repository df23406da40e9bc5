#pragma once
#include <optional>
#include <string>

namespace sound {

struct SoundState {
    std::string SoundHLast;
    std::string SoundHLastDate;
    // Unset until the first reminder sound of the run; empty once stopped.
    std::optional<std::string> ReminderSoundPath;
    // A reminder sound waiting out its pause after the reminder's own chime or voice.
    std::optional<std::string> PendingReminderSound;
};

}  // namespace sound
