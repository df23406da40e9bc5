#pragma once

namespace quickexit {

// The actions and time modes: the item indices of the window's two lists,
// stored as such in the settings.
enum Action : int { kShutdown = 0, kRestart = 1, kLogOff = 2, kHibernate = 3 };
enum TimeMode : int { kCountdown = 0, kExactTime = 1 };

struct QuickExitState {
    int QSDWork = 0;        // 0 idle, 1 running, 2 paused, -2 due (inside one minute tick)
    int QSDWMode = 0;       // action of the quick exit last started
    int QSDWModeTime = 0;   // time mode of the quick exit last started
    int QSDWTimeH = 0;      // firing time of day
    int QSDWTimeM = 0;
    int QSDWTimerH = 0;     // hours and minutes left
    int QSDWTimerM = 0;
    int QSDWDlg = 0;        // warning: 0 none or given, 1 armed, -1 on screen
    int QSDBugGuard = 0;    // 1 once the main tick saw the last minute: any later tick fires
    int QSDFinal = 0;       // 1: act on QSDWMode at program end
    int QSDVisible = 0;     // 1 while the quick-exit window is open
    int HibrneteMode = 0;   // 1: the system does not allow hibernation

    // A countdown with less than two minutes left: nothing may sound any more.
    bool imminent() const { return QSDWork == 1 && QSDWTimerH == 0 && QSDWTimerM < 2; }
};

}  // namespace quickexit
