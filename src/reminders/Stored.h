#pragma once
// Reading the stored reminders, shared by the store and the scheduler.
#include <optional>
#include <string>
#include "platform/Registry.h"

namespace reminders {

inline constexpr platform::Hive kHive = platform::Hive::CurrentUser;

// How many reminders there are. RemindCount as stored; when it is not a
// count at all (negative, text, binary: written by hand or by an older copy)
// the numbered keys that are there, and `damaged` says so.
struct RemindTotal {
    int n = 0;
    bool damaged = false;
    platform::RegValue stored;
};
RemindTotal CountReminds(platform::Registry&);

platform::RegValue ReadRemind(platform::Registry&, int n, const char* name);

// A value as the settings list shows it: text as it is, a number in decimal.
std::optional<std::string> TextOf(const platform::RegValue&);
// A stored boolean: any number but 0 is true; anything else is `otherwise`.
bool FlagOf(const platform::RegValue&, bool otherwise = false);
// "MD1" (Monday) .. "MD7" (Sunday).
std::string DayValue(int day);

// The display line of reminder n as stored.
std::string LineOf(platform::Registry&, int n);

}  // namespace reminders
