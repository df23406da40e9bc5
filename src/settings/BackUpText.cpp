#include "settings/BackUpText.h"
#include <algorithm>
#include <cstdint>
#include "settings/Fields.h"

namespace settings {

namespace {

using platform::RegValue;
using reminders::RemindKind;

constexpr const char* kMain = "Main";
constexpr const char* kTitleKey = "THIS STRING IS TITLE, DON`T EDIT IT!";
constexpr std::string_view kTitle = "<Lumivo BackUp File>";
constexpr const char* kFormat = "01.00";
constexpr const char* kSeal = "ControlSize";
// The length seal misses a change that keeps the length (a digit for a
// digit): a checksum of the text beside it catches that. Older copies ignore
// the key, and its fixed width keeps their length seal true.
constexpr const char* kSum = "ControlSum";
constexpr const char* kNoSum = "00000000";

// FNV-1a of the file as it reads with both seals at their blanks.
std::string checksum(IniText text) {
    text.set(kMain, kSeal, "0");
    text.set(kMain, kSum, kNoSum);
    std::uint32_t h = 2166136261u;
    for (const char c : text.bytes()) h = (h ^ std::uint8_t(c)) * 16777619u;
    static const char digits[] = "0123456789ABCDEF";
    std::string hex(8, '0');
    for (int i = 7; i >= 0; --i, h >>= 4) hex[std::size_t(i)] = digits[h & 0xF];
    return hex;
}
constexpr const char* kRemind = "Remind";
constexpr const char* kCount = "RemindCount";

std::optional<int> number(const IniText& text, const char* section, const char* key) {
    const auto v = text.get(section, key);
    return v ? IniNumber(*v) : std::nullopt;
}

bool sameLetters(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, {}, fold, fold);
}

std::string remindSection(int n) { return kRemind + std::to_string(n); }

std::string fileValue(const Field& f, const Settings& s) {
    if (f.type == Type::Text) return s.*f.text;
    if (f.type == Type::Int) return std::to_string(f.get(s));
    return f.get(s) ? "1" : "0";
}

// A number the file gives, as the field takes it; a value that is not a number
// leaves the field as it is.
void readValue(const Field& f, const std::string& raw, Settings& s) {
    if (f.type == Type::Text) {
        s.*f.text = raw;
        return;
    }
    const auto n = IniNumber(raw);
    if (!n) return;
    switch (f.type) {
        case Type::Int: f.set(s, *n); break;
        case Type::Bool: f.set(s, *n != 0); break;
        case Type::StyleBit: f.set(s, *n == 1); break;
        case Type::Text: break;
    }
}

RegValue storedOf(RemindKind kind, const std::string& raw) {
    RegValue v;
    if (kind == RemindKind::Text) {
        v.type = RegValue::Type::String;
        v.text = raw;
        return v;
    }
    v.type = RegValue::Type::Dword;
    v.dword = IniNumber(raw).value_or(0);
    if (kind == RemindKind::Flag) v.dword = v.dword != 0;
    return v;
}

std::optional<std::string> fileTextOf(RemindKind kind, const RegValue& v) {
    if (v.type == RegValue::Type::Other || v.missing()) return std::nullopt;
    if (kind == RemindKind::Flag) return reminders::FlagOf(v) ? "1" : "0";
    return reminders::TextOf(v);
}

// In bytes, without its line break.
std::size_t longestLine(std::string_view bytes) {
    std::size_t longest = 0;
    for (std::size_t at = 0; at <= bytes.size();) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos) end = bytes.size();
        const std::size_t length = end - at - (end > at && bytes[end - 1] == '\r' ? 1 : 0);
        longest = std::max(longest, length);
        at = end + 1;
    }
    return longest;
}

std::optional<reminders::StoredReminds> fileReminds(const IniText& text) {
    const auto count = number(text, kRemind, kCount);
    if (!count || *count <= 0) return std::nullopt;
    reminders::StoredReminds r;
    r.exists = true;
    r.count.type = RegValue::Type::Dword;
    r.count.dword = std::min(*count, kMostBackUpReminds);
    // A missing section still makes its (empty) reminder.
    for (int n = 1; n <= r.count.dword; ++n) {
        reminders::RemindRecord& record = r.keys.emplace_back().emplace();
        const std::string section = remindSection(n);
        if (!text.hasSection(section)) continue;
        for (const reminders::RemindValue& v : reminders::RemindValues())
            if (const auto raw = text.get(section, v.name)) record.emplace_back(v.name, storedOf(v.kind, *raw));
    }
    return r;
}

}  // namespace

