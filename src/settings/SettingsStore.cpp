#include "settings/SettingsStore.h"
#include "app/App.h"
#include "app/ClockWindow.h"

namespace settings {

// Until the registry store exists the clock runs on the values in memory.
void LoadSettings(app::App& app) {
    app.guard(app::fixedCode("0.013 - 006.0"), [&] {
        app::ClockWindow& clock = *app.clock_window;
        auto& menu = clock.MainPoM();
        if (!app.start.Win9xMode) menu.item("ViewSecondsA").checked = app.settings.SecondsView;
        menu.item("NillFirst").checked = app.settings.ZeroFirstView;
        menu.item("PMAM24").checked = app.settings.AMPM24;
        clock.ApplyClockFont();
        clock.form().show();
        app.start.Loading = 1;
    });
}

void StoreSettings(app::App&, int) {}

}  // namespace settings
