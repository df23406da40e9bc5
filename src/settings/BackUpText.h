#pragma once
// The contents of a backup file, apart from the file, the registry and the
// user: what a file holds, whether it is one, and what loading it gives.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include "reminders/Stored.h"
#include "settings/Ini.h"
#include "settings/Settings.h"

namespace settings {

// The most a backup file holds. A file beyond them is none of ours, and a
// save that would go beyond them is not written.
inline constexpr std::size_t kMostBackUpBytes = 1024 * 1024;
inline constexpr int kMostBackUpReminds = 1000;
inline constexpr std::size_t kMostBackUpLine = 64 * 1024;

enum class Refusal { None, NotBackUp, TooBig, TooManyReminds, LineTooLong };

// A file looked at before anything is loaded from it.
struct CheckedFile {
    Refusal refusal = Refusal::None;
    IniText text;
    bool sealed = false;  // its length agrees with its seal
};
CheckedFile CheckBackUp(std::string bytes);

struct FileLoad {
    Settings record;
    int read = 0;      // ParamsRead
    int repaired = 0;  // ParamsRepaired
    // What replaces the stored reminders; nothing without a positive RemindCount.
    std::optional<reminders::StoredReminds> reminds;
};
// Reads a checked file's settings over `current` by the field table, and puts
// the repairs into `text`.
FileLoad LoadBackUp(IniText& text, const Settings& current, const std::string& programVersion);

// A sealed backup of the record and of the first `count` stored reminders.
IniText MakeBackUp(const Settings& s, const std::string& programVersion, const reminders::StoredReminds& stored,
                   int count, const std::string& date);

// Dates the file, then seals it: ControlSize := the length in bytes div 8,
// measured while it reads 0.
void DateAndSeal(IniText& text, const std::string& date);

}  // namespace settings
