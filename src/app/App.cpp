#include "app/App.h"
#include <algorithm>
#include <fstream>
#include <system_error>
#include "app/ClockWindow.h"
#include "platform/Path.h"

namespace app {

namespace fs = std::filesystem;

App::App(Ports p)
    : Ports(p),
      settings(settings::FirstRun()),
      guard({clock, system, audio, ui, shell, mail}, paths, session, err),
      settingsStore({registry, system, ui}, guard, session, settings, load, face),
      backUp({registry, system, clock, audio, ui}, guard, session, settings, settingsStore),
      talk({audio, clock}, paths, settings, guard),
      chime({audio, clock}, settings, sound, session, qsd, talk, guard),
      reminderSound(audio, sound, face, guard),
      hotKeys(system, settings, sound, session, qsd, talk, face, guard),
      remindStore(registry, remindEdit, guard),
      reminders({registry, clock}, {settings, sound, qsd, chime, talk, reminderSound, face}, remind, guard),
      quickExit({clock, power, shell, audio, system, ui}, {session, paths, settings, sound}, qsd, face, guard) {
    listen(&reminders);
    listen(&quickExit);
    guard.clock = {
        [this] { return clock_window ? clock_window->form().caption() : std::string(); },
        [this](const std::string& c) { if (clock_window) clock_window->form().setCaption(c); },
        [this] { return clock_window ? clock_window->form().handle() : platform::WindowId(0); },
    };
}

namespace {
bool canWriteIn(const fs::path& dir) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    const fs::path probe = dir / "~lumivo.probe";
    {
        std::ofstream f(probe, std::ios::binary);
        if (!f || !(f << 'x') || !f.flush()) return false;
    }
    fs::remove(probe, ec);
    return true;
}
}  // namespace

reminders::EditorDeps App::editorDeps() {
    return {audio, shell, ui, paths, session, settings, talk, chime, reminderSound, remindStore, remindEdit,
            remindEditor, guard};
}

settingsui::Deps App::settingsDeps() {
    return {editorDeps(), system, clock, settingsStore, backUp, reminders, face, quickExit, start.ExitMode};
}

void App::tell(void (core::SystemEvents::*event)()) {
    // Every listener hears of it before any error window opens. A copy: a
    // listener may come or go while it is told.
    const errors::Guard::Held held(guard);
    for (core::SystemEvents* s : std::vector<core::SystemEvents*>(listeners_))
        if (std::find(listeners_.begin(), listeners_.end(), s) != listeners_.end()) (s->*event)();
}

void App::choosePaths() {
    paths.program = platform::programFolder(system);
    paths.writable = paths.program;
    if (canWriteIn(paths.program / "TempFiles")) return;
    const fs::path local = system.localAppData();
    if (!local.empty() && canWriteIn(local / "Lumivo" / "TempFiles")) paths.writable = local / "Lumivo";
}

}  // namespace app
