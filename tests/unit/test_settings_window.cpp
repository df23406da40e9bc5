// The settings window driven through its controls inside its modal loop,
// opened from the clock's menu over a clock that has loaded stored settings.
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include "app/ClockWindow.h"
#include "fakes/Fakes.h"
#include "platform/Path.h"
#include "settingsui/SettingsWindow.h"

namespace {

namespace fs = std::filesystem;
const std::string kSet = "Software\\Vantrel\\Lumivo\\Settings";
constexpr const char* kUnsaved = "В файл будут сохранены настройки с которыми программа работает сейчас!";

struct Window {
    fakes::TestApp t;
    app::ClockWindow clock{t.app};
    fakes::Scheduler sched{t.clock, &t.ui};
    settings::Settings& s = t.app.settings;

    // `stored` is what the registry holds (transparency on); the clock has
    // loaded it and faded in.
    explicit Window(const std::function<void(settings::Settings&)>& stored = nullptr) {
        s.AlphaUsed = 1;
        if (stored) stored(s);
        t.app.load.Loading = 1;  // the store writes only over a record that was loaded
        t.app.settingsStore.StoreSettings(settings::StoreMode::All);
        t.app.load.Loading = 0;
        t.ui.realize(clock.form());
        clock.form().paint();
        sched.watch(clock.form());
        sched.run(3000);
    }
    // Opens the window from the menu and runs `act` in it; `other` acts in the windows it opens.
    void open(const std::function<void(ui::Form&)>& act, const std::function<void(ui::Form&)>& other = nullptr) {
        t.ui.onModal = [&](ui::Form& f) {
            if (f.className() == "TFormSettings") act(f);
            else if (other) other(f);
        };
        clock.MainPoM().item("N2").onClick();
        t.ui.onModal = nullptr;
    }
    settingsui::SettingsWindow& window() { return *t.app.settings_window; }
    int opacity() { return clock.form().alphaBlendValue(); }
    static ui::CheckBox& box(ui::Form& f, const char* n) { return f.get<ui::CheckBox>(n); }
    static ui::ComboBox& combo(ui::Form& f, const char* n) { return f.get<ui::ComboBox>(n); }
    static ui::Button& button(ui::Form& f, const char* n) { return f.get<ui::Button>(n); }
    static void press(ui::Form& f, const char* n) {
        ASSERT_TRUE(button(f, n).enabled()) << n;
        button(f, n).onClick();
    }
    bool asked(const std::string& text) const {
        for (const auto& b : t.ui.boxes)
            if (b.text == text) return true;
        return false;
    }
    void makeVoice(const std::string& name, bool complete = true) {
        const fs::path dir = t.dir / "Sounds" / platform::u8path(name);
        fs::create_directories(dir);
        for (const char* f : sound::kVoiceFiles)
            if (complete || std::string(f) != sound::kVoiceFiles.back()) std::ofstream(dir / f) << "RIFF";
    }
    void addReminder(const std::string& name, const std::string& h, const std::string& m) {
        reminders::Reminder r;
        r.Name = name;
        r.TimeH = h;
        r.TimeM = m;
        r.SoundType = 0;
        t.app.remindStore.AddRemind(r);
    }
    std::vector<std::string> lines(ui::Form& f) {
        std::vector<std::string> out;
        for (const auto& i : f.get<ui::CheckListBox>("CheckListBox1").items()) out.push_back(i.text);
        return out;
    }
};

}  // namespace

// ---- opening -------------------------------------------------------------------------------------

