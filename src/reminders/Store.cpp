#include "reminders/Store.h"
#include <algorithm>
#include <map>
#include <vector>
#include "errors/ErrorLog.h"
#include "platform/Failure.h"
#include "reminders/Stored.h"

namespace reminders {

namespace code = errors::code;
using platform::RegValue;

std::string RemindKeyOf(int n) { return std::string(kRemindKey) + "\\Remind" + std::to_string(n); }

std::string DisplayLine(const std::optional<std::string>& timeH, const std::optional<std::string>& timeM,
                        const std::optional<std::string>& name) {
    return timeH.value_or("-") + " : " + timeM.value_or("-") + "  -  " + name.value_or("");
}

// ---- reading ------------------------------------------------------------------------------------

RemindTotal CountReminds(platform::Registry& registry) {
    RemindTotal t;
    t.stored = registry.read(kHive, kRemindKey, "RemindCount");
    if (t.stored.missing()) return t;
    if (t.stored.type == RegValue::Type::Dword && t.stored.dword >= 0) {
        t.n = std::min(t.stored.dword, kMostReminds);
        return t;
    }
    t.damaged = true;
    while (t.n < kMostReminds && registry.keyExists(kHive, RemindKeyOf(t.n + 1))) ++t.n;
    return t;
}

RegValue ReadRemind(platform::Registry& registry, int n, const char* name) {
    return registry.read(kHive, RemindKeyOf(n), name);
}

bool RemindGaps::any() const { return int(present.size()) < std::min(counted, kMostReminds); }

std::string RemindGaps::text() const {
    std::string t = std::to_string(counted) + ", а ключей " + std::to_string(present.size()) + " (нет ";
    int told = 0, untold = 0;
    for (int n = 1, at = 0; n <= std::min(counted, kMostReminds); ++n) {
        if (at < int(present.size()) && present[std::size_t(at)] == n) {
            ++at;
            continue;
        }
        if (told == 3) {
            ++untold;
            continue;
        }
        t += (told++ ? ", Remind" : "Remind") + std::to_string(n);
    }
    if (untold > 0) t += " и ещё " + std::to_string(untold);
    return t + ")";
}

RemindGaps FindGaps(platform::Registry& registry) {
    RemindGaps g;
    const RegValue stored = registry.read(kHive, kRemindKey, "RemindCount");
    if (stored.type != RegValue::Type::Dword || stored.dword <= 0) return g;
    g.counted = stored.dword;
    for (int n = 1; n <= std::min(g.counted, kMostReminds); ++n)
        if (registry.keyExists(kHive, RemindKeyOf(n))) g.present.push_back(n);
    return g;
}

void CloseGaps(platform::Registry& registry, const RemindGaps& g) {
    // Each key goes to a number that is free by then: cut off half-way, the
    // store holds one reminder twice at worst, and the next walk goes on.
    for (std::size_t i = 0; i < g.present.size(); ++i) {
        const int to = int(i) + 1;
        if (g.present[i] == to) continue;
        registry.copyKeyTree(kHive, RemindKeyOf(g.present[i]), RemindKeyOf(to));
        registry.deleteKeyTree(kHive, RemindKeyOf(g.present[i]));
    }
    registry.writeDword(kHive, kRemindKey, "RemindCount", int(g.present.size()));
}

std::optional<std::string> TextOf(const RegValue& v) {
    if (v.type == RegValue::Type::String) return v.text;
    if (v.type == RegValue::Type::Dword) return std::to_string(v.dword);
    return std::nullopt;
}

bool FlagOf(const RegValue& v, bool otherwise) {
    return v.type == RegValue::Type::Dword ? v.dword != 0 : otherwise;
}

std::string DayValue(int day) { return "MD" + std::to_string(day); }

std::string LineOf(platform::Registry& registry, int n) {
    const auto name = TextOf(ReadRemind(registry, n, "Name"));
    const auto h = TextOf(ReadRemind(registry, n, "TimeH"));
    const auto m = TextOf(ReadRemind(registry, n, "TimeM"));
    return DisplayLine(h, m, name.value_or(""));
}

namespace {
using K = RemindKind;
constexpr RemindValue kValues[] = {
    {"Name", K::Text},           {"RemindEnabled", K::Flag}, {"OneLaunch", K::Flag},      {"TimeH", K::Text},
    {"TimeM", K::Text},          {"SoundType", K::Number},   {"VoiceType", K::Text},      {"SoundFile", K::Text},
    {"IgnoreLowTime", K::Flag},  {"IgnoreDisSound", K::Flag}, {"MsgCaption", K::Text},    {"MsgText", K::Text},
    {"MsgIcon", K::Number},      {"MD1", K::Flag},           {"MD2", K::Flag},            {"MD3", K::Flag},
    {"MD4", K::Flag},            {"MD5", K::Flag},           {"MD6", K::Flag},            {"MD7", K::Flag},
};
}  // namespace

std::span<const RemindValue> RemindValues() { return kValues; }

StoredReminds ReadStoredReminds(platform::Registry& registry) {
    StoredReminds s;
    s.exists = registry.keyExists(kHive, kRemindKey);
    if (!s.exists) return s;
    s.count = registry.read(kHive, kRemindKey, "RemindCount");
    const int counted = std::min(CountReminds(registry).n, kMostReminds);
    for (int n = 1; n <= kMostReminds; ++n) {
        std::optional<RemindRecord> record = registry.readAll(kHive, RemindKeyOf(n));
        if (!record && n > counted) break;
        s.keys.push_back(std::move(record));
    }
    while (!s.keys.empty() && !s.keys.back()) s.keys.pop_back();
    return s;
}

void WriteStoredReminds(platform::Registry& registry, const StoredReminds& s) {
    registry.deleteKeyTree(kHive, kRemindKey);
    if (!s.exists) return;
    registry.createKey(kHive, kRemindKey);
    for (std::size_t i = 0; i < s.keys.size(); ++i)
        if (s.keys[i]) registry.writeAll(kHive, RemindKeyOf(int(i) + 1), *s.keys[i]);
    // Counted last: cut off half-way, the store shows no half-written reminder.
    registry.writeAll(kHive, kRemindKey, {{"RemindCount", s.count}});
}

// ---- the store ----------------------------------------------------------------------------------

namespace {

void writeFlag(platform::Registry& r, const std::string& key, const char* name, bool v) {
    r.writeDword(kHive, key, name, v ? 1 : 0);
}

void writeRecord(platform::Registry& r, const std::string& key, const Reminder& f) {
    r.writeString(kHive, key, "Name", f.Name);
    writeFlag(r, key, "RemindEnabled", true);
    writeFlag(r, key, "OneLaunch", f.OneLaunch);
    r.writeString(kHive, key, "TimeH", f.TimeH);
    r.writeString(kHive, key, "TimeM", f.TimeM);
    if (f.SoundType) r.writeDword(kHive, key, "SoundType", *f.SoundType);
    if (f.VoiceType) r.writeString(kHive, key, "VoiceType", *f.VoiceType);
    if (f.SoundFile) r.writeString(kHive, key, "SoundFile", *f.SoundFile);
    writeFlag(r, key, "IgnoreLowTime", f.IgnoreLowTime);
    writeFlag(r, key, "IgnoreDisSound", f.IgnoreDisSound);
    if (f.Msg) {
        r.writeString(kHive, key, "MsgCaption", f.Msg->MsgCaption);
        r.writeString(kHive, key, "MsgText", f.Msg->MsgText);
        r.writeDword(kHive, key, "MsgIcon", f.Msg->MsgIcon);
    }
    for (int d = 1; d <= 7; ++d) {
        r.deleteValue(kHive, key, DayValue(d));
        if (!f.Days[d - 1]) writeFlag(r, key, DayValue(d).c_str(), false);
    }
}

// Value names as the registry compares them: without regard to (ASCII) case.
bool sameName(const std::string& a, const std::string& b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, {}, fold, fold);
}

// A number without a key reads as a reminder without values: only a line
// like that has its key looked for.
bool listed(platform::Registry& r, int n, const std::string& line) {
    static const std::string none = DisplayLine(std::nullopt, std::nullopt, std::nullopt);
    return line != none || r.keyExists(kHive, RemindKeyOf(n));
}

}  // namespace

