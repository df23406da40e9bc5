#pragma once
#include <string>

namespace app {

// Process-wide start-up flags and the counters every window shares.
struct StartupState {
    std::string LMVName, LMVVersion, LMVVersionName, LMVVersionTitle, WinV;
    bool Win9xMode = false;
    int FEExit = 0;
    int OSExit = 0;
    int SplashScreenNotError = 0;
    bool ErrLaunchMsg = false;
    int Loading = 0;
    int FirstLaunch5 = 0;
    int SplashScreenClose = 0;
    int ShowModalRes = 0;
    bool ClockShown = false;
    int HibrneteMode = 0;
    unsigned TaskbarCreatedMsg = 0;
    int LaunchWork = 0;
    int ExitMode = 0;
    // Sound-off switch of the popup menu, and its temporary form after a wake-up.
    bool SoundDisabled = false;
    bool SoundDisabledTemp = false;
    int SoundDisabledUntilH = 0;
    int SoundDisabledUntilM = 0;
};

}  // namespace app
