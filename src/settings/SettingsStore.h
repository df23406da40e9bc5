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
    // Starting at log-on when nothing stored says otherwise: on a first launch
    // and for a missing value. A copy that may run from a stick on a
    // stranger's computer has 0: nothing there starts it unless its user asks.
    void setAutoLaunchDefault(int mode) { autoLaunchDefault_ = mode; }
    int autoLaunchDefault() const { return autoLaunchDefault_; }  // -1: none set

private:
    void write(const Field& f);

    Ports ports_;
    errors::Guard& guard_;
    const core::Session& session_;
    Settings& settings_;
    LoadState& load_;
    core::ClockFace& face_;
    int autoLaunchDefault_ = -1;  // -1: the field table's
};

}  // namespace settings
