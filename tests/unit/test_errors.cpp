#include <gtest/gtest.h>
#include <fstream>
#include <map>
#include <sstream>
#include "errors/Dump.h"
#include "errors/ErrorLog.h"
#include "errors/Guard.h"
#include "platform/Audio.h"
#include "fakes/Fakes.h"
#include "forms/Forms.h"
#include "platform/Failure.h"
#include "platform/Path.h"
#include "settings/Ini.h"
#include "settingsui/ExitMode.h"

namespace fs = std::filesystem;

namespace {
std::string readFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}
std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            out.push_back(text.substr(pos));
            break;
        }
        out.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return out;
}
void fail(app::App& a, const char* code, const std::function<errors::Dump()>& dump = {}) {
    const errors::Code c{code, 0, errors::Step, "a failing routine"};
    a.guard(c, [&] {
        a.guard.step(3);
        throw platform::RegistryError("boom");
    }, [&] { return dump ? dump() : errors::Dump(); });
}
}  // namespace

TEST(Dump, PairsBooleansAndLabelsWithoutEquals) {
    EXPECT_EQ(errors::Dump().add("QSDWork", 1).add("QSDWTimerH", 0).text(), "\"QSDWork=\"1/\"QSDWTimerH=\"0");
    EXPECT_EQ(errors::Dump().add("ErrLaunchMsg", true).add("move", false).text(), "\"ErrLaunchMsg=\"-1/\"move=\"0");
    EXPECT_EQ(errors::Dump().add("ShowModalRes", 2, false).add("LMVName", "Lumivo.XP", false).text(),
              "\"ShowModalRes\"2/\"LMVName\"Lumivo.XP");
    EXPECT_EQ(errors::Dump().add("TimeText", std::string("9:05")).text(), "\"TimeText=\"9:05");
    EXPECT_EQ(errors::Dump().add("ExitMode", settingsui::kExitCancel).text(), "\"ExitMode=\"2") << "a number, no boolean";
}

TEST(ErrorCode, StepAppendedOrFixed) {
    EXPECT_EQ(errors::errorCode("0.013 - 005.", 3, true), "0.013 - 005.3");
    EXPECT_EQ(errors::errorCode("0.001 - 035.0", 7, false), "0.001 - 035.0");
}

TEST(ErrorLog, RecordLayout) {
    errors::RecordFields r;
    r.time.year = 2026; r.time.month = 12; r.time.day = 7; r.time.hour = 14; r.time.minute = 5; r.time.second = 9;
    r.LMVName = "Lumivo.XP"; r.LMVVersion = "1.1.9x.ru"; r.LMVVersionName = "Relaze"; r.WinV = "10.0.19045";
    r.user = "n/a"; r.computer = "PC1"; r.code = "0.001 - 005.2"; r.className = "RegistryError"; r.dump = "";
    const auto l = lines(errors::formatRecord(r));
    ASSERT_EQ(l.size(), 10u);
    EXPECT_EQ(l[0], std::string(73, '='));
    EXPECT_EQ(l[1], "14:05:09 [12/07/2026]");
    EXPECT_EQ(l[2], "LMVN = Lumivo.XP");
    EXPECT_EQ(l[3], "LMVV = 1.1.9x.ru [Relaze]");
    EXPECT_EQ(l[4], "WinV = 10.0.19045");
    EXPECT_EQ(l[5], "User = n/a");
    EXPECT_EQ(l[6], "PC = PC1");
    EXPECT_EQ(l[7], "Adress = 0.001 - 005.2");
    EXPECT_EQ(l[8], "Type = RegistryError");
    EXPECT_EQ(l[9], "Dump = \"\"");
}

