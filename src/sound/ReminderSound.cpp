#include "sound/ReminderSound.h"

namespace sound {

ReminderSound::ReminderSound(platform::Audio& audio, SoundState& state, core::ClockFace& face, errors::Guard& guard)
    : audio_(audio), state_(state), face_(face), guard_(guard) {}

void ReminderSound::attach(ui::Timer& TimerMySnd, ui::Timer& TimerSndPause) {
    TimerMySnd_.attach(TimerMySnd);
    TimerSndPause_.attach(TimerSndPause);
}

void ReminderSound::detach() {
    TimerMySnd_.detach();
    TimerSndPause_.detach();
}

void ReminderSound::showPlaying(bool playing) {
    face_.showReminderSound(playing);
    TimerMySnd_.setEnabled(playing);
}

void ReminderSound::close() {
    audio_.mciSend("stop mySndR", false);
    audio_.mciSend("close mySndR", false);
    state_.ReminderSoundPath = std::string();
}

void ReminderSound::playNow(const std::string& path) {
    showPlaying(true);
    const std::string shortPath = audio_.shortPath(path);
    state_.ReminderSoundPath = shortPath;
    // Quoted: where a volume has no 8.3 names the "short" path keeps its blanks.
    // A file the device cannot open would leave N6 up and the poll running
    // for good: its status query never reads "stopped".
    if (audio_.mciSend("open \"" + shortPath + "\" alias mySndR", false).error != 0) {
        state_.ReminderSoundPath = std::string();
        showPlaying(false);
        return;
    }
    audio_.mciSend("play mySndR", false);
}

// An unset path means no sound was ever opened in this run, so there is
// nothing to close; once set, a stop always closes, open or not.
void ReminderSound::Stop() {
    if (state_.ReminderSoundPath) close();
    showPlaying(false);
    state_.PendingReminderSound.reset();
    TimerSndPause_.setEnabled(false);
}

void ReminderSound::Start(const std::string& path, bool pauseFirst) {
    Stop();
    Open(path, pauseFirst);
}

void ReminderSound::Open(const std::string& path, bool pauseFirst) {
    if (pauseFirst) {
        state_.PendingReminderSound = path;
        TimerSndPause_.setEnabled(true);
        return;
    }
    playNow(path);
}

void ReminderSound::TimerSndPauseTimer() {
    guard_(errors::code::TimerSndPause, [&] {
        TimerSndPause_.setEnabled(false);
        if (!state_.PendingReminderSound) return;
        const std::string path = *state_.PendingReminderSound;
        state_.PendingReminderSound.reset();
        playNow(path);
    });
}

void ReminderSound::N6Click() {
    guard_(errors::code::N6Click, [&] { Stop(); });
}

void ReminderSound::TimerMySndTimer() {
    guard_(errors::code::TimerMySndTimer, [&] {
        if (!state_.ReminderSoundPath) {
            showPlaying(false);
            return;
        }
        // A failed query leaves the sound alone; only a definite "stopped" ends it.
        const platform::MciResult r = audio_.mciSend("status mySndR mode", true);
        if (r.error == 0 && r.reply == "stopped") {
            close();
            showPlaying(false);
        }
    });
}

void ToggleSoundOff(SoundState& state, ReminderSound& channel, core::ClockFace& face) {
    channel.Stop();
    state.SoundDisabled = !state.SoundDisabled;
    face.markSoundOff(state.SoundDisabled);
}

void StartTemporarySoundOff(SoundState& state, core::ClockFace& face, const platform::LocalTime& now) {
    face.markSoundOff(true);
    state.SoundDisabled = true;
    state.SoundDisabledTemp = true;
    state.SoundDisabledUntilH = now.hour;
    state.SoundDisabledUntilM = now.minute + (now.second > 50 ? 3 : 2);
    if (state.SoundDisabledUntilM > 59) {
        ++state.SoundDisabledUntilH;  // may reach 24
        state.SoundDisabledUntilM -= 60;
    }
}

bool EndTemporarySoundOff(SoundState& state, core::ClockFace& face, const platform::LocalTime& now) {
    if (!state.SoundDisabledTemp) return false;
    // Minutes from now to the end, round the clock: an end in the next hour
    // (or past midnight) is still a few minutes ahead, not "another hour".
    const int end = state.SoundDisabledUntilH * 60 + state.SoundDisabledUntilM;
    const int ahead = ((end - (now.hour * 60 + now.minute)) % 1440 + 1440) % 1440;
    // Set at most three minutes ahead: anything farther means the end has
    // passed (woken later, or on another day).
    if (ahead >= 1 && ahead <= kTemporarySoundOffMinutes) return false;
    face.markSoundOff(false);
    state.SoundDisabled = false;
    state.SoundDisabledTemp = false;
    return true;
}

}  // namespace sound
