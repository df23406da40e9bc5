#include <gtest/gtest.h>
#include <fstream>
#include "app/ClockWindow.h"
#include "app/Program.h"
#include "fakes/Fakes.h"
#include "forms/ClockMenuIds.h"
#include "ui/Placement.h"

namespace fs = std::filesystem;

namespace {

const std::string kSet = "Software\\Vantrel\\Lumivo\\Settings";
const std::string kPos = kSet + "\\Position";

ui::Monitor screen(int left, int top, int width, int height, int taskbar = 0) {
    return {{left, top, width, height}, {left, top, width, height - taskbar}};
}

std::optional<ui::Point> place(ui::Rect w, std::vector<ui::Monitor> m) { return ui::placeOnScreen(w, m); }

}  // namespace

// ---- where a window goes -------------------------------------------------------------

TEST(Placement, AWindowEnoughOnSomeMonitorStays) {
    const std::vector<ui::Monitor> two{screen(0, 0, 1280, 1024, 40), screen(1280, 0, 1920, 1080)};
    EXPECT_FALSE(place({30, -15, 300, 140}, two)) << "the designed place, a little above the top edge";
    EXPECT_FALSE(place({1200, 100, 300, 140}, two)) << "across the border of two monitors";
    EXPECT_FALSE(place({1000, 920, 300, 140}, two)) << "over the taskbar: the monitor, not its work area, decides";
    EXPECT_FALSE(place({3050, 500, 300, 140}, two)) << "half of it hangs off the right edge";
    EXPECT_FALSE(place({5000, 5000, 300, 140}, {})) << "no monitors known: nothing to go by";
}

TEST(Placement, AWindowOffEveryMonitorGoesIntoTheNearestWorkArea) {
    const std::vector<ui::Monitor> one{screen(0, 0, 1280, 1024, 40)};
    EXPECT_EQ(place({5000, 5000, 300, 140}, one)->x, 1280 - 300);
    EXPECT_EQ(place({5000, 5000, 300, 140}, one)->y, 1024 - 40 - 140) << "above the taskbar";
    auto p = place({-900, 300, 300, 140}, one);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->x, 0);
    EXPECT_EQ(p->y, 300) << "only the way that was off changes";
    p = place({1200, 100, 300, 140}, one);  // less than half left on screen after a lower resolution
    ASSERT_TRUE(p);
    EXPECT_EQ(p->x, 980);
    EXPECT_EQ(p->y, 100);

    // A second monitor to the left with a taskbar on its top: the nearer one takes it.
    const std::vector<ui::Monitor> two{screen(0, 0, 1280, 1024),
                                       {{-1920, 0, 1920, 1080}, {-1920, 48, 1920, 1032}}};
    p = place({-2500, -400, 300, 140}, two);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->x, -1920);
    EXPECT_EQ(p->y, 48);
    p = place({1500, 2000, 300, 140}, two);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->x, 980);
    EXPECT_EQ(p->y, 1024 - 140);
}

TEST(Placement, AWindowLargerThanTheWorkAreaStartsAtItsCorner) {
    const auto p = place({3000, 3000, 900, 700}, {screen(0, 0, 800, 600, 30)});
    ASSERT_TRUE(p);
    EXPECT_EQ(p->x, 0);
    EXPECT_EQ(p->y, 0);
    EXPECT_FALSE(place({0, 0, 900, 700}, {screen(0, 0, 800, 600, 30)})) << "covering the screen is on it";
}

// ---- the clock kept on screen ------------------------------------------------------------

namespace {
struct Shown {
    fakes::TestApp t;
    app::Program program{t.app};
    explicit Shown(int left, int top) {
        t.ui.screens = {screen(0, 0, 1280, 1024, 40)};
        t.registry.putDword(kPos, "Left", left);
        t.registry.putDword(kPos, "Top", top);
        t.registry.putDword(kSet, "StayOnTop", 1);
        program.moduleStartup();
        program.start();
        clock().form().paint();  // loads
    }
    app::ClockWindow& clock() { return program.clock(); }
    const ui::Rect& bounds() { return clock().form().bounds(); }
    std::int32_t stored(const char* name) { return *t.registry.dword(kPos, name); }
    void drag(int dx, int dy) {
        auto& l = clock().TimeMain();
        l.onMouseDown({ui::MouseButton::Left, 10, 10});
        l.onMouseMove({ui::MouseButton::Left, 10 + dx, 10 + dy});
        l.onMouseUp({ui::MouseButton::Left, 10 + dx, 10 + dy});
    }
};
}  // namespace

TEST(KeepOnScreen, AClockStoredOffScreenShowsOnItAndKeepsItsStoredPlaceUntilDragged) {
    Shown s(5000, 5000);
    EXPECT_LT(s.bounds().right(), 1281);
    EXPECT_LT(s.bounds().bottom(), 1024 - 40 + 1);
    EXPECT_EQ(s.stored("Left"), 5000) << "the first paint's store keeps the user's place";
    EXPECT_EQ(s.stored("Top"), 5000);

    // Every other store leaves it too: a menu toggle, the quick-exit window's, a click without a move.
    s.clock().MainPoM().item("NillFirst").click();
    s.t.app.face.saveSettings();
    s.drag(0, 0);
    EXPECT_EQ(s.stored("Left"), 5000);
    EXPECT_EQ(s.stored("Top"), 5000);

    const int x = s.bounds().left, y = s.bounds().top;
    s.drag(-100, -50);
    EXPECT_EQ(s.stored("Left"), x - 100) << "the user's drag is the new place";
    EXPECT_EQ(s.stored("Top"), y - 50);
}

