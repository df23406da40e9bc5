#include <gtest/gtest.h>
#include <algorithm>
#include "app/ClockWindow.h"
#include "fakes/Fakes.h"

namespace {

const std::string kSet = "Software\\Vantrel\\Lumivo\\Settings";
const std::string kSound = kSet + "\\Sound";
const std::string kRemindCount = "software\\vantrel\\lumivo\\remind\\RemindCount";

// What one main tick saw and left behind.
struct Seen {
    platform::LocalTime at;
    bool nextRemindSought;  // FindNextRemind ran during the tick
    std::string soundHLast;
    bool red, orange, green;
};

// A running clock in simulated time. Every tick is observed from outside:
// the search for the next reminder shows as a read of the reminder store.
struct Ticking {
    fakes::TestApp t;
    app::ClockWindow clock{t.app};
    fakes::Scheduler sched{t.clock, &t.ui};
    std::vector<Seen> seen;
    bool observe = false;

    void start(int hour, int minute, int second) {
        t.clock.set(2026, 12, 7, hour, minute, second);
        t.ui.realize(clock.form());
        clock.form().paint();
        sched.watch(clock.form());
        auto tick = clock.Timer1().onTimer;
        clock.Timer1().onTimer = [this, tick] {
            if (!observe) return tick();
            t.registry.reads.clear();
            const platform::LocalTime at = t.clock.now();
            tick();
            const bool sought = std::count(t.registry.reads.begin(), t.registry.reads.end(), kRemindCount) > 0;
            seen.push_back({at, sought, t.app.sound.SoundHLast, visible("ImageRed"), visible("ImageOrange"),
                            visible("ImageGreen")});
        };
    }
    // Runs until the given time of the same day.
    void runTo(int hour, int minute, int second) {
        fakes::FakeClock target;
        target.set(2026, 12, 7, hour, minute, second);
        sched.run(target.millis() - t.clock.millis());
    }
    bool visible(const char* n) { return clock.form().find(n)->visible(); }
    long chimes() const { return std::count(t.audio.beeps.begin(), t.audio.beeps.end(), platform::kBeepExclamation); }
};

}  // namespace

