#pragma once
#include <string>

namespace settings {

// The settings record: every stored setting, named like its registry value
// (five carry a name of their own: LastBackUp, QSDGreen, QSDTypeTime,
// QSDModeWork, QSDMsgDlg). Fields.cpp describes each one once: where it is
// stored, its valid values and what replaces a bad one.
struct Settings {
    int AlphaSet = 0;          // 100..255: the clock's opacity while transparency is on
    int AlphaUsed = 0;         // 0/1: transparency on
    bool SecondsView = false;
    bool ZeroFirstView = false;
    bool AMPM24 = false;
    int StayOnTop = 0;         // 0/1
    int AutoLaunch = 0;        // 0 no, 1 all users, 2 this user only
    std::string LastBackUp;    // when the last backup file was written
    bool ItemQE = false;       // "&Быстрый выход..." in the clock's menu
    bool ItemST = false;       // "Настройка &Времени/Даты..." in the clock's menu
    int GlobalHotkeys = 0;     // 0/1
    int TimeOfLow = 0;         // 0/1: quiet hours on
    int TimeOfLowF = 0;        // 0..23: first quiet hour
    int TimeOfLowS = 0;        // 0..23: the hour quiet hours end
    int SoundHEnabled = 0;     // chime: 0 off, 1 hourly, 2 half-hourly
    int SoundHType = 0;        // 0..4: the chime's system sound
    int VoiceEnabled = 0;      // spoken time: 0 off, 1 hourly, 2 half-hourly
    std::string VoiceType;     // voice folder under Sounds
    // The clock font and position.
    int Size = 0;              // points
    int Color = 0;             // 0x00BBGGRR as the registry keeps it
    std::string Name;
    bool Bold = false, Italic = false, UnderLine = false, StrikeOut = false;
    int Left = 0, Top = 0;
    // Quick exit: the idle mark and the window's remembered choices.
    int QSDGreen = 0;          // 0/1
    int QSDTypeTime = 0;       // 0 countdown, 1 time of day
    int QSDModeWork = 0;       // 0 shut down, 1 restart, 2 log off, 3 hibernate
    int QSDMsgDlg = 0;         // 0/1: warning before the end

    bool operator==(const Settings&) const = default;
};

// The two flags of the load: Loading is 1 once a load has run through;
// FirstLaunch5 is 1 when no settings were stored yet (the splash's close and
// the main tick move it on to 2 and 0).
struct LoadState {
    int Loading = 0;
    int FirstLaunch5 = 0;
    // A first launch until a settings window is confirmed: nothing is stored
    // meanwhile, so every start until then greets as a first launch.
    bool FirstLaunchOpen = false;
};

}  // namespace settings