TEST(KeepOnScreen, ADisplayChangeMovesItAndBringsItBackWhenItsMonitorReturns) {
    Shown s(1500, 200);
    EXPECT_EQ(s.bounds().left, 1280 - s.bounds().width) << "the second monitor is not there";
    s.t.ui.screens.push_back(screen(1280, 0, 1920, 1080));
    s.clock().form().onMessage(forms::kMsgDisplayChange, 32, 0);
    EXPECT_EQ(s.bounds().left, 1500) << "back where the user put it";
    EXPECT_EQ(s.bounds().top, 200);
    s.t.ui.screens.pop_back();
    s.clock().form().onMessage(forms::kMsgDisplayChange, 32, 0);
    EXPECT_EQ(s.bounds().left, 1280 - s.bounds().width);
    EXPECT_EQ(s.stored("Left"), 1500);

    // Put in the top-left corner by the menu: that is the user's choice, stored.
    s.clock().MainPoM().item("N4").click();
    EXPECT_EQ(s.stored("Left"), 0);
    EXPECT_EQ(s.stored("Top"), 0);
}

// ---- the end of the Windows session ------------------------------------------------------

TEST(EndSession, AgreedAtOnceEvenWithAQuickExitRunningAndAWindowOpen) {
    Shown s(5000, 5000);
    s.t.app.qsd.QSDWork = quickexit::kRunning;  // the close query would ask about it
    s.t.app.session.ShowModalRes = 1;
    EXPECT_TRUE(s.clock().form().onMessage(forms::kMsgQueryEndSession, 0, 0));
    EXPECT_TRUE(s.t.ui.boxes.empty()) << "no question";
    EXPECT_FALSE(s.t.ui.terminated()) << "agreeing is not ending";

    // Someone else refused: the session goes on, and the clock with it.
    s.clock().form().onMessage(forms::kMsgEndSession, 0, 0);
    EXPECT_FALSE(s.t.ui.terminated());
    EXPECT_TRUE(s.clock().Timer1().enabled());
    EXPECT_EQ(s.t.ui.peer(s.clock().form()).tray_, std::vector<std::string>{"add"});
}

TEST(EndSession, EndingRemovesTheIconStoresClearsAndEndsWithoutAPowerAction) {
    Shown s(5000, 5000);
    const fs::path temp = s.t.app.paths.tempDir();
    std::ofstream(temp / "Tmp2") << "x";
    s.t.registry.putDword(kPos, "Left", 7);  // changed behind its back: the end stores again
    s.t.app.qsd.QSDFinal = 1;                // a power action of its own was pending
    s.t.app.qsd.QSDWMode = 0;
    s.clock().form().onMessage(forms::kMsgEndSession, 1, 0);
    EXPECT_TRUE(s.t.ui.terminated());
    EXPECT_TRUE(s.t.ui.boxes.empty());
    EXPECT_EQ(s.t.ui.peer(s.clock().form()).tray_, (std::vector<std::string>{"add", "delete"}));
    EXPECT_FALSE(s.clock().Timer1().enabled());
    EXPECT_EQ(s.stored("Left"), 5000) << "the user's place, not the one it was moved to";
    EXPECT_FALSE(fs::exists(temp / "Tmp2"));
    s.program.end();
    for (const std::string& c : s.t.power.calls) EXPECT_NE(c.substr(0, 4), "exit") << "the session is ending already";
}

TEST(EndSession, AFailingStoreIsRecordedWithoutTheErrorWindow) {
    Shown s(100, 100);
    s.t.registry.denyCurrentUser = true;
    s.clock().form().onMessage(forms::kMsgEndSession, 1, 0);
    EXPECT_TRUE(s.t.ui.terminated());
    EXPECT_TRUE(s.t.ui.modalForms.empty()) << "no window while the session ends";
    const auto codes = fakes::LoggedCodes(s.t.app);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back().substr(0, 13), "0.013 - 005.0") << "the store's own record";
    EXPECT_EQ(s.t.ui.peer(s.clock().form()).tray_.back(), "delete");
}

TEST(EndSession, WithTheSettingsWindowOpenTheStoredPlaceStays) {
    Shown s(5000, 5000);
    s.clock().Timer1Timer();
    s.t.ui.onModal = [&](ui::Form& f) {
        if (f.className() != "TFormSettings") return;
        s.clock().form().onMessage(forms::kMsgQueryEndSession, 0, 0);
        s.clock().form().onMessage(forms::kMsgEndSession, 1, 0);
    };
    s.clock().MainPoM().item("N2").click();
    EXPECT_TRUE(s.t.ui.terminated());
    EXPECT_EQ(s.stored("Left"), 5000);
    EXPECT_EQ(s.stored("Top"), 5000);
}
