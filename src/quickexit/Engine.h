#pragma once
#include <cstdint>
#include <string>
#include "core/ClockFace.h"
#include "core/Paths.h"
#include "core/Session.h"
#include "core/SystemEvents.h"
#include "core/TimerLink.h"
#include "errors/Guard.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Power.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "quickexit/Rules.h"
#include "quickexit/State.h"
#include "settings/Settings.h"
#include "sound/State.h"
#include "ui/Ui.h"

namespace quickexit {

class QuickExitWindow;
class WarningDialog;

// The quick-exit window as the engine sees it while it is open: the time-mode
// list it shows, the two time fields, and the state of its buttons.
class Panel {
public:
    virtual ~Panel() = default;
    virtual int timeModeShown() = 0;
    virtual void showTime(int hours, int minutes) = 0;
    // The buttons and lists of a running, paused or idle quick exit.
    virtual void showRunning() = 0;
    virtual void showPaused(bool paused) = 0;
    virtual void showIdle() = 0;
    virtual void close() = 0;
    virtual void bringToFront() = 0;
};

// What the user chose in the window, read when the start button is pressed.
struct Choices {
    int timeMode = kCountdown;
    int hours = 0, minutes = 0;
    int action = kShutdown;
    bool warn = true;
};

// The quick exit: its schedule, the marks on the clock, the minute tick, the
// warning, the power action, and the two windows around it.
class Engine final : public core::SystemEvents {
public:
    struct Ports {
        platform::Clock& clock;
        platform::Power& power;
        platform::Shell& shell;
        platform::Audio& audio;
        platform::System& system;
        ui::Ui& ui;
    };
    struct Shared {
        core::Session& session;
        const core::Paths& paths;
        settings::Settings& settings;
        sound::SoundState& sound;
    };
    Engine(Ports ports, Shared shared, QuickExitState& state, core::ClockFace& face, errors::Guard& guard);
    ~Engine() override;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The schedule.
    void CalcQSDTime();
    void CalcQSDTimer();
    void StartQSD(const Choices&);
    void StopQSD();
    void PauseQSD();
    void ResumeQSD();
    void UpdateQSDStatus();
    void StoreQSDDefaults(const Choices&);

    // No quick exit runs: only the green mark, and only when QSDGreen asks for it.
    void ShowQSDIdleIcon();
    // The marks and their hints as the state calls for them; run after every
    // change of state, whoever made it.
    void ShowState();
    // The main tick's share: in a countdown's last two minutes the mark
    // alternates red and orange on every tick.
    void BlinkStep();
    // The clock's minute timer: lent by the clock window for its lifetime.
    void attach(ui::Timer& Timer2) { Timer2_.attach(Timer2); }
    void detachTimer() { Timer2_.detach(); }
    void Timer2Timer();
    // The computer woke up or its clock was set: a quick exit whose minute
    // has just passed fires as the tick would; one whose moment passed longer
    // ago is dropped rather than left to fire a day late.
    void CheckMissed();
    void onResumed() override { CheckMissed(); }
    void onTimeChanged() override { CheckMissed(); }
    void onSessionEnding() override;

    // The power action, when due or asked for at once.
    void QSDFinalAction();
    // After the message loop: shutdown, restart or log-off, if one is due.
    void FinalExit();
    void NTSetPrivilege(const std::string& name, bool enable);
    bool SuspendSystem(bool hibernate, bool force, bool disableWake);

    // The quick-exit window: from the clock's menu and marks (hibernation
    // asked again), and from the warning (not asked).
    void OpenQuickShutDownWindow(bool askHibernation);
    bool windowOpen() const { return panel_ != nullptr; }
    bool warningOpen() const { return warning_ != nullptr; }

    // For the windows.
    QuickExitState& state() { return state_; }
    const Ports& ports() const { return ports_; }
    const Shared& shared() const { return shared_; }
    errors::Guard& guard() { return guard_; }
    core::ClockFace& face() { return face_; }
    void attach(Panel* p) { panel_ = p; }
    void detach(const Panel* p) {
        if (panel_ == p) panel_ = nullptr;
    }
    void detachWarning(const WarningDialog* d) {
        if (warning_ == d) warning_ = nullptr;
    }
    // The fields show the firing time in time-of-day mode, else the time left.
    void showSchedule(Panel&, int timeMode);
    // The help page of both windows.
    void openHelp(platform::WindowId owner);

private:
    // On, the minute tick starts a fresh minute: it keeps the second it was started at.
    void minuteTick(bool on);
    // The warning opens from the clock's queue, never inside a tick, and only
    // if it is still due by then.
    void postWarning();
    void showWarning();
    // The minute tick's action once the quick exit is due.
    void fire();
    void pause(bool on);
    errors::Dump timeDump(HourMinute work) const;
    errors::Dump marksDump();
    void refreshWindow();
    // The firing moment on a running count of minutes, for CheckMissed.
    void rememberDue();
    // The stay-awake request follows the running state.
    void syncAwake();

    Ports ports_;
    Shared shared_;
    QuickExitState& state_;
    core::ClockFace& face_;
    errors::Guard& guard_;
    Panel* panel_ = nullptr;
    WarningDialog* warning_ = nullptr;
    std::int64_t dueMinute_ = 0;
    bool awake_ = false;
    bool warningPosted_ = false;
    core::TimerLink Timer2_{[this] {
        const errors::Guard::Held held(guard_);
        Timer2Timer();
    }};
};

// Whether the system allows hibernation; the 9x family is not asked.
bool HibernationAllowed(const core::Session&, platform::Power&);

}  // namespace quickexit
