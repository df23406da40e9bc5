#pragma once
#include <string>

namespace settings {

// The settings record; the clock font and position live in the clock window.
struct Settings {
    int AlphaSet = 0;
    int AlphaUsed = 0;
    bool SecondsView = false;
    bool ZeroFirstView = false;
    bool AMPM24 = false;
    int StayOnTop = 0;
    int AutoLaunch = 0;
    std::string LastBackUp;
    int GlobalHotkeys = 0;
    int TimeOfLow = 0;
    int TimeOfLowF = 0;
    int TimeOfLowS = 0;
    int SoundHEnabled = 0;
    int SoundHType = 0;
    int VoiceEnabled = 0;
    std::string VoiceType;
    int QSDGreen = 0;
    int QSDTypeTime = 0;
    int QSDModeWork = 0;
    int QSDMsgDlg = 0;
};

}  // namespace settings
