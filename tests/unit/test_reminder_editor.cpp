// The reminder editor and its message editor, driven through their controls
// inside their modal loops, with the store writing to the fake registry.
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include "fakes/Fakes.h"
#include "platform/Failure.h"
#include "platform/Path.h"
#include "reminders/MessageEditor.h"
#include "reminders/ReminderEditor.h"

namespace {

namespace fs = std::filesystem;
using reminders::CheckHour;
using reminders::CheckMinute;

constexpr const char* kRangeText = "Были заданны значения времени вне диапазона! Используйте всплывающие подсказки.";
constexpr const char* kEmptyText =
    "Отключены звуковые сигналы и сообщение, напоминание пустое! Включите звуки или введите сообщение или нажмите "
    "отмену.";
constexpr const char* kTakenText = "Задание с таким временем исполнения уже существует. Введите другое время.";

void makeVoice(const fakes::TestApp& t, const std::string& name) {
    const fs::path dir = t.dir / "Sounds" / platform::u8path(name);
    fs::create_directories(dir);
    for (const char* f : sound::kVoiceFiles) std::ofstream(dir / f) << "RIFF";
}

struct Editor {
    fakes::TestApp t;
    reminders::RemindEdit& edit = t.app.remindEdit;
    reminders::EditorState& state = t.app.remindEditor;

