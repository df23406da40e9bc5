#include <gtest/gtest.h>
#include <fstream>
#include <functional>
#include "app/ClockWindow.h"
#include "errors/ErrorLog.h"
#include "fakes/Fakes.h"
#include "platform/Path.h"
#include "settings/SettingsStore.h"
#include "ui/Ui.h"

namespace {

const std::string kRoot = "Software\\Vantrel\\Lumivo";
const std::string kSet = kRoot + "\\Settings";
const std::string kSound = kSet + "\\Sound";
const std::string kFont = kSet + "\\Font";
const std::string kStyle = kFont + "\\Style";
const std::string kPos = kSet + "\\Position";
const std::string kQe = kSet + "\\QuickExit";
const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
using Hive = platform::Hive;

// A program whose clock has been created; start() is its first paint, which
// loads. A first launch counts as confirmed unless `greeting` keeps it open.
struct Clock {
    fakes::TestApp t;
    app::ClockWindow clock{t.app};
    settings::Settings& st = t.app.settings;

    void start(bool greeting = false) {
        t.ui.realize(clock.form());
        clock.form().paint();
        if (!greeting) t.app.load.FirstLaunchOpen = false;
    }
    ui::MenuItem& item(const char* n) { return clock.MainPoM().item(n); }
    ui::Control& control(const char* n) { return *clock.form().find(n); }
    // The error records written so far, by their code lines.
    std::vector<std::string> logged() { return fakes::LoggedCodes(t.app); }
};

}  // namespace

// ---- loading -------------------------------------------------------------------------

TEST(SettingsLoad, FirstRunWithoutKeyKeepsDefaultsAndStillShowsTheClock) {
    Clock c;
    c.st.GlobalHotkeys = 0;
    c.st.AlphaUsed = 0;
    c.st.LastBackUp = "old";
    c.start();
    const auto& s = c.t.app.load;
    EXPECT_EQ(s.FirstLaunch5, 1);
    EXPECT_EQ(s.Loading, 1);
    EXPECT_TRUE(c.clock.form().visible());
    EXPECT_EQ(c.st.TimeOfLow, 0);
    EXPECT_EQ(c.st.TimeOfLowF, 22);
    EXPECT_EQ(c.st.TimeOfLowS, 9);
    EXPECT_EQ(c.st.AutoLaunch, 1);
    EXPECT_EQ(c.st.AlphaUsed, 1);
    EXPECT_EQ(c.st.LastBackUp, "Неизвестно");
    EXPECT_EQ(c.st.GlobalHotkeys, 0) << "not touched without the key";
    EXPECT_EQ(c.clock.form().alphaBlendValue(), 1) << "the fade-in starts from the bottom";
    EXPECT_TRUE(c.item("NillFirst").checked) << "the marks show the formats the first paint chose";
    EXPECT_FALSE(c.item("ViewSecondsA").checked);
    EXPECT_TRUE(c.logged().empty());
}

TEST(SettingsLoad, OutOfRangeValuesTakeTheirReplacements) {
    struct Case {
        std::string key, name;
        std::int32_t stored;
        std::function<int(settings::Settings&)> field;
        int expected;
    };
    const std::vector<Case> cases = {
        {kSet, "AlphaSet", 99, [](auto& s) { return s.AlphaSet; }, 255},
        {kSet, "AlphaSet", 256, [](auto& s) { return s.AlphaSet; }, 255},
        {kSet, "AlphaSet", 100, [](auto& s) { return s.AlphaSet; }, 100},
        {kSet, "AlphaUsed", 2, [](auto& s) { return s.AlphaUsed; }, 1},
        {kSet, "StayOnTop", 7, [](auto& s) { return s.StayOnTop; }, 1},
        {kSet, "AutoLaunch", 3, [](auto& s) { return s.AutoLaunch; }, 0},
        {kSet, "GlobalHotkeys", 2, [](auto& s) { return s.GlobalHotkeys; }, 1},
        {kSound, "TimeOfLow", 5, [](auto& s) { return s.TimeOfLow; }, 0},
        {kSound, "SoundHType", 5, [](auto& s) { return s.SoundHType; }, 0},
        {kQe, "ModeWork", 4, [](auto& s) { return s.QSDModeWork; }, 0},
        {kQe, "ModeWork", -1, [](auto& s) { return s.QSDModeWork; }, 0},
        {kQe, "ModeWork", 3, [](auto& s) { return s.QSDModeWork; }, 3},
        {kQe, "QSDIcon", 3, [](auto& s) { return s.QSDGreen; }, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name + " = " + std::to_string(k.stored));
        Clock c;
        c.t.registry.putDword(k.key, k.name, k.stored);
        c.start();
        EXPECT_EQ(k.field(c.st), k.expected);
        EXPECT_EQ(c.t.app.load.FirstLaunch5, 0);
    }
}

