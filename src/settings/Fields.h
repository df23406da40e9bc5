#pragma once
#include <bitset>
#include <span>
#include <string>
#include "settings/Settings.h"
#include "ui/Geometry.h"

namespace settings {

inline constexpr const char* kRootKey = "Software\\Vantrel\\Lumivo";
// The auto-start value, in either hive.
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Lumivo";

// The registry keys under HKEY_CURRENT_USER, and one for one the sections of
// a backup file.
enum class Group { Settings, Sound, Font, Style, Position, QuickExit };
const char* registryKey(Group);
const char* section(Group);

// What a missing value leaves in its field: the field as it is, a value set
// when the load starts (even with nothing stored), or one set just before the
// value is read.
struct Missing {
    enum Kind : unsigned char { Keep, AtLoad, WhenRead } kind = Keep;
    int value = 0;
};

// What a value outside the valid ones (or of the wrong type) becomes. A
// backup file does not check some fields at all.
struct Invalid {
    enum Kind : unsigned char { Keep, Value, Earlier, Unchecked } kind = Keep;
    int value = 0;
};

enum Rule : unsigned {
    kReadFirst = 1u << 0,         // read before the fields listed above it in its key
    kNotOn9x = 1u << 1,           // neither read nor written on the 9x family (registry)
    kEndsQuietHours = 1u << 2,    // an invalid value also switches quiet hours off
    kNotWithChime = 1u << 3,      // becomes 0 while the chime is on: never both at once
    kAfterAutoStart = 1u << 4,    // written once the Run values have been made to match it
    kBackUpDate = 1u << 5,        // not in a backup file; written on its own, by StoreLastBackUp
    kHiddenOn9x = 1u << 6,        // a menu item the 9x family never shows
    kFileCheckedFirst = 1u << 7,  // backup file: corrected before its presence is tested
    kNotBlack = 1u << 8,          // a colour: black is the window's see-through colour
};

enum class Type {
    Int,
    Bool,      // any number but 0 reads as true; written as 1 or 0
    StyleBit,  // only a stored 1 sets it; a missing or other value clears it
    Text,
};

struct Field {
    const char* name;   // in the record and in the error dumps
    const char* value;  // registry value and backup-file key
    Group group;
    Type type;
    int Settings::*number = nullptr;
    bool Settings::*flag = nullptr;
    std::string Settings::*text = nullptr;
    int lo = 0, hi = -1;  // the valid values; an empty range takes any
    Missing regMissing{};
    Invalid regInvalid{};
    Missing fileMissing{};
    Invalid fileInvalid{};
    const char* textAtLoad = nullptr;  // a text field's value when the load starts
    unsigned rules = 0;

    bool ranged() const { return lo <= hi; }
    bool has(Rule r) const { return (rules & r) != 0; }
    // Numbers and booleans (as 0/1).
    int get(const Settings& s) const { return number ? s.*number : (flag ? int(s.*flag) : 0); }
    void set(Settings& s, int v) const {
        if (number) s.*number = v;
        else if (flag) s.*flag = v != 0;
    }
    bool valid(const Settings& s) const { return !ranged() || (get(s) >= lo && get(s) <= hi); }
};

// Every stored setting, in the order of its key and of writing.
std::span<const Field> fields();
// The order of reading: as fields(), with kReadFirst fields moved to the front of their key.
std::span<const Field* const> readOrder();
const Field& field(const char* name);

inline constexpr std::size_t kMaxFields = 64;
// Fields by their index in fields().
using FieldSet = std::bitset<kMaxFields>;
std::size_t indexOf(const Field&);

// The record of a first run: the clock as designed, hot keys on.
Settings FirstRun();

// Puts `how`'s replacement into the field (an invalid quiet hour also ends
// quiet hours).
void Replace(const Field& f, const Invalid& how, const Settings& earlier, Settings& s);
// Every field back inside its valid values: a value left unchecked, or a
// missing one over a record never loaded, would otherwise stay outside them.
void KeepValid(Settings& s);

// Pure black is the clock window's see-through colour: a black clock is shown dark grey.
int VisibleColor(int color);

// The clock font a record holds (its colour as stored), and a font into a record.
ui::Font ClockFont(const Settings&);
void SetClockFont(Settings&, const ui::Font&);

}  // namespace settings
