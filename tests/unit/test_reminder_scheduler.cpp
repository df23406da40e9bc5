#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include "app/ClockWindow.h"
#include "forms/ClockMenuIds.h"
#include "fakes/Fakes.h"
#include "platform/Path.h"
#include "sound/TalkingClock.h"

namespace fs = std::filesystem;
using reminders::Reminder;

namespace {

const std::string kRemind = "Software\\Vantrel\\Lumivo\\Remind";
std::string key(int n) { return kRemind + "\\Remind" + std::to_string(n); }

Reminder at(const std::string& h, const std::string& m, const std::string& name, const std::string& caption = "") {
    Reminder r;
    r.Name = name;
    r.TimeH = h;
    r.TimeM = m;
    if (!caption.empty()) r.Msg = reminders::Message{caption, "текст: " + caption, 1};
    return r;
}

struct Event {
    std::string what;
    platform::LocalTime at;
    std::int64_t ms;
};

// The program with its clock window, in simulated time; what it shows and
// sounds is heard as it happens. December 2026: the 6th is a Sunday.
struct Clock {
    fakes::TestApp t;
    app::ClockWindow clock{t.app};
    fakes::Scheduler sched{t.clock, &t.ui};
    std::vector<Event> events;
    reminders::NextRemind& next = t.app.remind;

    Clock() {
        t.ui.onBox = [this] { heard("box " + t.ui.boxes.back().caption); };
        t.audio.onCall = [this](const std::string& what) { heard(what); };
    }
    void heard(const std::string& what) { events.push_back({what, t.clock.now(), t.clock.millis()}); }
    void add(const Reminder& r) { ASSERT_EQ(t.app.remindStore.AddRemind(r), 1) << r.TimeH << ":" << r.TimeM; }
    // Starts the clock window (its first paint seeks the next reminder).
    void start(int day, int hour, int minute, int second) {
        t.clock.set(2026, 12, day, hour, minute, second);
        t.ui.realize(clock.form());
        clock.form().paint();
        sched.watch(clock.form());
        t.app.settings.SoundHEnabled = 0;
        t.app.settings.VoiceEnabled = 0;
        t.app.settings.TimeOfLow = 0;
    }
    void runTo(int day, int hour, int minute, int second) {
        fakes::FakeClock target;
        target.set(2026, 12, day, hour, minute, second);
        sched.run(target.millis() - t.clock.millis());
    }
    // The machine wakes from sleep or the clock is set: no tick ran in between.
    void jump(int day, int hour, int minute, int second, unsigned msg, std::uintptr_t wParam = 0) {
        t.clock.set(2026, 12, day, hour, minute, second);
        sched.restart();
        clock.form().onMessage(msg, wParam, 0);
        t.ui.deliverPosted();
    }
    // Only the clock, no window: for the search on its own.
    void at(int day, int hour, int minute, int second = 0) { t.clock.set(2026, 12, day, hour, minute, second); }
    std::pair<int, int> due() const { return {next.NextRemindH, next.NextRemindM}; }
    std::vector<Event> heardOf(const std::string& prefix) const {
        std::vector<Event> out;
        for (const Event& e : events)
            if (e.what.starts_with(prefix)) out.push_back(e);
        return out;
    }
    std::string log() {
        std::ifstream f(t.app.guard.logFile());
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    std::size_t logged(const std::string& code) {
        const std::string text = log();
        std::size_t n = 0;
        for (std::size_t p = text.find(code); p != std::string::npos; p = text.find(code, p + 1)) ++n;
        return n;
    }
    fs::path file(const std::string& name) {
        const fs::path p = t.dir / platform::u8path(name);
        std::ofstream(p) << "RIFF";
        return p;
    }
};

std::string hms(const platform::LocalTime& t) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return b;
}

}  // namespace

TEST(RemindNext, EmptyStoreHasNothingDue) {
    Clock c;
    c.at(7, 10, 0);
    c.t.app.reminders.FindNextRemind();
    EXPECT_FALSE(c.next.NextRemindSet);
    EXPECT_EQ(c.due(), std::make_pair(0, 0));
}