TEST(SettingsLoad, OpacityFollowsOnlyAWindowThatShowsTheEarlierValue) {
    // First paint: the window is fading in (opacity 1, earlier AlphaSet 0) and is left alone.
    Clock c;
    c.t.registry.putDword(kSet, "AlphaSet", 180);
    c.t.registry.putDword(kSet, "AlphaUsed", 0);
    c.start();
    EXPECT_EQ(c.st.AlphaSet, 180);
    EXPECT_EQ(c.clock.form().alphaBlendValue(), 1);

    // A later load (the settings window cancelled) with the window at the old value.
    c.clock.form().setAlphaBlendValue(180);
    c.t.registry.putDword(kSet, "AlphaUsed", 1);
    c.t.registry.putDword(kSet, "AlphaSet", 200);
    c.t.app.settingsStore.LoadSettings();
    EXPECT_EQ(c.clock.form().alphaBlendValue(), 200);

    c.t.registry.putDword(kSet, "AlphaUsed", 0);
    c.t.registry.putDword(kSet, "AlphaSet", 150);
    c.t.app.settingsStore.LoadSettings();
    EXPECT_EQ(c.clock.form().alphaBlendValue(), 255) << "transparency off shows the clock opaque";
    EXPECT_EQ(c.st.AlphaSet, 150) << "the chosen value is kept for later";
}

TEST(SettingsLoad, QuietHoursWithABadBoundAreSwitchedOff) {
    {
        Clock c;
        c.t.registry.putDword(kSound, "TimeOfLow", 1);
        c.t.registry.putDword(kSound, "TimeOfLowF", 24);
        c.t.registry.putDword(kSound, "TimeOfLowS", 7);
        c.start();
        EXPECT_EQ(c.st.TimeOfLowF, 22);
        EXPECT_EQ(c.st.TimeOfLowS, 7);
        EXPECT_EQ(c.st.TimeOfLow, 0);
    }
    {
        Clock c;
        c.t.registry.putDword(kSound, "TimeOfLow", 1);
        c.t.registry.putDword(kSound, "TimeOfLowF", 0);
        c.t.registry.putDword(kSound, "TimeOfLowS", 23);
        c.start();
        EXPECT_EQ(c.st.TimeOfLow, 1);
        EXPECT_EQ(c.st.TimeOfLowF, 0);
        EXPECT_EQ(c.st.TimeOfLowS, 23);
    }
}

TEST(SettingsLoad, ChimeAndSpokenTimeAreNeverBothOn) {
    {
        Clock c;
        c.st.SoundHEnabled = 2;
        c.t.registry.putDword(kSound, "SoundHEnabled", 3);
        c.start();
        EXPECT_EQ(c.st.SoundHEnabled, 2) << "an invalid value keeps the one in memory";
    }
    {
        Clock c;
        c.t.registry.putDword(kSound, "SoundHEnabled", 1);
        c.t.registry.putDword(kSound, "VoiceEnabled", 2);
        c.start();
        EXPECT_EQ(c.st.SoundHEnabled, 1);
        EXPECT_EQ(c.st.VoiceEnabled, 0);
    }
    {
        Clock c;
        c.st.VoiceEnabled = 1;
        c.t.registry.putDword(kSound, "SoundHEnabled", 0);
        c.t.registry.putDword(kSound, "VoiceEnabled", 9);
        c.start();
        EXPECT_EQ(c.st.VoiceEnabled, 1);
    }
}