TEST(SettingsWindowOpen, ShowsTheStoredRecordWithoutChangingIt) {
    Window w([](settings::Settings& s) {
        s.TimeOfLow = 1, s.TimeOfLowF = 23, s.TimeOfLowS = 7;
        s.SoundHEnabled = 2, s.SoundHType = 3, s.VoiceEnabled = 0;
        s.AlphaUsed = 0, s.AlphaSet = 180, s.QSDGreen = 0, s.ItemQE = false, s.GlobalHotkeys = 0, s.AutoLaunch = 2;
        s.LastBackUp = "10:00 01/12/26";
    });
    const settings::Settings before = w.s;
    w.open([&](ui::Form& f) {
        EXPECT_EQ(1, w.t.app.session.ShowModalRes);
        EXPECT_FALSE(w.t.app.remind.NextRemindSet);
        EXPECT_EQ(0, f.get<ui::PageControl>("PageControlSettings").activePage());
        EXPECT_FALSE(Window::button(f, "ButtonCancel").enabled());
        EXPECT_TRUE(Window::box(f, "CheckBox9").checked());
        EXPECT_TRUE(Window::combo(f, "ComboBox2").enabled());
        EXPECT_EQ(23, Window::combo(f, "ComboBox2").itemIndex());
        EXPECT_EQ(7, Window::combo(f, "ComboBox3").itemIndex());
        EXPECT_TRUE(Window::box(f, "CheckBoxSoundH").checked() && Window::box(f, "CheckBoxSoundH05").checked());
        EXPECT_TRUE(Window::combo(f, "ComboBoxSoundH").enabled());
        EXPECT_EQ(3, Window::combo(f, "ComboBoxSoundH").itemIndex());
        EXPECT_FALSE(Window::box(f, "CheckBoxTimeVoice").checked());
        EXPECT_FALSE(Window::combo(f, "ComboBoxChangeVoice").enabled());
        EXPECT_FALSE(Window::box(f, "CheckBox10").checked());
        EXPECT_FALSE(f.get<ui::TrackBar>("TrackBar4").enabled());
        EXPECT_EQ(180, f.get<ui::TrackBar>("TrackBar4").position());
        EXPECT_EQ("180", f.get<ui::Label>("LabelAS").caption());
        EXPECT_FALSE(Window::box(f, "CheckBox1").checked() || Window::box(f, "CheckBoxQE").checked());
        EXPECT_TRUE(Window::box(f, "CheckBoxST").checked());
        EXPECT_FALSE(Window::box(f, "CheckBoxGlobalHK").checked());
        EXPECT_EQ(2, Window::combo(f, "ComboBox1").itemIndex());
        EXPECT_EQ("10:00 01/12/26", f.get<ui::Panel>("Panel10").caption());
        EXPECT_EQ(before, w.s) << "opening changes nothing";
        EXPECT_EQ(255, w.opacity());
    });
    EXPECT_EQ(0, w.t.app.session.ShowModalRes);
}

// Opened while the clock still fades in: showing the stored opacity on the
// slider does not jump the clock to it.
TEST(SettingsWindowOpen, OpenedDuringTheFadeInLeavesTheClocksOpacityAlone) {
    Window w([](settings::Settings& s) { s.AlphaSet = 200; });
    w.t.app.start.LaunchWork = 0;
    w.clock.form().setAlphaBlendValue(40);
    w.open([&](ui::Form& f) {
        EXPECT_EQ(200, f.get<ui::TrackBar>("TrackBar4").position());
        EXPECT_EQ(40, w.opacity());
    });
}

TEST(SettingsWindowOpen, WithoutWindowTransparencyItsControlsAreOff) {
    Window w;
    w.t.app.session.Win9xMode = true;
    w.open([&](ui::Form& f) {
        for (const char* name : {"CheckBox10", "TrackBar4", "Panel8", "CheckBoxST"})
            EXPECT_FALSE(f.find(name)->enabled()) << name;
        EXPECT_FALSE(Window::box(f, "CheckBox10").checked());
        EXPECT_EQ(0, w.s.AlphaUsed);
        EXPECT_FALSE(Window::button(f, "ButtonCancel").enabled());
    });
}

