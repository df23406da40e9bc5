#include "quickexit/Engine.h"
#include "app/App.h"

namespace quickexit {

void ShowQSDIdleIcon(app::App&) {}

bool QuickExitImminent(const app::App& app) {
    return app.qsd.QSDWork == 1 && app.qsd.QSDWTimerH == 0 && app.qsd.QSDWTimerM < 2;
}

}  // namespace quickexit