Store::Store(platform::Registry& registry, RemindEdit& edit, errors::Guard& guard)
    : registry_(registry), edit_(edit), guard_(guard) {}

int Store::RemindTimeFree(const std::string& hour, const std::string& minute) {
    int free = 1;
    guard_(code::RemindTimeFree, [&] {
        const int n = CountReminds(registry_).n;
        for (int i = 1; i <= n; ++i) {
            const std::string h = TextOf(ReadRemind(registry_, i, "TimeH")).value_or("-");
            const std::string m = TextOf(ReadRemind(registry_, i, "TimeM")).value_or("-");
            if (m != minute) continue;
            if (hour != "**" && h != "**" && h != hour) continue;
            // The reminder being edited never collides with itself.
            if (edit_.ReminderEditMode == 0 || i != edit_.SelectedRemind) {
                free = 0;
                return;
            }
        }
    });
    return free;
}

int Store::AddRemind(const Reminder& fields) {
    int result = 1;
    guard_(code::AddRemind, [&] {
        if (RemindTimeFree(fields.TimeH, fields.TimeM) == 0) {
            result = 0;
            return;
        }
        closeGaps(code::AddRemind);
        const int n = CountReminds(registry_).n;
        const std::string key = RemindKeyOf(n + 1);
        // A key left beyond the count must not lend its values to the new reminder.
        registry_.deleteKeyTree(kHive, key);
        registry_.createKey(kHive, key);
        writeRecord(registry_, key, fields);
        // Counted last: a reminder cut off half-way stays outside the count.
        registry_.writeDword(kHive, kRemindKey, "RemindCount", n + 1);
    });
    return result;
}