TEST(SettingsLoad, FontStyleIsClearedFirstAndOnlyOneSetsAStyle) {
    Clock c;
    ui::Font f = c.clock.TimeMain().font();
    f.bold = f.underline = true;
    c.clock.TimeMain().setFont(f);
    c.t.registry.putDword(kFont, "Size", 40);
    c.t.registry.putDword(kFont, "Color", 0);
    c.t.registry.putString(kFont, "Name", "Arial Black");
    c.t.registry.putDword(kStyle, "Bold", 2);
    c.t.registry.putDword(kStyle, "Italic", 1);
    c.start();
    const ui::Font& m = c.clock.TimeMain().font();
    EXPECT_EQ(m.size, 40);
    EXPECT_EQ(m.name, "Arial Black");
    EXPECT_FALSE(m.bold);
    EXPECT_TRUE(m.italic);
    EXPECT_FALSE(m.underline) << "missing values leave the cleared style";
    EXPECT_EQ(m.color, 3289650u) << "black would be see-through";
    const ui::Font& sh = c.clock.TimeShadow().font();
    EXPECT_EQ(sh.name, "Arial Black");
    EXPECT_EQ(sh.size, 40);
    EXPECT_TRUE(sh.italic);
    EXPECT_EQ(c.clock.TimeShadow().bounds().height, c.clock.TimeSize().bounds().height);
}

TEST(SettingsLoad, AbsurdFontSizeIsIgnored) {
    for (std::int32_t size : {0, -12, 0x7fffffff}) {
        Clock c;
        c.t.registry.putDword(kFont, "Size", size);
        c.start();
        EXPECT_EQ(c.clock.TimeMain().font().size, 80) << size;
    }
}

TEST(SettingsLoad, WindowAndMenuFollowTheStoredState) {
    Clock c;
    c.t.registry.putDword(kSet, "StayOnTop", 0);
    c.t.registry.putDword(kSet, "SecondsView", 5);
    c.t.registry.putDword(kSet, "ZeroFirstView", 0);
    c.t.registry.putDword(kSet, "AMPM24", 1);
    c.t.registry.putDword(kSet, "ItemQE", 0);
    c.t.registry.putDword(kSet, "ItemST", 1);
    c.t.registry.putString(kSet, "BackUp", "07.12.2026 10:00");
    c.t.registry.putDword(kPos, "Left", -40);
    c.t.registry.putDword(kPos, "Top", 300);
    c.start();
    EXPECT_FALSE(c.clock.form().stayOnTop());
    EXPECT_FALSE(c.item("OnTopPOM").checked);
    const auto& tray = c.t.ui.peer(c.clock.form()).tray_;
    EXPECT_EQ(tray, (std::vector<std::string>{"add", "delete", "add"})) << "the icon comes back after the style change";
    EXPECT_TRUE(c.st.SecondsView);
    EXPECT_TRUE(c.item("ViewSecondsA").checked);
    EXPECT_FALSE(c.item("NillFirst").checked);
    EXPECT_TRUE(c.item("PMAM24").checked);
    EXPECT_FALSE(c.item("QuickExit").visible);
    EXPECT_TRUE(c.item("SetTime").visible);
    EXPECT_EQ(c.st.LastBackUp, "07.12.2026 10:00");
    EXPECT_EQ(c.clock.form().bounds().left, -40);
    EXPECT_EQ(c.clock.form().bounds().top, 300);
}

TEST(SettingsLoad, GreenIndicatorOnlyWhileNoQuickExitRuns) {
    {
        Clock c;
        c.t.registry.putDword(kQe, "QSDIcon", 1);
        c.start();
        const int top = c.clock.TimeMain().bounds().height / 8;
        ASSERT_GT(top, 0);
        EXPECT_TRUE(c.control("ImageGreen").visible());
        for (const char* n : {"ImageGreen", "ImageRed", "ImageOrange", "ImageYellow"})
            EXPECT_EQ(c.control(n).bounds().top, top) << n;
    }
    {
        Clock c;
        c.t.app.qsd.QSDWork = quickexit::kRunning;
        c.t.registry.putDword(kQe, "QSDIcon", 1);
        c.start();
        EXPECT_FALSE(c.control("ImageGreen").visible());
    }
}