CheckedFile CheckBackUp(std::string bytes) {
    CheckedFile out;
    if (bytes.size() > kMostBackUpBytes) {
        out.refusal = Refusal::TooBig;
        return out;
    }
    const std::size_t longest = longestLine(bytes);
    // Read whole first (1 MB at most): a file of ours with a line too long is
    // told so, anything else is no backup at all.
    std::optional<IniText> text = IniText::parse(std::move(bytes));
    const std::optional<std::string> title = text ? text->get(kMain, kTitleKey) : std::nullopt;
    if (!title || !sameLetters(*title, kTitle)) {
        out.refusal = Refusal::NotBackUp;
        return out;
    }
    if (longest > kMostBackUpLine) {
        out.refusal = Refusal::LineTooLong;
        return out;
    }
    if (const auto count = number(*text, kRemind, kCount); count && *count > kMostBackUpReminds) {
        out.refusal = Refusal::TooManyReminds;
        return out;
    }
    // The length while the seal reads 0, measured without a change to the file.
    const int seal = number(*text, kMain, kSeal).value_or(0);
    std::optional<std::size_t> length = text->sizeWith(kMain, kSeal, "0");
    if (!length) {
        IniText sealed = *text;
        sealed.set(kMain, kSeal, "0");
        length = sealed.size();
    }
    out.sealed = seal >= 0 && *length / 8 == std::size_t(seal);
    if (out.sealed) {
        if (const auto sum = text->get(kMain, kSum)) out.sealed = sameLetters(*sum, checksum(*text));
    }
    out.text = std::move(*text);
    return out;
}

FileLoad LoadBackUp(IniText& text, const Settings& current, const std::string& programVersion) {
    FileLoad out;
    out.record = current;
    Settings& s = out.record;
    const auto blank = [&](const char* key) { return text.get(kMain, key).value_or("").empty(); };
    if (blank("Version")) text.set(kMain, "Version", kFormat);
    if (blank("ProgramVersion")) text.set(kMain, "ProgramVersion", programVersion);
    // A cut-down file leaves keys out on purpose.
    const bool cut = number(text, kMain, "CutVersion").value_or(0) != 0;

    for (const Field* f : readOrder()) {
        if (f->has(kBackUpDate)) continue;
        const char* section = settings::section(f->group);
        const auto repair = [&] {
            text.set(section, f->value, fileValue(*f, s));
            ++out.repaired;
        };
        if (f->fileMissing.kind != Missing::Keep) f->set(s, f->fileMissing.value);
        if (f->type == Type::StyleBit) f->set(s, 0);  // the style is cleared before it is read
        const std::optional<std::string> raw = text.get(section, f->value);
        ++out.read;
        if (raw) readValue(*f, *raw, s);
        bool present = raw.has_value();
        const bool checked = f->fileInvalid.kind == Invalid::Value || f->fileInvalid.kind == Invalid::Earlier;
        const auto correct = [&] {
            if (!checked || f->valid(s)) return;
            Replace(*f, f->fileInvalid, current, s);
            repair();
            present = true;
        };
        if (f->has(kFileCheckedFirst)) correct();
        if (!present && !cut) repair();
        if (!f->has(kFileCheckedFirst)) correct();
        if (f->has(kNotWithChime) && s.SoundHEnabled > 0 && f->get(s) > 0) {
            f->set(s, 0);
            repair();
        }
        if (f->has(kNotBlack)) f->set(s, VisibleColor(f->get(s)));
    }
    // The file leaves some values unchecked; the clock still gets none it cannot show.
    KeepValid(s);
    out.reminds = fileReminds(text);
    return out;
}

IniText MakeBackUp(const Settings& s, const std::string& programVersion, const reminders::StoredReminds& stored,
                   int count, const std::string& date) {
    IniText text;
    text.set(kMain, kTitleKey, kTitle);
    text.set(kMain, "Version", kFormat);
    text.set(kMain, "ProgramVersion", programVersion);
    text.set(kMain, kSeal, "0");
    text.set(kMain, "SetLMV", "1");
    for (const Field& f : fields())
        if (!f.has(kBackUpDate)) text.set(section(f.group), f.value, fileValue(f, s));
    if (count > 0) {
        text.set(kRemind, kCount, std::to_string(count));
        for (int n = 1; n <= count && n <= int(stored.keys.size()); ++n) {
            const std::optional<reminders::RemindRecord>& record = stored.keys[std::size_t(n) - 1];
            if (!record) continue;
            const std::string section = remindSection(n);
            for (const reminders::RemindValue& v : reminders::RemindValues()) {
                // Value names are the registry's: found without regard to case.
                const auto it = std::ranges::find_if(*record, [&](const auto& e) { return sameLetters(e.first, v.name); });
                if (it == record->end()) continue;
                if (const auto t = fileTextOf(v.kind, it->second)) text.set(section, v.name, *t);
            }
        }
    }
    DateAndSeal(text, date);
    return text;
}

void DateAndSeal(IniText& text, const std::string& date) {
    text.set(kMain, kSum, kNoSum);
    text.set(kMain, "Date", date);
    text.set(kMain, kSum, checksum(text));
    text.set(kMain, kSeal, "0");
    text.set(kMain, kSeal, std::to_string(text.size() / 8));
}

}  // namespace settings