TEST(SettingsWindowOpen, VoiceListOffersCompleteVoicesOnly) {
    Window none;
    none.open([&](ui::Form& f) {
        EXPECT_EQ(std::vector<std::string>{"Не найдено"}, Window::combo(f, "ComboBoxChangeVoice").items());
        EXPECT_FALSE(f.get<ui::Panel>("Panel3").enabled());
    });

    Window w([](settings::Settings& s) { s.VoiceType = "Борис"; });
    w.makeVoice("Алёна");
    w.makeVoice("Борис", false);
    w.makeVoice("Вера");
    w.open([&](ui::Form& f) {
        const ui::ComboBox& voices = Window::combo(f, "ComboBoxChangeVoice");
        ASSERT_EQ(2u, voices.items().size());
        EXPECT_EQ(0, voices.itemIndex());
        EXPECT_TRUE(f.get<ui::Panel>("Panel3").enabled());
        EXPECT_EQ("Борис", w.s.VoiceType) << "until the user picks one";
    });
}

// ---- the check boxes' rules ----------------------------------------------------------------------

TEST(SettingsWindowRules, ChimeAndSpokenTimeExcludeEachOther) {
    Window w;
    w.open([&](ui::Form& f) {
        Window::box(f, "CheckBoxSoundH").setChecked(true);
        EXPECT_EQ(1, w.s.SoundHEnabled);
        EXPECT_TRUE(Window::combo(f, "ComboBoxSoundH").enabled() && Window::button(f, "SpeedButtonSoundH").enabled());
        EXPECT_TRUE(Window::button(f, "ButtonCancel").enabled());

        Window::box(f, "CheckBoxTVoice05").setChecked(true);
        EXPECT_FALSE(Window::box(f, "CheckBoxSoundH").checked() || Window::box(f, "CheckBoxSoundH05").checked());
        EXPECT_TRUE(Window::box(f, "CheckBoxTimeVoice").checked());
        EXPECT_EQ(0, w.s.SoundHEnabled);
        EXPECT_EQ(2, w.s.VoiceEnabled);
        EXPECT_FALSE(Window::combo(f, "ComboBoxSoundH").enabled());

        Window::box(f, "CheckBoxSoundH05").setChecked(true);
        EXPECT_TRUE(Window::box(f, "CheckBoxSoundH").checked());
        EXPECT_FALSE(Window::box(f, "CheckBoxTimeVoice").checked() || Window::box(f, "CheckBoxTVoice05").checked());
        EXPECT_EQ(2, w.s.SoundHEnabled);
        EXPECT_EQ(0, w.s.VoiceEnabled);
        EXPECT_FALSE(Window::combo(f, "ComboBoxChangeVoice").enabled());

        Window::box(f, "CheckBoxSoundH05").setChecked(false);
        EXPECT_TRUE(Window::box(f, "CheckBoxSoundH").checked());
        EXPECT_EQ(1, w.s.SoundHEnabled) << "the hourly chime stays";

        Window::box(f, "CheckBoxTimeVoice").setChecked(true);
        EXPECT_EQ(0, w.s.SoundHEnabled);
        EXPECT_EQ(1, w.s.VoiceEnabled);
        Window::box(f, "CheckBoxTimeVoice").setChecked(false);
        EXPECT_EQ(0, w.s.VoiceEnabled);
    });
}

TEST(SettingsWindowRules, HotKeysAloneAreNoChangeToUndoOrToWarnAbout) {
    Window w;
    w.open([&](ui::Form& f) {
        Window::box(f, "CheckBoxGlobalHK").setChecked(false);
        EXPECT_EQ(0, w.s.GlobalHotkeys);
        EXPECT_FALSE(Window::button(f, "ButtonCancel").enabled());
        Window::press(f, "ButtonSaveBackUp");  // the dialog is cancelled
        EXPECT_FALSE(w.asked(kUnsaved));
        EXPECT_EQ(1u, w.t.ui.saveDialogs.size());
        EXPECT_TRUE(fs::is_directory(w.t.app.paths.backupDir()));

        Window::combo(f, "ComboBox1").selectFromUser(0);
        w.t.ui.answers = {ui::kIdNo};
        Window::press(f, "ButtonSaveBackUp");
        ASSERT_TRUE(w.asked(kUnsaved));
        EXPECT_EQ("Предупреждение", w.t.ui.boxes.back().caption);
        EXPECT_EQ(ui::kMbYesNo | ui::kMbIconExclamation | ui::kMbSystemModal, w.t.ui.boxes.back().flags);
        EXPECT_EQ(platform::kBeepExclamation, w.t.audio.beeps.back());
        EXPECT_EQ(1u, w.t.ui.saveDialogs.size()) << "declined: no dialog";
    });
}