// A stored value of the wrong type is taken as an invalid one: the load goes on,
// the clock comes up, and the fault is reported once.
TEST(SettingsLoad, WrongTypeIsReplacedReportedOnceAndDoesNotStopTheLoad) {
    Clock c;
    c.st.SecondsView = false;
    c.t.registry.putString(kSet, "AlphaSet", "180");
    c.t.registry.putBinary(kSet, "StayOnTop");
    c.t.registry.putString(kSet, "SecondsView", "1");
    c.t.registry.putDword(kSet, "BackUp", 5);
    c.t.registry.putString(kFont, "Size", "40");
    c.t.registry.putDword(kFont, "Name", 1);
    c.t.registry.putDword(kQe, "ModeWork", 2);
    c.start();
    EXPECT_EQ(c.st.AlphaSet, 255);
    EXPECT_EQ(c.st.StayOnTop, 1);
    EXPECT_FALSE(c.st.SecondsView) << "no replacement: left as it was";
    EXPECT_EQ(c.st.LastBackUp, "Неизвестно");
    EXPECT_EQ(c.clock.TimeMain().font().size, 80);
    EXPECT_EQ(c.clock.TimeMain().font().name, "Forte");
    EXPECT_EQ(c.st.QSDModeWork, 2) << "later values are still read";
    EXPECT_TRUE(c.clock.form().visible());
    EXPECT_EQ(c.t.app.load.Loading, 1);
    EXPECT_EQ(c.logged(), std::vector<std::string>{"0.013 - 006.0 ConversionError"});

    c.t.app.settingsStore.LoadSettings();
    EXPECT_EQ(c.logged().size(), 2u) << "each load reports it again, once";
}

TEST(SettingsLoad, Windows98NeitherReadsNorWritesSecondsAndHidesSetTime) {
    Clock c;
    c.t.system.os = {4, 10, 2222, 1};
    c.t.registry.putDword(kSet, "SecondsView", 1);
    c.t.registry.putDword(kSet, "ItemST", 1);
    c.start();
    EXPECT_FALSE(c.st.SecondsView);
    EXPECT_FALSE(c.item("ViewSecondsA").checked);
    EXPECT_FALSE(c.item("SetTime").visible);
    c.t.registry.values.clear();
    c.t.app.settingsStore.StoreSettings(settings::StoreMode::All);
    EXPECT_FALSE(c.t.registry.dword(kSet, "SecondsView"));
    EXPECT_EQ(c.t.registry.dword(kSet, "ItemST"), 0);
}

// A menu command or the session's end that comes before the first paint
// finds a record with nothing loaded yet: it is not written over what is stored.
TEST(SettingsLoad, NothingIsStoredBeforeTheFirstLoad) {
    Clock c;
    c.t.registry.putDword(kSet, "AlphaSet", 200);
    c.t.registry.putDword(kPos, "Left", 400);
    const auto stored = c.t.registry.values;
    const int top = c.st.Top;  // none stored: the window is not yet where this puts it
    c.t.ui.realize(c.clock.form());
    c.clock.form().setPosition(30, top + 15);
    c.item("ViewSecondsA").click();
    c.clock.onSessionEnding();
    EXPECT_EQ(c.t.registry.values, stored);
    c.clock.form().paint();
    EXPECT_EQ(c.st.AlphaSet, 200);
    EXPECT_EQ(c.st.Left, 400);
    EXPECT_EQ(c.st.Top, top) << "not the place the window had before the load";
}

