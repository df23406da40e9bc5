#include "app/Program.h"
#include <system_error>
#include "app/App.h"
#include "app/AuxWindows.h"
#include "app/ClockWindow.h"

namespace app {

namespace fs = std::filesystem;

Program::Program(App& app) : app_(app) {}
Program::~Program() = default;

void Program::clearScratchFiles() {
    fs::create_directories(app_.paths.tempDir());
    for (const char* name : {"Tmp1", "Tmp2", "Tmp3"}) {
        const fs::path p = app_.paths.tempDir() / name;
        if (fs::exists(p)) fs::remove(p);
    }
}

void Program::moduleStartup() {
    app_.start.LMVVersionName = "Init...";
    app_.choosePaths();
    app_.guard({"0.001 - 027."}, [&] { clearScratchFiles(); },
               [&] { return errors::Dump().add("LMVVN", app_.start.LMVVersionName); });
}

void Program::start() {
    clock_ = std::make_unique<ClockWindow>(app_);
    app_.ui.realize(clock_->form());
    // Keys close the splash: it keeps the activation until it has gone.
    clock_->form().setShowWithoutActivation(true);
    splash_ = std::make_unique<SplashWindow>(app_);
    splash_->create();
    app_.ui.hideAppTaskbarWindow();
    if (!app_.ui.terminated()) clock_->form().show();
}

// A finished quick exit acts only here, as the very last thing the process does.
void Program::end() {
    app_.start.LMVVersionName = "Init...";
    try {
        clearScratchFiles();
    } catch (const std::exception&) {
        // Scratch files that cannot go now are cleared at the next start.
    }
    if (app_.qsd.QSDFinal != 1) return;
    unsigned flags = 0;
    switch (app_.qsd.QSDWMode) {
        case 0: flags = platform::kEwxShutdown | platform::kEwxForce; break;
        case 1: flags = platform::kEwxReboot | platform::kEwxForce; break;
        case 2: flags = platform::kEwxLogoff | platform::kEwxForce; break;
        default: return;
    }
    app_.power.enableShutdownPrivilege();
    app_.power.exitWindows(flags);
}

}  // namespace app
