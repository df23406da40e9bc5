#include <gtest/gtest.h>
#include <fstream>
#include "app/AuxWindows.h"
#include "app/ClockWindow.h"
#include "app/Program.h"
#include "fakes/Fakes.h"
#include "forms/ClockMenuIds.h"
#include "platform/Audio.h"
#include "platform/Failure.h"

namespace fs = std::filesystem;

namespace {
struct Started {
    fakes::TestApp t;
    app::Program program{t.app};
    void start(unsigned major, unsigned minor) {
        t.system.os = {major, minor, 1000, 2};
        program.moduleStartup();
        program.start();
    }
    app::ClockWindow& clock() { return program.clock(); }
    fakes::FakePeer& peer() { return t.ui.peer(clock().form()); }
    ui::MenuItem& item(const char* n) { return clock().MainPoM().item(n); }
};
}  // namespace

TEST(Startup, ModernSystemsShowTheClockWithIconAndTransparency) {
    for (auto [major, minor] : {std::pair{5u, 0u}, std::pair{10u, 0u}}) {
        Started s;
        s.start(major, minor);
        const auto& st = s.t.app.start;
        const auto& session = s.t.app.session;
        EXPECT_FALSE(session.Win9xMode);
        EXPECT_EQ(st.FEExit, 0);
        EXPECT_EQ(session.WinV, std::to_string(major) + "." + std::to_string(minor) + ".1000");
        EXPECT_EQ(s.peer().tray_, std::vector<std::string>{"add"});
        EXPECT_EQ(st.TaskbarCreatedMsg, 0xC001u);
        EXPECT_TRUE(s.clock().form().transparentColor());
        EXPECT_TRUE(s.clock().form().alphaBlend());
        EXPECT_EQ(s.clock().form().caption(), "Lumivo");
        EXPECT_TRUE(s.item("SetTime").visible);
        EXPECT_TRUE(s.item("ViewSecondsA").visible);
        EXPECT_FALSE(s.t.ui.terminated());
        s.clock().form().paint();
        EXPECT_EQ(s.t.app.load.Loading, 1);
        EXPECT_TRUE(s.clock().form().visible());
    }
}

TEST(Startup, Windows98FamilyTakesTheRegionPathAndNeverShowsSeconds) {
    Started s;
    s.start(4, 10);
    const auto& st = s.t.app.start;
    EXPECT_TRUE(s.t.app.session.Win9xMode);
    EXPECT_EQ(st.FEExit, 0);
    EXPECT_FALSE(s.item("SetTime").visible);
    EXPECT_FALSE(s.item("ViewSecondsA").visible);
    EXPECT_FALSE(s.item("ViewSecondsA").checked);
    EXPECT_FALSE(s.clock().form().transparentColor());
    EXPECT_FALSE(s.clock().form().alphaBlend());
    EXPECT_FALSE(s.t.power.calls.size() && s.t.power.calls[0] == "hibernation?") << "not asked on 9x";
    EXPECT_EQ(s.t.app.qsd.HibrneteMode, 1);
    s.t.app.settings.SecondsView = true;
    s.clock().form().paint();  // first paint: loads, and keeps the clock hidden until the splash goes
    EXPECT_FALSE(s.clock().form().visible());
    s.clock().Timer1Timer();
    EXPECT_EQ(s.clock().TimeMain().caption(), "10:15") << "seconds never shown";
    s.clock().MainPoM().item("ViewSecondsA").click();  // a hidden item can still be sent its command
    s.clock().Timer1Timer();
    EXPECT_EQ(s.clock().TimeMain().caption(), "10:15");
    s.program.splash().close();
    EXPECT_TRUE(s.clock().form().visible());
    s.clock().form().paint();  // the changed text marked the region for rebuilding
    EXPECT_GE(s.peer().regions, 1);
}

TEST(Startup, UnsupportedSystemsShowOnlyTheUnsupportedWindow) {
    for (auto [major, minor] : {std::pair{4u, 0u}, std::pair{3u, 51u}}) {
        Started s;
        std::vector<std::string> memo;
        s.t.ui.onModal = [&](ui::Form& f) {
            memo = f.get<ui::Memo>("Memo2").lines();
            f.get<ui::Button>("ButtonOk").onClick();
        };
        s.start(major, minor);
        EXPECT_EQ(s.t.app.start.OSExit, 1);
        EXPECT_EQ(s.t.app.start.FEExit, 1);
        ASSERT_EQ(s.t.ui.modalForms, std::vector<std::string>{"TFormNotSupportedOS"});
        ASSERT_EQ(memo.size(), 2u);
        EXPECT_EQ(memo[0], "Lumivo.XP Версия: 1.1.9x.ru.Relaze");
        EXPECT_EQ(memo[1], "Предназначена для Windows 9x и выше.");
        EXPECT_TRUE(s.t.ui.terminated());
        EXPECT_TRUE(s.peer().tray_.empty()) << "no notification-area icon";
        EXPECT_FALSE(s.clock().form().visible());
        s.clock().form().paint();
        EXPECT_FALSE(s.clock().form().visible());
        EXPECT_EQ(s.t.app.load.Loading, 0);
    }
}