TEST(RemindNext, EarlierHoursAreDueTomorrowAndAnyHourWrapsPastMidnight) {
    Clock c;
    c.add(at("7", "0", "Подъём"));
    c.at(7, 22, 10);
    c.t.app.reminders.FindNextRemind();
    EXPECT_TRUE(c.next.NextRemindSet);
    EXPECT_EQ(c.due(), std::make_pair(7, 0));
    EXPECT_EQ(c.next.NextRemindName, "Подъём");

    Clock any;
    any.add(at("**", "20", "Каждый час"));
    any.at(7, 10, 5);
    any.t.app.reminders.FindNextRemind();
    EXPECT_EQ(any.due(), std::make_pair(10, 20));
    any.at(7, 23, 30);
    any.t.app.reminders.FindNextRemind();
    EXPECT_EQ(any.due(), std::make_pair(0, 20));
}

TEST(RemindNext, TodaysDayValueAndTheEnabledMarkDecide) {
    Clock c;
    Reminder notSunday = at("9", "0", "не в воскресенье");
    notSunday.Days[6] = false;  // SP7: MD7 stored
    Reminder notMonday = at("9", "30", "не в понедельник");
    notMonday.Days[0] = false;  // MD1
    c.add(notSunday);
    c.add(notMonday);
    c.at(6, 8, 0);  // Sunday
    c.t.app.reminders.FindNextRemind();
    EXPECT_EQ(c.next.NextRemindName, "не в понедельник");
    c.at(7, 8, 0);  // Monday
    c.t.app.reminders.FindNextRemind();
    EXPECT_EQ(c.next.NextRemindName, "не в воскресенье");

    c.t.registry.putDword(key(1), "RemindEnabled", 0);
    c.t.app.reminders.FindNextRemind();
    EXPECT_EQ(c.due(), std::make_pair(26, 61)) << "reminders exist, none qualifies";
    EXPECT_TRUE(c.next.NextRemindSet);
    EXPECT_EQ(c.next.NextRemindName, "");
}

TEST(RemindTick, APassedMinuteWaitsForTheNextHourThenCountsAsTomorrow) {
    Clock c;
    c.add(at("10", "15", "Чай", "Чай"));
    c.start(7, 10, 20, 0);
    EXPECT_EQ(c.due(), std::make_pair(26, 61));
    c.runTo(7, 10, 59, 59);
    EXPECT_EQ(c.due(), std::make_pair(26, 61));
    c.runTo(7, 11, 0, 2);
    EXPECT_EQ(c.due(), std::make_pair(10, 15));
    EXPECT_TRUE(c.t.ui.boxes.empty());
}

TEST(RemindTick, AnyHourFiresInTheSecondHalfOfItsMinuteAndMovesToTheNextHour) {
    Clock c;
    c.add(at("**", "20", "Каждый час", "Каждый час"));
    c.start(7, 10, 5, 0);
    EXPECT_EQ(c.due(), std::make_pair(10, 20));
    c.runTo(7, 10, 20, 30);
    EXPECT_TRUE(c.t.ui.boxes.empty()) << "not in the first half of its minute";
    c.runTo(7, 10, 21, 0);
    ASSERT_EQ(c.heardOf("box").size(), 1u);
    EXPECT_EQ(hms(c.heardOf("box")[0].at), "10:20:31");
    EXPECT_EQ(c.due(), std::make_pair(11, 20));
}

TEST(RemindTick, RemindersOnTheHourAndHalfHourFireOnceEach) {
    Clock c;
    c.add(at("10", "30", "Совещание", "Совещание"));
    c.add(at("10", "0", "Чай", "Чай"));
    c.add(at("11", "0", "Обед", "Обед"));
    c.start(7, 9, 59, 50);
    c.runTo(7, 11, 1, 0);
    const auto boxes = c.heardOf("box");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].what + " " + hms(boxes[0].at), "box Чай 10:00:31");
    EXPECT_EQ(boxes[1].what + " " + hms(boxes[1].at), "box Совещание 10:30:31");
    EXPECT_EQ(boxes[2].what + " " + hms(boxes[2].at), "box Обед 11:00:31");
}