TEST(SettingsWindowRules, BlackFromEitherDialogShowsDarkGrey) {
    Window w;
    ui::Font black;
    black.name = "Arial";
    black.size = 48;
    black.color = ui::kBlack;
    w.t.ui.onFont = [&](const ui::FontDialog& d) {
        EXPECT_EQ(36, d.minSize);
        EXPECT_EQ(400, d.maxSize);
        d.onApply(black);  // the dialog's Apply, while it is open
        EXPECT_EQ("Arial", w.clock.TimeMain().font().name);
        EXPECT_EQ(3289650, w.s.Color);
        return std::optional<ui::Font>(black);
    };
    w.open([&](ui::Form& f) {
        Window::press(f, "ButtonSetFont");
        EXPECT_EQ(3289650u, w.clock.TimeMain().font().color);
        EXPECT_EQ(48, w.clock.TimeMain().font().size);
        EXPECT_EQ(3289650u, f.get<ui::Panel>("Panel11").color());
        EXPECT_TRUE(Window::button(f, "ButtonCancel").enabled());

        w.s.Color = int(ui::kRed);
        w.t.ui.colorAnswer = ui::kBlack;
        f.get<ui::Panel>("Panel11").onClick();
        EXPECT_EQ(ui::kRed, w.t.ui.colorDialogs.back()) << "it starts from the clock's colour";
        EXPECT_EQ(3289650u, w.clock.TimeMain().font().color);
        EXPECT_EQ(3289650u, f.get<ui::Panel>("Panel11").color());
    });
}

// A backup load shows whatever it read through the same rules: every pair of
// chime and voice states ends with the record as loaded and the boxes agreeing.
TEST(SettingsWindowRules, ALoadedRecordIsShownAsItIs) {
    const std::vector<std::pair<int, int>> states = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}};
    for (auto [fromChime, fromVoice] : states)
        for (auto [chime, voice] : states) {
            SCOPED_TRACE(testing::Message() << fromChime << fromVoice << " -> " << chime << voice);
            Window w([&](settings::Settings& s) { s.SoundHEnabled = fromChime, s.VoiceEnabled = fromVoice; });
            w.open([&](ui::Form& f) {
                const settings::Settings earlier = w.s;
                w.s.SoundHEnabled = chime;
                w.s.VoiceEnabled = voice;
                w.s.AlphaSet = 150;
                w.s.TimeOfLow = 1;
                const settings::Settings loaded = w.s;
                w.window().showSettings(earlier);
                EXPECT_EQ(loaded, w.s);
                EXPECT_EQ(chime > 0, Window::box(f, "CheckBoxSoundH").checked());
                EXPECT_EQ(chime > 1, Window::box(f, "CheckBoxSoundH05").checked());
                EXPECT_EQ(voice > 0, Window::box(f, "CheckBoxTimeVoice").checked());
                EXPECT_EQ(voice > 1, Window::box(f, "CheckBoxTVoice05").checked());
                EXPECT_EQ(chime > 0, Window::combo(f, "ComboBoxSoundH").enabled());
                EXPECT_EQ(voice > 0, Window::combo(f, "ComboBoxChangeVoice").enabled());
                EXPECT_TRUE(Window::combo(f, "ComboBox2").enabled());
                EXPECT_EQ(150, w.opacity()) << "a steady clock takes the loaded opacity";
            });
        }
}

// ---- closing -------------------------------------------------------------------------------------

