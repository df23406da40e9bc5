#include "settings/Fields.h"
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>
#include "forms/Forms.h"
#include "platform/Failure.h"

namespace settings {

namespace {

using G = Group;
using T = Type;
using S = Settings;

constexpr Missing keep{};
constexpr Missing atLoad(int v) { return {Missing::AtLoad, v}; }
constexpr Missing whenRead(int v) { return {Missing::WhenRead, v}; }
constexpr Invalid same{};
constexpr Invalid to(int v) { return {Invalid::Value, v}; }
constexpr Invalid earlier{Invalid::Earlier, 0};
constexpr Invalid unchecked{Invalid::Unchecked, 0};

// Each setting once. Registry and backup file differ in what replaces a bad
// value (StayOnTop 5 is 1 in the registry but 0 in a file; AutoLaunch 7 is 0
// there but 1 in a file) and in what a missing one leaves.
// clang-format off
const Field kFields[] = {
    // Settings
    {.name = "AlphaSet", .value = "AlphaSet", .group = G::Settings, .type = T::Int, .number = &S::AlphaSet,
     .lo = 100, .hi = 255, .regInvalid = to(255), .fileInvalid = to(255), .rules = kFileCheckedFirst},
    // Read before AlphaSet: the opacity AlphaSet gives the window depends on it.
    {.name = "AlphaUsed", .value = "AlphaUsed", .group = G::Settings, .type = T::Int, .number = &S::AlphaUsed,
     .lo = 0, .hi = 1, .regMissing = atLoad(1), .regInvalid = to(1), .fileMissing = whenRead(1),
     .fileInvalid = to(1), .rules = kReadFirst | kFileCheckedFirst},
    {.name = "SecondsView", .value = "SecondsView", .group = G::Settings, .type = T::Bool, .flag = &S::SecondsView,
     .rules = kNotOn9x},
    {.name = "ZeroFirstView", .value = "ZeroFirstView", .group = G::Settings, .type = T::Bool, .flag = &S::ZeroFirstView},
    {.name = "AMPM24", .value = "AMPM24", .group = G::Settings, .type = T::Bool, .flag = &S::AMPM24},
    {.name = "StayOnTop", .value = "StayOnTop", .group = G::Settings, .type = T::Int, .number = &S::StayOnTop,
     .lo = 0, .hi = 1, .regInvalid = to(1), .fileInvalid = to(0), .rules = kFileCheckedFirst},
    {.name = "AutoLaunch", .value = "AutoLaunch", .group = G::Settings, .type = T::Int, .number = &S::AutoLaunch,
     .lo = 0, .hi = 2, .regMissing = atLoad(1), .regInvalid = to(0), .fileInvalid = to(1), .rules = kAfterAutoStart},
    {.name = "LastBackUp", .value = "BackUp", .group = G::Settings, .type = T::Text, .text = &S::LastBackUp,
     .textAtLoad = "Неизвестно", .rules = kBackUpDate},
    {.name = "ItemQE", .value = "ItemQE", .group = G::Settings, .type = T::Bool, .flag = &S::ItemQE,
     .fileMissing = whenRead(1)},
    {.name = "ItemST", .value = "ItemST", .group = G::Settings, .type = T::Bool, .flag = &S::ItemST,
     .fileMissing = whenRead(1), .rules = kHiddenOn9x},
    {.name = "GlobalHotkeys", .value = "GlobalHotkeys", .group = G::Settings, .type = T::Int,
     .number = &S::GlobalHotkeys, .lo = 0, .hi = 1, .regMissing = whenRead(1), .regInvalid = to(1),
     .fileInvalid = to(1)},
    // Sound
    {.name = "TimeOfLow", .value = "TimeOfLow", .group = G::Sound, .type = T::Int, .number = &S::TimeOfLow,
     .lo = 0, .hi = 1, .regMissing = atLoad(0), .regInvalid = to(0), .fileInvalid = to(0)},
    // A made-up bound would silence the wrong hours.
    {.name = "TimeOfLowF", .value = "TimeOfLowF", .group = G::Sound, .type = T::Int, .number = &S::TimeOfLowF,
     .lo = 0, .hi = 23, .regMissing = atLoad(22), .regInvalid = to(22), .fileInvalid = to(22),
     .rules = kEndsQuietHours},
    {.name = "TimeOfLowS", .value = "TimeOfLowS", .group = G::Sound, .type = T::Int, .number = &S::TimeOfLowS,
     .lo = 0, .hi = 23, .regMissing = atLoad(9), .regInvalid = to(9), .fileInvalid = to(9),
     .rules = kEndsQuietHours},
    {.name = "SoundHEnabled", .value = "SoundHEnabled", .group = G::Sound, .type = T::Int,
     .number = &S::SoundHEnabled, .lo = 0, .hi = 2, .regInvalid = earlier, .fileInvalid = to(0)},
    {.name = "SoundHType", .value = "SoundHType", .group = G::Sound, .type = T::Int, .number = &S::SoundHType,
     .lo = 0, .hi = 4, .regInvalid = to(0), .fileInvalid = to(0)},
    // Chime and spoken time would talk over each other.
    {.name = "VoiceEnabled", .value = "VoiceEnabled", .group = G::Sound, .type = T::Int,
     .number = &S::VoiceEnabled, .lo = 0, .hi = 2, .regInvalid = earlier, .fileInvalid = to(0),
     .rules = kNotWithChime},
    {.name = "VoiceType", .value = "VoiceType", .group = G::Sound, .type = T::Text, .text = &S::VoiceType},
    // Font. A size beyond any screen would overflow the pixel arithmetic.
    {.name = "Size", .value = "Size", .group = G::Font, .type = T::Int, .number = &S::Size, .lo = 1, .hi = 1000,
     .fileInvalid = unchecked},
    {.name = "Color", .value = "Color", .group = G::Font, .type = T::Int, .number = &S::Color, .rules = kNotBlack},
    {.name = "Name", .value = "Name", .group = G::Font, .type = T::Text, .text = &S::Name},
    {.name = "Bold", .value = "Bold", .group = G::Style, .type = T::StyleBit, .flag = &S::Bold},
    {.name = "Italic", .value = "Italic", .group = G::Style, .type = T::StyleBit, .flag = &S::Italic},
    {.name = "UnderLine", .value = "UnderLine", .group = G::Style, .type = T::StyleBit, .flag = &S::UnderLine},
    {.name = "StrikeOut", .value = "StrikeOut", .group = G::Style, .type = T::StyleBit, .flag = &S::StrikeOut},
    // Position
    {.name = "Left", .value = "Left", .group = G::Position, .type = T::Int, .number = &S::Left},
    {.name = "Top", .value = "Top", .group = G::Position, .type = T::Int, .number = &S::Top},
    // Quick exit
    {.name = "QSDGreen", .value = "QSDIcon", .group = G::QuickExit, .type = T::Int, .number = &S::QSDGreen,
     .lo = 0, .hi = 1, .regInvalid = to(0), .fileInvalid = unchecked},
    {.name = "QSDTypeTime", .value = "TypeTime", .group = G::QuickExit, .type = T::Int, .number = &S::QSDTypeTime,
     .lo = 0, .hi = 1, .regInvalid = to(0), .fileInvalid = unchecked},
    {.name = "QSDModeWork", .value = "ModeWork", .group = G::QuickExit, .type = T::Int, .number = &S::QSDModeWork,
     .lo = 0, .hi = 3, .regInvalid = to(0), .fileInvalid = unchecked},
    {.name = "QSDMsgDlg", .value = "MsgDlg", .group = G::QuickExit, .type = T::Int, .number = &S::QSDMsgDlg,
     .lo = 0, .hi = 1, .regInvalid = to(0), .fileInvalid = unchecked},
};
// clang-format on

static_assert(std::size(kFields) <= kMaxFields);

std::vector<const Field*> makeReadOrder() {
    std::vector<const Field*> order;
    for (const Field& f : kFields) order.push_back(&f);
    std::stable_sort(order.begin(), order.end(), [](const Field* a, const Field* b) {
        if (a->group != b->group) return a->group < b->group;
        return a->has(kReadFirst) && !b->has(kReadFirst);
    });
    return order;
}

const forms::ControlLayout& designed(const char* control) {
    for (const forms::ControlLayout& c : forms::clockForm().controls)
        if (std::strcmp(c.name, control) == 0) return c;
    throw platform::WindowError(std::string("the clock has no ") + control);
}

const forms::MenuLayout* designedItem(const std::vector<forms::MenuLayout>& items, const char* name) {
    for (const forms::MenuLayout& m : items) {
        if (std::strcmp(m.name, name) == 0) return &m;
        if (const forms::MenuLayout* inner = designedItem(m.items, name)) return inner;
    }
    return nullptr;
}

bool designedVisible(const char* item) {
    const forms::MenuLayout* m = designedItem(forms::clockForm().menu, item);
    if (!m) throw platform::WindowError(std::string("the clock's menu has no ") + item);
    return m->visible;
}

}  // namespace

const char* registryKey(Group g) {
    switch (g) {
        case Group::Settings: return "Software\\Vantrel\\Lumivo\\Settings";
        case Group::Sound: return "Software\\Vantrel\\Lumivo\\Settings\\Sound";
        case Group::Font: return "Software\\Vantrel\\Lumivo\\Settings\\Font";
        case Group::Style: return "Software\\Vantrel\\Lumivo\\Settings\\Font\\Style";
        case Group::Position: return "Software\\Vantrel\\Lumivo\\Settings\\Position";
        case Group::QuickExit: return "Software\\Vantrel\\Lumivo\\Settings\\QuickExit";
    }
    return "";
}

const char* section(Group g) {
    switch (g) {
        case Group::Settings: return "Settings";
        case Group::Sound: return "Sound";
        case Group::Font: return "Font";
        case Group::Style: return "Style";
        case Group::Position: return "Position";
        case Group::QuickExit: return "QuickExit";
    }
    return "";
}

std::span<const Field> fields() { return kFields; }

std::span<const Field* const> readOrder() {
    static const std::vector<const Field*> order = makeReadOrder();
    return order;
}

const Field& field(const char* name) {
    for (const Field& f : kFields)
        if (std::strcmp(f.name, name) == 0) return f;
    throw platform::ConversionError(std::string("no setting ") + name);
}

std::size_t indexOf(const Field& f) { return std::size_t(&f - kFields); }

Settings FirstRun() {
    const forms::FormLayout& clock = forms::clockForm();
    const forms::ControlLayout& time = designed("TimeMain");
    const ui::Font font = time.font.value_or(forms::dialogFont());
    Settings s;
    s.AlphaSet = 255;
    s.StayOnTop = clock.stayOnTop ? 1 : 0;
    s.ItemQE = designedVisible("QuickExit");
    s.ItemST = designedVisible("SetTime");
    s.GlobalHotkeys = 1;
    SetClockFont(s, font);
    s.Left = clock.bounds.left;
    s.Top = clock.bounds.top;
    return s;
}

void Replace(const Field& f, const Invalid& how, const Settings& earlier, Settings& s) {
    switch (how.kind) {
        case Invalid::Value: f.set(s, how.value); break;
        case Invalid::Earlier: f.set(s, f.get(earlier)); break;
        case Invalid::Keep:
        case Invalid::Unchecked: break;
    }
    if (f.has(kEndsQuietHours)) s.TimeOfLow = 0;
}

void KeepValid(Settings& s) {
    static const Settings kFirstRun = FirstRun();
    for (const Field& f : kFields)
        if (!f.valid(s)) f.set(s, f.regInvalid.kind == Invalid::Value ? f.regInvalid.value : f.get(kFirstRun));
}

int VisibleColor(int color) { return color == 0 ? int(forms::kShadowColor) : color; }

ui::Font ClockFont(const Settings& s) {
    ui::Font f;
    f.name = s.Name;
    f.size = s.Size;
    f.color = ui::Color(std::uint32_t(s.Color));
    f.bold = s.Bold;
    f.italic = s.Italic;
    f.underline = s.UnderLine;
    f.strikeOut = s.StrikeOut;
    return f;
}

void SetClockFont(Settings& s, const ui::Font& f) {
    s.Name = f.name;
    s.Size = f.size;
    s.Color = int(f.color);
    s.Bold = f.bold;
    s.Italic = f.italic;
    s.UnderLine = f.underline;
    s.StrikeOut = f.strikeOut;
}

}  // namespace settings
