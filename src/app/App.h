#pragma once
#include <vector>
#include "app/State.h"
#include "core/ClockFace.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "core/SystemEvents.h"
#include "errors/Guard.h"
#include "errors/State.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Mail.h"
#include "platform/Power.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "quickexit/Engine.h"
#include "quickexit/State.h"
#include "reminders/ReminderEditor.h"
#include "reminders/Scheduler.h"
#include "reminders/State.h"
#include "reminders/Store.h"
#include "settings/BackUpFile.h"
#include "settings/PortableStore.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settingsui/SettingsWindow.h"
#include "sound/Chime.h"
#include "sound/HotKeys.h"
#include "sound/ReminderSound.h"
#include "sound/State.h"
#include "sound/TalkingClock.h"
#include "ui/Ui.h"

namespace app {

class ClockWindow;
class SplashWindow;

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

// The program put together: the ports, each subsystem's state and the
// subsystems, which get only what they need of the rest. A test makes a
// fresh one with fakes.
class App : public Ports {
public:
    explicit App(Ports p);
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // State, each part with its owner.
    core::Paths paths;
    core::Session session;
    StartupState start;
    errors::ErrorState err;
    settings::Settings settings;
    settings::LoadState load;
    sound::SoundState sound;
    reminders::NextRemind remind;
    reminders::RemindEdit remindEdit;
    reminders::EditorState remindEditor;
    quickexit::QuickExitState qsd;

    // The clock window as the subsystems reach it.
    core::FaceLink face;

    // The subsystems.
    errors::Guard guard;
    settings::Store settingsStore;
    settings::BackUpFile backUp;
    sound::TalkingClock talk;
    sound::Chime chime;
    sound::ReminderSound reminderSound;
    sound::HotKeys hotKeys;
    reminders::Store remindStore;
    reminders::Scheduler reminders;
    quickexit::Engine quickExit;

    // The windows of this layer, while they exist.
    ClockWindow* clock_window = nullptr;
    SplashWindow* splash = nullptr;
    settingsui::SettingsWindow* settings_window = nullptr;

    // What the reminder editor works with, for the window that opens it.
    reminders::EditorDeps editorDeps();
    // What the settings window works with.
    settingsui::Deps settingsDeps();

    // Decides the paths from the program folder (probing that it can be written).
    void choosePaths();

    // A copy that may be portable: the registry port it was given, set by
    // the program's composition root. The store is chosen after the paths.
    settings::PortableStore* portable = nullptr;
    settings::PortableStore::Opened storeOpened = settings::PortableStore::Opened::Registry;
    void openStore();
    // What the choice of store needs to tell: a foreign file in a message box
    // before the clock window is made; a read-only folder in a balloon, once
    // the window (and its icon) exists.
    void tellStore();
    void tellStoreOnTray();
    // The portable file brought up to what the program holds: from every main
    // tick and at the end. A refusal (the drive pulled out) is logged once a
    // run and tried again a second later.
    void flushStore(const platform::LocalTime& now);
    void flushStore();

    // A system event, handed to each subsystem that cares in a fixed order:
    // the reminders, the quick exit, then the clock window itself.
    void tell(void (core::SystemEvents::*event)());
    void listen(core::SystemEvents* s) { listeners_.push_back(s); }
    void unlisten(const core::SystemEvents* s) { std::erase(listeners_, s); }

private:
    std::vector<core::SystemEvents*> listeners_;
    int storeRefusedAt_ = -1;  // the second of the day of the last refused flush
    bool storeRefusalTold_ = false;
};

}  // namespace app
