#pragma once

namespace app { class App; }

namespace settings {

// Reads the registry into the settings record and applies it to the clock
// window and its menu; shows the clock and sets Loading at the end.
void LoadSettings(app::App&);
// Writes the settings; positionOnly == 1 writes Version, ExePatch and the
// clock position only.
void StoreSettings(app::App&, int positionOnly);
// Makes the Run values match AutoLaunch (falls back to this user only).
void ApplyAutoStart(app::App&);
// Writes LastBackUp to the value BackUp.
void StoreLastBackUp(app::App&);

}  // namespace settings