TEST(Startup, SecondCopyWakesTheFirstAndEnds) {
    Started s;
    s.t.system.windows[{"TFormClock", "Lumivo"}] = 77;
    s.start(10, 0);
    ASSERT_EQ(s.t.system.sent.size(), 1u);
    EXPECT_EQ(s.t.system.sent[0].to, 77u);
    EXPECT_EQ(s.t.system.sent[0].msg, forms::kMsgBringToFront);
    EXPECT_TRUE(s.t.ui.terminated());
    EXPECT_TRUE(s.peer().tray_.empty());
    EXPECT_EQ(s.t.app.start.TaskbarCreatedMsg, 0u);
    EXPECT_FALSE(s.clock().form().visible());
}

TEST(Startup, FirstCopyComesToTheFrontOnTheSecondCopysMessage) {
    Started s;
    s.start(10, 0);
    s.t.app.start.ClockShown = false;
    EXPECT_TRUE(s.clock().form().onMessage(forms::kMsgBringToFront, 0, 0));
    EXPECT_TRUE(s.t.app.start.ClockShown);
    EXPECT_EQ(s.t.audio.beeps, std::vector<unsigned>{platform::kBeepDefault});
    EXPECT_EQ(s.peer().raised, 1);
}

TEST(Startup, RestartHandOverEndsTheCrashedCopyAndGreets) {
    Started s;
    s.t.system.windows[{"TFormClock", "LumivoError"}] = 88;
    s.start(10, 0);
    ASSERT_EQ(s.t.system.sent.size(), 1u);
    EXPECT_EQ(s.t.system.sent[0].msg, forms::kMsgRestartHandOver);
    EXPECT_EQ(s.t.app.start.SplashScreenNotError, 1);
    s.program.splash().form().paint();
    EXPECT_TRUE(s.program.splash().form().closed()) << "the splash closes at its first paint";
    s.clock().form().paint();
    ASSERT_EQ(s.t.ui.boxes.size(), 1u);
    EXPECT_EQ(s.t.ui.boxes[0].text, "Перезапуск программы Lumivo произведен успешно.");
    EXPECT_EQ(s.t.ui.boxes[0].caption, "Сообщение...");
    EXPECT_EQ(s.t.ui.boxes[0].flags, ui::kMbIconInformation | ui::kMbSystemModal);
    s.clock().form().paint();
    EXPECT_EQ(s.t.ui.boxes.size(), 1u);
    // The crashed copy's side: the hand-over message ends its loop.
    Started crashed;
    crashed.start(10, 0);
    crashed.clock().form().onMessage(forms::kMsgRestartHandOver, 0, 0);
    EXPECT_TRUE(crashed.t.ui.terminated());
}

TEST(Shutdown, CloseWhileAQuickExitRunsAsksAndNoKeepsRunning) {
    Started s;
    s.start(10, 0);
    s.t.app.qsd.QSDWork = quickexit::kRunning;
    s.t.ui.answers = {ui::kIdNo};
    EXPECT_FALSE(s.clock().form().close());
    ASSERT_EQ(s.t.ui.boxes.size(), 1u);
    EXPECT_EQ(s.t.ui.boxes[0].flags, ui::kMbYesNo | ui::kMbIconExclamation | ui::kMbSystemModal);
    EXPECT_EQ(s.t.ui.boxes[0].caption, "Предупреждение...");
    EXPECT_TRUE(s.clock().Timer1().enabled());
    s.t.ui.answers = {ui::kIdYes};
    EXPECT_TRUE(s.clock().form().close());
    EXPECT_FALSE(s.clock().Timer1().enabled());
    EXPECT_EQ(s.peer().tray_.back(), "delete");
}

