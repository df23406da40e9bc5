#pragma once

namespace quickexit {

struct QuickExitState {
    int QSDWork = 0;       // 1 while a quick exit counts down
    int QSDWTimerH = 0;    // hours and minutes left
    int QSDWTimerM = 0;
    int QSDBugGuard = 0;
    int QSDFinal = 0;      // 1: act on QSDWMode at program end
    int QSDWMode = 0;      // 0 shut down, 1 restart, 2 log off, 3 hibernate

    // A countdown with less than two minutes left: nothing may sound any more.
    bool imminent() const { return QSDWork == 1 && QSDWTimerH == 0 && QSDWTimerM < 2; }
};

}  // namespace quickexit