int Store::UpdateRemind(const Reminder& fields) {
    int result = 1;
    guard_(code::UpdateRemind, [&] {
        if (RemindTimeFree(fields.TimeH, fields.TimeM) == 0) {
            result = 0;
            return;
        }
        const int n = CountReminds(registry_).n;
        const int selected = edit_.SelectedRemind;
        // Writing anyway would make a key that no list shows, and the edit would vanish unseen.
        if (selected < 1 || selected > n)
            throw platform::RegistryError("There is no reminder " + std::to_string(selected) + " to replace (" +
                                          std::to_string(n) + " stored)");
        const std::string key = RemindKeyOf(selected);
        registry_.deleteKeyTree(kHive, key);
        registry_.createKey(kHive, key);
        writeRecord(registry_, key, fields);
    });
    return result;
}

void Store::ListReminds(const ListView& view) {
    guard_(code::ListReminds, [&] {
        view.CheckListBox1.setItems({});
        view.Button2.setEnabled(false);
        view.Button3.setEnabled(false);
        const int n = CountReminds(registry_).n;
        std::vector<ui::CheckListBox::Item> items;
        for (int i = 1; i <= n; ++i) {
            std::string line = LineOf(registry_, i);
            if (listed(registry_, i, line))
                items.push_back({std::move(line), FlagOf(ReadRemind(registry_, i, "RemindEnabled"))});
        }
        std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.text < b.text; });
        view.CheckListBox1.setItems(std::move(items));
        if (view.CheckListBox1.items().empty()) return;
        view.CheckListBox1.setItemIndex(0);
        view.Button2.setEnabled(true);
        view.Button3.setEnabled(true);
    });
}

void Store::FindRemind(const std::string& line) {
    guard_(code::FindRemind, [&] {
        const int n = CountReminds(registry_).n;
        for (int i = 1; i <= n; ++i) {
            if (LineOf(registry_, i) == line && listed(registry_, i, line)) {
                edit_.SelectedRemind = i;
                return;
            }
        }
    });
}