TEST(SettingsWindowClose, OkStoresEveryOtherWayBringsTheStoredSettingsBack) {
    Window w([](settings::Settings& s) { s.AlphaSet = 200, s.AutoLaunch = 1; });
    ASSERT_EQ(200, w.opacity());

    w.open([&](ui::Form& f) {
        f.get<ui::TrackBar>("TrackBar4").setPosition(150);
        EXPECT_EQ(150, w.opacity());
        Window::combo(f, "ComboBox1").selectFromUser(2);
        f.close();  // the close box
    });
    EXPECT_EQ(0, w.t.app.start.ExitMode);
    EXPECT_EQ(200, w.opacity());
    EXPECT_EQ(200, w.s.AlphaSet);
    EXPECT_EQ(1, w.s.AutoLaunch);

    w.open([&](ui::Form& f) {
        Window::box(f, "CheckBox10").setChecked(false);
        EXPECT_EQ(255, w.opacity());
        Window::box(f, "CheckBoxQE").setChecked(false);
        EXPECT_FALSE(w.clock.MainPoM().item("QuickExit").visible);
        Window::press(f, "ButtonCancel");
    });
    EXPECT_EQ(2, w.t.app.start.ExitMode);
    EXPECT_EQ(1, w.s.AlphaUsed);
    EXPECT_EQ(200, w.opacity()) << "transparency unticked and cancelled is back on the clock";
    EXPECT_TRUE(w.clock.MainPoM().item("QuickExit").visible);

    w.open([&](ui::Form& f) {
        Window::combo(f, "ComboBox2").selectFromUser(20);
        Window::press(f, "ButtonOk");
    });
    EXPECT_EQ(1, w.t.app.start.ExitMode);
    EXPECT_EQ(20, w.t.registry.dword(kSet + "\\Sound", "TimeOfLowF"));
    EXPECT_EQ(0, w.t.app.session.ShowModalRes);
}

// A value the registry does not hold (a first launch, an older settings key)
// survives a load: cancel must still take the window's change back.
TEST(SettingsWindowClose, CancelTakesBackValuesThatWereNeverStored) {
    Window w;
    w.t.registry.deleteValue(platform::Hive::CurrentUser, kSet, "AlphaSet");
    const settings::Settings before = w.s;
    w.open([&](ui::Form& f) {
        f.get<ui::TrackBar>("TrackBar4").setPosition(180);
        f.close();
    });
    EXPECT_EQ(before.AlphaSet, w.s.AlphaSet);
    EXPECT_EQ(before.AlphaSet, w.opacity());

    // A reload that fails half-way still takes the window's change off the clock.
    std::vector<std::string> others;
    w.open([&](ui::Form& f) {
        Window::box(f, "CheckBoxQE").setChecked(false);
        w.t.registry.failReadAt = 5;
        Window::press(f, "ButtonCancel");
    }, [&](ui::Form& f) { others.push_back(f.className()); });
    EXPECT_EQ(std::vector<std::string>{"TFormError"}, others);
    EXPECT_TRUE(w.s.ItemQE);
    EXPECT_TRUE(w.clock.MainPoM().item("QuickExit").visible);
}

TEST(SettingsWindowClose, EveryCloseLooksForTheNextReminder) {
    Window w;
    w.addReminder("Обед", "13", "00");
    for (const char* how : {"ButtonOk", "ButtonCancel", "close box"}) {
        SCOPED_TRACE(how);
        w.t.app.remind.NextRemindSet = true;
        w.open([&](ui::Form& f) {
            EXPECT_FALSE(w.t.app.remind.NextRemindSet) << "nothing fires meanwhile";
            Window::combo(f, "ComboBox1").selectFromUser(0);
            if (std::string(how) == "close box") f.close();
            else Window::press(f, how);
        });
        EXPECT_TRUE(w.t.app.remind.NextRemindSet);
        EXPECT_EQ(13, w.t.app.remind.NextRemindH);
    }
}

TEST(SettingsWindowClose, AWindowThatCannotBeMadeGivesBackWhatItsOpeningTook) {
    Window w;
    w.addReminder("Обед", "13", "00");
    w.t.ui.failRealize.insert("TFormSettings");
    w.clock.MainPoM().item("N2").onClick();
    EXPECT_EQ(0, w.t.app.session.ShowModalRes);
    EXPECT_TRUE(w.t.app.remind.NextRemindSet);
    EXPECT_EQ(nullptr, w.t.app.settings_window);
}