    // Opens the editor and runs `act` inside it; `other` acts in the windows it opens.
    void open(const std::function<void(ui::Form&)>& act, reminders::EditMode mode = reminders::kAddRemind,
              int selected = 0, const std::function<void(ui::Form&)>& other = nullptr) {
        t.ui.onModal = [&](ui::Form& f) {
            if (f.className() == "TFormSign") act(f);
            else if (other) other(f);
        };
        reminders::OpenReminderEditor(t.app.editorDeps(), mode, selected);
        t.ui.onModal = nullptr;
    }
    static void time(ui::Form& f, const std::string& h, const std::string& m) {
        f.get<ui::Edit>("FrameTimeSet1.EditH").setTextFromUser(h);
        f.get<ui::Edit>("FrameTimeSet1.EditM").setTextFromUser(m);
    }
    static void ok(ui::Form& f) { f.get<ui::Button>("Button1").onClick(); }
    static ui::CheckBox& box(ui::Form& f, const char* name) { return f.get<ui::CheckBox>(name); }
    static ui::Button& button(ui::Form& f, const char* name) { return f.get<ui::Button>(name); }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : t.ui.boxes) texts.push_back(b.text);
        return texts;
    }
    std::string log() {
        std::ifstream in(t.app.guard.logFile(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::optional<std::string> stored(int n, const char* value) {
        return t.registry.string(reminders::RemindKeyOf(n), value);
    }
};

}  // namespace

// ---- the time check of "&Ок" ---------------------------------------------------------------------

TEST(ReminderEditorTime, WildcardsPaddingAndRanges) {
    for (const char* every : {"*", "**", "*5", "5*", "*0", "9*"}) EXPECT_EQ("**", CheckHour(every).hour) << every;
    EXPECT_EQ("07", CheckHour("7").hour);
    EXPECT_EQ("00", CheckHour("").hour);
    EXPECT_EQ("23", CheckHour("23").hour);
    EXPECT_FALSE(CheckHour("23").outOfRange);
    EXPECT_EQ("05", CheckMinute("5").minute);
    EXPECT_EQ("00", CheckMinute("").minute);
    // Pasted signs never reach the store as text that no time can match.
    EXPECT_EQ("05", CheckHour("+5").hour);
    EXPECT_EQ("00", CheckMinute("-0").minute);

    const reminders::TimeCheck late = CheckHour("24"), past = CheckMinute("75"), below = CheckHour("-3");
    EXPECT_TRUE(late.outOfRange && past.outOfRange && below.outOfRange);
    EXPECT_EQ("23", late.hour);
    EXPECT_EQ("59", past.minute);
    EXPECT_EQ("00", below.hour);

    for (const char* pasted : {"1a", "* ", "*a", " 5", "x"}) EXPECT_THROW(CheckHour(pasted), platform::ConversionError) << pasted;
    EXPECT_THROW(CheckMinute("*"), platform::ConversionError);
}

// ---- opening and closing ----------------------------------------------------------------------

TEST(ReminderEditorWindow, OpensAsDesignedAndGivesTheBorrowedSettingsBackHoweverItCloses) {
    Editor e;
    makeVoice(e.t, "Алёна");
    makeVoice(e.t, "Борис");
    e.t.app.settings.SoundHType = 3;
    e.t.app.settings.VoiceType = "Борис";
    e.t.app.sound.ReminderSoundPath = "C:\\a.mp3";
    int modalCount = -1;
    e.open([&](ui::Form& f) {
        modalCount = e.t.app.session.ShowModalRes;
        EXPECT_EQ("Без названия", f.get<ui::Edit>("LabeledEdit1").text());
        EXPECT_EQ("0", f.get<ui::Edit>("FrameTimeSet1.EditH").text());
        EXPECT_TRUE(Editor::box(f, "CheckBox6").checked());
        EXPECT_TRUE(Editor::box(f, "CheckBox1").checked());
        EXPECT_FALSE(Editor::box(f, "CheckBox5").checked() || Editor::box(f, "CheckBox7").checked());
        for (int d = 1; d <= 7; ++d) EXPECT_TRUE(Editor::box(f, ("SP" + std::to_string(d)).c_str()).checked());
        EXPECT_FALSE(f.get<ui::ComboBox>("ComboBox7").enabled());
        EXPECT_EQ("Борис", f.get<ui::ComboBox>("ComboBox7").text()) << "add mode: the voice in use";
        EXPECT_EQ(0, e.t.app.settings.SoundHType) << "borrowed while open";
        EXPECT_FALSE(Editor::button(f, "SpeedButton2").enabled());
        EXPECT_FALSE(f.get<ui::Button>("SpeedButton3").visible());
        // A user choice changes the settings for as long as the window is open...
        f.get<ui::ComboBox>("ComboBox6").selectFromUser(2);
        Editor::box(f, "CheckBox5").setChecked(true);
        ui::ComboBox& voices = f.get<ui::ComboBox>("ComboBox7");
        voices.selectFromUser(voices.items()[0] == "Алёна" ? 0 : 1);
        EXPECT_EQ("Алёна", e.t.app.settings.VoiceType);
        f.close();  // the close box
    });
    EXPECT_EQ(1, modalCount);
    EXPECT_EQ(0, e.t.app.session.ShowModalRes);
    // ...and not a moment longer.
    EXPECT_EQ(3, e.t.app.settings.SoundHType);
    EXPECT_EQ("Борис", e.t.app.settings.VoiceType);
    // Opening it stopped the reminder sound that played.
    EXPECT_EQ(std::string(), e.t.app.sound.ReminderSoundPath.value_or("unset"));
    ASSERT_LE(2u, e.t.audio.mci.size());
    EXPECT_EQ((std::vector<std::string>{"stop mySndR", "close mySndR"}),
              std::vector<std::string>(e.t.audio.mci.begin(), e.t.audio.mci.begin() + 2));

    e.open([&](ui::Form& f) { Editor::button(f, "Button2").onClick(); });
    EXPECT_EQ(0, e.t.app.session.ShowModalRes);
    EXPECT_EQ(3, e.t.app.settings.SoundHType);
}

TEST(ReminderEditorWindow, WithoutACompleteVoiceTheVoiceRowIsOff) {
    Editor e;
    fs::create_directories(e.t.dir / "Sounds" / "half");
    std::ofstream(e.t.dir / "Sounds" / "half" / sound::kVoiceFiles[0]) << "RIFF";
    e.open([&](ui::Form& f) {
        EXPECT_FALSE(f.get<ui::Panel>("Panel3").enabled());
        EXPECT_EQ((std::vector<std::string>{"Не найдено"}), f.get<ui::ComboBox>("ComboBox7").items());
        f.close();
    });
    EXPECT_TRUE(fs::is_directory(e.t.dir / "Sounds"));
}

TEST(ReminderEditorWindow, AWindowThatCannotBeMadeLeavesTheCountAndSettingsAlone) {
    Editor e;
    e.t.app.settings.SoundHType = 2;
    e.t.ui.failRealize.insert("TFormSign");
    EXPECT_THROW(reminders::OpenReminderEditor(e.t.app.editorDeps(), reminders::kAddRemind, 0), platform::WindowError);
    EXPECT_EQ(0, e.t.app.session.ShowModalRes);
    EXPECT_EQ(2, e.t.app.settings.SoundHType);
}

// ---- check-box rules --------------------------------------------------------------------------

TEST(ReminderEditorRules, VoiceAndSoundExcludeEachOtherAndThePreviewFollows) {
    Editor e;
    makeVoice(e.t, "Алёна");
    e.open([&](ui::Form& f) {
        ui::CheckBox &voice = Editor::box(f, "CheckBox5"), &sound = Editor::box(f, "CheckBox6");
        ui::Button& preview = Editor::button(f, "SpeedButton1");
        voice.setChecked(true);
        EXPECT_FALSE(sound.checked());
        EXPECT_TRUE(f.get<ui::ComboBox>("ComboBox7").enabled());
        EXPECT_FALSE(f.get<ui::ComboBox>("ComboBox6").enabled());
        EXPECT_TRUE(preview.enabled());
        sound.setChecked(true);
        EXPECT_FALSE(voice.checked());
        EXPECT_TRUE(f.get<ui::ComboBox>("ComboBox6").enabled());
        EXPECT_FALSE(f.get<ui::ComboBox>("ComboBox7").enabled());
        EXPECT_TRUE(preview.enabled());
        sound.setChecked(false);
        EXPECT_FALSE(voice.checked() || preview.enabled());
        f.close();
    });
}

TEST(ReminderEditorRules, AFileCountsOnlyWhileItsBoxIsTickedAndTheFileIsThere) {
    Editor e;
    const fs::path song = e.t.dir / "Песня.MP3";
    std::ofstream(song) << "ID3";
    e.t.ui.fileTries = {platform::u8string(e.t.dir / "notes.txt"), platform::u8string(song)};
    e.open([&](ui::Form& f) {
        ui::CheckBox& file = Editor::box(f, "CheckBox7");
        file.setChecked(true);
        EXPECT_TRUE(Editor::button(f, "Button6").enabled() && Editor::button(f, "Button5").enabled());
        EXPECT_FALSE(Editor::button(f, "SpeedButton2").enabled()) << "no file yet";
        Editor::button(f, "Button6").onClick();
        EXPECT_EQ(platform::u8string(song), f.get<ui::Edit>("Edit1").text());
        EXPECT_TRUE(Editor::button(f, "SpeedButton2").enabled());
        file.setChecked(false);
        EXPECT_FALSE(Editor::button(f, "SpeedButton2").enabled() || f.get<ui::Edit>("Edit1").enabled());
        fs::remove(song);
        file.setChecked(true);
        EXPECT_FALSE(Editor::button(f, "SpeedButton2").enabled()) << "the file has gone";
        f.close();
    });
    // The text file kept the dialog open with its warning; the capitals passed.
    ASSERT_EQ(1u, e.t.ui.boxes.size());
    EXPECT_EQ("Через данную функцию можно проиграть только музыкальные файлы форматов \".mp3\", \".wav\" и \".wma\"!",
              e.t.ui.boxes[0].text);
    EXPECT_EQ(0x1030u, e.t.ui.boxes[0].flags);
    EXPECT_EQ((std::vector<unsigned>{0x30}), e.t.audio.beeps);
    ASSERT_EQ(1u, e.t.ui.fileDialogs.size());
    const ui::OpenFileDialog& d = e.t.ui.fileDialogs[0];
    EXPECT_EQ("Укажите имя файла", d.title);
    ASSERT_EQ(2u, d.filter.size());
    EXPECT_EQ("*.mp3; *.wav; *.wma;", d.filter[0].second);
    EXPECT_EQ("*.*", d.filter[1].second);
}

TEST(ReminderEditorRules, OnWindows98AnMp3IsTakenWithAWarning) {
    Editor e;
    e.t.app.session.Win9xMode = true;
    std::ofstream(e.t.dir / "a.wma") << "x";
    std::ofstream(e.t.dir / "b.wav") << "x";
    e.t.ui.fileTries = {platform::u8string(e.t.dir / "a.wma")};
    e.open([&](ui::Form& f) {
        Editor::box(f, "CheckBox7").setChecked(true);
        Editor::button(f, "Button6").onClick();
        EXPECT_EQ(platform::u8string(e.t.dir / "a.wma"), f.get<ui::Edit>("Edit1").text());
        e.t.ui.fileTries = {platform::u8string(e.t.dir / "b.wav")};
        Editor::button(f, "Button6").onClick();
        f.close();
    });
    EXPECT_EQ((std::vector<std::string>{
                  "В системах Windows 98/ME корректное проигрывание файлов форматов \".mp3\" и \".wma\" не гарантируется!"}),
              e.boxTexts());
}

TEST(ReminderEditorRules, TheHourFieldTakesDigitsAndTheWildcardOnly) {
    Editor e;
    e.open([&](ui::Form& f) {
        ui::Edit& hour = f.get<ui::Edit>("FrameTimeSet1.EditH");
        ui::Edit& minute = f.get<ui::Edit>("FrameTimeSet1.EditM");
        std::string passed;
        for (int key : {'*', '7', '\b', 'a', ' ', '-', '\r'}) {
            int k = key;
            hour.onKeyPress(k);
            if (k) passed += char(k);
        }
        EXPECT_EQ("*7\b", passed);
        EXPECT_EQ(&minute, e.t.ui.peer(f).focused) << "Enter moves on";
        int star = '*';
        minute.onKeyPress(star);
        EXPECT_EQ(0, star) << "minutes have no wildcard";
        f.close();
    });
    EXPECT_EQ((std::vector<unsigned>{0, 0, 0, 0, 0}), e.t.audio.beeps);
}

// ---- previews ---------------------------------------------------------------------------------

TEST(ReminderEditorPreview, VoiceWithBothWindowsHiddenAndSystemSound) {
    Editor e;
    makeVoice(e.t, "Алёна");
    ui::Form settingsWindow("TFormSettings", "FormSettings");
    settingsWindow.show();
    bool hiddenWhileSpoken = false;
    e.t.ui.onModal = [&](ui::Form& f) {
        e.t.audio.onPlay = [&] { hiddenWhileSpoken = !f.visible() && !settingsWindow.visible(); };
        Editor::box(f, "CheckBox5").setChecked(true);
        Editor::button(f, "SpeedButton1").onClick();
        e.t.audio.onPlay = nullptr;
        EXPECT_TRUE(f.visible() && settingsWindow.visible());
        Editor::box(f, "CheckBox6").setChecked(true);
        f.get<ui::ComboBox>("ComboBox6").selectFromUser(4);
        Editor::button(f, "SpeedButton1").onClick();
        f.close();
    };
    reminders::OpenReminderEditor(e.t.app.editorDeps(), reminders::kAddRemind, 0, &settingsWindow);
    EXPECT_TRUE(hiddenWhileSpoken);
    EXPECT_FALSE(e.t.audio.played.empty());
    EXPECT_EQ((std::vector<unsigned>{0x40}), e.t.audio.beeps) << "Звездочка";
}

TEST(ReminderEditorPreview, TheFilePlaysUntilItStopsAndAPageChangeOrOkStopsIt) {
    Editor e;
    const fs::path song = e.t.dir / "a.wav";
    std::ofstream(song) << "RIFF";
    e.t.ui.fileTries = {platform::u8string(song)};
    e.open([&](ui::Form& f) {
        fakes::Scheduler sched(e.t.clock, &e.t.ui);
        sched.watch(f);
        Editor::box(f, "CheckBox7").setChecked(true);
        Editor::button(f, "Button6").onClick();
        e.t.audio.mci.clear();
        e.t.audio.statusReplies = {"playing", "playing", "stopped"};
        Editor::button(f, "SpeedButton2").onClick();
        EXPECT_TRUE(f.get<ui::Button>("SpeedButton3").visible());
        EXPECT_FALSE(f.get<ui::Button>("SpeedButton2").visible());
        sched.run(500);
        EXPECT_EQ(3, sched.fired("Timer1")) << "polled until the end, then no more";
        EXPECT_TRUE(f.get<ui::Button>("SpeedButton2").visible());
        EXPECT_EQ((std::vector<std::string>{"open \"" + platform::u8string(song) + "\" alias mySnd", "play mySnd",
                                            "status mySnd mode", "status mySnd mode", "status mySnd mode",
                                            "stop mySnd", "close mySnd"}),
                  e.t.audio.mci);

        Editor::button(f, "SpeedButton2").onClick();
        f.get<ui::PageControl>("PageControl1").onChange();
        EXPECT_EQ("close mySnd", e.t.audio.mci.back());
        EXPECT_EQ(std::string(), e.state.PreviewSoundPath.value_or("unset"));

        // A file the device refuses shows no stop button for silence.
        e.t.audio.refuseMci = "open";
        Editor::button(f, "SpeedButton2").onClick();
        EXPECT_TRUE(f.get<ui::Button>("SpeedButton2").visible());
        EXPECT_FALSE(f.timer("Timer1").enabled());
        e.t.audio.refuseMci.clear();
        Editor::button(f, "SpeedButton2").onClick();
        f.close();  // the close box, while it plays
    });
    EXPECT_EQ((std::vector<std::string>{"play mySnd", "stop mySnd", "close mySnd"}),
              std::vector<std::string>(e.t.audio.mci.end() - 3, e.t.audio.mci.end()));
}

// ---- "&Ок" ------------------------------------------------------------------------------------

TEST(ReminderEditorOk, OutOfRangeIsCorrectedAndToldAndNothingIsStored) {
    Editor e;
    e.open([&](ui::Form& f) {
        Editor::time(f, "24", "75");
        Editor::ok(f);
        EXPECT_FALSE(f.closed());
        EXPECT_EQ("23", f.get<ui::Edit>("FrameTimeSet1.EditH").text());
        EXPECT_EQ("59", f.get<ui::Edit>("FrameTimeSet1.EditM").text());
        EXPECT_EQ(0, e.t.registry.dword(reminders::kRemindKey, "RemindCount").value_or(0));
        Editor::ok(f);  // as corrected
        EXPECT_TRUE(f.closed());
    });
    EXPECT_EQ("23", e.stored(1, "TimeH").value_or("-"));
    EXPECT_EQ("59", e.stored(1, "TimeM").value_or("-"));
    ASSERT_EQ(1u, e.t.ui.boxes.size());
    EXPECT_EQ(kRangeText, e.t.ui.boxes[0].text);
    EXPECT_EQ("Ошибка...", e.t.ui.boxes[0].caption);
    EXPECT_EQ(0x1010u, e.t.ui.boxes[0].flags);
}

TEST(ReminderEditorOk, APastedNonNumberIsLoggedAndNothingIsStored) {
    Editor e;
    e.open([&](ui::Form& f) {
        Editor::time(f, "12", "1a");
        Editor::ok(f);
        EXPECT_FALSE(f.closed());
        f.close();
    });
    EXPECT_TRUE(e.t.ui.boxes.empty());
    EXPECT_NE(std::string::npos, e.log().find("0.019 - 006.0"));
    EXPECT_NE(std::string::npos, e.log().find("ConversionError"));
    EXPECT_EQ(0, e.t.registry.dword(reminders::kRemindKey, "RemindCount").value_or(0));
}

TEST(ReminderEditorOk, AnEmptyReminderIsRefused) {
    Editor e;
    e.open([&](ui::Form& f) {
        Editor::box(f, "CheckBox6").setChecked(false);
        Editor::ok(f);
        EXPECT_FALSE(f.closed());
        f.close();
    });
    EXPECT_EQ((std::vector<std::string>{kEmptyText}), e.boxTexts());
    EXPECT_EQ(0x1010u, e.t.ui.boxes[0].flags);
    EXPECT_EQ(0, e.t.registry.dword(reminders::kRemindKey, "RemindCount").value_or(0));
}

TEST(ReminderEditorOk, StoresTheNormalisedTimeAndWhatTheBoxesSay) {
    Editor e;
    makeVoice(e.t, "Алёна");
    e.open([&](ui::Form& f) {
        f.get<ui::Edit>("LabeledEdit1").setTextFromUser("Чай");
        Editor::time(f, "*5", "5");
        Editor::box(f, "SP2").setChecked(false);
        Editor::box(f, "SP7").setChecked(false);
        Editor::ok(f);
        EXPECT_TRUE(f.closed());
    });
    e.open([&](ui::Form& f) {
        Editor::time(f, "7", "");
        Editor::box(f, "CheckBox5").setChecked(true);
        Editor::box(f, "CheckBox4").setChecked(true);
        Editor::ok(f);
    });
    EXPECT_EQ(2, e.t.registry.dword(reminders::kRemindKey, "RemindCount").value_or(0));
    EXPECT_EQ("Чай", e.stored(1, "Name").value_or("-"));
    EXPECT_EQ("**", e.stored(1, "TimeH").value_or("-"));
    EXPECT_EQ("05", e.stored(1, "TimeM").value_or("-"));
    const std::string first = reminders::RemindKeyOf(1), second = reminders::RemindKeyOf(2);
    EXPECT_EQ(0, e.t.registry.dword(first, "SoundType").value_or(-1));
    EXPECT_FALSE(e.stored(1, "VoiceType"));
    EXPECT_EQ(1, e.t.registry.dword(first, "IgnoreLowTime").value_or(-1));
    EXPECT_TRUE(e.t.registry.dword(first, "MD2") && e.t.registry.dword(first, "MD7"));
    EXPECT_FALSE(e.t.registry.dword(first, "MD1"));
    EXPECT_FALSE(e.t.registry.dword(first, "MsgCaption") || e.stored(1, "SoundFile"));

    EXPECT_EQ("07", e.stored(2, "TimeH").value_or("-"));
    EXPECT_EQ("00", e.stored(2, "TimeM").value_or("-"));
    EXPECT_EQ("Алёна", e.stored(2, "VoiceType").value_or("-"));
    EXPECT_FALSE(e.t.registry.dword(second, "SoundType")) << "the voice unticked the sound";
    EXPECT_EQ(1, e.t.registry.dword(second, "OneLaunch").value_or(-1));
}

TEST(ReminderEditorOk, ATimeTakenIsRefusedOnTheTimePageBothWays) {
    Editor e;
    auto add = [&](const std::string& h, const std::string& m) {
        bool closed = false;
        e.open([&](ui::Form& f) {
            Editor::time(f, h, m);
            f.get<ui::PageControl>("PageControl1").setActivePage(1);
            Editor::ok(f);
            closed = f.closed();
            if (!closed) {
                EXPECT_EQ(0, f.get<ui::PageControl>("PageControl1").activePage());
                f.close();
            }
        });
        return closed;
    };
    EXPECT_TRUE(add("15", "20"));
    EXPECT_FALSE(add("*", "20"));
    EXPECT_TRUE(add("15", "21"));
    EXPECT_TRUE(add("**", "30"));
    EXPECT_FALSE(add("9", "30"));
    EXPECT_EQ((std::vector<std::string>{kTakenText, kTakenText}), e.boxTexts());
    EXPECT_EQ(3, e.t.registry.dword(reminders::kRemindKey, "RemindCount").value_or(0));
}

TEST(ReminderEditorLoad, EditingShowsTheStoredReminderAndKeepsItsOwnTime) {
    Editor e;
    makeVoice(e.t, "Алёна");
    makeVoice(e.t, "Борис");
    const fs::path song = e.t.dir / "a.wav";
    std::ofstream(song) << "RIFF";
    const std::string key = reminders::RemindKeyOf(1);
    e.t.registry.putDword(reminders::kRemindKey, "RemindCount", 1);
    e.t.registry.putString(key, "Name", "Зарядка");
    e.t.registry.putString(key, "TimeH", "08");
    e.t.registry.putString(key, "TimeM", "30");
    e.t.registry.putString(key, "VoiceType", "Удалённый");
    e.t.registry.putString(key, "SoundFile", platform::u8string(song));
    e.t.registry.putString(key, "MsgCaption", "Пора");
    e.t.registry.putString(key, "MsgText", "Вставай\r\n");
    e.t.registry.putDword(key, "MsgIcon", 1);
    e.t.registry.putDword(key, "MD6", 0);
    e.t.registry.putDword(key, "IgnoreLowTime", 0);
    e.open([&](ui::Form& f) {
        EXPECT_EQ("Зарядка", f.get<ui::Edit>("LabeledEdit1").text());
        EXPECT_EQ("08", f.get<ui::Edit>("FrameTimeSet1.EditH").text()) << "put in at the first paint";
        EXPECT_TRUE(Editor::box(f, "CheckBox5").checked());
        EXPECT_FALSE(Editor::box(f, "CheckBox6").checked());
        EXPECT_EQ("Удалённый", f.get<ui::ComboBox>("ComboBox7").text()) << "a voice no longer there: kept";
        EXPECT_TRUE(Editor::box(f, "CheckBox7").checked());
        EXPECT_TRUE(Editor::button(f, "SpeedButton2").enabled());
        EXPECT_TRUE(Editor::box(f, "CheckBox2").checked());
        EXPECT_FALSE(Editor::box(f, "CheckBox1").checked());
        EXPECT_FALSE(Editor::box(f, "SP6").checked());
        EXPECT_TRUE(Editor::box(f, "SP5").checked());
        EXPECT_FALSE(e.edit.RemindLoading);
        Editor::ok(f);
        EXPECT_TRUE(f.closed()) << "its own time is no collision";
    }, reminders::kEditRemind, 1);
    e.open([&](ui::Form& f) {
        Editor::time(f, "9", "30");
        f.paint();
        EXPECT_EQ("9", f.get<ui::Edit>("FrameTimeSet1.EditH").text()) << "later paints leave the user's hour";
        Editor::ok(f);
    }, reminders::kEditRemind, 1);
    EXPECT_EQ(2u, e.t.ui.modalForms.size()) << "loading a message opens no message editor";
    EXPECT_EQ("09", e.stored(1, "TimeH").value_or("-"));
    EXPECT_EQ(1, e.state.RemindMsgSet);
    EXPECT_EQ(1, e.t.registry.dword(reminders::kRemindKey, "RemindCount").value_or(0));
    EXPECT_EQ("Пора", e.stored(1, "MsgCaption").value_or("-"));
    EXPECT_EQ(platform::u8string(song), e.stored(1, "SoundFile").value_or("-"));
    EXPECT_TRUE(e.stored(1, "VoiceType"));
    EXPECT_TRUE(e.t.registry.dword(key, "MD6"));
    EXPECT_FALSE(e.t.registry.dword(key, "MD5"));
}

// ---- the message editor -----------------------------------------------------------------------

TEST(MessageEditor, FirstMessageOkKeepsTheBoxTickedAndCancelLeavesTheMessageAlone) {
    Editor e;
    bool blankFirst = false;
    e.open(
        [&](ui::Form& f) {
            ui::CheckBox& show = Editor::box(f, "CheckBox2");
            show.setChecked(true);
            EXPECT_TRUE(show.checked()) << "Ok keeps it";
            show.setChecked(false);
            show.setChecked(true);
            EXPECT_FALSE(show.checked()) << "cancel unticks it";
            f.close();
        },
        reminders::kAddRemind, 0,
        [&, run = 0](ui::Form& m) mutable {
            ui::Edit& caption = m.get<ui::Edit>("LabeledEdit1");
            ui::Memo& text = m.get<ui::Memo>("Memo1");
            if (run++ == 0) {
                blankFirst = caption.text() == "Внимание..." && text.lines().empty() &&
                             m.get<ui::ComboBox>("CBIcon").itemIndex() == 0;
                EXPECT_EQ(40, caption.maxLength);
                caption.setTextFromUser("Обед");
                text.setLinesFromUser({"Пора", ""});
                m.get<ui::ComboBox>("CBIcon").selectFromUser(2);
                m.get<ui::Button>("Button1").onClick();  // preview
                m.get<ui::Button>("Button2").onClick();
                return;
            }
            // The next opening starts from the message accepted before.
            EXPECT_EQ("Обед", caption.text());
            EXPECT_EQ((std::vector<std::string>{"Пора", ""}), text.lines());
            caption.setTextFromUser("Другое");
            m.get<ui::Button>("Button3").onClick();
        });
    EXPECT_TRUE(blankFirst);
    EXPECT_EQ("Обед", e.edit.RemindMsgCaption);
    EXPECT_EQ("Пора\r\n\r\n", e.edit.RemindMsgText);
    EXPECT_EQ(2, e.edit.RemindMsgIcon);
    EXPECT_EQ(1, e.state.RemindMsgSet);
    ASSERT_EQ(1u, e.t.ui.boxes.size());
    EXPECT_EQ("Обед", e.t.ui.boxes[0].caption);
    EXPECT_EQ("Пора\r\n\r\n", e.t.ui.boxes[0].text);
    EXPECT_EQ(0x30u, e.t.ui.boxes[0].flags);
}

TEST(MessageEditor, TheCloseBoxCancelsAndABadStoredIconShowsAsNone) {
    Editor e;
    e.state.RemindMsgSet = 1;
    e.edit.RemindMsgCaption = "Старое";
    e.edit.RemindMsgText = "a\r\nb\r\n";
    e.edit.RemindMsgIcon = 9;
    e.open([&](ui::Form& f) {
        Editor::box(f, "CheckBox2").setChecked(true);
        EXPECT_FALSE(Editor::box(f, "CheckBox2").checked());
        f.close();
    }, reminders::kAddRemind, 0, [&](ui::Form& m) {
        EXPECT_EQ((std::vector<std::string>{"a", "b"}), m.get<ui::Memo>("Memo1").lines());
        EXPECT_EQ(0, m.get<ui::ComboBox>("CBIcon").itemIndex());
        m.get<ui::Edit>("LabeledEdit1").setTextFromUser("Новое");
        m.close();
    });
    EXPECT_EQ("Старое", e.edit.RemindMsgCaption);
    EXPECT_EQ(9, e.edit.RemindMsgIcon);
    EXPECT_EQ(0, e.state.RemindMsgAccepted);
}

TEST(MessageEditor, TheTextGoesBackLineByLine) {
    EXPECT_EQ((std::vector<std::string>{"a", "", "b"}), reminders::MessageLines("a\r\n\r\nb"));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), reminders::MessageLines("a\nb\r\n")) << "a bare line feed too";
    EXPECT_EQ("", reminders::MessageText({}));
}

