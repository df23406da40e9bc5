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

void App::openStore() {
    if (!portable) return;
    storeOpened = portable->open(paths.program, paths.writable == paths.program);
    // Any copy with the marker, a read-only one too, may be on a drive that
    // leaves with its user.
    if (storeOpened != settings::PortableStore::Opened::Registry) settingsStore.setVisiting(true);
}

void App::tellStore() {
    using Opened = settings::PortableStore::Opened;
    if (storeOpened == Opened::Foreign) {
        const std::string moved = platform::u8string(portable->movedTo().filename());
        guard.note("Переносная версия: файл " + std::string(settings::kPortableFile) +
                   " не является файлом настроек Lumivo и переименован в " + moved + ".");
        ui.messageBox("Файл " + std::string(settings::kPortableFile) +
                          " в папке программы не является файлом настроек Lumivo. Он переименован в " + moved +
                          ", программа начинает работу как при первом запуске.",
                      "Сообщение", ui::kMbIconExclamation);
    }
}

void App::tellStoreOnTray() {
    if (storeOpened == settings::PortableStore::Opened::ReadOnly) {
        guard.note("Переносная версия: папка программы доступна только для чтения, настройки хранятся в реестре.");
        face.later([this] {
            face.balloon("Lumivo", "Папка программы доступна только для чтения: настройки и напоминания "
                                   "хранятся в реестре этого компьютера.");
        });
    }
}

void App::flushStore(const platform::LocalTime& now) {
    if (!portable || !portable->owed()) return;
    const int second = (now.hour * 60 + now.minute) * 60 + now.second;
    if (second == storeRefusedAt_) return;
    if (portable->flush()) {
        storeRefusedAt_ = -1;
        return;
    }
    storeRefusedAt_ = second;
    if (storeRefusalTold_) return;
    storeRefusalTold_ = true;
    guard.note("Переносная версия: файл настроек " + platform::u8string(portable->file()) +
               " не записан; запись будет повторяться, пока диск не станет доступен.");
}

void App::flushStore() { flushStore(clock.now()); }

}  // namespace app
