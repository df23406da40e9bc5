#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include "app/ClockWindow.h"
#include "app/Program.h"
#include "fakes/Fakes.h"
#include "quickexit/Rules.h"

namespace {

using quickexit::HourMinute;
namespace fs = std::filesystem;

// A running clock in simulated time, with the quick-exit window driven the
// way a user drives it: its controls, inside its modal loop.
struct QuickExit {
    fakes::TestApp t;
    app::ClockWindow clock{t.app};
    fakes::Scheduler sched{t.clock, &t.ui};
    quickexit::QuickExitState& q = t.app.qsd;

    explicit QuickExit(int hour = 12, int minute = 0, int second = 0) {
        t.clock.set(2026, 12, 7, hour, minute, second);
        t.clock.advance(-3000);  // the fade-in is over at the given time
        t.ui.realize(clock.form());
        clock.form().paint();
        sched.watch(clock.form());
        sched.run(3000);
        t.power.calls.clear();
        t.app.load.FirstLaunchOpen = false;  // a set-up clock stores what it is told
    }
    void runTo(int hour, int minute, int second, int day = 7) {
        fakes::FakeClock target;
        target.set(2026, 12, day, hour, minute, second);
        sched.run(target.millis() - t.clock.millis());
    }
    // Opens the window from the menu and runs `act` inside it; other modal
    // windows (the warning) are handled by `other`.
    void window(const std::function<void(ui::Form&)>& act,
                const std::function<void(ui::Form&)>& other = nullptr) {
        t.ui.onModal = [&](ui::Form& f) {
            if (f.className() == "TFormQuickShutDown") act(f);
            else if (other) other(f);
        };
        clock.MainPoM().item("QuickExit").onClick();
        t.ui.deliverPosted();  // what the window left for the message loop
        t.ui.onModal = nullptr;
    }
    // Sets the window up and presses the start button.
    static void start(ui::Form& f, int timeMode, const std::string& h, const std::string& m, int action = 0,
                      bool warn = true) {
        f.get<ui::ComboBox>("ComboBox2").selectFromUser(timeMode);
        f.get<ui::ComboBox>("ComboBox1").selectFromUser(action);
        if (f.get<ui::CheckBox>("CheckBoxWW").checked() != warn) f.get<ui::CheckBox>("CheckBoxWW").setChecked(warn);
        f.get<ui::Edit>("FrameTimeSet1.EditH").setTextFromUser(h);
        f.get<ui::Edit>("FrameTimeSet1.EditM").setTextFromUser(m);
        f.get<ui::Button>("Button1").onClick();
    }
    void startCountdown(int h, int m, int action = 0, bool warn = true) {
        window([&](ui::Form& f) { start(f, 0, std::to_string(h), std::to_string(m), action, warn); });
    }
    bool shown(const char* mark) { return clock.form().find(mark)->visible(); }
    std::string hint(const char* mark) { return clock.form().find(mark)->hint(); }
    std::string log() {
        std::ifstream in(t.app.guard.logFile(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

}  // namespace

TEST(QuickExitSchedule, FiringTimeAndTimeLeftAcrossMidnight) {
    using quickexit::fireTime;
    using quickexit::timeLeft;
    EXPECT_EQ(timeLeft({12, 0}, {12, 0}), (HourMinute{0, 0})) << "the firing minute now: nothing left, not 24:00";
    EXPECT_EQ(timeLeft({11, 59}, {12, 0}), (HourMinute{23, 59})) << "a minute ago: tomorrow";
    EXPECT_EQ(timeLeft({0, 29}, {23, 30}), (HourMinute{0, 59}));
    EXPECT_EQ(fireTime({23, 30}, {0, 59}), (HourMinute{0, 29}));
    EXPECT_EQ(fireTime({12, 0}, {23, 59}), (HourMinute{11, 59}));
    EXPECT_EQ(fireTime({12, 45}, {0, 15}), (HourMinute{13, 0}));
    for (int h = 0; h < 24; ++h)
        for (int m = 0; m < 60; m += 7) {
            const HourMinute left = timeLeft(fireTime({h, m}, {5, 17}), {h, m});
            EXPECT_EQ(left, (HourMinute{5, 17})) << h << ":" << m;
        }
}

TEST(QuickExitSchedule, TextsOfTheMarksAndTheWarning) {
    using quickexit::statusHint;
    using quickexit::warningText;
    EXPECT_EQ(statusHint(0, {0, 5}), "Выключение через 00:05");
    EXPECT_EQ(statusHint(0, {12, 30}), "Выключение через 12:30");
    EXPECT_EQ(statusHint(1, {0, 45}), "Перезагрузка через 00:45");
    EXPECT_EQ(warningText(0, 5), "Компьютер будет выключен через 5 минут.");
    EXPECT_EQ(warningText(0, 3), "Компьютер будет выключен через 3 минуты.");
    EXPECT_EQ(warningText(2, 1), "Будет произведен выход из системы через 1 минуту.");
    EXPECT_EQ(warningText(3, 2), "Будет произведен переход в спящий режим через 2 минуты.");
    EXPECT_EQ(warningText(1, 0), "Компьютер будет перезагружен через  1 минуту.") << "two blanks in the last minute";
    EXPECT_EQ(warningText(0, 6), "") << "nothing to say outside the last five minutes";
}

TEST(QuickExitRun, CountdownFiresAtTheMinuteTickOfItsSecondAndTheProgramEnds) {
    QuickExit x(12, 0, 20);
    x.startCountdown(0, 5);
    EXPECT_EQ(x.q.QSDWork, 1);
    EXPECT_EQ(x.q.QSDWTimeH, 12);
    EXPECT_EQ(x.q.QSDWTimeM, 5);
    EXPECT_TRUE(x.clock.Timer2().enabled());
    EXPECT_TRUE(x.shown("ImageRed")) << "five minutes or less: red";
    EXPECT_EQ(x.hint("ImageRed"), "Выключение через 00:05");
    EXPECT_EQ(x.hint("ImageOrange"), "Выключение через 00:05");
    x.t.ui.onModal = [](ui::Form& f) { f.get<ui::Button>("Button2").onClick(); };  // the warning: Ok
    x.runTo(12, 5, 19);
    EXPECT_FALSE(x.t.ui.terminated());
    EXPECT_EQ(x.q.QSDBugGuard, 1) << "the main tick saw the last minute";
    x.runTo(12, 5, 21);
    EXPECT_TRUE(x.t.ui.terminated());
    EXPECT_EQ(x.q.QSDFinal, 1);
    EXPECT_EQ(x.q.QSDWork, 0);
    EXPECT_FALSE(x.clock.Timer2().enabled());
    EXPECT_FALSE(x.clock.Timer1().enabled()) << "no more chimes, reminders or redraws";
    EXPECT_EQ(x.t.power.calls, (std::vector<std::string>{"hibernation?", "awake on", "awake off"}))
        << "the exit waits for the end of the program";
}

TEST(QuickExitRun, ALateTickFiresOnceTheLastMinuteWasSeenButNotOnOneMinuteLeft) {
    for (auto [left, fires] : {std::pair{HourMinute{23, 59}, true}, std::pair{HourMinute{0, 1}, false},
                               std::pair{HourMinute{0, 0}, true}}) {
        QuickExit x;
        x.startCountdown(2, 0, 1);
        x.q.QSDBugGuard = 1;
        x.q.QSDWTimeH = (12 + left.h) % 24;  // what the clock will say is left at the next tick
        x.q.QSDWTimeM = left.m;
        x.clock.Timer2().fire();
        EXPECT_EQ(x.t.ui.terminated(), fires) << left.h << ":" << left.m;
        EXPECT_EQ(x.q.QSDFinal, fires ? 1 : 0);
    }
}

TEST(QuickExitRun, PauseFreezesTheTimeLeftAndMovesTheFiringTimeInBothModes) {
    for (int mode : {0, 1}) {
        QuickExit x(12, 0, 0);
        x.window([&](ui::Form& f) { QuickExit::start(f, mode, mode ? "12" : "0", mode ? "20" : "20"); });
        EXPECT_EQ(x.q.QSDWTimerM, 20);
        x.window([](ui::Form& f) { f.get<ui::Button>("Button3").onClick(); });
        EXPECT_EQ(x.q.QSDWork, 2);
        EXPECT_TRUE(x.shown("ImageYellow"));
        EXPECT_FALSE(x.shown("ImageRed") || x.shown("ImageOrange") || x.shown("ImageGreen"));
        EXPECT_EQ(x.hint("ImageYellow"), "Выключение через 00:20 (ПАУЗА)");
        EXPECT_FALSE(x.clock.Timer2().enabled());
        x.runTo(12, 5, 0);
        x.window([&](ui::Form& f) {  // opened and closed during the pause: nothing moves
            EXPECT_EQ(f.get<ui::Button>("Button1").caption(), "&Стоп");
            EXPECT_EQ(f.get<ui::Button>("Button3").caption(), "&Продолжить");
            EXPECT_EQ(f.get<ui::Edit>("FrameTimeSet1.EditM").text(), mode ? "20" : "20");
        });
        EXPECT_EQ(x.q.QSDWTimerM, 20);
        x.runTo(12, 10, 0);
        x.window([](ui::Form& f) { f.get<ui::Button>("Button3").onClick(); });
        EXPECT_EQ(x.q.QSDWork, 1);
        EXPECT_EQ(x.q.QSDWTimerH, 0);
        EXPECT_EQ(x.q.QSDWTimerM, 20);
        EXPECT_EQ(x.q.QSDWTimeH, 12);
        EXPECT_EQ(x.q.QSDWTimeM, 30) << "ten minutes later than set, also for a time of day";
    }
}

TEST(QuickExitRun, TheWindowFollowsARunningCountAndSwitchesItsViewOnly) {
    QuickExit x(12, 0, 0);
    x.startCountdown(1, 30);
    x.runTo(12, 10, 30);
    x.window([&](ui::Form& f) {
        auto& h = f.get<ui::Edit>("FrameTimeSet1.EditH");
        auto& m = f.get<ui::Edit>("FrameTimeSet1.EditM");
        EXPECT_EQ(h.text() + ":" + m.text(), "1:20");
        EXPECT_FALSE(h.enabled());
        EXPECT_FALSE(f.get<ui::Button>("Button5").enabled());
        EXPECT_FALSE(f.get<ui::Button>("Button4").enabled());
        x.runTo(12, 11, 30);
        EXPECT_EQ(h.text() + ":" + m.text(), "1:19");
        f.get<ui::ComboBox>("ComboBox2").selectFromUser(1);
        EXPECT_EQ(h.text() + ":" + m.text(), "13:30");
        f.get<ui::ComboBox>("ComboBox2").selectFromUser(0);
        EXPECT_EQ(h.text() + ":" + m.text(), "1:19");
    });
    EXPECT_EQ(x.q.QSDWModeTime, 0) << "the running mode is not changed";
    EXPECT_EQ(x.q.QSDWork, 1) << "closing the window leaves it running";
    EXPECT_EQ(x.t.app.session.ShowModalRes, 0);
    EXPECT_EQ(x.q.QSDVisible, 0);
}

TEST(QuickExitWarning, ShownOncePerStartDeferredWhileTheWindowIsOpenAndReArmedByANewStart) {
    QuickExit x(12, 0, 10);
    x.startCountdown(0, 8, 0);
    std::vector<std::string> texts;
    auto answer = [&](ui::Form& f) {
        if (f.className() != "TFormQSDWarDlg") return;
        texts.push_back(f.get<ui::Panel>("Panel1").caption());
        EXPECT_EQ(x.q.QSDWDlg, -1);
        x.sched.run(3 * 60'000);  // the minute ticks go on inside the dialog
        texts.push_back(f.get<ui::Panel>("Panel1").caption());
        f.get<ui::Button>("Button2").onClick();
    };
    // The window is open when five minutes are left: the warning waits for it to close.
    x.runTo(12, 2, 0);
    const auto opened = x.t.ui.modalForms.size();
    x.window([&](ui::Form&) { x.runTo(12, 4, 0); EXPECT_EQ(x.t.ui.modalForms.size(), opened + 1); }, answer);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Компьютер будет выключен через 4 минуты.");
    EXPECT_EQ(texts[1], "Компьютер будет выключен через 2 минуты.") << "followed by the minute ticks";
    EXPECT_EQ(x.q.QSDWDlg, 0);
    EXPECT_EQ(x.t.app.session.ShowModalRes, 0);
    x.t.ui.onModal = answer;
    x.runTo(12, 7, 50);
    EXPECT_EQ(texts.size(), 2u) << "not again for this start";
    // Stopped and started again: armed anew.
    x.window([](ui::Form& f) { f.get<ui::Button>("Button1").onClick(); });
    EXPECT_EQ(x.q.QSDWork, 0);
    x.window([](ui::Form& f) { QuickExit::start(f, 0, "0", "3"); },
             [&](ui::Form& f) { texts.push_back(f.get<ui::Panel>("Panel1").caption()); });
    ASSERT_EQ(texts.size(), 3u) << "shown as the window closes";
    EXPECT_EQ(texts.back(), "Компьютер будет выключен через 3 минуты.");
}

TEST(QuickExitWarning, ChangeSettingsOpensTheWindowAndTheDialogClosesItselfAtTheEnd) {
    QuickExit x(12, 0, 10);
    x.startCountdown(0, 7, 2);
    bool windowOpened = false;
    x.t.ui.onModal = [&](ui::Form& f) {
        if (f.className() == "TFormQSDWarDlg") f.get<ui::Button>("Button1").onClick();
        if (f.className() == "TFormQuickShutDown") {
            windowOpened = true;
            EXPECT_EQ(x.q.QSDWDlg, 0) << "the warning does not come back meanwhile";
            f.get<ui::Button>("Button3").onClick();  // pause
        }
    };
    x.runTo(12, 2, 30);
    EXPECT_TRUE(windowOpened);
    EXPECT_EQ(x.q.QSDWork, 2);
    EXPECT_EQ(x.t.app.session.ShowModalRes, 0);

    QuickExit y(12, 0, 10);
    y.startCountdown(0, 6, 1);
    bool closedAtTheEnd = false;
    y.t.ui.onModal = [&](ui::Form& f) {
        y.runTo(12, 6, 15);  // nobody answers
        closedAtTheEnd = f.closed();
    };
    y.runTo(12, 6, 15);
    EXPECT_TRUE(closedAtTheEnd);
    EXPECT_TRUE(y.t.ui.terminated());
    EXPECT_EQ(y.q.QSDFinal, 1);
}

TEST(QuickExitWindow, StartButtonChecksTheFieldsAndAnActionNowAsksFirst) {
    QuickExit x;
    x.window([](ui::Form& f) { QuickExit::start(f, 0, "24", "75"); });
    ASSERT_EQ(x.t.ui.boxes.size(), 1u);
    EXPECT_EQ(x.t.ui.boxes[0].text, "Были заданны значения времени вне диапазона! Используйте всплывающие подсказки.");
    EXPECT_EQ(x.t.ui.boxes[0].flags, 0x1010u);
    EXPECT_EQ(x.q.QSDWork, 0);

    // Pasted text is logged under the start button's code and starts nothing.
    x.window([](ui::Form& f) { QuickExit::start(f, 0, "1a", "5"); });
    EXPECT_EQ(x.q.QSDWork, 0);
    EXPECT_NE(x.log().find("0.007 - 006.0"), std::string::npos);
    EXPECT_NE(x.log().find("ConversionError"), std::string::npos);

    // 0:00 asks; No leaves everything as it was, the check box included.
    x.t.ui.boxes.clear();
    x.t.ui.answers = {ui::kIdNo};
    x.window([](ui::Form& f) {
        QuickExit::start(f, 0, "", "0", 1, true);
        EXPECT_TRUE(f.get<ui::CheckBox>("CheckBoxWW").checked());
        EXPECT_EQ(f.get<ui::Edit>("FrameTimeSet1.EditH").text(), "0") << "an empty field counts as 0";
        EXPECT_EQ(f.get<ui::Button>("Button1").caption(), "Зап&уск");
    });
    ASSERT_EQ(x.t.ui.boxes.size(), 1u);
    EXPECT_EQ(x.t.ui.boxes[0].text, "Перезагрузить компьютер сейчас?");
    EXPECT_EQ(x.t.ui.boxes[0].caption, "Подтверждение...");
    EXPECT_EQ(x.t.ui.boxes[0].flags, 0x1024u);
    EXPECT_EQ(x.t.audio.beeps.back(), platform::kBeepExclamation);
    EXPECT_EQ(x.q.QSDWork, 0);
    EXPECT_FALSE(x.t.ui.terminated());

    // The exact time now, Yes: at once, without a warning.
    x.t.ui.answers = {ui::kIdYes};
    x.window([](ui::Form& f) { QuickExit::start(f, 1, "12", "0", 2, true); });
    EXPECT_TRUE(x.t.ui.terminated());
    EXPECT_EQ(x.q.QSDFinal, 1);
    EXPECT_EQ(x.q.QSDWMode, 2);
    EXPECT_EQ(x.q.QSDWDlg, 0);
    EXPECT_EQ(x.t.ui.minimized, 1);
}

TEST(QuickExitWindow, DefaultsAreLoadedSavedAndNeverSelectAMissingItem) {
    QuickExit x;
    x.t.app.settings.QSDTypeTime = 1;
    x.t.app.settings.QSDModeWork = 3;
    x.t.app.settings.QSDMsgDlg = 0;
    x.t.power.hibernate = false;
    x.window([](ui::Form& f) {
        auto& actions = f.get<ui::ComboBox>("ComboBox1");
        EXPECT_EQ(actions.items().size(), 3u) << "no hibernation offered";
        EXPECT_EQ(actions.itemIndex(), 0) << "a saved action the list lacks selects the first";
        EXPECT_EQ(f.get<ui::ComboBox>("ComboBox2").itemIndex(), 1);
        EXPECT_FALSE(f.get<ui::CheckBox>("CheckBoxWW").checked());
        EXPECT_FALSE(f.get<ui::Button>("Button4").enabled()) << "the window's own choices do not count";
        EXPECT_FALSE(f.get<ui::Button>("Button3").enabled());
        actions.selectFromUser(2);
        EXPECT_TRUE(f.get<ui::Button>("Button4").enabled());
        f.get<ui::Button>("Button4").onClick();
        EXPECT_EQ(actions.items().size(), 3u);
        EXPECT_EQ(actions.itemIndex(), 0);
        EXPECT_FALSE(f.get<ui::Button>("Button4").enabled());
        actions.selectFromUser(1);
        f.get<ui::CheckBox>("CheckBoxWW").setChecked(true);
        f.get<ui::Button>("Button5").onClick();
    });
    EXPECT_EQ(x.t.power.calls.front(), "hibernation?") << "asked again by the opener";
    EXPECT_EQ(x.t.app.settings.QSDModeWork, 1);
    EXPECT_EQ(x.t.app.settings.QSDMsgDlg, 1);
    EXPECT_EQ(x.t.registry.dword("Software\\Vantrel\\Lumivo\\Settings\\QuickExit", "ModeWork"), 1);
    EXPECT_EQ(x.t.registry.dword("Software\\Vantrel\\Lumivo\\Settings\\QuickExit", "MsgDlg"), 1);
}

TEST(QuickExitWindow, OpenersMarksAndASecondOpening) {
    QuickExit x;
    int opened = 0;
    x.t.ui.onModal = [&](ui::Form& f) {
        ++opened;
        EXPECT_EQ(x.t.app.session.ShowModalRes, 1);
        EXPECT_EQ(x.q.QSDVisible, 1);
        x.clock.MainPoM().item("QuickExit").onClick();  // again, while it is open
        EXPECT_EQ(x.t.system.broughtToFront.back(), f.handle());
    };
    x.clock.form().find("ImageOrange")->onClick();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(x.t.app.session.ShowModalRes, 0);
}

TEST(QuickExitRun, StoppingInTheLastMinuteLeavesNoMarkAndNoMinuteTick) {
    QuickExit x(12, 0, 0);
    x.t.app.settings.QSDGreen = 0;
    x.startCountdown(0, 2);
    x.t.ui.onModal = [](ui::Form& f) { f.close(); };
    x.runTo(12, 1, 30);
    EXPECT_TRUE(x.shown("ImageRed") || x.shown("ImageOrange"));
    x.window([](ui::Form& f) {
        f.get<ui::Button>("Button1").onClick();
        EXPECT_EQ(f.get<ui::Button>("Button1").caption(), "Запу&ск") << "the accelerator moves to the с";
        EXPECT_EQ(f.get<ui::Button>("Button3").caption(), "&Пауза");
        EXPECT_FALSE(f.get<ui::Button>("Button3").enabled());
    });
    x.sched.run(500);
    for (const char* m : {"ImageRed", "ImageOrange", "ImageYellow", "ImageGreen"}) EXPECT_FALSE(x.shown(m)) << m;
    EXPECT_FALSE(x.clock.Timer2().enabled());
    EXPECT_EQ(x.q.QSDBugGuard, 0);
}

TEST(QuickExitPower, HibernationKeepsTheClockClosesTheWindowAndMutesForTwoMinutes) {
    QuickExit x(12, 30, 40);
    x.t.app.settings.QSDGreen = 1;
    bool windowClosed = false;
    x.t.power.onSuspend = [&] { windowClosed = x.q.QSDVisible == 0; };
    x.t.ui.answers = {ui::kIdYes};
    x.window([](ui::Form& f) { QuickExit::start(f, 0, "0", "0", 3); });
    EXPECT_TRUE(windowClosed);
    EXPECT_FALSE(x.t.ui.terminated());
    EXPECT_EQ(x.q.QSDWork, 0);
    EXPECT_EQ(x.q.QSDFinal, 0);
    EXPECT_TRUE(x.shown("ImageGreen"));
    EXPECT_EQ(x.t.ui.restored, 1);
    EXPECT_EQ(x.t.power.calls, (std::vector<std::string>{"hibernation?", "privilege on", "suspend", "privilege off"}))
        << "never kept awake for a hibernation";
    auto& s = x.t.app.sound;
    EXPECT_TRUE(s.SoundDisabled && s.SoundDisabledTemp);
    EXPECT_EQ(s.SoundDisabledUntilH * 100 + s.SoundDisabledUntilM, 1232);
    EXPECT_TRUE(x.clock.MainPoM().item("SoundDiss").checked);
    x.runTo(12, 31, 59);
    EXPECT_TRUE(s.SoundDisabled);
    x.runTo(12, 32, 1);
    EXPECT_FALSE(s.SoundDisabled);
    EXPECT_FALSE(x.clock.MainPoM().item("SoundDiss").checked);

    // The user's own sound-off stays.
    QuickExit y(12, 30, 55);
    y.t.app.sound.SoundDisabled = true;
    y.t.ui.answers = {ui::kIdYes};
    y.window([](ui::Form& f) { QuickExit::start(f, 0, "0", "0", 3); });
    EXPECT_FALSE(y.t.app.sound.SoundDisabledTemp);
    y.runTo(12, 40, 0);
    EXPECT_TRUE(y.t.app.sound.SoundDisabled);
}

TEST(QuickExitPower, TheSoundOffAroundAHibernationOutlastsTheHourAndNotTheDay) {
    // 10:58:30 ends at 11:00: the hour changing on the way is no end.
    QuickExit x(10, 58, 30);
    x.t.ui.answers = {ui::kIdYes};
    x.window([](ui::Form& f) { QuickExit::start(f, 0, "0", "0", 3); });
    auto& s = x.t.app.sound;
    EXPECT_EQ(s.SoundDisabledUntilH * 100 + s.SoundDisabledUntilM, 1100);
    x.runTo(10, 59, 59);
    EXPECT_TRUE(s.SoundDisabled);
    x.runTo(11, 0, 1);
    EXPECT_FALSE(s.SoundDisabled);

    // Woken in another hour: at once.
    QuickExit y(12, 30, 40);
    y.t.ui.answers = {ui::kIdYes};
    y.t.power.onSuspend = [&] { y.t.clock.advance(3 * 3600 * 1000); };
    y.window([](ui::Form& f) { QuickExit::start(f, 0, "0", "0", 3); });
    y.sched.run(100);
    EXPECT_FALSE(y.t.app.sound.SoundDisabled);
}

TEST(QuickExitPower, StayAwakeIsHeldExactlyWhileACountRuns) {
    QuickExit x;
    x.startCountdown(1, 0, 0);
    EXPECT_EQ(x.t.power.calls, (std::vector<std::string>{"hibernation?", "awake on"}));
    x.window([](ui::Form& f) { f.get<ui::Button>("Button3").onClick(); });  // pause
    x.window([](ui::Form& f) { f.get<ui::Button>("Button3").onClick(); });  // resume
    x.window([](ui::Form& f) { f.get<ui::Button>("Button1").onClick(); });  // stop
    std::vector<std::string> awake;
    for (const auto& c : x.t.power.calls)
        if (c.rfind("awake", 0) == 0) awake.push_back(c);
    EXPECT_EQ(awake, (std::vector<std::string>{"awake on", "awake off", "awake on", "awake off"}));
}

TEST(QuickExitPower, TheExitComesLastAndARefusalIsLogged) {
    fakes::TestApp t;
    t.clock.set(2026, 12, 7, 12, 0, 0);
    app::Program program(t.app);
    bool clockGone = false;
    t.power.exitError = 1314;  // the privilege is not held
    t.power.onExit = [&] { clockGone = t.app.clock_window == nullptr; };
    t.ui.onModal = nullptr;
    t.app.qsd.QSDFinal = 1;
    t.app.qsd.QSDWMode = 0;
    program.run();
    EXPECT_TRUE(clockGone);
    ASSERT_FALSE(t.power.calls.empty());
    EXPECT_EQ(t.power.calls.back(), "exit 5");
    std::ifstream in(t.app.guard.logFile(), std::ios::binary);
    std::stringstream log;
    log << in.rdbuf();
    EXPECT_NE(log.str().find("ExitWindowsEx 5"), std::string::npos);
    EXPECT_NE(log.str().find("1314"), std::string::npos);
}

// After sleep (0x218) or a change of the clock (0x1E): a run whose minute has
// come or passed less than two minutes ago fires as the tick would; a longer
// gap stops it with a word; a clock set back brings its time of day sooner.
TEST(QuickExitRun, AfterSleepOrAClockChangeItFiresWithinAMinuteElseStopsWithAWord) {
    struct Step { std::int64_t run, jump; unsigned msg; };
    struct Case { const char* what; int h, m; std::vector<Step> steps; int work; bool fired; bool searchFails = false; };
    const std::int64_t kMin = 60'000;
    const Case cases[] = {
        {"asleep through it", 0, 30, {{0, 45 * kMin, 0x218}}, 0, false},
        // The reminders hear of it first; their error window waits for the quick exit.
        {"asleep through it, the reminders' search failing", 0, 30, {{0, 45 * kMin, 0x218}}, 0, false, true},
        {"set forward, still before it", 0, 30, {{0, 10 * kMin, 0x1E}}, 1, false},
        {"set 20 s forward into its minute", 0, 5, {{285'000, 20'000, 0x1E}}, 0, true},
        {"woken a minute after it", 0, 5, {{60'000, 320'000, 0x218}}, 0, true},
        {"set back, then asleep past its time of day", 23, 59, {{0, -30 * kMin, 0x1E}, {0, 40 * kMin, 0x218}}, 0, false},
    };
    for (const Case& c : cases) {
        QuickExit x(12, 0, 10);
        x.startCountdown(c.h, c.m, 0, false);
        std::vector<int> workAtError;
        x.t.ui.onModal = [&](ui::Form& f) {
            if (f.className() == "TFormError") workAtError.push_back(x.q.QSDWork);
        };
        if (c.searchFails) x.t.registry.failReadAt = 1;
        for (const Step& s : c.steps) {
            x.sched.run(s.run);
            x.t.clock.advance(s.jump);
            x.sched.restart();
            x.clock.form().onMessage(s.msg, s.msg == 0x218 ? 0x12 : 0, 0);
            x.t.ui.deliverPosted();
        }
        const auto& balloons = x.t.ui.peer(x.clock.form()).balloons;
        EXPECT_EQ(x.q.QSDWork, c.work) << c.what;
        EXPECT_EQ(x.t.ui.terminated(), c.fired) << c.what;
        EXPECT_EQ(x.q.QSDFinal == 1, c.fired) << c.what;
        const bool told = balloons.size() == 1 && balloons[0].find("компьютер не работал в назначенное время") != std::string::npos;
        EXPECT_EQ(told, c.work == 0 && !c.fired) << c.what;
        EXPECT_EQ(x.clock.Timer2().enabled(), c.work == 1) << c.what;
        EXPECT_EQ(workAtError, c.searchFails ? std::vector<int>{0} : std::vector<int>{}) << c.what;
    }
}

TEST(TimeSetFrame, DigitsOnlyEnterMovesOnAndTheArrowsGoRound) {
    QuickExit x;
    x.window([&](ui::Form& f) {
        auto& h = f.get<ui::Edit>("FrameTimeSet1.EditH");
        auto& m = f.get<ui::Edit>("FrameTimeSet1.EditM");
        const auto beeps = x.t.audio.beeps.size();
        for (int key : {'a', ' ', '-'}) {
            int k = key;
            h.onKeyPress(k);
            EXPECT_EQ(k, 0);
        }
        EXPECT_EQ(x.t.audio.beeps.size(), beeps + 3);
        for (int key : {'0', '9', '\b'}) {
            int k = key;
            h.onKeyPress(k);
            EXPECT_EQ(k, key);
        }
        int enter = '\r';
        h.onKeyPress(enter);
        EXPECT_EQ(enter, 0) << "Enter beeps too, after moving on";
        EXPECT_EQ(x.t.ui.peer(f).focused, &m);
        m.onKeyPress(enter = '\r');
        EXPECT_EQ(x.t.ui.peer(f).focused, &h) << "round within the frame";

        auto& up1 = f.get<ui::UpDown>("FrameTimeSet1.UpDown1");
        auto& up2 = f.get<ui::UpDown>("FrameTimeSet1.UpDown2");
        h.setTextFromUser("23");
        up1.setPosition(up1.position() + 1);
        up1.onClickArrow(true);
        EXPECT_EQ(h.text(), "0");
        m.setTextFromUser("0");
        up2.setPosition(up2.position() - 1);
        up2.onClickArrow(false);
        EXPECT_EQ(m.text(), "59");

        int key = 'x';  // the lists and the check box pass any key on, and the focus moves
        f.get<ui::ComboBox>("ComboBox2").onKeyPress(key);
        EXPECT_EQ(key, 'x');
        EXPECT_EQ(x.t.ui.peer(f).focused, &h);
    });
}