TEST(Shutdown, PowerActionComesLastAfterScratchFilesAreCleared) {
    for (auto [mode, flags] : {std::pair{0, "exit 5"}, std::pair{1, "exit 6"}, std::pair{2, "exit 4"}}) {
        Started s;
        s.start(10, 0);
        for (const char* n : {"Tmp1", "Tmp2", "Tmp3"}) std::ofstream(s.t.dir / "TempFiles" / n) << "x";
        bool clearedFirst = false;
        s.t.power.onExit = [&] { clearedFirst = !fs::exists(s.t.dir / "TempFiles" / "Tmp1"); };
        s.t.app.qsd.QSDFinal = 1;
        s.t.app.qsd.QSDWMode = mode;
        s.t.power.calls.clear();
        s.program.end();
        EXPECT_EQ(s.t.power.calls, (std::vector<std::string>{"privilege on", flags}));
        EXPECT_TRUE(clearedFirst);
        EXPECT_EQ(s.t.app.session.LMVVersionName, "Init...");
    }
    Started none;
    none.start(10, 0);
    none.t.app.qsd.QSDFinal = 1;
    none.t.app.qsd.QSDWMode = 3;
    none.t.power.calls.clear();
    none.program.end();
    EXPECT_TRUE(none.t.power.calls.empty());
}

TEST(Startup, ModuleStartClearsScratchFiles) {
    fakes::TestApp t;
    fs::create_directories(t.dir / "TempFiles");
    for (const char* n : {"Tmp1", "Tmp3"}) std::ofstream(t.dir / "TempFiles" / n) << "x";
    std::ofstream(t.dir / "TempFiles" / "_Default.SetLMV") << "keep";
    app::Program p(t.app);
    p.moduleStartup();
    EXPECT_FALSE(fs::exists(t.dir / "TempFiles" / "Tmp1"));
    EXPECT_FALSE(fs::exists(t.dir / "TempFiles" / "Tmp3"));
    EXPECT_TRUE(fs::exists(t.dir / "TempFiles" / "_Default.SetLMV"));
}

TEST(Menu, ItemsOfferedFollowWhetherTheClockIsShown) {
    Started s;
    s.start(10, 0);
    auto& form = s.clock().form();
    form.popup(s.clock().MainPoM(), 0, 0);
    auto names = s.peer().popups.back();
    auto has = [&](const char* n) { return std::find(names.begin(), names.end(), n) != names.end(); };
    EXPECT_TRUE(has("HidePOM"));
    EXPECT_TRUE(has("OnTopPOM"));
    EXPECT_FALSE(has("N8"));
    EXPECT_FALSE(has("N4"));
    EXPECT_FALSE(has("Err"));
    s.item("HidePOM").click();
    EXPECT_FALSE(s.t.app.start.ClockShown);
    EXPECT_EQ(s.t.ui.minimized, 1);
    // From the tray icon the corner item shows while the menu is open, and only then.
    s.clock().form().onMessage(forms::kMsgTrayCallback, 1, forms::kTrayRightButtonDown);
    names = s.peer().popups.back();
    EXPECT_TRUE(has("N8"));
    EXPECT_TRUE(has("N4"));
    EXPECT_FALSE(has("HidePOM"));
    EXPECT_FALSE(s.item("N4").visible);
    // Double click on the icon restores.
    s.clock().form().onMessage(forms::kMsgTrayCallback, 1, forms::kTrayDoubleClick);
    EXPECT_TRUE(s.t.app.start.ClockShown);
    EXPECT_EQ(s.t.ui.restored, 1);
}

TEST(Menu, FormatTogglesChangeTheNextTick) {
    Started s;
    s.start(10, 0);
    s.clock().form().paint();
    s.t.clock.set(2026, 12, 7, 9, 5, 7);
    s.clock().Timer1Timer();
    EXPECT_EQ(s.clock().TimeMain().caption(), "09:05");
    s.clock().MainPoM().root().findCommand(forms::cmd::ViewSecondsA)->click();
    s.clock().MainPoM().root().findCommand(forms::cmd::NillFirst)->click();
    s.clock().Timer1Timer();
    EXPECT_EQ(s.clock().TimeMain().caption(), "9:05:07");
    s.clock().MainPoM().root().findCommand(forms::cmd::PMAM24)->click();
    s.clock().Timer1Timer();
    EXPECT_EQ(s.clock().TimeMain().caption(), "am 9:05:07");
    EXPECT_EQ(s.clock().TimeShadow().caption(), s.clock().TimeMain().caption());
    EXPECT_EQ(s.clock().TimeSize().caption(), "am 9:05:07 ");
    EXPECT_EQ(s.clock().TimeMain().bounds().width, s.clock().TimeSize().bounds().width);
    // The window spans to the farthest label edge.
    const auto& size = s.clock().TimeSize().bounds();
    EXPECT_EQ(s.clock().form().bounds().width, 8 + size.width);
    EXPECT_EQ(s.clock().form().bounds().height, 14 + size.height);
}

