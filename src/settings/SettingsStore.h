#pragma once
#include "core/ClockFace.h"
#include "core/Session.h"
#include "errors/Guard.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "settings/Fields.h"
#include "settings/Settings.h"
#include "ui/Ui.h"

namespace settings {

// What one load read: the record it makes, which values were stored, and
// whether any was of the wrong type.
struct Loaded {
    Settings record;
    FieldSet found;
    bool wrongType = false;
};

// Reads the stored settings over `current` by the rules of the field table:
// the load's own defaults first, then (when `values`) each stored value with
// its checks and replacements. Every field ends inside its valid values.
Loaded ReadRegistry(platform::Registry&, const Settings& current, bool win9x, bool values);

// The registry store of the settings record.
enum class StoreMode { All = 0, PositionOnly = 1 };

class Store {
public:
    struct Ports {
        platform::Registry& registry;
        platform::System& system;
        ui::Ui& ui;
    };
    Store(Ports ports, errors::Guard& guard, const core::Session& session, Settings& settings, LoadState& load,
          core::ClockFace& face);

    // Reads the registry into the record and shows it on the clock; shows the
    // clock and sets Loading at the end.
    bool LoadSettings();  // false: it failed, and the record and the clock are as they were
    // Writes the record, or Version, ExePatch and the clock's position only.
    // Nothing before the first load, or while a first launch is still open.
    void StoreSettings(StoreMode);
    // The user confirmed the settings window: the first launch is over, and
    // every setting is written.
    void StoreConfirmed();
    // Makes the Run values match AutoLaunch (falls back to this user only).
    void ApplyAutoStart();
    // Writes LastBackUp to the value BackUp.
    void StoreLastBackUp();
    // A copy that may run from a stick on someone else's computer: nothing
    // there starts it unless its user asks (a first launch and a missing value
    // are no start-up), and it takes away only a start-up value naming itself,
    // never another copy's.
    void setVisiting(bool visiting) { visiting_ = visiting; }
    bool visiting() const { return visiting_; }

private:
    void write(const Field& f);

    Ports ports_;
    errors::Guard& guard_;
    const core::Session& session_;
    Settings& settings_;
    LoadState& load_;
    core::ClockFace& face_;
    bool visiting_ = false;
};

}  // namespace settings