TEST(RemindTick, AReminderForTheCurrentMinuteFiresIfItsSecondHalfIsStillAhead) {
    Clock early;
    early.add(at("10", "30", "Совещание", "Совещание"));
    early.start(7, 10, 30, 10);
    early.runTo(7, 10, 31, 0);
    EXPECT_EQ(early.heardOf("box").size(), 1u);

    Clock late;
    late.add(at("10", "30", "Совещание", "Совещание"));
    late.start(7, 10, 30, 40);
    late.runTo(7, 10, 31, 0);
    EXPECT_TRUE(late.heardOf("box").empty()) << "its firing time had gone when the clock started";
}

// Asleep from 10:10 with 10:15 next, the 14:20 reminder still fires after waking at 14:05;
// a clock set back past a minute already fired does not fire it again, and a
// reminder added for the next minute is not missed for it.
TEST(RemindTick, AfterSleepOrAClockSetBackEachReminderFiresOnceInItsMinute) {
    Clock c;
    c.add(at("10", "15", "Кофе", "Кофе"));
    c.add(at("14", "20", "Звонок", "Звонок"));
    c.add(at("14", "57", "Почта", "Почта"));
    c.start(7, 10, 5, 0);
    c.runTo(7, 10, 10, 0);
    c.jump(7, 14, 5, 0, forms::kMsgPowerBroadcast, forms::kPbtResumeSuspend);
    EXPECT_EQ(c.due(), std::make_pair(14, 20));
    c.runTo(7, 14, 58, 0);
    c.jump(7, 14, 40, 0, forms::kMsgTimeChange);
    c.add(at("14", "58", "Чай", "Чай"));
    c.runTo(7, 15, 0, 0);
    std::vector<std::string> boxes;
    for (const Event& e : c.heardOf("box")) boxes.push_back(e.what + " " + hms(e.at));
    EXPECT_EQ(boxes, (std::vector<std::string>{"box Звонок 14:20:31", "box Почта 14:57:31", "box Чай 14:58:31"}));
}

// A search fails and its error window stays up for 40 s. In the firing tick:
// the reminder still shows in its minute, once, and the next one is found.
// On waking: the search is tried again, and the reminder due after it fires.
TEST(RemindTick, AReminderFiresOnceInItsMinuteThoughTheSearchFailsThere) {
    Clock c;
    c.add(at("10", "20", "Чай", "Чай"));
    c.add(at("10", "21", "Обед", "Обед"));
    c.add(at("12", "0", "Кофе", "Кофе"));  // slept through, and found before the sleep
    c.add(at("14", "20", "Звонок", "Звонок"));
    c.start(7, 10, 19, 0);
    c.runTo(7, 10, 20, 30);
    c.t.registry.failReadAt = 1;
    c.t.ui.onModal = [&](ui::Form& f) {
        if (f.className() == "TFormError") c.t.clock.advance(40 * 1000);
    };
    c.runTo(7, 10, 23, 0);
    c.t.registry.failReadAt = 1;
    c.jump(7, 14, 5, 0, forms::kMsgPowerBroadcast, forms::kPbtResumeSuspend);
    c.runTo(7, 14, 21, 0);
    std::vector<std::string> boxes;
    for (const Event& e : c.heardOf("box")) boxes.push_back(e.what + " " + hms(e.at));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].substr(0, boxes[0].size() - 3), "box Чай 10:20") << boxes[0];
    EXPECT_EQ(std::vector<std::string>(boxes.begin() + 1, boxes.end()),
              (std::vector<std::string>{"box Обед 10:21:31", "box Звонок 14:20:31"}));
    EXPECT_EQ(std::count(c.t.ui.modalForms.begin(), c.t.ui.modalForms.end(), "TFormError"), 2) << "each failure told once";
}