// A first run stores what the clock shows: on top, with the hot keys on, as
// every later run would start.
// Until the first settings window is confirmed nothing is stored: every start
// greets as a first launch, with the designed stay-on-top and hot keys.
TEST(SettingsLoad, FirstRunStoresNothingUntilConfirmedThenTheDesignedValues) {
    Clock c;
    c.start(true);
    EXPECT_TRUE(c.clock.form().stayOnTop());
    EXPECT_TRUE(c.item("OnTopPOM").checked);
    c.item("NillFirst").click();
    c.clock.TimeMouseUp({});
    EXPECT_FALSE(c.t.registry.keyExists(Hive::CurrentUser, kSet));
    c.t.app.settingsStore.StoreConfirmed();
    EXPECT_EQ(c.t.registry.dword(kSet, "StayOnTop"), 1);
    EXPECT_EQ(c.t.registry.dword(kSet, "GlobalHotkeys"), 1);
    EXPECT_EQ(c.t.registry.dword(kSet, "ItemQE"), 1);

    Clock again;
    again.t.registry.values = c.t.registry.values;
    again.t.registry.keys = c.t.registry.keys;
    again.start(true);
    EXPECT_EQ(again.t.app.load.FirstLaunch5, 0) << "no longer a first launch";
    EXPECT_TRUE(again.clock.form().stayOnTop()) << "the next start is on top too";
    EXPECT_EQ(again.st.GlobalHotkeys, 1);
}

// ---- storing -------------------------------------------------------------------------

TEST(SettingsStore, PositionOnlyTouchesVersionPathAndPosition) {
    Clock c;
    c.start();
    c.t.registry.writes.clear();
    c.st.Left = -5;
    c.st.Top = 700;
    c.t.app.settingsStore.StoreSettings(settings::StoreMode::PositionOnly);
    const std::vector<std::string> expected = {
        "software\\vantrel\\lumivo\\Version", "software\\vantrel\\lumivo\\ExePatch",
        "software\\vantrel\\lumivo\\settings\\position\\Left", "software\\vantrel\\lumivo\\settings\\position\\Top"};
    EXPECT_EQ(c.t.registry.writes, expected);
    EXPECT_EQ(c.t.registry.string(kRoot, "Version"), "1.1.9x.ru");
    EXPECT_EQ(c.t.registry.string(kRoot, "ExePatch"), platform::u8string(c.t.system.exe));
    EXPECT_EQ(c.t.registry.dword(kPos, "Left"), -5);
    EXPECT_EQ(c.t.registry.dword(kPos, "Top"), 700);
}

TEST(SettingsStore, RoundTripRestoresPositionFontAndFormat) {
    Clock a;
    a.start();
    a.st.Left = -120;
    a.st.Top = 45;
    ui::Font f = a.clock.TimeMain().font();
    f.name = "Courier New";
    f.size = 36;
    f.color = platform::rgb(0, 200, 10);
    f.bold = f.strikeOut = true;
    a.st.Name = f.name;
    a.st.Size = f.size;
    a.st.Color = int(f.color);
    a.st.Bold = a.st.StrikeOut = true;
    a.st.SecondsView = true;
    a.st.ZeroFirstView = false;
    a.st.AMPM24 = true;
    a.st.AlphaSet = 170;
    a.st.AlphaUsed = 1;
    a.st.StayOnTop = 0;
    a.st.SoundHEnabled = 0;
    a.st.VoiceEnabled = 2;
    a.st.VoiceType = "Ольга";
    a.st.QSDModeWork = 3;
    a.st.LastBackUp = "07.12.2026";
    a.st.ItemQE = false;
    a.t.app.settingsStore.StoreSettings(settings::StoreMode::All);

    Clock b;
    b.t.registry.values = a.t.registry.values;
    b.t.registry.keys = a.t.registry.keys;
    b.start();
    EXPECT_EQ(b.clock.form().bounds().left, -120);
    EXPECT_EQ(b.clock.form().bounds().top, 45);
    EXPECT_EQ(b.clock.TimeMain().font(), f);
    EXPECT_TRUE(b.st.SecondsView);
    EXPECT_FALSE(b.st.ZeroFirstView);
    EXPECT_TRUE(b.st.AMPM24);
    EXPECT_EQ(b.st.AlphaSet, 170);
    EXPECT_EQ(b.st.StayOnTop, 0);
    EXPECT_EQ(b.st.VoiceEnabled, 2);
    EXPECT_EQ(b.st.VoiceType, "Ольга");
    EXPECT_EQ(b.st.QSDModeWork, 3);
    EXPECT_EQ(b.st.LastBackUp, "07.12.2026");
    EXPECT_FALSE(b.item("QuickExit").visible);
    EXPECT_EQ(b.t.app.load.FirstLaunch5, 0);
    EXPECT_TRUE(b.logged().empty());
}

