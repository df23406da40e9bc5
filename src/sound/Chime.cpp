#include "sound/Chime.h"
#include <cstdio>
#include <iterator>

namespace sound {

namespace {

constexpr unsigned kChimeBeeps[] = {platform::kBeepDefault, platform::kBeepExclamation, platform::kBeepHand,
                                    platform::kBeepQuestion, platform::kBeepAsterisk};

bool chimeMinute(int minute, int enabled) { return minute == 0 || (minute == 30 && enabled == 2); }

struct Slot {
    char hhnn[8], dd[4];
    explicit Slot(const platform::LocalTime& t) {
        std::snprintf(hhnn, sizeof hhnn, "%02d%02d", t.hour, t.minute);
        std::snprintf(dd, sizeof dd, "%02d", t.day);
    }
};

}  // namespace

bool QuietHour(const settings::Settings& s, int hour) {
    if (s.TimeOfLow != 1) return false;
    const int f = s.TimeOfLowF, e = s.TimeOfLowS;
    if (f < e) return f <= hour && hour < e;
    if (f > e) return hour >= f || hour < e;  // across midnight
    return false;
}

Chime::Chime(Ports ports, const settings::Settings& settings, SoundState& state, const core::Session& session,
             const quickexit::QuickExitState& quickExit, TalkingClock& talk, errors::Guard& guard)
    : ports_(ports), settings_(settings), state_(state), session_(session), quickExit_(quickExit), talk_(talk),
      guard_(guard) {}

void Chime::PlayChimeSound(int type) {
    guard_(errors::code::PlayChimeSound, [&] {
        if (type >= 0 && type < int(std::size(kChimeBeeps))) ports_.audio.messageBeep(kChimeBeeps[type]);
    }, [&] { return errors::Dump().add("SoundHType", type); });
}

void Chime::CheckChime() {
    int soundHTemp = 0;
    guard_(errors::code::CheckChime, [&] {
        // One reading for the whole check: a minute that turns over half-way
        // must not mark the slot used and then skip its sound.
        const platform::LocalTime now = ports_.clock.now();
        const Slot slot(now);
        if (state_.SoundHLast == slot.hhnn && state_.SoundHLastDate == slot.dd) return;
        state_.SoundHLast = slot.hhnn;
        state_.SoundHLastDate = slot.dd;
        soundHTemp = now.hour;

        if (state_.SoundDisabled || quickExit_.imminent()) return;
        if (QuietHour(settings_, now.hour)) return;
        if (settings_.SoundHEnabled > 0) {
            if (chimeMinute(now.minute, settings_.SoundHEnabled)) PlayChimeSound();
            return;
        }
        // The time is not spoken over an open dialog; that slot is simply lost.
        if (settings_.VoiceEnabled > 0 && session_.ShowModalRes == 0 && chimeMinute(now.minute, settings_.VoiceEnabled))
            talk_.SpeakTime();
    }, [&] {
        return errors::Dump()
            .add("SoundHLast", state_.SoundHLast)
            .add("SoundHLastDate", state_.SoundHLastDate)
            .add("SoundHTemp", soundHTemp)
            .add("TimeOfLow", settings_.TimeOfLow)
            .add("TimeOfLowF", settings_.TimeOfLowF)
            .add("TimeOfLowS", settings_.TimeOfLowS)
            .add("SoundHEnabled", settings_.SoundHEnabled)
            .add("VoiceEnabled", settings_.VoiceEnabled)
            .add("ShowModalRes", session_.ShowModalRes);
    });
}

void Chime::HalfHourStep(const platform::LocalTime& now, bool restarted) {
    if (now.second == 0) return;
    if (now.minute != 0 && now.minute != 30) {
        state_.SoundHLast = "25";  // no real "hhnn": the next :00 or :30 counts as new
        return;
    }
    if (!restarted) {
        CheckChime();
        return;
    }
    const Slot slot(now);
    state_.SoundHLast = slot.hhnn;
    state_.SoundHLastDate = slot.dd;
}

}  // namespace sound
