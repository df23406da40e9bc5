#include <gtest/gtest.h>
#include "app/AuxWindows.h"
#include "app/ClockWindow.h"
#include "app/Program.h"
#include "fakes/Fakes.h"

namespace {
struct Started {
    fakes::TestApp t;
    app::Program program{t.app};
    void start(unsigned major, unsigned minor) {
        t.system.os = {major, minor, 1000, 2};
        program.moduleStartup();
        program.start();
    }
    ui::Form& clock() { return program.clock().form(); }
};
}  // namespace

// Whichever way the user closes it, nothing of the program may stay behind.
TEST(UnsupportedSystem, ClosingTheWindowEndsTheProgram) {
    Started s;
    s.t.ui.onModal = [](ui::Form& f) { EXPECT_TRUE(f.close()); };  // close box, Alt+F4
    s.start(4, 0);
    ASSERT_EQ(s.t.ui.modalForms, std::vector<std::string>{"TFormNotSupportedOS"});
    EXPECT_TRUE(s.t.ui.terminated());
    EXPECT_FALSE(s.clock().visible());
    EXPECT_FALSE(s.program.splash().form().visible());
    EXPECT_TRUE(s.t.ui.peer(s.clock()).tray_.empty());
}

// Keys close the splash, so the clock must not take them while it is up.
TEST(Splash, TheClockShowsWithoutActivationOnlyWhileTheSplashIsUp) {
    Started s;
    s.start(10, 0);
    EXPECT_TRUE(s.clock().visible());
    EXPECT_TRUE(s.clock().showWithoutActivation());
    s.clock().paint();  // the first paint loads the settings and shows the clock again
    EXPECT_TRUE(s.clock().visible());
    EXPECT_TRUE(s.clock().showWithoutActivation());
    s.program.splash().close();
    EXPECT_FALSE(s.clock().showWithoutActivation());
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
