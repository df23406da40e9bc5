#pragma once
#include <string>
#include "core/Session.h"
#include "errors/Guard.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "reminders/Stored.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "ui/Ui.h"

namespace settings {

// What a backup load changes beyond the settings record: the clock and the
// settings window that is open while it runs.
class BackUpView {
public:
    virtual ~BackUpView() = default;
    // The settings have been read into the record (`earlier` is the record
    // before): show them on the clock and in the window's controls.
    virtual void showSettings(const Settings& earlier) = 0;
    // The stored reminders have changed: fill the list again.
    virtual void listReminds() = 0;
    // The loaded settings are not stored yet: "&Отмена" can undo them.
    virtual void markChanged() = 0;
    // LastBackUp has changed.
    virtual void showLastBackUp(const std::string& text) = 0;
};

// Backup files (.SetLMV): every setting and reminder in one INI text file,
// sealed by its length.
class BackUpFile {
public:
    struct Ports {
        platform::Registry& registry;
        platform::System& system;
        platform::Clock& clock;
        platform::Audio& audio;
        ui::Ui& ui;
    };
    BackUpFile(Ports ports, errors::Guard& guard, const core::Session& session, Settings& settings,
               Store& store);

    // The file both routines work on; the caller sets it first.
    std::string BackUpFileName;
    int ParamsRead = 0;
    int ParamsRepaired = 0;

    void WriteBackUpFile(BackUpView& view);
    void ReadBackUpFile(BackUpView& view);

private:
    // Beeps and tells why the file is not loaded or written; nothing is logged.
    void refuse(const char* text);
    // The stored reminders replaced by `file`'s; put back as they were when
    // the registry fails half-way.
    void replaceReminds(const reminders::StoredReminds& file);

    Ports ports_;
    errors::Guard& guard_;
    const core::Session& session_;
    Settings& settings_;
    Store& store_;
};

}  // namespace settings
