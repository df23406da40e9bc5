#pragma once

namespace quickexit {

struct QuickExitState {
    int QSDWork = 0;       // 1 while a quick exit counts down
    int QSDWTimerH = 0;    // hours and minutes left
    int QSDWTimerM = 0;
    int QSDBugGuard = 0;
    int QSDFinal = 0;      // 1: act on QSDWMode at program end
    int QSDWMode = 0;      // 0 shut down, 1 restart, 2 log off, 3 hibernate
};

}  // namespace quickexit
