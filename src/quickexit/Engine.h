#pragma once

namespace app { class App; }

namespace quickexit {

// Sets the indicator marks on the clock for the idle (no quick exit) state.
void ShowQSDIdleIcon(app::App&);
// True while a countdown has less than two minutes left.
bool QuickExitImminent(const app::App&);

}  // namespace quickexit