TEST(Menu, StayOnTopToggleKeepsTheIcon) {
    Started s;
    s.start(10, 0);
    s.item("OnTopPOM").click();
    EXPECT_FALSE(s.clock().form().stayOnTop());
    EXPECT_EQ(s.t.app.settings.StayOnTop, 0);
    EXPECT_EQ(s.peer().tray_, (std::vector<std::string>{"add", "delete", "add"}));
}

TEST(Menu, HiddenTestCommandLogsAndOpensTheErrorWindow) {
    Started s;
    s.start(10, 0);
    s.clock().MainPoM().root().findCommand(forms::cmd::Err)->click();
    EXPECT_EQ(s.t.ui.modalForms, std::vector<std::string>{"TFormError"});
    std::ifstream log(s.t.dir / "Error" / "Debug.Log");
    std::string all((std::istreambuf_iterator<char>(log)), {});
    EXPECT_NE(all.find("Adress = 0.001 - Test\r\nType = AbortError\r\nDump = \"\"\r\n"), std::string::npos);
}

TEST(Menu, HelpAboutAndTimePanelAskTheShell) {
    Started s;
    s.start(10, 0);
    s.item("SetTime").click();
    s.item("HelpSec").click();
    ASSERT_EQ(s.t.shell.calls.size(), 2u);
    EXPECT_EQ(s.t.shell.calls[0].target, "timedate.cpl");
    EXPECT_EQ(s.t.shell.calls[0].show, 0);
    EXPECT_EQ(fs::path(s.t.shell.calls[1].target), s.t.dir / "Help.htm");
    EXPECT_EQ(s.t.shell.calls[1].show, 5);
    std::vector<std::string> memo;
    s.t.ui.onModal = [&](ui::Form& f) {
        EXPECT_EQ(s.t.app.session.ShowModalRes, 1);
        memo = f.get<ui::Memo>("Memo3").lines();
        f.get<ui::Button>("ButtonOk").onClick();
    };
    s.item("AboutPro").click();
    EXPECT_EQ(s.t.app.session.ShowModalRes, 0);
    ASSERT_EQ(memo.size(), 2u);
    EXPECT_EQ(memo[1], "Lumivo.XP Версия: 1.1.9x.ru.Relaze");
}

TEST(Drag, LeftButtonMovesTheWindowRightButtonDoesNot) {
    Started s;
    s.start(10, 0);
    s.clock().form().paint();
    auto& form = s.clock().form();
    auto& label = s.clock().TimeMain();
    const int x0 = form.bounds().left, y0 = form.bounds().top;
    EXPECT_FALSE(s.program.splash().form().closed());
    label.onMouseDown({ui::MouseButton::Right, 10, 10});
    label.onMouseMove({ui::MouseButton::Right, 40, 30});
    label.onMouseUp({ui::MouseButton::Right, 40, 30});
    EXPECT_EQ(form.bounds().left, x0);
    EXPECT_TRUE(s.program.splash().form().closed()) << "a click on the clock closes the splash";
    label.onMouseDown({ui::MouseButton::Left, 10, 10});
    label.onMouseMove({ui::MouseButton::Left, 40, 30});
    label.onMouseMove({ui::MouseButton::Left, 15, 12});  // relative to the label, which moved with the window
    label.onMouseUp({ui::MouseButton::Left, 15, 12});
    EXPECT_EQ(form.bounds().left, x0 + 35);
    EXPECT_EQ(form.bounds().top, y0 + 22);
    EXPECT_FALSE(s.clock().move);
}

TEST(Splash, ClosesByKeyOrTimerAndHandsOnTheFirstLaunch) {
    Started s;
    s.start(10, 0);
    auto& splash = s.program.splash();
    EXPECT_TRUE(splash.form().visible());
    EXPECT_FALSE(splash.SplashPicture().empty());
    s.t.app.load.FirstLaunch5 = 1;
    s.t.app.session.ShowModalRes = 3;
    splash.form().onKeyDown(27);
    EXPECT_TRUE(splash.form().closed());
    EXPECT_TRUE(splash.form().destroyed());
    EXPECT_EQ(s.t.app.start.SplashScreenClose, 1);
    EXPECT_EQ(s.t.app.session.ShowModalRes, 3) << "the windows open stay counted";
    EXPECT_EQ(s.t.app.load.FirstLaunch5, 2);
    EXPECT_FALSE(splash.form().timer("Timer1").enabled());
    s.clock().form().close();
    EXPECT_TRUE(splash.SplashPicture().empty()) << "released with the clock";
}