TEST(RemindFire, MatchesNameHourAndMinuteApartAndOnlyEnabledRemindersOfToday) {
    Clock c;
    c.add(at("11", "5", "x", "не тот"));
    c.add(at("1", "5", "x1", "тот"));
    c.at(7, 1, 5, 40);
    c.t.app.reminders.FireRemind(1, 5, "x1");
    ASSERT_EQ(c.t.ui.boxes.size(), 1u);
    EXPECT_EQ(c.t.ui.boxes[0].caption, "тот");

    Clock twin;
    twin.add(at("8", "0", "Чай", "выключенный"));
    twin.add(at("8", "1", "Чай", "включённый"));
    twin.t.registry.putString(key(2), "TimeM", "0");
    twin.t.registry.putDword(key(1), "RemindEnabled", 0);
    Reminder notToday = at("8", "2", "Чай", "не сегодня");
    notToday.Days[0] = false;
    twin.add(notToday);
    twin.t.registry.putString(key(3), "TimeM", "0");
    twin.add(at("8", "3", "Чай", "третий"));
    twin.t.registry.putString(key(4), "TimeM", "0");
    twin.at(7, 8, 0, 20);  // Monday
    twin.t.app.reminders.FindNextRemind();
    EXPECT_EQ(twin.due(), std::make_pair(8, 0));
    twin.at(7, 8, 0, 40);
    twin.t.app.reminders.FireRemind(8, 0, "Чай");
    ASSERT_EQ(twin.t.ui.boxes.size(), 1u);
    EXPECT_EQ(twin.t.ui.boxes[0].caption, "включённый") << "of the enabled ones of today the lowest number";
}

TEST(RemindFire, TheMessageIsTopmostOwnedByTheClockWithItsIcon) {
    Clock c;
    c.start(7, 8, 0, 0);
    const unsigned icons[] = {0, ui::kMbIconInformation, ui::kMbIconExclamation, ui::kMbIconQuestion,
                              ui::kMbIconHand, 0};
    for (int icon = 0; icon <= 5; ++icon) {
        const std::string m = std::to_string(10 + icon);
        c.t.registry.putString(key(icon + 1), "Name", "r");
        c.t.registry.putDword(key(icon + 1), "RemindEnabled", 1);
        c.t.registry.putString(key(icon + 1), "TimeH", "9");
        c.t.registry.putString(key(icon + 1), "TimeM", m);
        c.t.registry.putString(key(icon + 1), "MsgCaption", "Заголовок " + m);
        c.t.registry.putString(key(icon + 1), "MsgText", "Текст");
        c.t.registry.putDword(key(icon + 1), "MsgIcon", icon == 5 ? 7 : icon);
    }
    c.t.registry.putDword(kRemind, "RemindCount", 6);
    c.at(7, 9, 0, 40);
    for (int icon = 0; icon <= 5; ++icon) c.t.app.reminders.FireRemind(9, 10 + icon, "r");
    EXPECT_TRUE(c.t.ui.boxes.empty()) << "shown once the firing is over";
    c.t.ui.deliverPosted();
    ASSERT_EQ(c.t.ui.boxes.size(), 6u);
    for (int icon = 0; icon <= 5; ++icon) {
        EXPECT_EQ(c.t.ui.boxes[icon].flags, icons[icon] | ui::kMbTopmost) << icon;
        EXPECT_EQ(c.t.ui.boxes[icon].owner, &c.clock.form());
        EXPECT_EQ(c.t.ui.boxes[icon].text, "Текст");
    }

    c.t.registry.deleteValue(platform::Hive::CurrentUser, key(1), "MsgText");
    c.t.app.reminders.FireRemind(9, 10, "r");
    c.t.ui.deliverPosted();
    EXPECT_EQ(c.t.ui.boxes.size(), 6u) << "a caption without its text shows no box";
}

