#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <sstream>
#include "fakes/Fakes.h"
#include "reminders/Store.h"

using reminders::Reminder;

namespace {

const std::string kRemind = "Software\\Vantrel\\Lumivo\\Remind";
std::string key(int n) { return kRemind + "\\Remind" + std::to_string(n); }

Reminder at(const std::string& h, const std::string& m, const std::string& name = "Без названия") {
    Reminder r;
    r.Name = name;
    r.TimeH = h;
    r.TimeM = m;
    return r;
}

struct Store {
    fakes::TestApp t;
    reminders::Store& store = t.app.remindStore;
    reminders::RemindEdit& edit = t.app.remindEdit;
    fakes::FakeRegistry& reg = t.registry;

    std::optional<std::int32_t> count() { return reg.dword(kRemind, "RemindCount"); }
    std::optional<std::string> name(int n) { return reg.string(key(n), "Name"); }
    bool has(int n, const std::string& value) { return reg.values.count({platform::Hive::CurrentUser, fakes::FakeRegistry::norm(key(n)), fakes::FakeRegistry::norm(value)}) > 0; }
    bool keyThere(int n) { return reg.keys.count({platform::Hive::CurrentUser, fakes::FakeRegistry::norm(key(n))}) > 0; }
    // Reminders stored beforehand, as the editor would have added them.
    void add(std::initializer_list<Reminder> rs) {
        for (const Reminder& r : rs) ASSERT_EQ(store.AddRemind(r), 1) << r.TimeH << ":" << r.TimeM;
    }
    // The settings list filled afresh: each line's name, in the list's order.
    ui::CheckListBox list{"CheckListBox1"};
    std::vector<std::string> listed() {
        ui::Button edit("Button2"), del("Button3");
        store.ListReminds({list, edit, del});
        std::vector<std::string> names;
        for (const auto& item : list.items()) names.push_back(item.text.substr(item.text.rfind(' ') + 1));
        return names;
    }
    std::string log() {
        std::ifstream f(t.app.guard.logFile());
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
};

}  // namespace

TEST(RemindStoreAdd, IntoAnEmptyStoreWritesTheRecordThenTheCount) {
    Store s;
    Reminder r = at("7", "05", "Зарядка");
    r.OneLaunch = true;
    r.SoundType = 3;
    r.SoundFile = "C:\\Музыка\\утро.mp3";
    r.IgnoreLowTime = true;
    r.Msg = reminders::Message{"Утро", "Пора вставать", 2};
    EXPECT_EQ(s.store.AddRemind(r), 1);

    EXPECT_EQ(s.count(), 1);
    EXPECT_EQ(s.name(1), "Зарядка");
    EXPECT_EQ(s.reg.dword(key(1), "RemindEnabled"), 1);
    EXPECT_EQ(s.reg.dword(key(1), "OneLaunch"), 1);
    EXPECT_EQ(s.reg.string(key(1), "TimeH"), "7");
    EXPECT_EQ(s.reg.string(key(1), "TimeM"), "05");
    EXPECT_EQ(s.reg.dword(key(1), "SoundType"), 3);
    EXPECT_FALSE(s.has(1, "VoiceType")) << "an unticked box stores nothing";
    EXPECT_EQ(s.reg.string(key(1), "SoundFile"), "C:\\Музыка\\утро.mp3");
    EXPECT_EQ(s.reg.dword(key(1), "IgnoreLowTime"), 1);
    EXPECT_EQ(s.reg.dword(key(1), "IgnoreDisSound"), 0);
    EXPECT_EQ(s.reg.string(key(1), "MsgCaption"), "Утро");
    EXPECT_EQ(s.reg.string(key(1), "MsgText"), "Пора вставать");
    EXPECT_EQ(s.reg.dword(key(1), "MsgIcon"), 2);
    for (int d = 1; d <= 7; ++d) EXPECT_FALSE(s.has(1, "MD" + std::to_string(d))) << "every day chosen: no day value";
    EXPECT_EQ(s.reg.writes.back(), "software\\vantrel\\lumivo\\remind\\RemindCount");
}

TEST(RemindStoreAdd, OnlyTheDaysNotChosenAreStoredAsFalse) {
    Store s;
    Reminder r = at("9", "0");
    r.Days = {true, false, false, false, false, false, false};  // Monday only
    s.add({r});
    EXPECT_FALSE(s.has(1, "MD1"));
    for (int d = 2; d <= 7; ++d) EXPECT_EQ(s.reg.dword(key(1), "MD" + std::to_string(d)), 0) << d;
}

TEST(RemindStoreAdd, AStaleKeyBeyondTheCountLendsTheNewReminderNothing) {
    Store s;
    s.add({at("8", "0")});
    s.reg.putString(key(2), "MsgCaption", "старое");
    s.reg.putString(key(2), "MsgText", "старое");
    s.reg.putDword(key(2), "MsgIcon", 1);
    s.add({at("9", "0")});
    EXPECT_EQ(s.count(), 2);
    EXPECT_FALSE(s.has(2, "MsgCaption"));
}

TEST(RemindStoreTime, AnyHourCollidesWithEveryHourOfItsMinute) {
    Store s;
    s.add({at("15", "20")});
    EXPECT_EQ(s.store.AddRemind(at("**", "20")), 0);
    EXPECT_EQ(s.count(), 1) << "a refused reminder writes nothing";
    EXPECT_EQ(s.store.AddRemind(at("15", "21")), 1);
    EXPECT_EQ(s.store.RemindTimeFree("07", "21"), 1) << "the hours compare as text";

    Store any;
    any.add({at("**", "20")});
    EXPECT_EQ(any.store.AddRemind(at("15", "20")), 0);
    EXPECT_EQ(any.store.AddRemind(at("15", "21")), 1);
}

TEST(RemindStoreUpdate, AReminderNeverCollidesWithItselfOnlyWithOthers) {
    Store s;
    s.add({at("1", "0"), at("2", "0"), at("3", "0", "третье"), at("4", "0"), at("5", "0")});
    s.edit.ReminderEditMode = 1;
    s.edit.SelectedRemind = 3;
    EXPECT_EQ(s.store.UpdateRemind(at("3", "0", "третье, поправлено")), 1);
    EXPECT_EQ(s.name(3), "третье, поправлено");
    EXPECT_EQ(s.store.UpdateRemind(at("5", "0")), 0);
    EXPECT_EQ(s.reg.string(key(3), "TimeH"), "3");
    EXPECT_EQ(s.count(), 5);
}

TEST(RemindStoreUpdate, ReplacingDropsWhatTheEditorNoLongerWants) {
    Store s;
    Reminder r = at("6", "30");
    r.Msg = reminders::Message{"a", "b", 1};
    r.VoiceType = "Голос";
    r.Days[4] = false;
    s.add({r});
    s.edit.ReminderEditMode = 1;
    s.edit.SelectedRemind = 1;
    EXPECT_EQ(s.store.UpdateRemind(at("6", "30")), 1);
    for (const char* v : {"MsgCaption", "MsgText", "MsgIcon", "VoiceType", "MD5"}) EXPECT_FALSE(s.has(1, v)) << v;
    EXPECT_EQ(s.count(), 1);
}

TEST(RemindStoreUpdate, WithoutAStoredSelectionNothingIsWrittenAndTheFailureIsLogged) {
    Store s;
    s.add({at("6", "30")});
    s.edit.ReminderEditMode = 1;
    for (int selected : {0, 2}) {
        s.edit.SelectedRemind = selected;
        s.reg.writes.clear();
        s.store.UpdateRemind(at("7", "30"));
        EXPECT_TRUE(s.reg.writes.empty()) << selected;
        EXPECT_FALSE(s.keyThere(selected));
    }
    EXPECT_NE(s.log().find("0.013 - 010."), std::string::npos);
}

TEST(RemindStoreDelete, MovesTheLaterRemindersDown) {
    Store s;
    s.add({at("1", "0", "a"), at("2", "0", "b"), at("3", "0", "c"), at("4", "0", "d")});
    s.reg.putDword(key(3), "MD6", 0);
    s.edit.SelectedRemind = 2;
    s.store.DeleteRemind();
    EXPECT_EQ(s.count(), 3);
    EXPECT_EQ(s.name(1), "a");
    EXPECT_EQ(s.name(2), "c");
    EXPECT_EQ(s.reg.dword(key(2), "MD6"), 0) << "every value moves with its reminder";
    EXPECT_EQ(s.name(3), "d");
    EXPECT_FALSE(s.keyThere(4));

    s.edit.SelectedRemind = 3;
    s.store.DeleteRemind();
    EXPECT_EQ(s.count(), 2);
    EXPECT_EQ(s.name(2), "c");
    EXPECT_FALSE(s.keyThere(3));
}

TEST(RemindStoreDelete, WithoutAValidSelectionNothingChanges) {
    Store empty;
    empty.store.DeleteRemind();
    EXPECT_FALSE(empty.count().has_value()) << "no count of -1 written into an empty store";

    Store s;
    s.add({at("1", "0"), at("2", "0")});
    for (int selected : {0, -1, 3}) {
        s.edit.SelectedRemind = selected;
        s.reg.writes.clear();
        s.store.DeleteRemind();
        EXPECT_TRUE(s.reg.writes.empty()) << selected;
        EXPECT_EQ(s.count(), 2);
    }
}

// The process may end between any two registry calls: whatever it leaves,
// no reminder counted is half written and none is lost but the one deleted.
TEST(RemindStoreCrash, AddingCountsOnlyAWholeRecord) {
    for (int crashAt = 1; crashAt < 40; ++crashAt) {
        SCOPED_TRACE(crashAt);
        Store s;
        s.add({at("1", "0", "a")});
        Reminder r = at("2", "0", "b");
        r.Msg = reminders::Message{"c", "t", 1};
        s.reg.failAt = crashAt;
        s.store.AddRemind(r);
        const bool crashed = s.reg.failAt == 0;
        s.reg.failAt = 0;
        if (!crashed) {
            EXPECT_GT(crashAt, 10) << "every call of the record was a place to end";
            EXPECT_EQ(s.count(), 2);
            break;
        }
        EXPECT_EQ(s.count(), 1) << "not counted before its record is whole";
        EXPECT_EQ(s.name(1), "a");
    }
}

// Cut off at any registry call of a delete, the next start lists the old
// reminders, the new ones, or the new ones with one of them twice: never a
// gap, never an error. Done, each moved reminder is as it was, value for value.
TEST(RemindStoreCrash, ADeleteCutOffAnywhereLeavesTheOldListTheNewOneOrOneTwice) {
    std::vector<Reminder> four = {at("1", "0", "a"), at("2", "0", "b"), at("3", "0", "c"), at("4", "0", "d")};
    four[0].Msg = reminders::Message{"m", "t", 1};  // each with values the next one lacks
    four[1].Days[2] = false;
    four[2].SoundType = 2;
    four[3].VoiceType = "Голос";
    const std::vector<std::string> before = {"a", "b", "c", "d"};
    for (int selected = 1; selected <= 4; ++selected) {
        std::vector<std::string> after = before;
        after.erase(after.begin() + selected - 1);
        for (int crashAt = 1;; ++crashAt) {
            SCOPED_TRACE(testing::Message() << "Remind" << selected << " deleted, cut off at call " << crashAt);
            ASSERT_LT(crashAt, 60);
            Store s;
            for (const Reminder& r : four) s.add({r});
            std::vector<std::optional<platform::RegValues>> records;
            for (int n = 1; n <= 4; ++n) records.push_back(s.reg.readAll(platform::Hive::CurrentUser, key(n)));
            s.edit.SelectedRemind = selected;
            s.reg.failAt = crashAt;
            s.store.DeleteRemind();
            Store next;  // the next start, on what the registry holds
            next.reg.values = s.reg.values;
            next.reg.keys = s.reg.keys;
            next.t.app.reminders.FindNextRemind();
            const std::vector<std::string> shown = next.listed();
            std::vector<std::string> once = shown;
            once.erase(std::unique(once.begin(), once.end()), once.end());
            EXPECT_TRUE(shown == before || (once == after && shown.size() <= 4)) << testing::PrintToString(shown);
            EXPECT_TRUE(fakes::LoggedCodes(next.t.app).empty()) << next.log();
            if (s.reg.failAt == 0) continue;  // cut off
            EXPECT_EQ(shown, after);
            records.erase(records.begin() + (selected - 1));
            for (int n = 1; n <= 3; ++n) EXPECT_EQ(s.reg.readAll(platform::Hive::CurrentUser, key(n)), records[n - 1u]);
            EXPECT_FALSE(s.keyThere(4));
            break;
        }
    }
}

TEST(RemindStoreList, SortedLinesWithTheirMarksAndTheFirstSelected) {
    Store s;
    s.add({at("7", "0", "Зарядка"), at("**", "20", "Каждый час"), at("10", "5", "Чай")});
    s.reg.putDword(key(3), "RemindEnabled", 0);
    s.reg.putDword(kRemind, "RemindCount", 4);  // one number without a key
    ui::CheckListBox list("CheckListBox1");
    ui::Button edit("Button2"), del("Button3");
    s.store.ListReminds({list, edit, del});
    ASSERT_EQ(list.items().size(), 3u) << "no line for the number without a key";
    EXPECT_EQ(list.items()[0].text, "** : 20  -  Каждый час");
    EXPECT_EQ(list.items()[1].text, "10 : 5  -  Чай");
    EXPECT_FALSE(list.items()[1].checked);
    EXPECT_EQ(list.items()[2].text, "7 : 0  -  Зарядка");
    EXPECT_TRUE(list.items()[2].checked);
    EXPECT_EQ(list.itemIndex(), 0);
    EXPECT_TRUE(edit.enabled() && del.enabled());

    Store none;
    none.store.ListReminds({list, edit, del});
    EXPECT_TRUE(list.items().empty());
    EXPECT_FALSE(edit.enabled() || del.enabled());
}

TEST(RemindStoreList, EqualLinesFindTheLowerNumberAndShareEveryMark) {
    Store s;
    s.add({at("8", "0", "x"), at("9", "0", "y")});
    s.reg.putString(key(2), "TimeH", "8");
    s.reg.putString(key(2), "TimeM", "0");
    s.reg.putString(key(2), "Name", "x");  // written by hand: the editor would refuse it
    s.edit.SelectedRemind = 7;
    s.store.FindRemind("9 : 0  -  y");
    EXPECT_EQ(s.edit.SelectedRemind, 7) << "no match keeps the selection";
    s.store.FindRemind("8 : 0  -  x");
    EXPECT_EQ(s.edit.SelectedRemind, 1);

    ui::CheckListBox list("CheckListBox1");
    list.setItems({{"8 : 0  -  x", false}, {"8 : 0  -  x", true}});
    s.store.StoreRemindChecks(list);
    EXPECT_EQ(s.reg.dword(key(1), "RemindEnabled"), 1);
    EXPECT_EQ(s.reg.dword(key(2), "RemindEnabled"), 1);
}

TEST(RemindStoreList, ACheckForANumberWithoutAKeyMakesNoKey) {
    Store s;
    s.reg.putDword(kRemind, "RemindCount", 1);
    ui::CheckListBox list("CheckListBox1");
    list.setItems({{"- : -  -  ", true}});
    s.store.StoreRemindChecks(list);
    EXPECT_FALSE(s.keyThere(1));
}

TEST(RemindStoreLoad, FillsTheEditorAndTheSharedValues) {
    Store s;
    Reminder r = at("**", "45", "Разминка");
    r.OneLaunch = true;
    r.SoundType = 4;
    r.VoiceType = "Голос";
    r.SoundFile = "D:\\звук.wav";
    r.IgnoreDisSound = true;
    r.Msg = reminders::Message{"Пауза", "Встань и пройдись", 3};
    r.Days = {true, true, false, true, true, false, false};
    s.add({at("1", "0"), r});

    Reminder f;
    f.TimeH = "12";
    s.store.LoadRemindToEditor(2, f);
    EXPECT_EQ(f, r);
    EXPECT_EQ(s.edit.EditRemindH, "**");
    EXPECT_EQ(s.edit.EditRemindM, "45");
    EXPECT_EQ(s.edit.EditRemindVoice, "Голос");
    EXPECT_EQ(s.edit.RemindMsgCaption, "Пауза");
    EXPECT_EQ(s.edit.RemindMsgText, "Встань и пройдись");
    EXPECT_EQ(s.edit.RemindMsgIcon, 3);
    EXPECT_FALSE(s.edit.RemindLoading);

    Reminder untouched = at("3", "3", "своё");
    Reminder g = untouched;
    s.store.LoadRemindToEditor(3, g);
    EXPECT_EQ(g, untouched) << "a number above the count loads nothing";
    s.store.LoadRemindToEditor(0, g);
    EXPECT_EQ(g, untouched);
}

TEST(RemindStoreLoad, ValuesOutOfRangeLoadAsWhatTheyMean) {
    Store s;
    s.add({at("6", "0")});
    s.reg.putDword(key(1), "SoundType", -1);
    s.reg.putString(key(1), "MsgCaption", "c");
    s.reg.putString(key(1), "MsgText", "t");
    s.reg.putDword(key(1), "MsgIcon", 9);
    Reminder f;
    s.store.LoadRemindToEditor(1, f);
    EXPECT_FALSE(f.SoundType.has_value()) << "plays nothing, as no sound";
    ASSERT_TRUE(f.Msg.has_value());
    EXPECT_EQ(f.Msg->MsgIcon, 0) << "shows no icon, as 0";
    EXPECT_EQ(s.reg.dword(key(1), "MsgIcon"), 9) << "loading rewrites nothing";
}

TEST(RemindStoreCount, ACountThatIsNoCountIsTakenFromTheKeys) {
    Store s;
    s.add({at("1", "0", "a"), at("2", "0", "b")});
    s.reg.putString(kRemind, "RemindCount", "два");
    s.store.FindRemind("2 : 0  -  b");
    EXPECT_EQ(s.edit.SelectedRemind, 2);
    s.add({at("3", "0", "c")});
    EXPECT_EQ(s.count(), 3) << "the user's own edit writes a proper count";
    EXPECT_EQ(s.name(1), "a");
    EXPECT_EQ(s.name(3), "c");
}

// A count above the keys (another copy, a crash, a hand edit): each start lists the
// reminders that are there, tells it once, and closes the numbers up when it may write.
TEST(RemindStoreCount, NumbersWithoutAKeyAreLeftOutToldOnceAndClosedUp) {
    const struct {
        int count;
        std::vector<int> keys;
        bool readOnly;
        std::vector<std::string> listed;
    } cases[] = {
        {0, {}, false, {}},   {0, {1}, false, {}},  // the last one deleted, its key left behind
        {3, {1, 2, 3}, false, {"a", "b", "c"}},     {40, {1}, false, {"a"}},
        {5, {1, 3, 5}, false, {"a", "c", "e"}},     {40, {1}, true, {"a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " counted, " << c.keys.size() << " keys");
        Store s;
        for (int n : c.keys) s.reg.putString(key(n), "Name", std::string(1, char('a' + n - 1)));
        s.reg.putDword(kRemind, "RemindCount", c.count);
        s.reg.denyCurrentUser = c.readOnly;
        const std::size_t told = c.count > int(c.keys.size());
        for (int run = 0; run < 3; ++run) s.t.app.reminders.FindNextRemind();
        EXPECT_EQ(fakes::LoggedCodes(s.t.app).size(), told) << s.log();
        EXPECT_EQ(s.t.ui.modalForms.size(), told);
        EXPECT_EQ(s.listed(), c.listed);
        EXPECT_EQ(s.count(), c.readOnly ? c.count : int(c.listed.size()));
        for (std::size_t n = 1; !c.readOnly && n <= c.listed.size(); ++n) EXPECT_EQ(s.name(int(n)), c.listed[n - 1]);
    }
}

// The walks over the numbers grow with the count, not with its square.
TEST(RemindStoreCount, ASearchOverAnyCountTakesTimeInProportion) {
    auto seconds = [](int count) {
        double best = 1e9;
        for (int run = 0; run < 3; ++run) {
            Store s;
            s.reg.putString(key(1), "Name", "a");
            s.reg.putDword(kRemind, "RemindCount", count);
            const double start = fakes::threadSeconds();
            s.t.app.reminders.FindNextRemind();
            s.listed();
            s.store.StoreRemindChecks(s.list);
            best = std::min(best, fakes::threadSeconds() - start);
        }
        return best;
    };
    const double small = seconds(1000), large = seconds(4000);
    RecordProperty("us1000", int(small * 1e6));
    RecordProperty("us4000", int(large * 1e6));
    EXPECT_LT(large, 8 * small + 0.05) << small << " s at 1000, " << large << " s at 4000";
    EXPECT_LT(large, 1.0);
}
