#pragma once
// Reading the stored reminders, shared by the store and the scheduler.
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>
#include "platform/Registry.h"

namespace reminders {

inline constexpr platform::Hive kHive = platform::Hive::CurrentUser;
// Far more than anyone keeps; it only bounds a walk over a damaged store.
inline constexpr int kMostReminds = 10000;

// How far the numbers of the reminders go. RemindCount as stored (at most
// kMostReminds); when it is not a count at all (negative, text, binary:
// written by hand or by an older copy) the numbered keys that are there, and
// `damaged` says so. A number inside it may still lack its key: every walk
// leaves such a number out.
struct RemindTotal {
    int n = 0;
    bool damaged = false;
    platform::RegValue stored;
};
RemindTotal CountReminds(platform::Registry&);

platform::RegValue ReadRemind(platform::Registry&, int n, const char* name);

// The numbers inside RemindCount and which of them have a key.
struct RemindGaps {
    int counted = 0;           // RemindCount as stored
    std::vector<int> present;  // the numbers up to it (at most kMostReminds) that have a key
    bool any() const;
    // What is wrong, for the error record: "40, а ключей 1 (нет Remind2, ...)".
    std::string text() const;
};
// Nothing to find when RemindCount is no count: the walks then go by the keys.
RemindGaps FindGaps(platform::Registry&);
// Moves the keys down over the numbers without one, in order, and writes the
// count they make.
void CloseGaps(platform::Registry&, const RemindGaps&);

// A value as the settings list shows it: text as it is, a number in decimal.
std::optional<std::string> TextOf(const platform::RegValue&);
// A stored boolean: any number but 0 is true; anything else is `otherwise`.
bool FlagOf(const platform::RegValue&, bool otherwise = false);
// "MD1" (Monday) .. "MD7" (Sunday).
std::string DayValue(int day);

// The display line of reminder n as stored.
std::string LineOf(platform::Registry&, int n);

// The values of a reminder's key, in the order they are written, by the type
// they are stored as.
enum class RemindKind { Text, Number, Flag };
struct RemindValue {
    const char* name;
    RemindKind kind;
};
std::span<const RemindValue> RemindValues();

// One reminder's key: its values, each as stored.
using RemindRecord = platform::RegValues;

// All the stored reminders, as they are.
struct StoredReminds {
    bool exists = false;       // the Remind key itself
    platform::RegValue count;  // RemindCount
    // Remind1, Remind2...: nothing where a number has no key. Keys beyond the
    // count are kept too, up to kMostReminds.
    std::vector<std::optional<RemindRecord>> keys;
};
// Every value of every key, whatever its name, one opening a key.
StoredReminds ReadStoredReminds(platform::Registry&);
// Deletes the stored reminders and writes `s` in their place, the count last.
// Values of a type the record never has are not written.
void WriteStoredReminds(platform::Registry&, const StoredReminds& s);

}  // namespace reminders
