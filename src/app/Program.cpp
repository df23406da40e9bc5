#include "app/Program.h"
#include <system_error>
#include "app/App.h"
#include "app/AuxWindows.h"
#include "app/ClockWindow.h"
#include "errors/ErrorLog.h"

namespace app {

namespace fs = std::filesystem;

Program::Program(App& app) : app_(app) {}
Program::~Program() = default;

void ClearScratchFiles(const core::Paths& paths) {
    fs::create_directories(paths.tempDir());
    for (const char* name : {"Tmp1", "Tmp2", "Tmp3"}) {
        const fs::path p = paths.tempDir() / name;
        if (fs::exists(p)) fs::remove(p);
    }
}

int Program::run() {
    moduleStartup();
    int exitCode = 0;
    try {
        start();
        entryStep_ = 3;
        app_.ui.setMainForm(clock_->form());
        if (!app_.ui.terminated()) exitCode = app_.ui.run();
    } catch (...) {
        app_.guard.record(errors::errorCode(errors::code::ProgramEntry, entryStep_),
                          errors::Guard::classNameOf(std::current_exception()), "");
        exitCode = 1;
    }
    finish();
    return exitCode;
}

// The windows go before the power action: nothing of the program may be left
// on screen when the session ends.
void Program::finish() {
    splash_.reset();
    clock_.reset();
    end();
}

void Program::moduleStartup() {
    app_.session.LMVVersionName = "Init...";
    app_.choosePaths();
    app_.openStore();
    app_.guard(errors::code::ModuleStartup, [&] { ClearScratchFiles(app_.paths); },
               [&] { return errors::Dump().add("LMVVN", app_.session.LMVVersionName); });
}

void Program::start() {
    entryStep_ = 1;
    clock_ = std::make_unique<ClockWindow>(app_);
    app_.tellStore();
    app_.ui.realize(clock_->form());
    app_.tellStoreOnTray();  // the icon is there from the window's making
    // Keys close the splash: it keeps the activation until it has gone.
    clock_->form().setShowWithoutActivation(true);
    entryStep_ = 2;
    splash_ = std::make_unique<SplashWindow>(app_);
    splash_->create();
    app_.ui.hideAppTaskbarWindow();
    if (!app_.ui.terminated()) clock_->form().show();
}

// A finished quick exit acts only here, as the very last thing the process does.
void Program::end() {
    app_.session.LMVVersionName = "Init...";
    app_.flushStore();
    try {
        ClearScratchFiles(app_.paths);
    } catch (const std::exception&) {
        // Scratch files that cannot go now are cleared at the next start.
    }
    // The session is ending already: no power action of ours on top of it.
    if (!app_.start.SessionEnded) app_.quickExit.FinalExit();
}

}  // namespace app
