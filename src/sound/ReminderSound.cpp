#include "sound/ReminderSound.h"
#include "app/App.h"
#include "app/ClockWindow.h"

namespace sound {

namespace {

void showChannel(app::App& app, bool playing) {
    if (!app.clock_window) return;
    app.clock_window->MainPoM().item("N6").visible = playing;
    app.clock_window->TimerMySnd().setEnabled(playing);
}

void closeChannel(app::App& app) {
    app.audio.mciSend("stop mySndR", false);
    app.audio.mciSend("close mySndR", false);
    app.sound.ReminderSoundPath = std::string();
}

void playNow(app::App& app, const std::string& path) {
    showChannel(app, true);
    const std::string shortPath = app.audio.shortPath(path);
    app.sound.ReminderSoundPath = shortPath;
    // Quoted: where a volume has no 8.3 names the "short" path keeps its blanks.
    app.audio.mciSend("open \"" + shortPath + "\" alias mySndR", false);
    app.audio.mciSend("play mySndR", false);
}

}  // namespace

// An unset path means no sound was ever opened in this run, so there is
// nothing to close; once set, a stop always closes, open or not.
void StopReminderSound(app::App& app) {
    if (app.sound.ReminderSoundPath) closeChannel(app);
    showChannel(app, false);
    app.sound.PendingReminderSound.reset();
    if (app.clock_window) app.clock_window->form().timer("TimerSndPause").setEnabled(false);
}

void StartReminderSound(app::App& app, const std::string& path, bool pauseFirst) {
    StopReminderSound(app);
    if (pauseFirst && app.clock_window) {
        app.sound.PendingReminderSound = path;
        app.clock_window->form().timer("TimerSndPause").setEnabled(true);
        return;
    }
    playNow(app, path);
}

void TimerSndPauseTimer(app::App& app) {
    app.guard(app::fixedCode("0.001 - 037.0"), [&] {
        if (app.clock_window) app.clock_window->form().timer("TimerSndPause").setEnabled(false);
        if (!app.sound.PendingReminderSound) return;
        const std::string path = *app.sound.PendingReminderSound;
        app.sound.PendingReminderSound.reset();
        playNow(app, path);
    });
}

void N6Click(app::App& app) {
    app.guard(app::fixedCode("0.001 - 036.0"), [&] { StopReminderSound(app); });
}

void TimerMySndTimer(app::App& app) {
    app.guard(app::fixedCode("0.001 - 037.0"), [&] {
        if (!app.sound.ReminderSoundPath) {
            showChannel(app, false);
            return;
        }
        // A failed query leaves the sound alone; only a definite "stopped" ends it.
        const platform::MciResult r = app.audio.mciSend("status mySndR mode", true);
        if (r.error == 0 && r.reply == "stopped") {
            closeChannel(app);
            showChannel(app, false);
        }
    });
}

}  // namespace sound
