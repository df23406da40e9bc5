// Backup files written and read back through the program's own routines,
// against the fake registry, window system and file folder.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "fakes/Fakes.h"
#include "platform/Path.h"
#include "reminders/Store.h"
#include "settings/BackUpFile.h"

namespace fs = std::filesystem;

namespace {

const std::string kRemind = "Software\\Vantrel\\Lumivo\\Remind";
const std::string kSet = "Software\\Vantrel\\Lumivo\\Settings";

struct View : settings::BackUpView {
    std::vector<std::string> calls;
    settings::Settings earlier;
    void showSettings(const settings::Settings& e) override {
        calls.push_back("show");
        earlier = e;
    }
    void listReminds() override { calls.push_back("list"); }
    void markChanged() override { calls.push_back("changed"); }
    void showLastBackUp(const std::string& text) override { calls.push_back("last " + text); }
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void spill(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// A line of the file replaced, or dropped when `to` is empty.
std::string edited(std::string bytes, const std::string& line, const std::string& to) {
    const std::size_t at = bytes.find(line + "\r\n");
    EXPECT_NE(at, std::string::npos) << line;
    if (at == std::string::npos) return bytes;
    return bytes.replace(at, line.size() + 2, to.empty() ? "" : to + "\r\n");
}

struct BackUp {
    fakes::TestApp t;
    settings::BackUpFile& file = t.app.backUp;
    settings::Settings& st = t.app.settings;
    View view;
    fs::path path = t.dir / "BackUp" / "Мои настройки.SetLMV";

    BackUp() {
        fs::create_directories(path.parent_path());
        file.BackUpFileName = platform::u8string(path);
        t.system.exe = t.dir / "Lumivo.exe";
        t.app.session.LMVVersion = "1.1.0.105";
    }
    void addRemind(int n, const std::string& name, const std::string& h, const std::string& m) {
        const std::string key = reminders::RemindKeyOf(n);
        t.registry.putString(key, "Name", name);
        t.registry.putDword(key, "RemindEnabled", 1);
        t.registry.putDword(key, "OneLaunch", 0);
        t.registry.putString(key, "TimeH", h);
        t.registry.putString(key, "TimeM", m);
        t.registry.putDword(key, "IgnoreLowTime", 0);
        t.registry.putDword(key, "IgnoreDisSound", 1);
        t.registry.putDword(key, "MD7", 0);
        t.registry.putDword(kRemind, "RemindCount", n);
    }
    std::string write() {
        file.WriteBackUpFile(view);
        t.ui.boxes.clear();
        t.audio.beeps.clear();
        view.calls.clear();
        return slurp(path);
    }
    // Edited files no longer match their seal: the user is asked, and answers.
    void read(const std::string& bytes, int sealAnswer = ui::kIdYes) {
        spill(path, bytes);
        t.ui.answers = {sealAnswer};
        file.ReadBackUpFile(view);
        t.ui.answers.clear();
    }
    std::string lastBox() const { return t.ui.boxes.empty() ? "" : t.ui.boxes.back().text; }
    std::string report(int repaired) const {
        return "Отсутствовали или содержали неверные значения " + std::to_string(repaired) +
               " из 30 параметров. Ошибки в структуре данных исправленны. Файл восстановлен. ";
    }
    std::vector<std::string> logged() { return fakes::LoggedCodes(t.app); }
    // Every stored reminder value, to compare before and after.
    std::map<std::tuple<platform::Hive, std::string, std::string>, platform::RegValue> reminds() const {
        auto all = t.registry.values;
        std::erase_if(all, [](const auto& e) { return !std::get<1>(e.first).starts_with("software\\vantrel\\lumivo\\remind"); });
        return all;
    }
};

}  // namespace

// ---- writing ---------------------------------------------------------------------------

TEST(BackUpWrite, SectionsKeysAndSealInOrderThenTheMessageAndLastBackUp) {
    BackUp b;
    b.st.VoiceType = "Алексей";
    b.st.Bold = true;
    b.st.Left = -20;
    b.addRemind(1, "Обед", "13", "00");
    b.t.registry.putString(reminders::RemindKeyOf(1), "MsgText", "Пора\r\nобедать");
    b.t.registry.putDword(reminders::RemindKeyOf(1), "MsgIcon", 2);
    b.file.WriteBackUpFile(b.view);

    const std::string bytes = slurp(b.path);
    ASSERT_FALSE(bytes.empty());
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF")) << "Russian text fits Windows-1251";
    const auto at = [&](const std::string& s) { return bytes.find(s); };
    const std::string order[] = {"[Main]\r\nTHIS STRING IS TITLE, DON`T EDIT IT!=<Lumivo BackUp File>\r\n"
                                 "Version=01.00\r\nProgramVersion=1.1.0.105\r\nControlSize=",
                                 "\r\nSetLMV=1\r\nControlSum=",
                                 "\r\nDate=07.12.2026\r\n[Settings]\r\nAlphaSet=255\r\nAlphaUsed=",
                                 "\r\nGlobalHotkeys=1\r\n[Sound]\r\n",
                                 "VoiceType=\xC0\xEB\xE5\xEA\xF1\xE5\xE9\r\n[Font]\r\n",
                                 "[Style]\r\nBold=1\r\nItalic=0\r\n",
                                 "[Position]\r\nLeft=-20\r\n",
                                 "[QuickExit]\r\nQSDIcon=",
                                 "MsgDlg=0\r\n[Remind]\r\nRemindCount=1\r\n[Remind1]\r\nName=\xCE\xE1\xE5\xE4\r\n"
                                 "RemindEnabled=1\r\nOneLaunch=0\r\nTimeH=13\r\nTimeM=00\r\nIgnoreLowTime=0\r\n"
                                 "IgnoreDisSound=1\r\nMsgText=\"\xCF\xEE\xF0\xE0\\r\\n\xEE\xE1\xE5\xE4\xE0\xF2\xFC\"\r\n"
                                 "MsgIcon=2\r\nMD7=0\r\n"};
    std::size_t last = 0;
    for (const std::string& part : order) {
        const std::size_t pos = at(part);
        ASSERT_NE(pos, std::string::npos) << part;
        EXPECT_GE(pos, last) << part;
        last = pos;
    }
    EXPECT_EQ(at("BackUp="), std::string::npos) << "LastBackUp is no part of a backup";
    EXPECT_EQ(at("SoundType"), std::string::npos) << "values not stored are not written";

    // The seal: the length with ControlSize=0, in units of 8.
    const std::size_t seal = at("ControlSize=") + 12;
    const std::string digits = bytes.substr(seal, bytes.find('\r', seal) - seal);
    std::string zero = bytes;
    zero.replace(seal, digits.size(), "0");
    EXPECT_EQ(std::stoul(digits), zero.size() / 8);

    ASSERT_EQ(b.t.ui.boxes.size(), 1u);
    EXPECT_EQ(b.t.ui.boxes[0].text, " Данные успешно сохранены.  ");
    EXPECT_EQ(b.t.ui.boxes[0].caption, "Сообщение");
    EXPECT_EQ(b.t.ui.boxes[0].flags, unsigned(ui::kMbIconInformation));
    EXPECT_EQ(b.t.audio.beeps, std::vector<unsigned>{platform::kBeepExclamation});
    EXPECT_EQ(b.st.LastBackUp, "10:15 07.12.26");
    EXPECT_EQ(b.t.registry.string(kSet, "BackUp"), "10:15 07.12.26");
    EXPECT_EQ(b.view.calls, std::vector<std::string>{"last 10:15 07.12.26"});
    EXPECT_TRUE(b.logged().empty());
}

TEST(BackUpWrite, AFailedSaveKeepsThePreviousFileAndIsLogged) {
    BackUp b;
    const std::string before = b.write();
    b.st.AlphaSet = 150;
    b.t.system.refuseReplace = true;  // locked by another program
    b.file.WriteBackUpFile(b.view);
    EXPECT_EQ(slurp(b.path), before);
    EXPECT_EQ(b.logged(), std::vector<std::string>{"0.012 - 002.1 FileError"});
    EXPECT_TRUE(b.view.calls.empty()) << "no LastBackUp for a backup not made";
    for (const auto& e : fs::directory_iterator(b.path.parent_path()))
        EXPECT_EQ(e.path(), b.path) << "nothing left beside it";

    b.file.BackUpFileName = platform::u8string(b.t.dir / "no such folder" / "x.SetLMV");
    b.file.WriteBackUpFile(b.view);
    EXPECT_EQ(b.logged().size(), 2u);
}

TEST(BackUpWrite, WhatTheReaderWouldRefuseIsNotWritten) {
    BackUp b;
    const std::string before = b.write();
    for (int n = 1; n <= 1001; ++n) b.t.registry.createKey(platform::Hive::CurrentUser, reminders::RemindKeyOf(n));
    b.t.registry.putDword(kRemind, "RemindCount", 1001);
    b.file.WriteBackUpFile(b.view);
    EXPECT_EQ(slurp(b.path), before);
    ASSERT_EQ(b.t.ui.boxes.size(), 1u);
    EXPECT_NE(b.lastBox().find("1000"), std::string::npos) << b.lastBox();
    EXPECT_EQ(b.t.ui.boxes[0].flags, unsigned(ui::kMbIconHand | ui::kMbSystemModal));

    b.t.registry.deleteKeyTree(platform::Hive::CurrentUser, kRemind);
    b.t.registry.putDword(kRemind, "RemindCount", 4);
    b.t.registry.putString(reminders::RemindKeyOf(1), "MsgText", std::string(300000, 'x'));
    b.t.registry.putString(reminders::RemindKeyOf(2), "MsgText", std::string(300000, 'y'));
    b.t.registry.putString(reminders::RemindKeyOf(3), "MsgText", std::string(300000, 'z'));
    b.t.registry.putString(reminders::RemindKeyOf(4), "MsgText", std::string(300000, 'w'));
    b.file.WriteBackUpFile(b.view);
    EXPECT_EQ(slurp(b.path), before);
    EXPECT_NE(b.lastBox().find("1 МБ"), std::string::npos) << b.lastBox();
    EXPECT_TRUE(b.logged().empty()) << "the user's data, not a fault";
}

TEST(BackUpWrite, NumbersWithoutAKeyAreLeftOut) {
    BackUp b;
    b.addRemind(1, "Обед", "13", "00");
    b.addRemind(3, "Ужин", "19", "00");  // counted 3, Remind2 missing
    const std::string bytes = b.write();
    EXPECT_NE(bytes.find("RemindCount=2\r\n[Remind1]\r\nName=\xCE\xE1\xE5\xE4\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("[Remind2]\r\nName=\xD3\xE6\xE8\xED\r\n"), std::string::npos);
}

// ---- reading -----------------------------------------------------------------------------

TEST(BackUpRead, AnUnchangedFileLoadsWithoutRepairAndIsNotWritten) {
    BackUp b;
    b.st.SecondsView = true;
    b.st.TimeOfLowF = 23;
    b.st.Name = "Arial";
    const settings::Settings saved = b.st;
    const std::string bytes = b.write();
    b.st = settings::FirstRun();
    b.st.LastBackUp = saved.LastBackUp;
    b.read(bytes);

    EXPECT_EQ(b.st, saved);
    EXPECT_EQ(b.file.ParamsRead, 30);
    EXPECT_EQ(b.file.ParamsRepaired, 0);
    EXPECT_EQ(b.lastBox(), " Данные загружены успешно.  ");
    EXPECT_EQ(b.t.ui.boxes.back().caption, "Сообщение");
    EXPECT_EQ(b.t.ui.boxes.back().flags, unsigned(ui::kMbIconInformation | ui::kMbSystemModal));
    EXPECT_EQ(b.t.audio.beeps, std::vector<unsigned>{platform::kBeepExclamation});
    EXPECT_EQ(b.view.calls, (std::vector<std::string>{"show", "list", "changed"}));
    EXPECT_EQ(b.view.earlier, settings::FirstRun()) << "the record as it was before";
    EXPECT_EQ(slurp(b.path), bytes) << "not even ControlSize is written";
    EXPECT_EQ(b.t.system.replaced, 1) << "the save's only";
}

TEST(BackUpRead, EightMoreBytesAnywhereTripTheSealAndARefusalChangesNothing) {
    BackUp b;
    b.addRemind(1, "Обед", "13", "00");
    const std::string bytes = b.write();
    const settings::Settings before = b.st;
    const auto reminds = b.reminds();
    int lines = 0;
    for (std::size_t start = 0, eol; (eol = bytes.find("\r\n", start)) != std::string::npos; start = eol + 2) {
        const std::string line = bytes.substr(start, eol - start);
        // The title and the count: no backup file, or too many reminders, then.
        if (line.starts_with("THIS STRING") || line.starts_with("RemindCount")) continue;
        SCOPED_TRACE(line);
        ++lines;
        const std::string longer = std::string(bytes).insert(eol, "12345678");
        b.t.ui.boxes.clear();
        b.read(longer, ui::kIdNo);
        ASSERT_EQ(b.t.ui.boxes.size(), 1u);
        EXPECT_EQ(b.t.ui.boxes[0].text, "Файл изменен или поврежден! Продолжить загрузку?");
        EXPECT_EQ(b.t.ui.boxes[0].caption, "Ошибка");
        EXPECT_EQ(b.t.ui.boxes[0].flags,
                  unsigned(ui::kMbYesNo | ui::kMbIconHand | ui::kMbDefButton2 | ui::kMbSystemModal));
        EXPECT_EQ(b.st, before);
        EXPECT_EQ(b.reminds(), reminds);
        EXPECT_EQ(slurp(b.path), longer) << "the file is left alone";
    }
    EXPECT_GT(lines, 30);
    EXPECT_TRUE(b.view.calls.empty());

    // Yes loads it as it is.
    b.read(edited(bytes, "AlphaSet=255", "AlphaSet=200;;;;;;;;"));
    EXPECT_EQ(b.st.AlphaSet, before.AlphaSet) << "not a number: the current value";
    EXPECT_EQ(b.lastBox(), " Данные загружены успешно.  ");
}

// A change that keeps the length (a digit for a digit) is seen by the
// checksum; a file of an older copy, which has none, by its length alone.
TEST(BackUpRead, AChangeOfTheSameLengthTripsTheChecksumOlderFilesOnlyTheLength) {
    BackUp b;
    b.addRemind(1, "Обед", "13", "00");
    const std::string bytes = b.write();
    ASSERT_NE(bytes.find("ControlSum="), std::string::npos);
    EXPECT_LT(bytes.find("ControlSum="), bytes.find("Date=")) << "Date stays the last key of Main";

    b.read(edited(bytes, "TimeH=13", "TimeH=14"), ui::kIdNo);
    ASSERT_EQ(b.t.ui.boxes.size(), 1u);
    EXPECT_EQ(b.lastBox(), "Файл изменен или поврежден! Продолжить загрузку?");

    // Without the checksum line the length seal must be remade: 20 bytes fewer.
    const std::size_t at = bytes.find("ControlSum=");
    std::string older = std::string(bytes).erase(at, bytes.find("\r\n", at) + 2 - at);
    const std::size_t seal = older.find("ControlSize=");
    const std::size_t end = older.find("\r\n", seal);
    older.replace(seal, end - seal, "ControlSize=0");
    older.replace(seal, 13, "ControlSize=" + std::to_string(older.size() / 8));
    b.t.ui.boxes.clear();
    b.read(older);
    EXPECT_EQ(b.lastBox(), " Данные загружены успешно.  ") << "no question for an older copy's file";
    b.t.ui.boxes.clear();
    b.read(edited(older, "TimeH=13", "TimeH=14"));
    EXPECT_EQ(b.lastBox(), " Данные загружены успешно.  ") << "the length alone cannot see it";
}

TEST(BackUpRead, TheTitleIsComparedWithoutRegardToCaseAndIsRequired) {
    BackUp b;
    const std::string bytes = b.write();
    std::string lower = bytes;
    lower.replace(lower.find("<Lumivo BackUp File>"), 20, "<lumivo backup FILE>");
    b.read(lower);
    EXPECT_EQ(b.lastBox(), " Данные загружены успешно.  ") << "same length, same seal";

    b.read(edited(bytes, "THIS STRING IS TITLE, DON`T EDIT IT!=<Lumivo BackUp File>", ""));
    EXPECT_EQ(b.lastBox(), "Файл не является резервной копией данных или поврежден!");
    EXPECT_EQ(b.t.ui.boxes.back().caption, "Ошибка");
    EXPECT_EQ(b.t.ui.boxes.back().flags, unsigned(ui::kMbIconHand | ui::kMbSystemModal));
    EXPECT_EQ(b.t.audio.beeps.back(), unsigned(platform::kBeepHand));
}

TEST(BackUpRead, MissingAndInvalidValuesAreCountedAndWrittenBack) {
    BackUp b;
    const std::string bytes = b.write();
    std::string damaged = edited(bytes, "AlphaSet=255", "");
    damaged = edited(damaged, "GlobalHotkeys=1", "");
    damaged = edited(damaged, "SoundHType=0", "SoundHType=9");
    b.st.SoundHType = 3;
    b.t.clock.set(2027, 1, 2, 8, 0);
    b.read(damaged);
    EXPECT_EQ(b.lastBox(), b.report(3));
    EXPECT_EQ(b.t.ui.boxes.back().caption, "Предупреждение");
    EXPECT_EQ(b.t.ui.boxes.back().flags, unsigned(ui::kMbIconExclamation | ui::kMbSystemModal));
    EXPECT_EQ(b.t.audio.beeps, (std::vector<unsigned>{platform::kBeepHand, platform::kBeepDefault}));
    EXPECT_EQ(b.st.SoundHType, 0);
    EXPECT_EQ(b.view.calls, (std::vector<std::string>{"show", "list", "changed"}));

    const std::string repaired = slurp(b.path);
    for (const char* line : {"AlphaSet=255\r\n", "GlobalHotkeys=1\r\n", "SoundHType=0\r\n", "Date=02.01.2027\r\n"})
        EXPECT_NE(repaired.find(line), std::string::npos) << line;
    // Sealed again: it now loads without a question or a repair.
    b.t.ui.boxes.clear();
    b.read(repaired);
    EXPECT_EQ(b.t.ui.boxes.size(), 1u);
    EXPECT_EQ(b.lastBox(), " Данные загружены успешно.  ");

    // A cut-down file may leave keys out.
    b.read(edited(damaged, "SetLMV=1", "SetLMV=1\r\nCutVersion=1"));
    EXPECT_EQ(b.lastBox(), b.report(1)) << "only SoundHType";
}

TEST(BackUpRead, EachKeysOwnRepair) {
    struct Case {
        const char* line;
        const char* becomes;  // in the file
        int repaired;
        std::function<int(const settings::Settings&)> field;
        int value;
    };
    using S = settings::Settings;
    const Case cases[] = {
        {"StayOnTop=5", "StayOnTop=0", 1, [](const S& s) { return s.StayOnTop; }, 0},
        {"AutoLaunch=7", "AutoLaunch=1", 1, [](const S& s) { return s.AutoLaunch; }, 1},
        {"SoundHEnabled=3", "SoundHEnabled=0", 1, [](const S& s) { return s.SoundHEnabled; }, 0},
        {"AlphaUsed=4", "AlphaUsed=1", 1, [](const S& s) { return s.AlphaUsed; }, 1},
        {"TimeOfLowF=24", "TimeOfLowF=22", 1, [](const S& s) { return s.TimeOfLowF * 100 + s.TimeOfLow; }, 2200},
        {"Bold=2", "Bold=2", 0, [](const S& s) { return int(s.Bold); }, 0},
        {"ItemQE=7", "ItemQE=7", 0, [](const S& s) { return int(s.ItemQE); }, 1},
        {"AlphaSet=abc", "AlphaSet=abc", 0, [](const S& s) { return s.AlphaSet; }, 180},
        // Unchecked in a file, but the clock never gets a size it cannot show.
        {"Size=0", "Size=0", 0, [](const S& s) { return int(s.Size > 0); }, 1},
        {"ModeWork=9", "ModeWork=9", 0, [](const S& s) { return s.QSDModeWork; }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        BackUp b;
        b.st.AlphaSet = 180;
        b.st.TimeOfLow = 1;
        b.st.Bold = true;
        const std::string bytes = b.write();
        const std::string key = std::string(c.line).substr(0, std::string(c.line).find('=') + 1);
        const std::size_t at = bytes.find("\r\n" + key) + 2;
        const std::string was = bytes.substr(at, bytes.find("\r\n", at) - at);
            b.read(edited(bytes, was, c.line));
        EXPECT_EQ(b.file.ParamsRepaired, c.repaired);
        EXPECT_EQ(c.field(b.st), c.value);
        if (c.repaired) EXPECT_NE(slurp(b.path).find(std::string("\r\n") + c.becomes + "\r\n"), std::string::npos);
        else EXPECT_EQ(b.lastBox(), " Данные загружены успешно.  ");
    }
}

TEST(BackUpRead, VoiceAndChimeNeverBothOnAndMissingItemsAndStylesWritten) {
    BackUp b;
    const std::string bytes = b.write();
    std::string f = edited(bytes, "SoundHEnabled=0", "SoundHEnabled=1");
    f = edited(f, "VoiceEnabled=0", "VoiceEnabled=2");
    b.read(f);
    EXPECT_EQ(b.lastBox(), b.report(1)) << "counted once";
    EXPECT_EQ(b.st.SoundHEnabled, 1);
    EXPECT_EQ(b.st.VoiceEnabled, 0);
    EXPECT_NE(slurp(b.path).find("\r\nVoiceEnabled=0\r\n"), std::string::npos);

    b.st.ItemQE = false;
    b.st.Bold = true;
    f = edited(bytes, "ItemQE=1", "");
    f = edited(f, "Bold=0", "");
    b.read(f);
    EXPECT_EQ(b.lastBox(), b.report(2));
    EXPECT_TRUE(b.st.ItemQE);
    EXPECT_FALSE(b.st.Bold) << "the style is cleared before it is read";
    const std::string repaired = slurp(b.path);
    EXPECT_NE(repaired.find("[Settings]\r\n"), std::string::npos);
    EXPECT_NE(repaired.find("\r\nItemQE=1\r\n"), std::string::npos);
    EXPECT_NE(repaired.find("[Style]\r\nItalic=0\r\nUnderLine=0\r\nStrikeOut=0\r\nBold=0\r\n"), std::string::npos)
        << "a new key at the end of its section";
}

TEST(BackUpRead, RemindersAreReplacedOnlyByAPositiveCount) {
    BackUp b;
    b.addRemind(1, "Обед", "13", "00");
    b.addRemind(2, "Чай", "**", "30");
    b.t.registry.putString(reminders::RemindKeyOf(2), "MsgText", "Две\r\nстроки");
    b.t.registry.putDword(reminders::RemindKeyOf(2), "SoundType", 3);
    const std::string two = b.write();
    const auto stored = b.reminds();

    b.t.registry.deleteKeyTree(platform::Hive::CurrentUser, kRemind);
    b.addRemind(1, "Другое", "7", "15");
    b.read(two);
    EXPECT_EQ(b.reminds(), stored) << "every value, with its type";
    EXPECT_EQ(b.view.calls, (std::vector<std::string>{"show", "list", "changed"}));

    // Without a Remind section (or with a count of 0) the stored ones stay.
    b.addRemind(3, "Третье", "8", "00");
    const auto three = b.reminds();
    std::string none = two.substr(0, two.find("[Remind]"));
    b.read(none);
    EXPECT_EQ(b.reminds(), three);
    b.read(edited(two, "RemindCount=2", "RemindCount=0"));
    EXPECT_EQ(b.reminds(), three);

    // A section that is not there still makes its reminder, empty.
    b.read(edited(edited(two, "RemindCount=2", "RemindCount=3"), "[Remind2]", "[Other]"));
    EXPECT_EQ(b.t.registry.dword(kRemind, "RemindCount"), 3);
    EXPECT_TRUE(b.t.registry.keyExists(platform::Hive::CurrentUser, reminders::RemindKeyOf(3)));
    EXPECT_FALSE(b.t.registry.string(reminders::RemindKeyOf(2), "Name"));
    EXPECT_EQ(b.t.registry.string(reminders::RemindKeyOf(1), "Name"), "Обед");
}

TEST(BackUpRead, ARegistryFailureHalfWayPutsTheStoredRemindersBack) {
    BackUp b;
    b.addRemind(1, "Обед", "13", "00");
    b.addRemind(2, "Чай", "**", "30");
    const std::string file = b.write();
    b.t.registry.deleteKeyTree(platform::Hive::CurrentUser, kRemind);
    b.addRemind(1, "Прежнее", "9", "00");
    b.t.registry.putBinary(reminders::RemindKeyOf(1), "Extra");
    b.t.registry.putString(reminders::RemindKeyOf(1), "Note", "a value of another program's, kept too");
    b.t.registry.putString(reminders::RemindKeyOf(1), "MsgCaption", "Заголовок");
    const auto before = b.reminds();
    for (int at = 1; at <= 12; ++at) {
        SCOPED_TRACE(at);
        b.t.registry.failAt = at;
        b.read(file);
        auto now = b.reminds();
        std::erase_if(now, [](const auto& e) { return std::get<2>(e.first) == "extra"; });
        auto expected = before;
        std::erase_if(expected, [](const auto& e) { return std::get<2>(e.first) == "extra"; });
        EXPECT_EQ(now, expected) << "a binary value, which no reminder has, is the only loss";
        EXPECT_EQ(b.logged().back(), "0.012 - 001.7 RegistryError");
        b.t.registry.putBinary(reminders::RemindKeyOf(1), "Extra");
    }
    EXPECT_EQ(b.logged().size(), 12u);
}

TEST(BackUpRead, AReadOnlyFileStillLoadsAndSaysItWasNotRepaired) {
    BackUp b;
    const std::string damaged = edited(b.write(), "StayOnTop=1", "StayOnTop=5");
    spill(b.path, damaged);
    fs::permissions(b.path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    b.t.ui.answers = {ui::kIdYes};  // edited outside: asked first
    b.file.ReadBackUpFile(b.view);
    EXPECT_EQ(b.st.StayOnTop, 0);
    EXPECT_EQ(b.lastBox(), "Отсутствовали или содержали неверные значения 1 из 30 параметров. Ошибки в структуре "
                           "данных исправленны. Файл не изменен: записать в него не удалось. ");
    EXPECT_EQ(slurp(b.path), damaged);
    EXPECT_TRUE(b.logged().empty());
    for (const auto& e : fs::directory_iterator(b.path.parent_path())) EXPECT_EQ(e.path(), b.path);
    EXPECT_EQ(b.view.calls, (std::vector<std::string>{"show", "list", "changed"}));
}

TEST(BackUpRead, WhatIsNoBackUpFileIsToldAndChangesNothing) {
    BackUp thousand;  // at the limit: saved, and loaded back
    for (int n = 1; n <= 1000; ++n) thousand.addRemind(n, "Напоминание " + std::to_string(n), "**", std::to_string(n % 60));
    const std::string full = thousand.write();
    ASSERT_NE(full.find("RemindCount=1000\r\n"), std::string::npos);
    BackUp b;
    b.addRemind(1, "Обед", "13", "00");
    const std::string good = b.write();
    std::string manyReminds = edited(good, "RemindCount=1", "RemindCount=1001");
    std::string binary;
    for (int i = 0; i < 5000; ++i) binary += char(i * 7919 % 256);
    const std::string loaded = " Данные загружены успешно.  ";
    const struct {
        std::string bytes;
        std::string says;
    } files[] = {
        {"", "Файл не является резервной копией данных или поврежден!"},
        {binary, "Файл не является резервной копией данных или поврежден!"},
        {std::string(100000, 'x'), "Файл не является резервной копией данных или поврежден!"},
        {"\xEF\xBB\xBF" + good.substr(0, 200) + "\xC0\xAF" + good.substr(200),
         "Файл не является резервной копией данных или поврежден!"},
        {good.substr(0, 150) + std::string(70000, 'x') + good.substr(150),
         "Файл не является резервной копией данных: в нем есть строка длиннее 64 КБ."},
        {good + std::string(2 << 20, ';'), "Файл слишком велик для резервной копии данных (больше 1 МБ)."},
        {manyReminds, "Файл не является резервной копией данных: в нем больше 1000 напоминаний."},
        {full, loaded},
    };
    b.st.AlphaSet = 123;
    const settings::Settings before = b.st;
    const auto reminds = b.reminds();
    for (const auto& f : files) {
        SCOPED_TRACE(f.says);
        b.t.ui.boxes.clear();
        b.read(f.bytes);
        ASSERT_EQ(b.t.ui.boxes.size(), 1u);
        EXPECT_EQ(b.lastBox(), f.says);
        if (f.says == loaded) {
            EXPECT_EQ(b.reminds(), thousand.reminds());
            continue;
        }
        EXPECT_EQ(b.t.ui.boxes[0].caption, "Ошибка");
        EXPECT_EQ(b.st, before);
        EXPECT_EQ(b.reminds(), reminds);
        EXPECT_EQ(slurp(b.path), f.bytes);
    }
    // Missing, or a folder: it cannot be read at all.
    for (const fs::path& p : {b.t.dir / "gone.SetLMV", b.t.dir / "BackUp"}) {
        b.file.BackUpFileName = platform::u8string(p);
        b.file.ReadBackUpFile(b.view);
        EXPECT_EQ(b.lastBox(), "Не удалось прочитать файл: он занят другой программой, удален или недоступен.");
    }
    EXPECT_EQ(b.view.calls, (std::vector<std::string>{"show", "list", "changed"})) << "the one file loaded";
    EXPECT_TRUE(b.logged().empty()) << "a user's bad file is no fault of the program";
}

TEST(BackUpRead, TextOutsideWindows1251RoundTripsAsUtf8) {
    BackUp b;
    b.st.Name = "Noto Sans ✓";
    b.addRemind(1, "Café ☕ и чай", "13", "00");
    const std::string bytes = b.write();
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
    const auto reminds = b.reminds();
    b.st.Name = "Arial";
    b.t.registry.deleteKeyTree(platform::Hive::CurrentUser, kRemind);
    b.read(bytes);
    EXPECT_EQ(b.lastBox(), " Данные загружены успешно.  ");
    EXPECT_EQ(b.st.Name, "Noto Sans ✓");
    EXPECT_EQ(b.reminds(), reminds);
}
