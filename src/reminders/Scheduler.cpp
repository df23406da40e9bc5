#include "reminders/Scheduler.h"
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>
#include "errors/ErrorLog.h"
#include "platform/Path.h"
#include "reminders/Stored.h"

namespace reminders {

namespace code = errors::code;
using platform::RegValue;

namespace {

// Hour 0..max or minute 0..max, as text or as a number; nothing for anything else.
std::optional<int> numberIn(const RegValue& v, int max) {
    int x = 0;
    if (v.type == RegValue::Type::Dword) {
        x = v.dword;
    } else if (v.type == RegValue::Type::String) {
        const char* first = v.text.data();
        const char* last = first + v.text.size();
        const auto [end, error] = std::from_chars(first, last, x);
        if (first == last || error != std::errc() || end != last) return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (x < 0 || x > max) return std::nullopt;
    return x;
}

std::string shown(const RegValue& v) {
    switch (v.type) {
    case RegValue::Type::Missing: return "(нет значения)";
    case RegValue::Type::Dword: return std::to_string(v.dword);
    case RegValue::Type::String: return "'" + v.text + "'";
    default: return "(двоичное значение)";
    }
}

std::string today(const platform::LocalTime& t) { return DayValue(t.weekday == 0 ? 7 : t.weekday); }

long long minuteStamp(const platform::LocalTime& t) {
    return ((t.year * 100LL + t.month) * 100 + t.day) * 10000 + t.hour * 100 + t.minute;
}

constexpr unsigned kIcons[] = {0, ui::kMbIconInformation, ui::kMbIconExclamation, ui::kMbIconQuestion,
                               ui::kMbIconHand};

}  // namespace

// One reminder as the scheduler sees it: only enabled ones active today with
// a usable time are `active`.
struct Entry {
    bool active = false;
    bool noKey = false;  // a number inside the count without its key
    bool anyHour = false;
    int hour = 0, minute = 0;
    std::string name;
};

namespace {

template <class Damage>
Entry readEntry(platform::Registry& reg, int n, const std::string& day, std::vector<Damage>& damage,
                const errors::Code& code) {
    Entry e;
    const RegValue enabled = ReadRemind(reg, n, "RemindEnabled");
    if (enabled.missing()) {
        e.noKey = !reg.keyExists(kHive, RemindKeyOf(n));
        return e;
    }
    if (enabled.type != RegValue::Type::Dword) {
        damage.push_back({&code, n, "RemindEnabled", "ConversionError", shown(enabled)});
        return e;
    }
    if (enabled.dword == 0 || !ReadRemind(reg, n, day.c_str()).missing()) return e;
    const RegValue h = ReadRemind(reg, n, "TimeH");
    const RegValue m = ReadRemind(reg, n, "TimeM");
    const std::optional<int> minute = numberIn(m, 59);
    e.anyHour = h.type == RegValue::Type::String && h.text == "**";
    const std::optional<int> hour = e.anyHour ? std::optional<int>(0) : numberIn(h, 23);
    if (!hour) damage.push_back({&code, n, "TimeH", "ConversionError", shown(h)});
    if (!minute) damage.push_back({&code, n, "TimeM", "ConversionError", shown(m)});
    if (!hour || !minute) return e;
    e.hour = *hour;
    e.minute = *minute;
    e.name = TextOf(ReadRemind(reg, n, "Name")).value_or("");
    e.active = true;
    return e;
}

}  // namespace

Scheduler::Scheduler(Ports ports, Parts parts, NextRemind& next, errors::Guard& guard)
    : ports_(ports), parts_(parts), next_(next), guard_(guard) {}

void Scheduler::FindNextRemind() {
    std::vector<Damage> damage;
    seek(damage);
    tellOnce(damage);
}

void Scheduler::seek(std::vector<Damage>& damage) {
    searchOwed_ = !guard_(code::FindNextRemind, [&] { search(damage); });
}

// A search that failed is owed: tried again, quietly, once a minute until it
// succeeds, or the reminders it would have found are missed until the next
// half hour. Its first failure has been told.
void Scheduler::retrySearch(const platform::LocalTime& now) {
    if (!searchOwed_ || retried_ == minuteStamp(now)) return;
    retried_ = minuteStamp(now);
    std::vector<Damage> damage;
    try {
        search(damage);
    } catch (...) {
        return;
    }
    searchOwed_ = false;
    tellOnce(damage);
}

void Scheduler::search(std::vector<Damage>& damage) {
    const RemindTotal total = CountReminds(ports_.registry);
    if (total.damaged) damage.push_back({&code::FindNextRemind, 0, "RemindCount", "ConversionError", shown(total.stored)});
    if (total.n == 0) {
        next_.NextRemindH = 0;
        next_.NextRemindM = 0;
        next_.NextRemindSet = false;
        return;
    }
    const platform::LocalTime now = ports_.clock.now();
    const int hourNow = now.hour, minuteNow = now.minute;
    // The current minute is still ahead until its firing check, from
    // second 31, has come: a reminder of minute 00 or 30 keeps its place
    // through the searches of that minute's first half.
    auto ahead = [&](int m) { return m > minuteNow || (m == minuteNow && now.second <= 30); };
    const std::string day = today(now);
    int bestH = 50, bestM = 61;
    std::string bestName;
    bool gaps = false;
    for (int n = 1; n <= total.n; ++n) {
        const Entry e = readEntry(ports_.registry, n, day, damage, code::FindNextRemind);
        gaps = gaps || e.noKey;
        if (!e.active) continue;
        int h = e.anyHour ? (ahead(e.minute) ? hourNow : hourNow + 1) : e.hour;
        if (h < hourNow) h += 24;  // tomorrow
        // Only a strictly earlier time replaces the best: of equals the lowest number stays.
        if (h >= hourNow && h == bestH && ahead(e.minute) && e.minute < bestM) {
            bestM = e.minute;
            bestName = e.name;
        }
        if (h >= hourNow && h < bestH && (h > hourNow || ahead(e.minute))) {
            bestH = h;
            bestM = e.minute;
            bestName = e.name;
        }
    }
    if (gaps) closeGaps(damage);
    if (bestH > 23) bestH -= 24;
    next_.NextRemindH = bestH;
    next_.NextRemindM = bestM;
    next_.NextRemindSet = true;
    next_.NextRemindName = bestName;
}

// Found by the search, which runs first at every start: told once a run, and
// the numbers closed up for the walks to come (and for other copies).
void Scheduler::closeGaps(std::vector<Damage>& damage) {
    const RemindGaps gaps = FindGaps(ports_.registry);
    if (!gaps.any()) return;
    damage.push_back({&code::FindNextRemind, 0, "RemindCount", "RegistryError", gaps.text()});
    try {
        CloseGaps(ports_.registry, gaps);
    } catch (...) {
        // A registry that refuses it keeps the gaps: the walks leave them out,
        // and the next start tries again.
    }
}

void Scheduler::FireRemind(int hour, int minute, const std::string& name) {
    std::vector<Damage> damage;
    guard_(code::FireRemind, [&] {
        platform::Registry& reg = ports_.registry;
        const int total = CountReminds(reg).n;
        if (total < 1) return;
        const platform::LocalTime now = ports_.clock.now();
        const std::string day = today(now);
        int n = 1;
        std::vector<Damage> seen;  // the search tells of these
        for (; n <= total; ++n) {
            const Entry e = readEntry(reg, n, day, seen, code::FireRemind);
            if (e.active && e.name == name && (e.anyHour ? now.hour : e.hour) == hour && e.minute == minute) break;
        }
        if (n > total) return;
        auto read = [&](const char* value) { return ReadRemind(reg, n, value); };
        auto text = [](const RegValue& v) {
            return v.type == RegValue::Type::String ? std::optional<std::string>(v.text) : std::nullopt;
        };

        const bool ignoreLowTime = FlagOf(read("IgnoreLowTime"));
        const bool ignoreDisSound = FlagOf(read("IgnoreDisSound"));
        const RegValue soundType = read("SoundType");
        const std::optional<std::string> voice = text(read("VoiceType"));
        const bool wantsType = !soundType.missing() && !voice;
        const std::optional<std::string> file = text(read("SoundFile"));
        const RegValue caption = read("MsgCaption"), msgText = read("MsgText"), icon = read("MsgIcon");
        const bool wantsMessage = !caption.missing() && !msgText.missing() && !icon.missing();

        if (FlagOf(read("OneLaunch")))
            reg.writeDword(kHive, RemindKeyOf(n), "RemindEnabled", 0);  // before anything can fail or block
        parts_.channel.Stop();

        const bool silent = parts_.quickExit.imminent() || (parts_.sound.SoundDisabled && !ignoreDisSound) ||
                            (!ignoreLowTime && sound::QuietHour(parts_.settings, now.hour));
        bool sounded = false;
        if (!silent && wantsType) {
            if (const std::optional<int> type = numberIn(soundType, 4); type) {
                parts_.chime.PlayChimeSound(*type);
                sounded = true;
            } else {
                damage.push_back({&code::FireRemind, n, "SoundType", "ConversionError", shown(soundType)});
            }
        }
        if (!silent && voice) {
            // Not installed: the time is still spoken, with the first complete voice.
            if (!parts_.talk.VoiceIsComplete(*voice))
                damage.push_back({&code::FireRemind, n, "VoiceType", "FileError", "'" + *voice + "'"});
            parts_.talk.SpeakTime(*voice);
            sounded = true;
        }
        if (!silent && file) {
            std::error_code ec;
            if (std::filesystem::is_regular_file(platform::u8path(*file), ec))
                parts_.channel.Open(*file, sounded);
            else
                damage.push_back({&code::FireRemind, n, "SoundFile", "FileError", "'" + *file + "'"});
        }
        if (wantsMessage) {
            const std::optional<int> iconNumber = numberIn(icon, 4);
            if (!iconNumber) damage.push_back({&code::FireRemind, n, "MsgIcon", "ConversionError", shown(icon)});
            // Shown once the tick is over: its own loop must not hold the tick up.
            parts_.face.later([this, text = TextOf(msgText).value_or(""), title = TextOf(caption).value_or(""),
                               flags = ui::kMbOk | kIcons[iconNumber.value_or(0)] | ui::kMbTopmost] {
                guard_(code::FireRemind, [&] { parts_.face.messageBox(text, title, flags); });
            });
        }
    });
    tellOnce(damage);
}

bool Scheduler::TickStep(const platform::LocalTime& now) {
    retrySearch(now);
    if (!next_.NextRemindSet || now.second <= 30 || now.hour != next_.NextRemindH) return false;
    int minute = now.minute;
    bool called = false;
    // Once in its minute, whatever failed: a search that could not move past
    // it would otherwise fire it again on the next tick.
    const std::pair<long long, std::string> firing{minuteStamp(now), next_.NextRemindName};
    if (minute == next_.NextRemindM && std::find(fired_.begin(), fired_.end(), firing) == fired_.end()) {
        fired_.push_back(firing);
        if (fired_.size() > 64) fired_.pop_front();
        // Kept before the search moves past this minute.
        const int h = next_.NextRemindH, m = next_.NextRemindM;
        const std::string name = next_.NextRemindName;
        std::vector<Damage> damage;
        seek(damage);
        FireRemind(h, m, name);
        tellOnce(damage);
        minute = ports_.clock.now().minute;
        called = true;
    }
    // One fired before in this minute (the clock was set back): the search
    // still moves past it, once, or a reminder in the next minute is missed.
    const bool passed = minute == next_.NextRemindM && !called && passedSought_ != firing;
    if (passed) passedSought_ = firing;
    if (next_.NextRemindSet && next_.NextRemindH == now.hour && (next_.NextRemindM < minute || passed)) {
        FindNextRemind();
        called = true;
    }
    return called;
}

bool Scheduler::HalfHourStep(const platform::LocalTime& now) {
    if (now.second == 0 || (now.minute != 0 && now.minute != 30)) return false;
    // Within the minute nothing the search looks at changes but the second,
    // and the firing check searches again itself: once per minute will do.
    const long long stamp = minuteStamp(now);
    if (halfHourSought_ == stamp) return false;
    halfHourSought_ = stamp;
    FindNextRemind();
    return true;
}

void Scheduler::onResumed() {
    halfHourSought_.reset();
    FindNextRemind();
}

void Scheduler::tellOnce(std::vector<Damage>& found) {
    auto keyOf = [](const Damage& d) {
        return std::string(d.code->prefix) + '/' + std::to_string(d.remind) + '/' + d.value + '/' + d.text;
    };
    for (Damage& d : found) {
        std::string key = keyOf(d);
        if (told_.count(key) || !queued_.insert(key).second) continue;
        untold_.push_back({std::move(d), std::move(key)});
    }
    // Told from the clock's queue, once the handler that found it is over:
    // its error window must not hold up a tick or a system event half-way.
    if (untold_.empty() || telling_) return;
    telling_ = true;
    parts_.face.later([this] {
        telling_ = false;
        tellQueued();
    });
}

void Scheduler::tellQueued() {
    // The error window's own loop runs the tick, which may come back here:
    // each damage leaves the queue before it is told.
    while (!untold_.empty() && !guard_.windowOpen()) {
        auto [d, key] = std::move(untold_.front());
        untold_.pop_front();
        queued_.erase(key);
        if (!told_.insert(std::move(key)).second) continue;
        errors::Dump dump;
        if (d.remind > 0) dump.add("Remind", d.remind);
        dump.add(d.value, d.text);
        guard_.report(errors::errorCode(*d.code, 0), d.kind, dump.text());
    }
}

}  // namespace reminders