TEST(Splash, FiveSecondTimerInSimulatedTime) {
    Started s;
    s.start(10, 0);
    fakes::Scheduler sched(s.t.clock, &s.t.ui);
    sched.watch(s.program.splash().form());
    sched.run(4990);
    EXPECT_FALSE(s.program.splash().form().closed());
    sched.run(20);
    EXPECT_TRUE(s.program.splash().form().closed());
}

// Nothing can show a failure before the clock exists: it is written down and
// the program ends with an exit code that says so.
TEST(Startup, AFailedStartLeavesItsRecordAndAnErrorExitCode) {
    fakes::TestApp t;
    t.ui.failRealize.insert("TFormClock");
    app::Program p(t.app);
    EXPECT_EQ(p.run(), 1);
    std::ifstream log(t.dir / "Error" / "Debug.Log");
    std::string all((std::istreambuf_iterator<char>(log)), {});
    EXPECT_NE(all.find("Adress = 0.001 - 001.1\r\nType = WindowError\r\n"), std::string::npos) << all;
    EXPECT_TRUE(t.ui.modalForms.empty()) << "no window over nothing";

    fakes::TestApp fine;
    app::Program q(fine.app);
    EXPECT_EQ(q.run(), 0);
    EXPECT_FALSE(fs::exists(fine.dir / "Error" / "Debug.Log"));
}

// A code carries a step only where its handler counts them.
TEST(Startup, HandlersReportOnlyTheStepsTheirCodesDefine) {
    Started s;
    s.t.system.windows[{"TFormClock", "LumivoError"}] = 88;  // the greeting box at the first paint
    s.start(10, 0);
    s.t.ui.onBox = [&] {
        s.t.ui.onBox = nullptr;
        throw platform::WindowError("no box");
    };
    s.clock().form().paint();
    s.t.app.reminderSound.Start("a.wav", false);
    s.t.audio.failMci = "stop";
    s.item("SoundDiss").click();
    std::ifstream log(s.t.dir / "Error" / "Debug.Log");
    std::vector<std::string> codes;
    for (std::string line; std::getline(log, line);)
        if (line.starts_with("Adress = ")) codes.push_back(line.substr(9, line.size() - 10));
    EXPECT_EQ(codes, (std::vector<std::string>{"0.001 - 002.0", "0.001 - 030.0"}));
}

// Whichever way the user closes it, nothing of the program may stay behind.
TEST(UnsupportedSystem, ClosingTheWindowEndsTheProgram) {
    Started s;
    s.t.ui.onModal = [](ui::Form& f) { EXPECT_TRUE(f.close()); };  // close box, Alt+F4
    s.start(4, 0);
    ASSERT_EQ(s.t.ui.modalForms, std::vector<std::string>{"TFormNotSupportedOS"});
    EXPECT_TRUE(s.t.ui.terminated());
    EXPECT_FALSE(s.clock().form().visible());
    EXPECT_FALSE(s.program.splash().form().visible());
    EXPECT_TRUE(s.peer().tray_.empty());
}

// Keys close the splash, so the clock must not take them while it is up.
TEST(Splash, TheClockShowsWithoutActivationOnlyWhileTheSplashIsUp) {
    Started s;
    s.start(10, 0);
    EXPECT_TRUE(s.clock().form().visible());
    EXPECT_TRUE(s.clock().form().showWithoutActivation());
    s.clock().form().paint();  // the first paint loads the settings and shows the clock again
    EXPECT_TRUE(s.clock().form().visible());
    EXPECT_TRUE(s.clock().form().showWithoutActivation());
    s.program.splash().close();
    EXPECT_FALSE(s.clock().form().showWithoutActivation());
}

// The unsupported-system window shows its links red from the start; the
// about window's turn red only under the pointer.
TEST(Links, RedInTheUnsupportedWindowBlueInTheAboutWindow) {
    fakes::TestApp t;
    app::NotSupportedOsWindow unsupported(t.app);
    app::AboutWindow about(t.app);
    for (const char* name : {"LabelWeb", "LabelEMail"}) {
        const ui::Font& red = unsupported.form().get<ui::Label>(name).font();
        EXPECT_EQ(ui::kRed, red.color) << name;
        EXPECT_TRUE(red.underline) << name;
        const ui::Font& blue = about.form().get<ui::Label>(name).font();
        EXPECT_EQ(ui::kBlue, blue.color) << name;
        EXPECT_TRUE(blue.underline) << name;
    }
}