TEST(ReminderEditorOk, TheSettingsListShowsTheStoredReminderAtOnce) {
    Editor e;
    ui::Form settings("TFormSettings", "FormSettings");
    auto& list = settings.add(std::make_unique<ui::CheckListBox>("CheckListBox1"));
    auto& change = settings.add(std::make_unique<ui::Button>("Button2"));
    auto& remove = settings.add(std::make_unique<ui::Button>("Button3"));
    const reminders::ListView view{list, change, remove};
    e.t.ui.onModal = [](ui::Form& f) {
        Editor::time(f, "9", "5");
        Editor::ok(f);
    };
    reminders::OpenReminderEditor(e.t.app.editorDeps(), reminders::kAddRemind, 0, &settings, &view);
    ASSERT_EQ(1u, list.items().size());
    EXPECT_EQ("09 : 05  -  Без названия", list.items()[0].text);
    EXPECT_TRUE(list.items()[0].checked);
}

// Opened on a stored reminder and closed with "&Ок", the editor stores back
// exactly what was there: no sound it did not have, its own voice even when
// that voice is not installed here.
TEST(ReminderEditorLoad, OkWithoutAChangeStoresTheReminderBackAsItWas) {
    const auto with = [](auto change) {
        reminders::Reminder r;
        r.TimeH = "08";
        r.TimeM = "30";
        change(r);
        return r;
    };
    const struct {
        const char* what;
        bool voices;
        reminders::Reminder stored;
    } cases[] = {
        {"a message only", true, with([](auto& r) { r.Msg = reminders::Message{"Пора", "Вставай", 2}; })},
        {"a system sound", true, with([](auto& r) { r.SoundType = 3; r.IgnoreLowTime = true; })},
        {"a voice", true, with([](auto& r) { r.VoiceType = "Борис"; r.Days[5] = false; })},
        {"a voice not installed", true, with([](auto& r) { r.VoiceType = "Удалённый"; })},
        {"a voice, none installed", false, with([](auto& r) { r.VoiceType = "Борис"; r.OneLaunch = true; })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Editor e;
        for (const char* voice : {"Алёна", "Борис"})
            if (c.voices) makeVoice(e.t, voice);
        ASSERT_EQ(1, e.t.app.remindStore.AddRemind(c.stored));
        const auto before = e.t.registry.readAll(platform::Hive::CurrentUser, reminders::RemindKeyOf(1));
        e.open([&](ui::Form& f) {
            const std::string voice = f.get<ui::ComboBox>("ComboBox7").text();
            EXPECT_EQ(c.stored.VoiceType.value_or(voice), voice);
            Editor::ok(f);
            EXPECT_TRUE(f.closed());
        }, reminders::kEditRemind, 1);
        EXPECT_EQ(before, e.t.registry.readAll(platform::Hive::CurrentUser, reminders::RemindKeyOf(1)));
    }
}