TEST(ErrorLog, FirstFailureCreatesTheFolderAndOneRecordSecondIsAppended) {
    fakes::TestApp t;
    t.app.session.LMVName = "Lumivo.XP";
    t.system.user = "Иван";
    const fs::path log = t.dir / "Error" / "Debug.Log";
    ASSERT_FALSE(fs::exists(t.dir / "Error"));
    fail(t.app, "0.001 - 002.", [] { return errors::Dump().add("FEExit", 0).add("ErrLaunchMsg", true); });
    std::string text = readFile(log);
    auto l = lines(text);
    ASSERT_EQ(l.size(), 10u);
    EXPECT_EQ(l[5], "User = Иван");
    EXPECT_EQ(l[7], "Adress = 0.001 - 002.3");
    EXPECT_EQ(l[8], "Type = RegistryError");
    EXPECT_EQ(l[9], "Dump = \"\"FEExit=\"0/\"ErrLaunchMsg=\"-1\"");
    // The window showed the code and class, then the user closed it.
    ASSERT_EQ(t.ui.modalForms.size(), 1u);
    EXPECT_EQ(t.ui.modalForms[0], "TFormError");
    EXPECT_EQ(t.audio.beeps.back(), platform::kBeepHand);
    EXPECT_EQ(t.app.session.ShowModalRes, 0);
    EXPECT_FALSE(t.app.err.ErrorWindowOpen);

    t.clock.advance(1000);
    fail(t.app, "0.001 - 005.");
    text = readFile(log);
    l = lines(text);
    ASSERT_EQ(l.size(), 20u);
    EXPECT_EQ(l[7], "Adress = 0.001 - 002.3");
    EXPECT_EQ(l[17], "Adress = 0.001 - 005.3");
}

TEST(ErrorLog, WindowShowsCodeAndClassName) {
    fakes::TestApp t;
    std::string label;
    t.ui.onModal = [&](ui::Form& f) { label = f.get<ui::Label>("Label2").caption(); };
    t.app.guard(errors::code::ErrTest, [] { throw platform::AbortError("stop"); });
    EXPECT_EQ(label, "Внутренний код ошибки: 0.001 - Test[AbortError]");
}

TEST(ErrorLog, FailuresWhileTheWindowIsOpenAreDropped) {
    fakes::TestApp t;
    int inner = 0;
    t.ui.onModal = [&](ui::Form&) {
        ++inner;
        EXPECT_TRUE(t.app.err.ErrorWindowOpen);
        EXPECT_EQ(t.app.session.ShowModalRes, 1);
        fail(t.app, "0.001 - 005.");  // a tick failing behind the window
    };
    fail(t.app, "0.001 - 002.");
    EXPECT_EQ(inner, 1) << "no second window";
    const auto l = lines(readFile(t.dir / "Error" / "Debug.Log"));
    EXPECT_EQ(l.size(), 10u);
    EXPECT_EQ(t.app.session.ShowModalRes, 0);
}

TEST(ErrorLog, NamesTheSystemCannotReportReadNa) {
    fakes::TestApp t;
    t.system.user.clear();
    t.system.computer.clear();
    fail(t.app, "0.001 - 002.");
    const auto l = lines(readFile(t.dir / "Error" / "Debug.Log"));
    EXPECT_EQ(l[5], "User = n/a");
    EXPECT_EQ(l[6], "PC = n/a");
}

