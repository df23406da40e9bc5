#pragma once

namespace app { class App; }

namespace settings {

// Reads the registry into the settings record and applies it to the clock.
void LoadSettings(app::App&);
// Writes the settings; positionOnly == 1 writes the clock position only.
void StoreSettings(app::App&, int positionOnly);

}  // namespace settings
