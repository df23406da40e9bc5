#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include "app/State.h"
#include "errors/Dump.h"
#include "errors/State.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Mail.h"
#include "platform/Power.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "quickexit/State.h"
#include "reminders/State.h"
#include "settings/State.h"
#include "sound/State.h"
#include "ui/Ui.h"

namespace errors { class ErrorLog; }
namespace app { class ClockWindow; class SplashWindow; }

namespace app {

struct Ports {
    platform::Clock& clock;
    platform::Registry& registry;
    platform::Audio& audio;
    platform::Shell& shell;
    platform::Power& power;
    platform::System& system;
    platform::Mail& mail;
    ui::Ui& ui;
};

// Where the program keeps its files. The writable folders move to the user's
// local data folder when the program folder cannot be written.
struct Paths {
    std::filesystem::path program;   // the folder of Lumivo.exe
    std::filesystem::path writable;  // root of Error\, TempFiles\ scratch files, BackUp\ (program or %LOCALAPPDATA%\Lumivo)
    std::filesystem::path errorDir() const { return writable / "Error"; }
    std::filesystem::path tempDir() const { return writable / "TempFiles"; }
    std::filesystem::path backupDir() const { return writable / "BackUp"; }
    std::filesystem::path soundsDir() const { return program / "Sounds"; }
};

// How a handler reports: its code, the step it starts with, whether the step is appended.
struct Handler {
    const char* code;
    int firstStep = 0;
    bool appendStep = true;
};
inline Handler fixedCode(const char* code) { return {code, 0, false}; }

// The one context every piece of logic reaches its ports and the
// process-wide state through. A test makes a fresh one with fakes.
class App : public Ports {
public:
    explicit App(Ports p);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Paths paths;
    errors::ErrorState err;
    StartupState start;
    settings::Settings settings;
    sound::SoundState sound;
    reminders::NextRemind remind;
    quickexit::QuickExitState qsd;

    ClockWindow* clock_window = nullptr;
    SplashWindow* splash = nullptr;

    errors::ErrorLog& log() { return *log_; }

    // Runs a handler body: sets ErrorStep, catches every failure and hands it
    // to the error log with the handler's code and dump. False on failure.
    bool guard(const Handler& h, const std::function<void()>& body,
               const std::function<errors::Dump()>& dump = {});

    // Decides Paths from the program folder (probing that it can be written).
    void choosePaths();

private:
    std::unique_ptr<errors::ErrorLog> log_;
};

}  // namespace app
