#include "sound/Chime.h"
#include <cstdint>
#include <cstdio>
#include <iterator>
#include "app/App.h"
#include "app/ClockWindow.h"
#include "platform/System.h"
#include "quickexit/Engine.h"
#include "sound/TalkingClock.h"

namespace sound {

namespace {

constexpr unsigned kChimeBeeps[] = {0, 0x30, 0x10, 0x20, 0x40};

bool chimeMinute(int minute, int enabled) { return minute == 0 || (minute == 30 && enabled == 2); }

}  // namespace

void PlayChimeSound(app::App& app) {
    app.guard({"0.011 - 025."}, [&] {
        const int type = app.settings.SoundHType;
        if (type >= 0 && type < int(std::size(kChimeBeeps))) app.audio.messageBeep(kChimeBeeps[type]);
    }, [&] { return errors::Dump().add("SoundHType", app.settings.SoundHType); });
}

bool QuietHour(const settings::Settings& s, int hour) {
    if (s.TimeOfLow != 1) return false;
    const int f = s.TimeOfLowF, e = s.TimeOfLowS;
    if (f < e) return f <= hour && hour < e;
    if (f > e) return hour >= f || hour < e;  // across midnight
    return false;
}

void CheckChime(app::App& app) {
    int soundHTemp = 0;
    app.guard({"0.001 - 003."}, [&] {
        // One reading for the whole check: a minute that turns over half-way
        // must not mark the slot used and then skip its sound.
        const platform::LocalTime now = app.clock.now();
        char hhnn[8], dd[4];
        std::snprintf(hhnn, sizeof hhnn, "%02d%02d", now.hour, now.minute);
        std::snprintf(dd, sizeof dd, "%02d", now.day);
        sound::SoundState& s = app.sound;
        if (s.SoundHLast == hhnn && s.SoundHLastDate == dd) return;
        s.SoundHLast = hhnn;
        s.SoundHLastDate = dd;
        soundHTemp = now.hour;

        if (app.start.SoundDisabled || quickexit::QuickExitImminent(app)) return;
        const settings::Settings& st = app.settings;
        if (QuietHour(st, now.hour)) return;
        if (st.SoundHEnabled > 0) {
            if (chimeMinute(now.minute, st.SoundHEnabled)) PlayChimeSound(app);
            return;
        }
        // The time is not spoken over an open dialog; that slot is simply lost.
        if (st.VoiceEnabled > 0 && app.start.ShowModalRes == 0 && chimeMinute(now.minute, st.VoiceEnabled))
            SpeakTime(app);
    }, [&] {
        const settings::Settings& st = app.settings;
        return errors::Dump()
            .add("SoundHLast", app.sound.SoundHLast)
            .add("SoundHLastDate", app.sound.SoundHLastDate)
            .add("SoundHTemp", soundHTemp)
            .add("TimeOfLow", st.TimeOfLow)
            .add("TimeOfLowF", st.TimeOfLowF)
            .add("TimeOfLowS", st.TimeOfLowS)
            .add("SoundHEnabled", st.SoundHEnabled)
            .add("VoiceEnabled", st.VoiceEnabled)
            .add("ShowModalRes", app.start.ShowModalRes);
    });
}

void PollHotKeys(app::App& app) {
    std::int16_t t = 0, ctrl = 0, lwin = 0, rwin = 0;
    app.guard({"0.001 - 004.", 1}, [&] {
        // Read every time, whatever the settings: each read also clears the
        // "pressed since the last query" bit, so a stale press never fires later.
        t = app.system.asyncKeyState(platform::kVkT);
        ctrl = app.system.asyncKeyState(platform::kVkControl);
        lwin = app.system.asyncKeyState(platform::kVkLWin);
        rwin = app.system.asyncKeyState(platform::kVkRWin);
        if (app.settings.GlobalHotkeys != 1) return;

        if ((lwin || rwin) && t && app.start.ShowModalRes == 0) {
            if (app.start.SoundDisabled || quickexit::QuickExitImminent(app)) return;
            SpeakTime(app);
        }
        // Only the left Windows key is excluded: Ctrl+T with the right one both speaks and restores.
        if (t && ctrl && !lwin) {
            app.err.ErrorStep = 2;
            if (app.clock_window) app.clock_window->Restore();
        }
    }, [&] {
        return errors::Dump()
            .add("GetT", t)
            .add("GetA", lwin)
            .add("GetC", ctrl)
            .add("GlobalHotkeys", app.settings.GlobalHotkeys)
            .add("ShowModalRes", app.start.ShowModalRes);
    });
}

}  // namespace sound