TEST(RemindFire, ASystemSoundThenHalfASecondThenTheFile) {
    Clock c;
    Reminder r = at("10", "15", "Звук", "Звук");
    r.SoundType = 1;
    r.SoundFile = platform::u8string(c.file("мелодия.mp3"));
    c.add(r);
    c.start(7, 10, 14, 50);
    c.runTo(7, 10, 16, 0);
    const auto beep = c.heardOf("beep 48"), open = c.heardOf("open");
    ASSERT_EQ(beep.size(), 1u);
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].what, "open \"" + *r.SoundFile + "\" alias mySndR");
    EXPECT_GE(open[0].ms - beep[0].ms, 500);
    EXPECT_LT(open[0].ms - beep[0].ms, 600);
    const auto box = c.heardOf("box");
    ASSERT_EQ(box.size(), 1u);
    EXPECT_LT(box[0].ms, open[0].ms) << "the box does not hold the file back: the pause is a timer";
    EXPECT_TRUE(c.clock.MainPoM().item("N6").visible);
}

TEST(RemindFire, AVoiceSpeaksInsteadOfTheSystemSoundAndItsSettingIsKept) {
    Clock c;
    const fs::path dir = c.t.dir / "Sounds" / platform::u8path("Второй");
    fs::create_directories(dir);
    for (const char* f : sound::kVoiceFiles) std::ofstream(dir / f) << "RIFF";
    Reminder r = at("10", "15", "Голос");
    r.SoundType = 1;
    r.VoiceType = "Второй";
    r.SoundFile = platform::u8string(c.file("a.wav"));
    c.add(r);
    c.start(7, 10, 14, 50);
    c.t.app.settings.VoiceType = "Первый";
    std::set<std::string> whileSpoken;  // a store or a chime meanwhile would see the setting
    c.t.audio.onPlay = [&] { whileSpoken.insert(c.t.app.settings.VoiceType); };
    c.runTo(7, 10, 16, 0);
    EXPECT_TRUE(c.heardOf("beep").empty());
    ASSERT_FALSE(c.t.audio.played.empty());
    EXPECT_NE(c.t.audio.played[0].find("Второй"), std::string::npos);
    EXPECT_EQ(c.t.app.settings.VoiceType, "Первый");
    EXPECT_EQ(whileSpoken, std::set<std::string>{"Первый"});
    EXPECT_EQ(c.heardOf("open").size(), 1u);
}