TEST(SettingsStore, FailuresAreReportedWithTheirCodes) {
    Clock c;
    c.start();
    c.st.LastBackUp = "07.12.2026 10:15:25";
    c.t.app.settingsStore.StoreLastBackUp();
    EXPECT_EQ(c.t.registry.string(kSet, "BackUp"), "07.12.2026 10:15:25");
    c.t.registry.denyCurrentUser = true;
    c.t.app.settingsStore.StoreSettings(settings::StoreMode::PositionOnly);
    c.t.app.settingsStore.StoreLastBackUp();
    EXPECT_EQ(c.logged(), (std::vector<std::string>{"0.013 - 005.0 RegistryError", "0.013 - 001.0 RegistryError"}));
}

// ---- auto-start ----------------------------------------------------------------------

TEST(SettingsAutoStart, EachChoiceLeavesExactlyItsRunValue) {
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        Clock c;
        c.start();
        c.t.registry.put(Hive::LocalMachine, kRun, "Lumivo", {platform::RegValue::Type::String, 0, "old"});
        c.t.registry.put(Hive::CurrentUser, kRun, "Lumivo", {platform::RegValue::Type::String, 0, "old"});
        c.st.AutoLaunch = mode;
        c.t.app.settingsStore.StoreSettings(settings::StoreMode::All);
        const std::string exe = platform::u8string(c.t.system.exe);
        const auto lm = c.t.registry.string(kRun, "Lumivo", Hive::LocalMachine);
        const auto cu = c.t.registry.string(kRun, "Lumivo", Hive::CurrentUser);
        EXPECT_EQ(lm, mode == 1 ? std::optional(exe) : std::nullopt);
        EXPECT_EQ(cu, mode == 2 ? std::optional(exe) : std::nullopt);
        EXPECT_EQ(c.t.registry.dword(kSet, "AutoLaunch"), mode);
        EXPECT_TRUE(c.t.ui.boxes.empty());
    }
}

TEST(SettingsAutoStart, LimitedUserFallsBackToThisUserWithOneWarning) {
    Clock c;
    c.start();
    c.t.registry.denyLocalMachine = true;
    c.st.AutoLaunch = 1;
    c.t.app.settingsStore.StoreSettings(settings::StoreMode::All);
    EXPECT_EQ(c.t.registry.string(kRun, "Lumivo"), platform::u8string(c.t.system.exe));
    EXPECT_FALSE(c.t.registry.string(kRun, "Lumivo", Hive::LocalMachine));
    EXPECT_EQ(c.st.AutoLaunch, 2);
    EXPECT_EQ(c.t.registry.dword(kSet, "AutoLaunch"), 2) << "the fall-back is what is stored";
    ASSERT_EQ(c.t.ui.boxes.size(), 1u);
    EXPECT_EQ(c.t.ui.boxes[0].caption, "Предупреждение...");
    EXPECT_EQ(c.t.ui.boxes[0].text,
              "Вам запрещен доступ к общим разделам реестра, автозагрузка при старте включена только для этого "
              "пользователя.");
    EXPECT_EQ(c.t.ui.boxes[0].flags, ui::kMbIconExclamation | ui::kMbSystemModal);
    EXPECT_TRUE(c.logged().empty());

    // Later stores keep "only for me" without warning again.
    c.t.app.settingsStore.StoreSettings(settings::StoreMode::All);
    EXPECT_EQ(c.t.ui.boxes.size(), 1u);
    EXPECT_EQ(c.t.registry.dword(kSet, "AutoLaunch"), 2);
    EXPECT_TRUE(c.logged().empty());
}

TEST(SettingsAutoStart, FallBackThatFailsTooIsLoggedWithoutWarning) {
    Clock c;
    c.start();
    c.st.AutoLaunch = 1;
    c.t.registry.denyLocalMachine = true;
    c.t.registry.denyCurrentUser = true;
    c.t.app.settingsStore.ApplyAutoStart();
    EXPECT_EQ(c.logged(), std::vector<std::string>{"0.013 - 004.0 RegistryError"});
    EXPECT_TRUE(c.t.ui.boxes.empty());
    EXPECT_EQ(c.st.AutoLaunch, 1);
}