TEST(SettingsWindowClose, ASecondOpeningBringsTheOpenWindowForward) {
    Window w;
    w.open([&](ui::Form& f) {
        w.clock.MainPoM().item("N2").onClick();
        EXPECT_EQ(1, w.t.app.session.ShowModalRes);
        ASSERT_FALSE(w.t.system.broughtToFront.empty());
        EXPECT_EQ(f.handle(), w.t.system.broughtToFront.back());
    });
    EXPECT_EQ(1, std::count(w.t.ui.modalForms.begin(), w.t.ui.modalForms.end(), "TFormSettings"));
}

// ---- backups -------------------------------------------------------------------------------------

TEST(SettingsWindowBackUp, NamesAndTheSaveDialog) {
    using settingsui::BackUpName;
    EXPECT_EQ("C:\\x.txt.SetLMV", BackUpName("C:\\x.txt"));
    EXPECT_EQ("C:\\x.SETLMV", BackUpName("C:\\x.SETLMV"));
    EXPECT_EQ("C:\\a.b\\x.SetLMV", BackUpName("C:\\a.b\\x")) << "a dot in a folder is no extension";
    platform::LocalTime day;
    day.year = 2026, day.month = 12, day.day = 7;
    EXPECT_EQ("BackUp[12.07.26]", settingsui::SuggestedBackUpName(day));

    Window w;
    const fs::path dir = w.t.app.paths.backupDir();
    w.open([&](ui::Form& f) {
        const std::string taken = platform::u8string(dir / "old.SetLMV");
        w.t.ui.fileTries = {platform::u8string(dir / "old"), platform::u8string(dir / "new.txt")};
        w.t.ui.answers = {ui::kIdNo};
        fs::create_directories(dir);
        std::ofstream(platform::u8path(taken)) << "x";
        Window::press(f, "ButtonSaveBackUp");
        ASSERT_EQ(1u, w.t.ui.saveDialogs.size());
        const ui::SaveFileDialog& d = w.t.ui.saveDialogs[0];
        EXPECT_EQ("Укажите имя файла", d.title);
        EXPECT_EQ("SetLMV", d.defaultExt);
        EXPECT_EQ("BackUp[12.07.26]", d.initialName);
        EXPECT_EQ(platform::u8string(dir), d.initialDir);
        EXPECT_TRUE(w.asked("Файл уже существует. Заменить?")) << "and refused: the dialog stayed open";
        EXPECT_EQ(platform::u8string(dir / "new.txt.SetLMV"), w.t.app.backUp.BackUpFileName);
    });
}

// ---- the reminders page --------------------------------------------------------------------------

TEST(SettingsWindowReminders, AddEditAndDeleteKeepTheListCurrent) {
    Window w;
    w.open([&](ui::Form& f) {
        EXPECT_FALSE(Window::button(f, "Button2").enabled() || Window::button(f, "Button3").enabled());
        Window::press(f, "Button4");
        EXPECT_EQ(std::vector<std::string>{"09 : 30  -  Зарядка"}, w.lines(f));
        Window::press(f, "Button2");
        EXPECT_EQ(std::vector<std::string>{"09 : 30  -  Зарядка утром"}, w.lines(f));
        EXPECT_TRUE(Window::button(f, "Button3").enabled());
        const std::size_t boxes = w.t.ui.boxes.size();
        Window::press(f, "Button3");
        EXPECT_TRUE(w.lines(f).empty());
        EXPECT_EQ(boxes, w.t.ui.boxes.size()) << "deleted without a question";
        EXPECT_FALSE(Window::button(f, "Button2").enabled());
    }, [&](ui::Form& editor) {
        EXPECT_EQ(2, w.t.app.session.ShowModalRes);
        ui::Edit& name = editor.get<ui::Edit>("LabeledEdit1");
        if (name.text() == "Без названия") {
            name.setTextFromUser("Зарядка");
            editor.get<ui::Edit>("FrameTimeSet1.EditH").setTextFromUser("9");
            editor.get<ui::Edit>("FrameTimeSet1.EditM").setTextFromUser("30");
        } else {
            name.setTextFromUser(name.text() + " утром");
        }
        editor.get<ui::Button>("Button1").onClick();
    });
    EXPECT_EQ(0, w.t.app.session.ShowModalRes);
}

