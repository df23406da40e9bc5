#pragma once

namespace quickexit {

// The actions and time modes: the item indices of the window's two lists,
// stored as such in the settings.
enum Action : int { kShutdown = 0, kRestart = 1, kLogOff = 2, kHibernate = 3 };
enum TimeMode : int { kCountdown = 0, kExactTime = 1 };

// QSDWork: what the quick exit does. The dumps print the numbers.
enum Work : int { kIdle = 0, kRunning = 1, kPaused = 2, kDue = -2 /* inside one minute tick */ };
// QSDWDlg: the warning before the last minutes.
enum Warning : int { kNoWarning = 0 /* none asked, or given */, kWarningArmed = 1, kWarningShown = -1 };

struct QuickExitState {
    Work QSDWork = kIdle;
    int QSDWMode = 0;       // action of the quick exit last started
    int QSDWModeTime = 0;   // time mode of the quick exit last started
    int QSDWTimeH = 0;      // firing time of day
    int QSDWTimeM = 0;
    int QSDWTimerH = 0;     // hours and minutes left
    int QSDWTimerM = 0;
    Warning QSDWDlg = kNoWarning;
    int QSDBugGuard = 0;    // 1 once the main tick saw the last minute: any later tick fires
    int QSDFinal = 0;       // 1: act on QSDWMode at program end
    int QSDVisible = 0;     // 1 while the quick-exit window is open
    int HibrneteMode = 0;   // 1: the system does not allow hibernation

    // Running or paused: the marks show it and the window offers to stop it.
    bool started() const { return QSDWork == kRunning || QSDWork == kPaused; }
    // A countdown with less than two minutes left: nothing may sound any more.
    bool imminent() const { return QSDWork == kRunning && QSDWTimerH == 0 && QSDWTimerM < 2; }
};

}  // namespace quickexit