TEST(RemindFire, QuietHoursSoundOffAndAnEndingQuickExitSilenceSoundsNeverTheMessage) {
    struct Case {
        const char* what;
        int hour;
        bool ignoreLow, ignoreOff, soundOff, quickExit;
        bool sounds;
    };
    const Case cases[] = {
        {"quiet hour", 23, false, false, false, false, false},
        {"quiet hour ignored", 23, true, false, false, false, true},
        {"before the quiet hours end", 8, false, false, false, false, false},
        {"after the quiet hours", 9, false, false, false, false, true},
        {"sound off", 12, false, false, true, false, false},
        {"sound off ignored", 12, false, true, true, false, true},
        {"quick exit ending", 12, true, true, false, true, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Clock c;
        Reminder r = at(std::to_string(k.hour), "10", "r", "Сообщение");
        r.SoundType = 4;
        r.SoundFile = platform::u8string(c.file("a.wav"));
        r.IgnoreLowTime = k.ignoreLow;
        r.IgnoreDisSound = k.ignoreOff;
        c.add(r);
        c.start(7, k.hour, 9, 55);
        c.t.app.settings.TimeOfLow = 1;
        c.t.app.settings.TimeOfLowF = 22;
        c.t.app.settings.TimeOfLowS = 9;
        c.t.app.sound.SoundDisabled = k.soundOff;
        if (k.quickExit) {
            c.t.app.qsd.QSDWork = quickexit::kRunning;
            c.t.app.qsd.QSDWTimerH = 0;
            c.t.app.qsd.QSDWTimerM = 1;
        }
        c.runTo(7, k.hour, 11, 0);
        EXPECT_EQ(c.heardOf("box").size(), 1u);
        EXPECT_EQ(c.heardOf("beep").size(), k.sounds ? 1u : 0u);
        EXPECT_EQ(c.heardOf("open").size(), k.sounds ? 1u : 0u);
    }
}

TEST(RemindFire, AOneShotReminderIsDisabledAsItFires) {
    Clock c;
    Reminder r = at("12", "5", "Один раз", "Один раз");
    r.OneLaunch = true;
    c.add(r);
    c.start(7, 12, 4, 50);
    c.runTo(7, 12, 6, 0);
    EXPECT_EQ(c.heardOf("box").size(), 1u);
    EXPECT_EQ(c.t.registry.dword(key(1), "RemindEnabled"), 0);
    c.runTo(7, 13, 0, 5);
    EXPECT_EQ(c.due(), std::make_pair(26, 61)) << "never due again";
}

TEST(RemindFire, AFileTheDeviceCannotOpenLeavesNoPollRunning) {
    Clock c;
    Reminder r = at("10", "15", "r");
    r.SoundFile = platform::u8string(c.file("битый.wma"));
    c.add(r);
    c.start(7, 10, 14, 50);
    c.t.audio.refuseMci = "open";
    c.runTo(7, 10, 16, 0);
    EXPECT_EQ(c.heardOf("open").size(), 1u);
    EXPECT_TRUE(c.heardOf("play").empty());
    EXPECT_FALSE(c.clock.MainPoM().item("N6").visible);
    EXPECT_FALSE(c.clock.TimerMySnd().enabled());
}

// Values written by hand or by an older copy: each is told once, the clock
// runs on, every other reminder fires, and nothing is rewritten.
TEST(RemindDamage, EachBadValueIsToldOnceAndTheGoodRemindersStillFire) {
    Clock c;
    c.add(at("10", "15", "хороший", "Хороший"));
    c.add(at("10", "16", "буквы"));
    c.t.registry.putString(key(2), "TimeH", "abc");
    c.add(at("10", "17", "минуты"));
    c.t.registry.putString(key(3), "TimeM", "75");
    c.add(at("10", "18", "без минут"));
    c.t.registry.deleteValue(platform::Hive::CurrentUser, key(4), "TimeM");
    Reminder sounds = at("10", "20", "звуки", "Звуки");
    sounds.SoundType = 1;
    sounds.VoiceType = "Нет такого";
    sounds.SoundFile = "/нет/такого/файла.mp3";
    c.add(sounds);
    Reminder sysSound = at("10", "25", "системный", "Системный");
    sysSound.SoundType = 1;
    sysSound.SoundFile = platform::u8string(c.file("есть.wav"));
    c.add(sysSound);
    c.t.registry.putDword(key(6), "SoundType", -1);
    c.t.registry.putDword(key(6), "MsgIcon", 9);
    c.t.registry.putString(key(9), "Name", "за счётом");  // beyond the count: not a reminder
    c.t.registry.putDword(key(9), "RemindEnabled", 1);
    c.t.registry.putString(key(9), "TimeH", "10");
    c.t.registry.putString(key(9), "TimeM", "19");
    c.t.registry.putDword(kRemind, "RemindCount", 7);  // one more than the keys
    const fs::path voice = c.t.dir / "Sounds" / "Voice";
    fs::create_directories(voice);
    for (const char* f : sound::kVoiceFiles) std::ofstream(voice / f) << "RIFF";
    auto stored = [&c] {
        auto v = c.t.registry.values;
        std::erase_if(v, [](const auto& kv) { return !std::get<1>(kv.first).starts_with("software\\vantrel\\lumivo\\remind"); });
        return v;
    };
    const auto before = stored();

    c.start(7, 10, 14, 0);
    c.runTo(7, 11, 1, 5);
    const auto boxes = c.heardOf("box");
    std::vector<std::string> shown;
    for (const Event& e : boxes) shown.push_back(e.what);
    EXPECT_EQ(shown, (std::vector<std::string>{"box Хороший", "box Звуки", "box Системный"}));
    EXPECT_EQ(c.t.ui.boxes[2].flags, ui::kMbTopmost) << "icon 9: no icon";
    EXPECT_TRUE(c.heardOf("beep 48").empty()) << "sound type -1 plays nothing";
    EXPECT_EQ(c.heardOf("open").size(), 1u) << "only the file that exists";
    EXPECT_NE(c.t.audio.played.size(), 0u) << "a missing voice: the time is spoken by the one there is";

    EXPECT_EQ(c.logged("0.013 - 015."), 4u) << "TimeH, TimeM twice, the missing key";
    EXPECT_EQ(c.logged("0.013 - 016."), 4u) << "the voice, the file, the sound type, the icon";
    EXPECT_NE(c.log().find("abc"), std::string::npos);
    EXPECT_NE(c.log().find("7, а ключей 6 (нет Remind7)"), std::string::npos);
    auto counted = before;
    counted[{platform::Hive::CurrentUser, "software\\vantrel\\lumivo\\remind", "remindcount"}].dword = 6;
    EXPECT_EQ(stored(), counted) << "nothing rewritten but the count, nothing deleted";
    EXPECT_EQ(c.t.app.sound.SoundHLast, "25") << "the clock ran on";
}

TEST(RemindDamage, ACountThatIsNoCountIsToldOnceAndTheKeysAreUsed) {
    for (const bool negative : {true, false}) {
        Clock c;
        c.add(at("10", "15", "хороший", "Хороший"));
        if (negative)
            c.t.registry.putDword(kRemind, "RemindCount", -3);
        else
            c.t.registry.putString(kRemind, "RemindCount", "1");
        c.start(7, 9, 59, 0);
        c.runTo(7, 10, 31, 0);
        EXPECT_EQ(c.heardOf("box").size(), 1u);
        EXPECT_EQ(c.logged("0.013 - 015."), 1u);
        EXPECT_FALSE(c.t.registry.dword(kRemind, "RemindCount").has_value() && !negative);
    }
}

// A day of the running clock: every reminder fires in its minute's second
// half exactly once, silenced where it must be, and the store is read only
// at the half hours and for a firing.
TEST(RemindDay, EveryReminderFiresWhenItShouldAndTheStoreIsReadOnlyWhenNeeded) {
    Clock c;
    Reminder twin = at("10", "1", "Чай", "Чай (выключен)");
    Reminder wake = at("7", "0", "Подъём", "Подъём");
    wake.SoundType = 1;
    Reminder tea = at("10", "0", "Чай", "Чай");
    tea.SoundType = 2;
    Reminder meeting = at("10", "30", "Совещание", "Совещание");
    meeting.SoundType = 3;
    Reminder hourly = at("**", "20", "Каждый час", "Каждый час");
    hourly.SoundType = 4;
    Reminder once = at("12", "5", "Один раз", "Один раз");
    once.SoundType = 0;
    once.OneLaunch = true;
    for (const Reminder& r : {twin, wake, tea, meeting, hourly, once}) c.add(r);
    c.t.registry.putString(key(1), "TimeM", "0");
    c.t.registry.putDword(key(1), "RemindEnabled", 0);

    c.start(7, 0, 0, 0);
    c.t.app.settings.TimeOfLow = 1;
    c.t.app.settings.TimeOfLowF = 22;
    c.t.app.settings.TimeOfLowS = 9;
    c.t.registry.calls = 0;
    struct Tick { platform::LocalTime at; std::size_t calls; };
    std::vector<Tick> reading;
    auto tick = c.clock.Timer1().onTimer;
    c.clock.Timer1().onTimer = [&] {
        const std::size_t before = c.t.registry.calls;
        const platform::LocalTime at = c.t.clock.now();
        tick();
        if (c.t.registry.calls != before) reading.push_back({at, c.t.registry.calls - before});
    };
    c.runTo(7, 10, 25, 0);
    c.t.app.sound.SoundDisabled = true;
    c.runTo(7, 10, 35, 0);
    c.t.app.sound.SoundDisabled = false;
    c.runTo(8, 0, 0, 5);

    std::vector<std::string> expectBoxes, expectBeeps;
    for (int h = 0; h < 24; ++h) {
        char b[8];
        std::snprintf(b, sizeof b, "%02d:", h);
        const std::string hh = b;
        const bool quiet = h >= 22 || h < 9;
        if (h == 7) expectBoxes.push_back("box Подъём 07:00:31");
        if (h == 10) {
            expectBoxes.push_back("box Чай 10:00:31");
            expectBeeps.push_back("beep 16 10:00:31");
        }
        if (h == 12) {
            expectBoxes.push_back("box Один раз 12:05:31");
            expectBeeps.push_back("beep 0 12:05:31");
        }
        expectBoxes.push_back("box Каждый час " + hh + "20:31");
        if (!quiet) expectBeeps.push_back("beep 64 " + hh + "20:31");
        if (h == 10) expectBoxes.push_back("box Совещание 10:30:31");  // sound off: no beep 32
    }
    std::vector<std::string> boxes, beeps;
    for (const Event& e : c.heardOf("box")) boxes.push_back(e.what + " " + hms(e.at));
    for (const Event& e : c.heardOf("beep")) beeps.push_back(e.what + " " + hms(e.at));
    EXPECT_EQ(boxes, expectBoxes);
    EXPECT_EQ(beeps, expectBeeps);
    EXPECT_EQ(c.t.registry.dword(key(6), "RemindEnabled"), 0);

    // The store is read at the first tick of each half-hour minute and in
    // the tick that fires; never in any other.
    const std::size_t firings = expectBoxes.size();
    std::size_t halfHours = 0, fires = 0;
    for (const Tick& k : reading) {
        SCOPED_TRACE(hms(k.at));
        const bool halfHour = (k.at.minute == 0 || k.at.minute == 30) && k.at.second == 1;
        const bool fire = k.at.second == 31;
        EXPECT_TRUE(halfHour || fire);
        halfHours += halfHour;
        fires += fire;
        EXPECT_LE(k.calls, 100u);
    }
    RecordProperty("registryCalls", int(c.t.registry.calls));
    RecordProperty("readingTicks", int(reading.size()));
    EXPECT_EQ(halfHours, 49u) << "48 half hours and the next midnight";
    EXPECT_EQ(fires, firings);
    EXPECT_LE(c.t.registry.calls, 30 * halfHours + 70 * firings) << c.t.registry.calls;
    EXPECT_GE(c.sched.fired("Timer1"), 24 * 72'000);
}

TEST(RemindDamage, WhatTheOpenErrorWindowWouldDropIsToldWhenItHasClosed) {
    Clock c;
    c.add(at("9", "10", "r", "Сообщение"));
    c.t.registry.putDword(key(1), "MsgIcon", 9);
    c.at(7, 9, 10, 40);
    c.t.app.err.ErrorWindowOpen = true;
    c.t.app.reminders.FireRemind(9, 10, "r");
    EXPECT_EQ(c.t.ui.boxes.size(), 1u);
    EXPECT_EQ(c.logged("0.013 - 016."), 0u);
    c.t.app.err.ErrorWindowOpen = false;
    c.t.app.reminders.FindNextRemind();
    EXPECT_EQ(c.logged("0.013 - 016."), 1u) << "the next search tells it";
    c.t.app.reminders.FireRemind(9, 10, "r");
    c.t.app.reminders.FindNextRemind();
    EXPECT_EQ(c.logged("0.013 - 016."), 1u) << "and only once";
}

TEST(RemindDamage, DamageFoundAtTheFiringCheckIsToldAfterTheReminder) {
    Clock c;
    c.add(at("11", "0", "позже"));
    c.add(at("10", "15", "хороший", "Хороший"));
    c.start(7, 10, 14, 50);
    c.t.ui.onModal = [&c](ui::Form& f) { c.heard("window " + f.className()); };
    c.runTo(7, 10, 15, 10);
    c.t.registry.putString(key(1), "TimeH", "abc");  // by hand, after the last search
    c.runTo(7, 10, 16, 0);
    std::vector<std::string> order;
    for (const Event& e : c.events)
        if (e.what.starts_with("box") || e.what.starts_with("window")) order.push_back(e.what);
    EXPECT_EQ(order, (std::vector<std::string>{"box Хороший", "window TFormError"}));
}
