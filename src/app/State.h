#pragma once
#include "settingsui/ExitMode.h"

namespace app {

// Start-up flags of the clock window and the small windows around it.
struct StartupState {
    int FEExit = 0;                  // 1: unsupported system, the clock hides at every paint
    int OSExit = 0;                  // 1: unsupported system, only its window shows
    int SplashScreenNotError = 0;    // 1: started by the error window's restart; 2 once the first tick used it
    bool ErrLaunchMsg = false;       // greet after a restart at the next paint
    int SplashScreenClose = 0;       // 1 once the splash has closed
    bool ClockShown = false;         // false while hidden to the notification area
    unsigned TaskbarCreatedMsg = 0;
    int LaunchWork = 0;              // 1 once the fade-in is over
    settingsui::ExitModeKind ExitMode = settingsui::kExitOther;  // how the settings window closed
    bool SessionEnded = false;       // Windows is ending the session: the program goes without acting
};

}  // namespace app