void Store::LoadRemindToEditor(int n, Reminder& f) {
    guard_(code::LoadRemindToEditor, [&] {
        struct Loading {
            RemindEdit& e;
            explicit Loading(RemindEdit& edit) : e(edit) { e.RemindLoading = true; }
            ~Loading() { e.RemindLoading = false; }
            Loading(const Loading&) = delete;
            Loading& operator=(const Loading&) = delete;
        } loading(edit_);
        if (n < 1 || n > CountReminds(registry_).n || !registry_.keyExists(kHive, RemindKeyOf(n))) return;
        auto read = [&](const char* name) { return ReadRemind(registry_, n, name); };
        auto isDword = [](const RegValue& v) { return v.type == RegValue::Type::Dword; };

        if (auto v = TextOf(read("Name"))) f.Name = *v;
        if (RegValue v = read("OneLaunch"); isDword(v)) f.OneLaunch = v.dword != 0;
        if (auto v = TextOf(read("TimeH"))) f.TimeH = edit_.EditRemindH = *v;
        if (auto v = TextOf(read("TimeM"))) f.TimeM = edit_.EditRemindM = *v;
        // A sound number outside the list plays nothing: shown as no sound chosen.
        if (RegValue v = read("SoundType"); isDword(v) && v.dword >= 0 && v.dword <= 4) f.SoundType = v.dword;
        if (auto v = TextOf(read("VoiceType"))) f.VoiceType = edit_.EditRemindVoice = *v;
        if (auto v = TextOf(read("SoundFile"))) f.SoundFile = *v;
        if (RegValue v = read("IgnoreLowTime"); isDword(v)) f.IgnoreLowTime = v.dword != 0;
        if (RegValue v = read("IgnoreDisSound"); isDword(v)) f.IgnoreDisSound = v.dword != 0;
        const auto caption = TextOf(read("MsgCaption"));
        if (caption) edit_.RemindMsgCaption = *caption;
        if (auto v = TextOf(read("MsgText"))) edit_.RemindMsgText = *v;
        // An icon number outside 1..4 shows no icon, as 0 does.
        if (RegValue v = read("MsgIcon"); isDword(v)) edit_.RemindMsgIcon = v.dword >= 0 && v.dword <= 4 ? v.dword : 0;
        if (caption) f.Msg = Message{edit_.RemindMsgCaption, edit_.RemindMsgText, edit_.RemindMsgIcon};
        for (int d = 1; d <= 7; ++d) f.Days[d - 1] = read(DayValue(d).c_str()).missing();
    });
}

void Store::DeleteRemind() {
    guard_(code::DeleteRemind, [&] {
        closeGaps(code::DeleteRemind);
        const int n = CountReminds(registry_).n;
        const int selected = edit_.SelectedRemind;
        if (selected < 1 || selected > n) return;  // nothing chosen, nothing to delete
        // Each later reminder is copied over the one before it, and only then
        // are the values it lacks taken away: no number is ever without its
        // key, and cut off half-way the store holds the old list, or the new
        // one with one reminder twice (the lower of the two is the one the
        // list finds first, the one with values left over).
        for (int k = selected; k < n; ++k) {
            const std::optional<RemindRecord> over = registry_.readAll(kHive, RemindKeyOf(k));
            const std::optional<RemindRecord> moved = registry_.readAll(kHive, RemindKeyOf(k + 1));
            registry_.copyKeyTree(kHive, RemindKeyOf(k + 1), RemindKeyOf(k));
            for (const auto& [name, value] : over.value_or(RemindRecord{}))
                if (!moved || std::ranges::none_of(*moved, [&](const auto& m) { return sameName(m.first, name); }))
                    registry_.deleteValue(kHive, RemindKeyOf(k), name);
        }
        // Lowered before the last key goes: cut off between, that key is beyond the count.
        registry_.writeDword(kHive, kRemindKey, "RemindCount", n - 1);
        registry_.deleteKeyTree(kHive, RemindKeyOf(n));
    });
}

void Store::StoreRemindChecks(const ui::CheckListBox& list) {
    guard_(code::StoreRemindChecks, [&] {
        const int n = CountReminds(registry_).n;
        std::map<std::string, std::vector<int>> numbers;  // by line, rising
        for (int i = 1; i <= n; ++i) {
            std::string line = LineOf(registry_, i);
            // A number without a key (the count ran ahead of the keys) gets no key made for it.
            if (listed(registry_, i, line)) numbers[std::move(line)].push_back(i);
        }
        for (const ui::CheckListBox::Item& item : list.items()) {
            const auto found = numbers.find(item.text);
            if (found == numbers.end()) continue;
            for (int i : found->second) writeFlag(registry_, RemindKeyOf(i), "RemindEnabled", item.checked);
        }
    });
}

void Store::closeGaps(const errors::Code& code) {
    const RemindGaps gaps = FindGaps(registry_);
    if (!gaps.any()) return;
    CloseGaps(registry_, gaps);
    guard_.report(errors::errorCode(code, guard_.step()), "RegistryError",
                  errors::Dump().add("RemindCount", gaps.text()).text());
}

}  // namespace reminders
