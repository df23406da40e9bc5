#include <algorithm>
#include <gtest/gtest.h>
#include <chrono>
#include <fstream>
#include <set>
#include <sstream>
#include "app/ClockWindow.h"
#include "errors/ErrorLog.h"
#include "fakes/Fakes.h"
#include "platform/Path.h"
#include "sound/Chime.h"
#include "sound/ReminderSound.h"
#include "sound/TalkingClock.h"

namespace fs = std::filesystem;
using Files = std::vector<std::string>;

namespace {

constexpr std::int16_t kHeld = -32767;  // 0x8001: down now and pressed since the last query

// A voice folder with all 32 files, less `missing`.
void makeVoice(const fakes::TestApp& t, const std::string& name, const std::string& missing = "") {
    const fs::path dir = t.dir / "Sounds" / platform::u8path(name);
    fs::create_directories(dir);
    for (const char* f : sound::kVoiceFiles)
        if (f != missing) std::ofstream(dir / f) << "RIFF";
}

Files played(const fakes::TestApp& t, const std::string& voice, const Files& files) {
    Files paths;
    for (const std::string& f : files) paths.push_back(platform::u8string(t.dir / "Sounds" / platform::u8path(voice) / f));
    return paths;
}

std::string logText(fakes::TestApp& t) {
    std::ifstream f(t.app.guard.logFile());
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// The running clock, its settings set after the first paint has loaded them.
struct Clock {
    fakes::TestApp t;
    app::ClockWindow clock{t.app};
    Clock() {
        t.ui.realize(clock.form());
        clock.form().paint();
        t.app.settings.GlobalHotkeys = 1;
        t.app.settings.SoundHEnabled = 0;
        t.app.settings.VoiceEnabled = 0;
        t.app.settings.TimeOfLow = 0;
        t.app.settings.VoiceType = "Голос";
        makeVoice(t, "Голос");
    }
    ui::MenuItem& N6() { return clock.MainPoM().item("N6"); }
};

}  // namespace

// ---- phrase composition ----------------------------------------------------------------

TEST(VoicePhrase, WorkedSequences) {
    const struct { int h, m; Files files; } cases[] = {
        {0, 30, {"0.wav", "cov.wav", "30.wav", "m.wav"}},
        {1, 1, {"1m.wav", "c.wav", "1f.wav", "ma.wav"}},
        {2, 22, {"2m.wav", "ca.wav", "20.wav", "2f.wav", "my.wav"}},
        {5, 0, {"5.wav", "cov.wav", "0.wav", "m.wav"}},
        {12, 11, {"12.wav", "cov.wav", "11.wav", "m.wav"}},
        {20, 40, {"20.wav", "cov.wav", "40.wav", "m.wav"}},
        {21, 0, {"20.wav", "1m.wav", "c.wav", "0.wav", "m.wav"}},
        {21, 45, {"20.wav", "1m.wav", "c.wav", "40.wav", "5.wav", "m.wav"}},
        {22, 2, {"20.wav", "2m.wav", "ca.wav", "2f.wav", "my.wav"}},
        {23, 59, {"20.wav", "3.wav", "ca.wav", "50.wav", "9.wav", "m.wav"}},
        {10, 30, {"10.wav", "cov.wav", "30.wav", "m.wav"}},
        {10, 31, {"10.wav", "cov.wav", "30.wav", "1f.wav", "ma.wav"}},
        {14, 15, {"14.wav", "cov.wav", "15.wav", "m.wav"}},
        {4, 4, {"4.wav", "ca.wav", "4.wav", "my.wav"}},
    };
    for (const auto& c : cases) EXPECT_EQ(sound::PhraseFiles(c.h, c.m), c.files) << c.h << ":" << c.m;
}

TEST(VoicePhrase, EveryMinuteOfTheDayUsesOnlyFilesOfTheSet) {
    const std::set<std::string> set(sound::kVoiceFiles.begin(), sound::kVoiceFiles.end());
    EXPECT_EQ(set.size(), 32u);
    for (int h = 0; h < 24; ++h)
        for (int m = 0; m < 60; ++m) {
            const Files f = sound::PhraseFiles(h, m);
            ASSERT_TRUE(f.size() >= 4 && f.size() <= 6) << h << ":" << m;
            for (const std::string& name : f) ASSERT_TRUE(set.count(name)) << name << " at " << h << ":" << m;
        }
}

// ---- choosing and playing a voice ----------------------------------------------------------

TEST(VoiceChoice, IncompleteVoiceIsReplacedByTheFirstCompleteOneListed) {
    fakes::TestApp t;
    makeVoice(t, "Неполный", "my.wav");
    makeVoice(t, "Мужской голос");
    makeVoice(t, "Женский голос");
    makeVoice(t, "C");
    std::ofstream(t.dir / "Sounds" / "readme.txt") << "x";
    fs::remove(t.dir / "Sounds" / "C" / "m.wav");
    fs::create_directory(t.dir / "Sounds" / "C" / "m.wav");  // a folder is no file
    EXPECT_FALSE(t.app.talk.VoiceIsComplete("Неполный"));
    EXPECT_FALSE(t.app.talk.VoiceIsComplete("C"));
    EXPECT_FALSE(t.app.talk.VoiceIsComplete("readme.txt"));
    const Files complete = t.app.talk.CompleteVoices();
    ASSERT_EQ(complete.size(), 2u);
    Files listed = t.app.talk.ListSoundsFolder();
    std::erase_if(listed, [&](const std::string& n) { return n != complete[0] && n != complete[1]; });
    EXPECT_EQ(listed, complete) << "in listing order";

    t.app.settings.VoiceType = "Неполный";
    t.clock.set(2026, 12, 7, 21, 45, 10);
    t.app.talk.SpeakTime();
    EXPECT_EQ(t.app.settings.VoiceType, complete[0]);
    EXPECT_EQ(t.audio.played, played(t, complete[0], sound::PhraseFiles(21, 45)));

    t.audio.played.clear();
    t.app.settings.VoiceType = complete[1];  // a complete voice is kept
    t.app.talk.SpeakTime();
    EXPECT_EQ(t.audio.played, played(t, complete[1], sound::PhraseFiles(21, 45)));
    EXPECT_TRUE(t.audio.beeps.empty());
}

TEST(VoiceChoice, WithoutAnyVoiceOneBeepAndNothingElse) {
    for (bool plainFileOnly : {false, true}) {
        fakes::TestApp t;
        if (plainFileOnly) {
            fs::create_directories(t.dir / "Sounds");
            std::ofstream(t.dir / "Sounds" / "0.wav") << "x";
        }
        t.app.settings.VoiceType = "Женский голос";
        t.app.talk.SpeakTime();
        EXPECT_TRUE(fs::is_directory(t.dir / "Sounds"));
        EXPECT_EQ(t.audio.beeps, std::vector<unsigned>{platform::kBeepDefault});
        EXPECT_TRUE(t.audio.played.empty());
        EXPECT_EQ(t.app.settings.VoiceType, "Женский голос");
        EXPECT_FALSE(fs::exists(t.app.guard.logFile())) << "no failure is logged";
    }
}

TEST(VoiceChoice, VoiceTypeNeverReachesOutsideTheSoundsFolder) {
    fakes::TestApp t;
    makeVoice(t, "inner");
    fs::rename(t.dir / "Sounds" / "inner", t.dir / "outside");
    makeVoice(t, "ok");
    for (const std::string& bad : Files{"../outside", "..", "", platform::u8string(t.dir / "outside")}) {
        EXPECT_FALSE(t.app.talk.VoiceIsComplete(bad)) << bad;
        t.app.settings.VoiceType = bad;
        t.app.talk.SpeakTime();
        EXPECT_EQ(t.app.settings.VoiceType, "ok");
    }
}

// The program folder above Sounds may well hold a file of every name a
// voice needs; ".." must still not reach it.
TEST(VoiceChoice, ParentFolderIsNoVoiceEvenWhenItHoldsEveryFile) {
    fakes::TestApp t;
    for (const char* f : sound::kVoiceFiles) std::ofstream(t.dir / f) << "RIFF";
    makeVoice(t, "ok");
    t.app.settings.VoiceType = "..";
    EXPECT_FALSE(t.app.talk.VoiceIsComplete(".."));
    t.app.talk.SpeakTime();
    EXPECT_EQ(t.app.settings.VoiceType, "ok");
    ASSERT_FALSE(t.audio.played.empty());
    for (const std::string& p : t.audio.played) EXPECT_NE(fs::path(p).parent_path(), t.dir) << p;
}

// The minute is read after the hour part (speaking takes a while), but it
// stays a minute of the hour just said.
TEST(VoiceChoice, MinuteIsReadAfterTheHourPartWithinTheHourSpoken) {
    const struct { int h, m, s; Files files; } cases[] = {
        {10, 58, 59, {"10.wav", "cov.wav", "50.wav", "9.wav", "m.wav"}},          // 10:59 by then
        {10, 59, 58, {"10.wav", "cov.wav", "50.wav", "9.wav", "m.wav"}},          // 11:00 by then
        {23, 59, 59, {"20.wav", "3.wav", "ca.wav", "50.wav", "9.wav", "m.wav"}},  // the next day by then
    };
    for (const auto& c : cases) {
        fakes::TestApp t;
        makeVoice(t, "v");
        t.app.settings.VoiceType = "v";
        t.clock.set(2026, 12, 7, c.h, c.m, c.s, 500);
        t.audio.onPlay = [&] { t.clock.advance(800); };  // each word takes 0.8 s
        t.app.talk.SpeakTime();
        EXPECT_EQ(t.audio.played, played(t, "v", c.files)) << c.h << ":" << c.m << ":" << c.s;
    }
}

TEST(VoiceChoice, FailedWordIsLoggedAndEndsThePhrase) {
    fakes::TestApp t;
    makeVoice(t, "v");
    t.app.settings.VoiceType = "v";
    t.clock.set(2026, 12, 7, 14, 15, 0);
    t.audio.onPlay = [&] {
        if (t.audio.played.size() == 2) throw platform::SoundError("device lost");
    };
    t.app.talk.SpeakTime();
    EXPECT_EQ(t.audio.played.size(), 2u) << "the minute part is not spoken";
    const std::string log = logText(t);
    EXPECT_NE(log.find("Adress = 0.011 - 032.0"), std::string::npos) << log;
    EXPECT_NE(log.find("Type = SoundError"), std::string::npos);
    EXPECT_NE(log.find("Dump = \"\"TypeHM=\"0\""), std::string::npos) << log;
}

// ---- chime ---------------------------------------------------------------------------------

TEST(Chime, SoundTypes) {
    fakes::TestApp t;
    for (int type : {0, 1, 2, 3, 4, 5, -1}) {
        t.app.settings.SoundHType = type;
        t.app.chime.PlayChimeSound();
    }
    EXPECT_EQ(t.audio.beeps, (std::vector<unsigned>{platform::kBeepDefault, platform::kBeepExclamation,
                                                  platform::kBeepHand, platform::kBeepQuestion,
                                                  platform::kBeepAsterisk}));
}

TEST(Chime, QuietHours) {
    settings::Settings s;
    s.TimeOfLow = 1;
    auto quiet = [&](int f, int e) {
        s.TimeOfLowF = f;
        s.TimeOfLowS = e;
        std::string out;
        for (int h = 0; h < 24; ++h) out += sound::QuietHour(s, h) ? 'q' : '.';
        return out;
    };
    EXPECT_EQ(quiet(22, 9), "qqqqqqqqq.............qq");
    EXPECT_EQ(quiet(1, 5), ".qqqq...................");
    EXPECT_EQ(quiet(7, 7), "........................");
    s.TimeOfLow = 2;
    EXPECT_EQ(quiet(22, 9), "........................") << "only 1 switches quiet hours on";
}

TEST(Chime, OncePerSlotAndTheSlotIsUsedUpWhenSilenced) {
    fakes::TestApp t;
    t.app.settings.SoundHEnabled = 1;
    t.clock.set(2026, 12, 7, 10, 0, 5);
    t.app.sound.SoundDisabled = true;
    t.app.chime.CheckChime();
    EXPECT_EQ(t.app.sound.SoundHLast, "1000");
    EXPECT_EQ(t.app.sound.SoundHLastDate, "07");
    t.app.sound.SoundDisabled = false;
    t.app.chime.CheckChime();
    EXPECT_TRUE(t.audio.beeps.empty()) << "the silenced slot stays used";

    t.clock.set(2026, 12, 8, 10, 0, 5);  // same minute, next day
    t.app.chime.CheckChime();
    t.app.chime.CheckChime();
    EXPECT_EQ(t.audio.beeps.size(), 1u);
}

TEST(Chime, QuickExitWithLessThanTwoMinutesLeftSilencesIt) {
    for (int minutesLeft : {1, 2}) {
        fakes::TestApp t;
        t.app.settings.SoundHEnabled = 1;
        t.app.qsd.QSDWork = quickexit::kRunning;
        t.app.qsd.QSDWTimerH = 0;
        t.app.qsd.QSDWTimerM = minutesLeft;
        t.clock.set(2026, 12, 7, 11, 0, 1);
        t.app.chime.CheckChime();
        EXPECT_EQ(t.audio.beeps.size(), minutesLeft == 1 ? 0u : 1u);
    }
}

TEST(Chime, OpenDialogSkipsTheSpokenTimeButNotTheChime) {
    fakes::TestApp t;
    makeVoice(t, "v");
    t.app.settings.VoiceType = "v";
    t.app.settings.VoiceEnabled = 1;
    t.app.session.ShowModalRes = 1;
    t.clock.set(2026, 12, 7, 11, 0, 1);
    t.app.chime.CheckChime();
    t.app.session.ShowModalRes = 0;
    t.app.chime.CheckChime();
    EXPECT_TRUE(t.audio.played.empty()) << "skipped, not deferred";

    t.app.settings.SoundHEnabled = 1;  // both set: only the chime
    t.app.session.ShowModalRes = 1;
    t.clock.set(2026, 12, 7, 12, 0, 1);
    t.app.chime.CheckChime();
    t.clock.set(2026, 12, 7, 13, 0, 1);
    t.app.session.ShowModalRes = 0;
    t.app.chime.CheckChime();
    EXPECT_EQ(t.audio.beeps.size(), 2u);
    EXPECT_TRUE(t.audio.played.empty());
}

// A whole day of main ticks, a quarter of it in each chime mode: every :00
// and :30 slot gives exactly what the settings ask, once.
TEST(Chime, SimulatedDayGivesOneSoundPerSlot) {
    Clock c;
    fakes::TestApp& t = c.t;
    t.clock.set(2026, 12, 7, 0, 10, 0);
    t.app.settings.SoundHType = 3;
    t.app.settings.TimeOfLow = 1;
    t.app.settings.TimeOfLowF = 23;  // quiet across midnight
    t.app.settings.TimeOfLowS = 2;
    t.audio.onPlay = [&] { t.clock.advance(700); };
    fakes::Scheduler s(t.clock, &t.ui);
    s.watch(c.clock.form());
    s.run(5000);
    ASSERT_EQ(t.app.start.LaunchWork, 1);
    // Ten times fewer ticks than the real 50 ms keep the day fast; each
    // chime minute still has over a hundred of them.
    c.clock.Timer1().setInterval(500);

    const struct { int chime, voice; std::size_t sounds; } quarters[] = {
        {1, 0, 5},   // 0:30 .. 6:00, quiet until 2:00
        {2, 0, 12},  // 6:30 .. 12:00
        {0, 1, 6},   // 12:30 .. 18:00
        {0, 2, 9},   // 18:30 .. 0:00, quiet from 23:00
    };
    int slot = 0;
    for (const auto& q : quarters) {
        t.app.settings.SoundHEnabled = q.chime;
        t.app.settings.VoiceEnabled = q.voice;
        std::size_t sounds = 0;
        for (int i = 0; i < 12; ++i) {
            ++slot;
            const std::size_t beeps = t.audio.beeps.size();
            t.audio.played.clear();
            s.run(30 * 60 * 1000);
            const int h = slot / 2 % 24, m = slot % 2 * 30;
            const bool due = !sound::QuietHour(t.app.settings, h) && (m == 0 || q.chime == 2 || q.voice == 2);
            const std::string at = std::to_string(h) + ":" + std::to_string(m);
            if (q.chime) {
                ASSERT_EQ(t.audio.beeps.size() - beeps, due ? 1u : 0u) << at;
                if (due) {
                    EXPECT_EQ(t.audio.beeps.back(), platform::kBeepQuestion) << at;
                }
                EXPECT_TRUE(t.audio.played.empty()) << at;
                sounds += t.audio.beeps.size() - beeps;
            } else {
                ASSERT_EQ(t.audio.played, due ? played(t, "Голос", sound::PhraseFiles(h, m)) : Files{}) << at;
                EXPECT_EQ(t.audio.beeps.size(), beeps) << at;
                sounds += due;
            }
        }
        EXPECT_EQ(sounds, q.sounds) << "chime " << q.chime << " voice " << q.voice;
    }
}

// ---- hot keys ------------------------------------------------------------------------------

TEST(HotKeys, Matrix) {
    enum Keys { T = 1, Ctrl = 2, LWin = 4, RWin = 8 };
    const struct {
        int keys;
        bool soundOff = false;
        int modal = 0;
        int minutesLeft = -1;  // a counting quick exit
        int hotkeys = 1;
        bool speaks, restores;
    } cases[] = {
        {T | LWin, false, 0, -1, 1, true, false},
        {T | RWin, false, 0, -1, 1, true, false},
        {T | Ctrl, false, 0, -1, 1, false, true},
        {T | Ctrl | LWin, false, 0, -1, 1, true, false},
        {T | Ctrl | RWin, false, 0, -1, 1, true, true},
        {T | Ctrl | RWin, true, 0, -1, 1, false, false},   // sound off ends the poll
        {T | Ctrl | RWin, false, 0, 1, 1, false, false},   // quick exit imminent
        {T | Ctrl | RWin, false, 0, 2, 1, true, true},
        {T | Ctrl | RWin, false, 1, -1, 1, false, true},   // a dialog is open
        {T | Ctrl, true, 0, -1, 1, false, true},
        {T | Ctrl | RWin, false, 0, -1, 0, false, false},  // hot keys off
        {Ctrl | LWin, false, 0, -1, 1, false, false},
        {T, false, 0, -1, 1, false, false},
    };
    for (const auto& k : cases) {
        Clock c;
        fakes::TestApp& t = c.t;
        t.app.start.ClockShown = false;
        t.app.sound.SoundDisabled = k.soundOff;
        t.app.session.ShowModalRes = k.modal;
        t.app.settings.GlobalHotkeys = k.hotkeys;
        if (k.minutesLeft >= 0) {
            t.app.qsd.QSDWork = quickexit::kRunning;
            t.app.qsd.QSDWTimerM = k.minutesLeft;
        }
        t.system.keys[platform::kVkT] = k.keys & T ? kHeld : 0;
        t.system.keys[platform::kVkControl] = k.keys & Ctrl ? 1 : 0;  // pressed since the last poll
        t.system.keys[platform::kVkLWin] = k.keys & LWin ? kHeld : 0;
        t.system.keys[platform::kVkRWin] = k.keys & RWin ? kHeld : 0;
        const int restoredBefore = t.ui.restored;
        t.app.hotKeys.PollHotKeys();
        const std::string name = "keys " + std::to_string(k.keys) + " soundOff " + std::to_string(k.soundOff) +
                                 " modal " + std::to_string(k.modal) + " left " + std::to_string(k.minutesLeft) +
                                 " hotkeys " + std::to_string(k.hotkeys);
        EXPECT_EQ(!t.audio.played.empty(), k.speaks) << name;
        EXPECT_EQ(t.ui.restored > restoredBefore, k.restores) << name;
        EXPECT_EQ(t.app.start.ClockShown, k.restores) << name;
        if (k.restores) {
            EXPECT_EQ(t.audio.beeps, std::vector<unsigned>{platform::kBeepDefault}) << name;
        }
        EXPECT_FALSE(fs::exists(t.app.guard.logFile())) << name;
    }
}

// A press the poll saw while the hot keys were off is used up: switching
// them on later does not act on it.
TEST(HotKeys, APressWhileOffIsNotActedOnOnceTheyAreOn) {
    Clock c;
    fakes::TestApp& t = c.t;
    t.app.settings.GlobalHotkeys = 0;
    t.app.start.ClockShown = false;
    for (int vk : {platform::kVkT, platform::kVkLWin, platform::kVkControl}) t.system.keys[vk] = 1;  // pressed and let go
    t.app.hotKeys.PollHotKeys();
    t.app.settings.GlobalHotkeys = 1;
    t.app.hotKeys.PollHotKeys();
    EXPECT_TRUE(t.audio.played.empty());
    EXPECT_FALSE(t.app.start.ClockShown);
}

// ---- the reminder sound channel ------------------------------------------------------------

TEST(ReminderSound, StopBeforeAnySoundSendsNothing) {
    Clock c;
    c.N6().click();
    c.N6().click();
    c.N6().visible = true;
    c.clock.TimerMySnd().setEnabled(true);
    c.clock.TimerMySnd().fire();  // the poll only switches itself off
    EXPECT_TRUE(c.t.audio.mci.empty());
    EXPECT_FALSE(c.t.app.sound.ReminderSoundPath.has_value());
    EXPECT_FALSE(c.N6().visible);
    EXPECT_FALSE(c.clock.TimerMySnd().enabled());
}

TEST(ReminderSound, StartQuotesThePathAndEveryStopCloses) {
    Clock c;
    fakes::TestApp& t = c.t;
    const std::string path = "C:\\Мои звуки\\big bell.wav";
    t.app.reminderSound.Start(path, false);
    EXPECT_EQ(t.audio.mci, (Files{"open \"" + path + "\" alias mySndR", "play mySndR"}));
    EXPECT_EQ(t.app.sound.ReminderSoundPath, path);
    EXPECT_TRUE(c.N6().visible);
    EXPECT_TRUE(c.clock.TimerMySnd().enabled());

    // The next one stops the first at once and starts half a second later, the clock ticking meanwhile.
    t.audio.mci.clear();
    fakes::Scheduler s(t.clock, &t.ui);
    s.watch(c.clock.form());
    t.app.reminderSound.Start("D:\\b.wav", true);
    EXPECT_EQ(t.audio.mci, (Files{"stop mySndR", "close mySndR"}));
    EXPECT_FALSE(c.N6().visible);
    const auto ticks = s.fired("Timer1");
    s.run(490);
    EXPECT_EQ(t.audio.mci.size(), 2u);
    EXPECT_GT(s.fired("Timer1"), ticks) << "the pause does not hold up the tick";
    s.run(20);
    EXPECT_EQ(t.audio.mci, (Files{"stop mySndR", "close mySndR", "open \"D:\\b.wav\" alias mySndR", "play mySndR"}));
    EXPECT_TRUE(c.N6().visible);
    // Sound off during a pause: nothing starts afterwards.
    t.app.reminderSound.Start("D:\\c.wav", true);
    c.clock.MainPoM().item("SoundDiss").click();
    t.audio.mci.clear();
    s.run(1000);
    EXPECT_TRUE(std::none_of(t.audio.mci.begin(), t.audio.mci.end(), [](const std::string& m) { return m.starts_with("open"); }));
    c.clock.MainPoM().item("SoundDiss").click();

    for (int i = 0; i < 2; ++i) {
        t.audio.mci.clear();
        c.N6().click();
        EXPECT_EQ(t.audio.mci, (Files{"stop mySndR", "close mySndR"}));
        EXPECT_EQ(t.app.sound.ReminderSoundPath, "");
        EXPECT_FALSE(c.N6().visible);
        EXPECT_FALSE(c.clock.TimerMySnd().enabled());
    }
}

TEST(ReminderSound, PollClosesTheChannelOnlyOnStopped) {
    Clock c;
    fakes::TestApp& t = c.t;
    t.app.reminderSound.Start("a.wav", false);
    t.audio.mci.clear();
    t.audio.statusReplies = {"playing", "", "stopped ", "Stopped", "stopped"};
    fakes::Scheduler s(t.clock, &t.ui);
    s.watch(c.clock.form());
    c.clock.Timer1().setEnabled(false);
    s.run(1000);
    EXPECT_EQ(t.audio.mci, (Files{"status mySndR mode", "status mySndR mode", "status mySndR mode",
                                  "status mySndR mode", "status mySndR mode", "stop mySndR", "close mySndR"}));
    EXPECT_FALSE(c.N6().visible);
    EXPECT_FALSE(c.clock.TimerMySnd().enabled());
    EXPECT_EQ(t.app.sound.ReminderSoundPath, "");
}

TEST(ReminderSound, ThePauseBeforeAFileReportsUnderItsOwnCode) {
    Clock c;
    fakes::TestApp& t = c.t;
    fakes::Scheduler s(t.clock, &t.ui);
    s.watch(c.clock.form());
    t.audio.failMci = "open";
    t.app.reminderSound.Start("a.wav", true);
    s.run(600);
    EXPECT_NE(logText(t).find("Adress = 0.001 - 038.0\r\nType = SoundError"), std::string::npos) << logText(t);
}