TEST(Guard, StopsTheBodyAndNamesTheFailure) {
    fakes::TestApp t;
    bool after = false;
    EXPECT_FALSE(t.app.guard(errors::code::StoreSettings, [&] {
        throw std::out_of_range("x");
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_TRUE(t.app.guard(errors::code::StoreSettings, [] {}));
    const auto l = lines(readFile(t.dir / "Error" / "Debug.Log"));
    EXPECT_EQ(l[7], "Adress = 0.013 - 005.0");
    EXPECT_EQ(l[8], "Type = std::out_of_range");
}

TEST(Paths, UnwritableProgramFolderMovesFilesToLocalAppData) {
    fakes::TestApp t;
    // A file where the folder should be: nothing can be created below it.
    fs::remove_all(t.dir / "TempFiles");
    std::ofstream(t.dir / "TempFiles") << "x";
    t.app.choosePaths();
    EXPECT_EQ(t.app.paths.writable, t.dir / "LocalAppData" / "Lumivo");
    EXPECT_EQ(t.app.paths.program, t.dir);
    fail(t.app, "0.001 - 002.");
    EXPECT_TRUE(fs::exists(t.dir / "LocalAppData" / "Lumivo" / "Error" / "Debug.Log"));
}

TEST(Paths, LogThatCannotBeWrittenAnywhereDoesNotStopTheProgram) {
    fakes::TestApp t;
    std::ofstream(t.dir / "blocker") << "x";
    t.app.paths.writable = t.dir / "blocker";  // Error\ cannot exist below a file
    fail(t.app, "0.001 - 002.");
    EXPECT_EQ(t.ui.modalForms.size(), 1u) << "the user still learns of the failure";
    EXPECT_EQ(t.app.session.ShowModalRes, 0);
}

TEST(Guard, AnInnerRoutineGivesTheOuterOneItsStepBack) {
    fakes::TestApp t;
    const errors::Code outer{"0.001 - 005.", 1, errors::Step, "outer"};
    t.app.guard(outer, [&] {
        t.app.guard.step(4);
        t.app.guard(errors::code::PlayChimeSound, [] {});  // sets its own step 0
        throw platform::SoundError("after the inner call");
    });
    const auto l = lines(readFile(t.dir / "Error" / "Debug.Log"));
    EXPECT_EQ(l[7], "Adress = 0.001 - 005.4");
}

// The record's names come from the system; a query that fails is a failure
// of its own, with its own code, and the record reads n/a.
TEST(ErrorLog, FailingNameQueriesAreLoggedWithTheirOwnCodes) {
    fakes::TestApp t;
    t.system.userFails = true;
    t.system.computerFails = true;
    fail(t.app, "0.001 - 002.");
    const auto l = lines(readFile(t.dir / "Error" / "Debug.Log"));
    ASSERT_EQ(l.size(), 30u);
    EXPECT_EQ(l[7], "Adress = 0.054 - 001.0");
    EXPECT_EQ(l[8], "Type = SystemError");
    EXPECT_EQ(l[17], "Adress = 0.054 - 008.0");
    EXPECT_EQ(l[27], "Adress = 0.001 - 002.3");
    for (std::size_t record = 0; record < 3; ++record) {
        EXPECT_EQ(l[record * 10 + 5], "User = n/a");
        EXPECT_EQ(l[record * 10 + 6], "PC = n/a");
    }
    EXPECT_EQ(t.app.session.ShowModalRes, 0);
    EXPECT_FALSE(t.app.err.ErrorWindowOpen);
}

TEST(ErrorLog, WithoutItsWindowTheUserStillLearnsTheCode) {
    fakes::TestApp t;
    t.ui.failRealize.insert("TFormError");
    bool droppedMeanwhile = false;
    t.ui.onBox = [&] {
        fail(t.app, "0.001 - 005.");  // a tick failing behind the box
        droppedMeanwhile = t.ui.boxes.size() == 1;
    };
    fail(t.app, "0.001 - 002.");
    ASSERT_EQ(t.ui.boxes.size(), 1u);
    EXPECT_EQ(t.ui.boxes[0].text, "Внутренний код ошибки: 0.001 - 002.3[RegistryError]");
    EXPECT_EQ(t.ui.boxes[0].flags, ui::kMbIconHand | ui::kMbSystemModal);
    EXPECT_TRUE(droppedMeanwhile);
    EXPECT_EQ(t.app.session.ShowModalRes, 0);
    EXPECT_FALSE(t.app.err.ErrorWindowOpen);
    t.ui.failRealize.clear();
    t.ui.onBox = nullptr;
    fail(t.app, "0.001 - 005.");
    EXPECT_EQ(t.ui.modalForms, std::vector<std::string>{"TFormError"}) << "the next failure has its window again";
}

// ---- the error window's commands ----------------------------------------------------------------

namespace {
ui::Button& button(ui::Form& f, const char* name) { return f.get<ui::Button>(name); }

// A clock window as the error window's restart sees it.
struct FakeClockLink {
    std::string caption = "Lumivo";
    void attach(errors::Guard& g) {
        g.clock = {[this] { return caption; }, [this](const std::string& c) { caption = c; },
                   [] { return platform::WindowId(77); }};
    }
};

void writeFile(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}
}  // namespace

TEST(ErrorWindow, IgnoreReturnsAndTheNextFailureOpensANewWindow) {
    fakes::TestApp t;
    t.ui.onModal = [](ui::Form& f) { button(f, "Button3").onClick(); };
    fail(t.app, "0.001 - 002.");
    EXPECT_FALSE(t.app.err.ErrorWindowOpen);
    EXPECT_EQ(t.app.session.ShowModalRes, 0);
    fail(t.app, "0.001 - 005.");
    EXPECT_EQ(t.ui.modalForms, (std::vector<std::string>{"TFormError", "TFormError"}));
    EXPECT_TRUE(t.ui.boxes.empty()) << "no stand-in box";
    EXPECT_EQ(lines(readFile(t.dir / "Error" / "Debug.Log")).size(), 20u);
}

TEST(ErrorWindow, EndingTheMessageLoopCountsAsClosed) {
    fakes::TestApp t;
    t.ui.onModal = [&](ui::Form& f) {
        button(f, "Button2").onClick();
        EXPECT_TRUE(t.ui.terminated());
    };
    fail(t.app, "0.001 - 002.");
    EXPECT_FALSE(t.app.err.ErrorWindowOpen);
    EXPECT_EQ(t.app.session.ShowModalRes, 0);
    EXPECT_TRUE(t.ui.boxes.empty());

    // The restart hand-over ends the loop with the window hidden, never closed.
    fakes::TestApp u;
    u.ui.onModal = [](ui::Form& f) { f.destroy(); };
    fail(u.app, "0.001 - 002.");
    EXPECT_FALSE(u.app.err.ErrorWindowOpen);
    EXPECT_EQ(u.app.session.ShowModalRes, 0);
    EXPECT_TRUE(u.ui.boxes.empty()) << "no stand-in box after the window was shown";
}

TEST(ErrorWindow, ReportMailsTheLogOnceAndReplacesTheSentCopy) {
    fakes::TestApp t;
    const fs::path dir = t.dir / "Error";
    writeFile(dir / "SendingDebug.Log", "an older report");
    bool hiddenDuringMail = false;
    t.ui.onModal = [&](ui::Form& f) {
        t.mail.during = [&] { hiddenDuringMail = !f.visible(); };
        button(f, "Button4").onClick();
        EXPECT_TRUE(f.visible()) << "shown again after the mail";
        EXPECT_FALSE(button(f, "Button4").enabled());
        button(f, "Button3").onClick();
    };
    fail(t.app, "0.001 - 002.");
    ASSERT_EQ(t.ui.boxes.size(), 1u);
    EXPECT_EQ(t.ui.boxes[0].caption, "Предупреждение...");
    EXPECT_EQ(t.ui.boxes[0].flags, 0x1030u);
    EXPECT_EQ(t.ui.boxes[0].text.rfind("Не изменяйте содержимое вложенного файла.", 0), 0u);
    ASSERT_EQ(t.mail.sent.size(), 1u);
    EXPECT_EQ(t.mail.sent[0].subject, "Отчет об ошибках");
    EXPECT_EQ(t.mail.sent[0].recipientAddress, forms::kSupportEmail);
    EXPECT_EQ(t.mail.sent[0].attachmentPath, platform::u8string(dir / "Debug.Log"));
    EXPECT_TRUE(hiddenDuringMail);
    EXPECT_FALSE(fs::exists(dir / "Debug.Log"));
    EXPECT_EQ(lines(readFile(dir / "SendingDebug.Log")).size(), 10u) << "the old copy replaced";

    t.ui.onModal = {};
    fail(t.app, "0.001 - 005.");
    EXPECT_EQ(lines(readFile(dir / "Debug.Log")).size(), 10u) << "the next failure starts a new log";
}

TEST(ErrorWindow, WithoutAMailProgramTheLogIsShownInItsFolderAndKept) {
    fakes::TestApp t;
    t.mail.present = false;
    t.ui.onModal = [](ui::Form& f) { button(f, "Button4").onClick(); };
    fail(t.app, "0.001 - 002.");
    const std::string log = platform::u8string(t.dir / "Error" / "Debug.Log");
    ASSERT_EQ(t.shell.calls.size(), 1u);
    EXPECT_EQ(t.shell.calls[0].target, "explorer.exe");
    EXPECT_EQ(t.shell.calls[0].params, "/select,\"" + log + "\"");
    ASSERT_EQ(t.ui.boxes.size(), 2u);
    EXPECT_NE(t.ui.boxes[1].text.find(forms::kSupportEmail), std::string::npos);
    EXPECT_TRUE(fs::exists(log));
    EXPECT_FALSE(fs::exists(t.dir / "Error" / "SendingDebug.Log"));
}

TEST(ErrorWindow, RestartStartsOurOwnFileAndAFailedStartShowsTheWindowAgain) {
    fakes::TestApp t;
    FakeClockLink clock;
    clock.attach(t.app.guard);
    t.ui.onModal = [&](ui::Form& f) {
        button(f, "Button1").onClick();
        EXPECT_FALSE(f.visible()) << "hidden until the new copy hands over";
        EXPECT_FALSE(f.closed());
        EXPECT_TRUE(t.app.err.ErrorWindowOpen);
    };
    fail(t.app, "0.001 - 002.");
    EXPECT_EQ(clock.caption, "LumivoError");
    ASSERT_EQ(t.shell.calls.size(), 1u);
    EXPECT_EQ(t.shell.calls[0].target, platform::u8string(t.system.exe));
    EXPECT_EQ(t.shell.calls[0].folder, platform::u8string(t.dir));
    EXPECT_EQ(t.shell.calls[0].owner, platform::WindowId(77));

    fakes::TestApp u;
    FakeClockLink other;
    other.attach(u.app.guard);
    u.shell.result = false;
    u.ui.onModal = [&](ui::Form& f) {
        button(f, "Button1").onClick();
        EXPECT_TRUE(f.visible());
        EXPECT_EQ(other.caption, "Lumivo") << "no copy will look for this one";
        EXPECT_TRUE(button(f, "Button3").enabled());
    };
    fail(u.app, "0.001 - 002.");
}

TEST(ErrorWindow, HelpOpensTheErrorPage) {
    fakes::TestApp t;
    t.ui.onModal = [](ui::Form& f) { button(f, "BitBtn1").onClick(); };
    fail(t.app, "0.001 - 002.");
    ASSERT_EQ(t.shell.calls.size(), 1u);
    EXPECT_EQ(t.shell.calls[0].target, platform::u8string(t.dir / "Help" / "indexErr.htm"));
    EXPECT_EQ(t.shell.calls[0].show, 5);
}

// ---- the log's encoding, and a log that cannot be written ------------------------------------

// One encoding a log: one that an older copy wrote in Windows-1251 is moved
// aside whole and never appended to. Every record, a note too, opens with
// its line of equals signs.
TEST(ErrorLog, ALogInAnotherEncodingIsMovedAsideAndEveryRecordOpensWithItsLine) {
    const std::string line(73, '='), cp1251 = line + "\r\nUser = \xC8\xE2\xE0\xED\r\n";
    const struct {
        std::optional<std::string> log;
        bool movedBefore;
    } cases[] = {{std::nullopt, false}, {"\xEF\xBB\xBF" + line + "\r\nUser = Иван\r\n", false}, {cp1251, false}, {cp1251, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.log) + (c.movedBefore ? ", one moved aside before" : ""));
        fakes::TestApp t;
        const fs::path dir = t.dir / "Error";
        if (c.log) writeFile(dir / "Debug.Log", *c.log);
        if (c.movedBefore) writeFile(dir / "Debug.Windows-1251.Log", "older");
        fail(t.app, "0.001 - 002.");
        t.app.guard.note("Быстрый выход: система отказала");

        const std::string text = readFile(dir / "Debug.Log");
        EXPECT_TRUE(settings::ValidUtf8(text));
        const bool moved = c.log == cp1251;
        std::map<std::string, std::string> files, expected = {{"Debug.Log", text}};
        for (const auto& f : fs::directory_iterator(dir)) files[platform::u8string(f.path().filename())] = readFile(f.path());
        if (c.movedBefore) expected["Debug.Windows-1251.Log"] = "older";
        if (moved) expected[c.movedBefore ? "Debug.Windows-1251 (2).Log" : "Debug.Windows-1251.Log"] = cp1251;
        EXPECT_EQ(files, expected);
        const std::string kept = c.log && !moved ? *c.log : "";
        ASSERT_TRUE(text.starts_with(kept));
        const auto l = lines(text.substr(kept.size()));
        ASSERT_EQ(l.size(), 13u);
        EXPECT_EQ(l[0], line);
        EXPECT_EQ(std::vector<std::string>(l.begin() + 10, l.end()),
                  (std::vector<std::string>{line, l[1], "Быстрый выход: система отказала"}));
    }
}

// Where no error window shows (a start-up that failed, the session's end, a
// note after the windows have gone), a log that cannot be written leaves the
// user a message box with the code.
TEST(ErrorLog, WhenNoLogCanBeWrittenAMessageBoxShowsTheCode) {
    fakes::TestApp t;
    std::ofstream(t.dir / "blocker") << "x";
    t.app.paths.writable = t.dir / "blocker";  // Error\ cannot exist below a file
    t.app.guard.record("0.001 - 001.1", "WindowError", "");
    t.app.guard.windowsGone = true;
    fail(t.app, "0.001 - 005.");
    t.app.guard.note("Быстрый выход: система отказала");
    ASSERT_EQ(t.ui.boxes.size(), 3u);
    const char* starts[] = {"Внутренний код ошибки: 0.001 - 001.1[WindowError]",
                            "Внутренний код ошибки: 0.001 - 005.3[RegistryError]", "Быстрый выход: система отказала"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(t.ui.boxes[i].text.starts_with(starts[i]) && t.ui.boxes[i].text.ends_with("Debug.Log не удалось."));
        EXPECT_EQ(t.ui.boxes[i].flags, ui::kMbIconHand | ui::kMbSystemModal);
    }
}