TEST(SettingsWindowReminders, ADoubleClickEditsOnlyOnALine) {
    Window empty;
    empty.open([&](ui::Form& f) {
        auto& list = f.get<ui::CheckListBox>("CheckListBox1");
        list.onMouseUp({ui::MouseButton::Left, 5, 10});
        list.onDblClick();
    });
    EXPECT_EQ(1u, empty.t.ui.modalForms.size()) << "no lines: nothing";

    Window w;
    w.addReminder("Обед", "13", "00");
    w.addReminder("Ужин", "19", "00");
    std::vector<std::string> edited;
    w.open([&](ui::Form& f) {
        auto& list = f.get<ui::CheckListBox>("CheckListBox1");
        ASSERT_EQ(2u, list.items().size());
        EXPECT_EQ(13, list.itemHeight);
        list.onMouseUp({ui::MouseButton::Left, 5, 2 * 13 + 2});  // just below the last line
        list.onDblClick();
        list.setItemIndex(1);
        list.onMouseUp({ui::MouseButton::Left, 5, 20});
        list.onDblClick();
    }, [&](ui::Form& editor) {
        edited.push_back(editor.get<ui::Edit>("LabeledEdit1").text());
        editor.close();
    });
    EXPECT_EQ(std::vector<std::string>{"Ужин"}, edited);
    EXPECT_EQ(1, w.t.app.remindEdit.ReminderEditMode);
}

// The number chosen before belongs to another line: without a selected line nothing is edited or deleted.
TEST(SettingsWindowReminders, WithoutASelectedLineNothingIsTouched) {
    Window w;
    w.addReminder("Обед", "13", "00");
    w.addReminder("Ужин", "19", "00");
    w.t.app.remindEdit.SelectedRemind = 2;
    w.open([&](ui::Form& f) {
        f.get<ui::CheckListBox>("CheckListBox1").setItemIndex(-1);
        Window::button(f, "Button3").onClick();
        Window::button(f, "Button2").onClick();
        EXPECT_EQ(2u, w.lines(f).size());
    });
    EXPECT_EQ(1u, w.t.ui.modalForms.size()) << "no editor";
}

TEST(SettingsWindowReminders, TickingALineStoresItsMark) {
    Window w;
    w.addReminder("Обед", "13", "00");
    w.open([&](ui::Form& f) {
        auto& list = f.get<ui::CheckListBox>("CheckListBox1");
        list.setItemChecked(0, false);
        list.onClickCheck(0);
    });
    EXPECT_EQ(0, w.t.registry.dword(reminders::RemindKeyOf(1), "RemindEnabled"));
}

// ---- the test and help buttons -------------------------------------------------------------------

TEST(SettingsWindowButtons, HelpPagesAndTheSpokenTime) {
    Window w([](settings::Settings& s) { s.VoiceEnabled = 1, s.VoiceType = "Алёна"; });
    w.makeVoice("Алёна");
    w.open([&](ui::Form& f) {
        for (const char* b : {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4"}) Window::press(f, b);
        Window::press(f, "SpeedButtonVoice");
        EXPECT_TRUE(f.visible());
        EXPECT_EQ(f.handle(), w.t.system.broughtToFront.back());
        EXPECT_FALSE(Window::button(f, "ButtonCancel").enabled());
    });
    ASSERT_EQ(4u, w.t.shell.calls.size());
    const fs::path help = w.t.app.paths.program / "Help";
    int i = 0;
    for (const char* page : {"indexSetAll.htm", "indexSetInt.htm", "indexSetSnd.htm", "indexSetRem.htm"}) {
        EXPECT_EQ(platform::u8string(help / page), w.t.shell.calls[i].target);
        EXPECT_EQ(platform::kSwShow, w.t.shell.calls[i++].show);
    }
    EXPECT_FALSE(w.t.audio.played.empty()) << "the time was spoken";
}