TEST(TickFadeIn, RisesOnePerTickThenSettlesIntoTheFiftyMillisecondRhythm) {
    Ticking k;
    k.t.registry.putDword(kSet, "AlphaSet", 200);
    k.start(10, 15, 0);
    EXPECT_EQ(k.clock.form().alphaBlendValue(), 1);
    k.sched.run(199 * 10);  // the window system fires a 1 ms timer every 10 ms at best
    EXPECT_EQ(k.clock.form().alphaBlendValue(), 200);
    EXPECT_EQ(k.t.app.start.LaunchWork, 0) << "the tick that finds the target ends the fade";
    k.sched.run(10);
    EXPECT_EQ(k.t.app.start.LaunchWork, 1);
    EXPECT_EQ(k.clock.Timer1().interval(), 50u);
    const auto before = k.sched.fired("Timer1");
    k.sched.run(10'000);
    EXPECT_EQ(k.sched.fired("Timer1") - before, 200);
    EXPECT_EQ(k.clock.form().alphaBlendValue(), 200);
    EXPECT_TRUE(k.clock.TimeMain().visible());
    EXPECT_EQ(k.clock.TimeMain().caption(), "10:15");
}

TEST(TickFadeIn, RestartAfterAnErrorJumpsToTheTarget) {
    Ticking k;
    k.t.system.windows[{"TFormClock", "LumivoError"}] = 77;
    k.t.registry.putDword(kSet, "AlphaSet", 230);
    k.start(10, 15, 0);
    k.sched.run(10);
    EXPECT_EQ(k.clock.form().alphaBlendValue(), 230);
    EXPECT_EQ(k.t.app.start.SplashScreenNotError, 0) << "used up by the first tick";
    k.sched.run(10);
    EXPECT_EQ(k.t.app.start.LaunchWork, 1);
}

TEST(TickHalfHour, WorksInSecondsOneToFiftyNineOfTheHalfHourOnly) {
    Ticking k;
    k.t.registry.putDword(kSound, "SoundHEnabled", 2);
    k.t.registry.putDword(kSound, "SoundHType", 1);
    k.start(10, 29, 0);
    k.runTo(10, 29, 50);
    ASSERT_EQ(k.t.app.start.LaunchWork, 1);
    k.observe = true;
    k.runTo(10, 31, 5);

    std::vector<platform::LocalTime> sought;
    std::string last = "25";
    for (const Seen& s : k.seen) {
        SCOPED_TRACE(std::to_string(s.at.minute) + ":" + std::to_string(s.at.second));
        const bool work = s.at.minute == 30 && s.at.second > 0;
        if (s.nextRemindSought) sought.push_back(s.at);
        const std::string expected = s.at.second == 0 ? last : work ? "1030" : "25";
        EXPECT_EQ(s.soundHLast, expected) << "second 0 leaves it as it was";
        last = s.soundHLast;
    }
    ASSERT_EQ(sought.size(), 1u) << "the next reminder once in the half-hour minute, not on each of its ticks";
    EXPECT_EQ(sought[0].minute, 30);
    EXPECT_EQ(sought[0].second, 1);
    EXPECT_EQ(k.chimes(), 1) << "the chime itself once per half hour";
}

TEST(TickHalfHour, HoursOfTicksChimeOncePerHalfHour) {
    Ticking k;
    k.t.registry.putDword(kSound, "SoundHEnabled", 2);
    k.t.registry.putDword(kSound, "SoundHType", 1);
    k.start(10, 31, 0);
    k.runTo(12, 31, 5);
    EXPECT_EQ(k.chimes(), 4);
    EXPECT_GE(k.sched.fired("Timer1"), 2 * 72'000);
    EXPECT_EQ(k.t.app.sound.SoundHLast, "25");
}

TEST(TickHalfHour, RestartAfterAnErrorSkipsThisHalfHoursChimeButNotTheNext) {
    Ticking k;
    k.t.system.windows[{"TFormClock", "LumivoError"}] = 77;
    k.t.registry.putDword(kSound, "SoundHEnabled", 2);
    k.t.registry.putDword(kSound, "SoundHType", 1);
    k.start(10, 30, 20);
    k.sched.run(10);
    EXPECT_EQ(k.t.app.sound.SoundHLast, "1030");
    EXPECT_EQ(k.t.app.sound.SoundHLastDate, "07");
    k.runTo(10, 59, 59);
    EXPECT_EQ(k.chimes(), 0);
    k.runTo(11, 0, 2);
    EXPECT_EQ(k.chimes(), 1);
}

TEST(TickReminder, DueReminderIsTakenOnlyInTheSecondHalfOfItsMinute) {
    Ticking k;
    k.start(10, 15, 0);
    k.runTo(10, 15, 5);
    auto& r = k.t.app.remind;
    r.NextRemindSet = true;
    r.NextRemindH = 10;
    r.NextRemindM = 16;
    k.runTo(10, 16, 30);
    k.sched.run(950);
    EXPECT_TRUE(r.NextRemindSet) << "not in the first half of its minute";
    k.sched.run(1000);
    EXPECT_FALSE(r.NextRemindSet) << "moved on past the reminder it fired";
}

TEST(TickQuickExit, LastTwoMinutesBlinkRedAndOrangeOnEveryTick) {
    Ticking k;
    k.start(10, 15, 0);
    k.runTo(10, 15, 10);
    auto& q = k.t.app.qsd;
    q.QSDWork = quickexit::kRunning;
    q.QSDWTimerH = 0;
    q.QSDWTimerM = 2;
    k.clock.form().find("ImageGreen")->setVisible(true);
    k.observe = true;
    k.sched.run(1000);
    EXPECT_EQ(q.QSDBugGuard, 0) << "two minutes left is not yet the end";
    EXPECT_TRUE(k.visible("ImageGreen"));

    q.QSDWTimerM = 1;
    k.seen.clear();
    k.sched.run(1000);
    ASSERT_EQ(k.seen.size(), 20u);
    for (std::size_t i = 0; i < k.seen.size(); ++i) {
        EXPECT_NE(k.seen[i].red, k.seen[i].orange);
        EXPECT_FALSE(k.seen[i].green);
        if (i > 0) {
            EXPECT_NE(k.seen[i].red, k.seen[i - 1].red);
        }
    }
    EXPECT_EQ(q.QSDBugGuard, 1);
}

TEST(TickSoundOff, TemporarySoundOffEndsAtItsMinuteOrAtOnceInAnotherHour) {
    {
        Ticking k;
        k.start(10, 18, 0);
        auto& s = k.t.app.sound;
        s.SoundDisabled = s.SoundDisabledTemp = true;
        s.SoundDisabledUntilH = 10;
        s.SoundDisabledUntilM = 20;
        k.clock.MainPoM().item("SoundDiss").checked = true;
        k.runTo(10, 19, 59);
        EXPECT_TRUE(s.SoundDisabled);
        EXPECT_TRUE(k.clock.MainPoM().item("SoundDiss").checked);
        k.observe = true;
        k.runTo(10, 20, 1);
        EXPECT_FALSE(s.SoundDisabled);
        EXPECT_FALSE(s.SoundDisabledTemp);
        EXPECT_FALSE(k.clock.MainPoM().item("SoundDiss").checked);
        ASSERT_FALSE(k.seen.empty());
        EXPECT_TRUE(std::any_of(k.seen.begin(), k.seen.end(), [](const Seen& x) { return x.nextRemindSought; }))
            << "the next reminder is sought again once sound is back";
    }
    {
        Ticking k;
        k.start(10, 15, 0);
        auto& s = k.t.app.sound;
        s.SoundDisabled = s.SoundDisabledTemp = true;
        s.SoundDisabledUntilH = 24;
        s.SoundDisabledUntilM = 1;
        k.clock.MainPoM().item("SoundDiss").checked = true;
        k.sched.run(10);
        EXPECT_FALSE(s.SoundDisabled);
        EXPECT_FALSE(k.clock.MainPoM().item("SoundDiss").checked);
    }
    {
        Ticking k;
        k.start(10, 15, 0);
        auto& s = k.t.app.sound;
        s.SoundDisabled = true;  // the user's own switch is not temporary
        s.SoundDisabledUntilH = 10;
        s.SoundDisabledUntilM = 16;
        k.runTo(10, 17, 0);
        EXPECT_TRUE(s.SoundDisabled);
    }
}

TEST(TickHint, TheDateHintFollowsMidnight) {
    Ticking k;
    k.start(23, 59, 58);
    k.sched.run(1000);
    EXPECT_EQ(k.clock.form().hint(), "понедельник 07 декабря 2026");
    k.runTo(23, 59, 59);
    k.sched.run(1500);
    EXPECT_EQ(k.clock.form().hint(), "вторник 08 декабря 2026");
}
