#include "quickexit/Engine.h"
#include <memory>
#include "platform/Path.h"
#include "quickexit/QuickExitWindow.h"
#include "quickexit/Rules.h"
#include "quickexit/WarningDialog.h"

namespace quickexit {

using core::Mark;
namespace code = errors::code;

Engine::Engine(Ports ports, Shared shared, QuickExitState& state, core::ClockFace& face, errors::Guard& guard)
    : ports_(ports), shared_(shared), state_(state), face_(face), guard_(guard) {}

Engine::~Engine() = default;

namespace {
HourMinute clockNow(platform::Clock& clock) {
    const platform::LocalTime t = clock.now();
    return {t.hour, t.minute};
}
}  // namespace

// The four marks, as the dumps of their routines open.
errors::Dump Engine::marksDump() {
    return errors::Dump()
        .add("ImageYellow.Visible", face_.markShown(Mark::Yellow))
        .add("ImageOrange.Visible", face_.markShown(Mark::Orange))
        .add("ImageRed.Visible", face_.markShown(Mark::Red))
        .add("ImageGreen.Visible", face_.markShown(Mark::Green));
}

// Both conversions' dumps open with the working and the stored firing time.
errors::Dump Engine::timeDump(HourMinute work) const {
    return errors::Dump()
        .add("QSDWTimeHC", work.h)
        .add("QSDWTimeH", state_.QSDWTimeH)
        .add("QSDWTimeM", state_.QSDWTimeM)
        .add("QSDWTimeMC", work.m);
}

// ---- the schedule ---------------------------------------------------------------------

void Engine::CalcQSDTime() {
    HourMinute work;
    guard_(code::CalcQSDTime, [&] {
        const HourMinute now = clockNow(ports_.clock);
        work = fireTime(now, {state_.QSDWTimerH, state_.QSDWTimerM});
        state_.QSDWTimeH = work.h;
        state_.QSDWTimeM = work.m;
    }, [&] { return timeDump(work); });
}

void Engine::CalcQSDTimer() {
    HourMinute work;
    guard_(code::CalcQSDTimer, [&] {
        // A pause freezes the time left, whoever asks.
        if (state_.QSDWork != kPaused) {
            const HourMinute now = clockNow(ports_.clock);
            work = timeLeft({state_.QSDWTimeH, state_.QSDWTimeM}, now);
            state_.QSDWTimerH = work.h;
            state_.QSDWTimerM = work.m;
        }
        if (state_.QSDWDlg == kWarningShown && state_.QSDWTimerH == 0 && state_.QSDWTimerM == 0) {
            state_.QSDWDlg = kNoWarning;
            if (warning_) warning_->close();
        }
        postWarning();
        if (state_.QSDWDlg == kWarningShown && warning_) warning_->UpdateWarningText();
        refreshWindow();
        if (state_.started()) ShowState();  // a new time left may call for another mark
    }, [&] {
        return timeDump(work)
            .add("QSDWDlg", state_.QSDWDlg)
            .add("QSDWTimerH", state_.QSDWTimerH)
            .add("QSDWTimerM", state_.QSDWTimerM)
            .add("QSDWork", state_.QSDWork)
            .add("QSDVisible", state_.QSDVisible)
            .add("QSDWDlg", state_.QSDWDlg)
            .add("ShowModalRes", shared_.session.ShowModalRes);
    });
}

void Engine::refreshWindow() {
    if (state_.QSDVisible == 1 && panel_) showSchedule(*panel_, panel_->timeModeShown());
}

void Engine::showSchedule(Panel& panel, int timeMode) {
    if (timeMode != kCountdown) panel.showTime(state_.QSDWTimeH, state_.QSDWTimeM);
    else panel.showTime(state_.QSDWTimerH, state_.QSDWTimerM);
}

namespace {
bool warningDue(const QuickExitState& q) {
    return q.QSDWTimerH == 0 && q.QSDWTimerM < 6 && q.QSDWork == kRunning && q.QSDWDlg == kWarningArmed && q.QSDVisible == 0;
}
}  // namespace

void Engine::postWarning() {
    if (!warningDue(state_) || warningPosted_) return;
    warningPosted_ = true;
    face_.later([this] {
        warningPosted_ = false;
        // Decided on the state as it is now: stopped, paused or opened meanwhile, no warning.
        if (warningDue(state_)) showWarning();
    });
}

void Engine::showWarning() {
    state_.QSDWDlg = kWarningShown;
    bool change = false;
    try {
        WarningDialog dialog(*this);
        warning_ = &dialog;
        change = dialog.showModal();
        warning_ = nullptr;
    } catch (...) {
        // A dialog that never closed must not hold the warning for good.
        if (state_.QSDWDlg == kWarningShown) state_.QSDWDlg = kNoWarning;
        warning_ = nullptr;
        throw;
    }
    // "Изменить настройки..." opens the window once the dialog has gone.
    guard_(code::WarnDestroy, [&] {
        if (!change) return;
        face_.later([this] {
            guard_(code::WarnOpenWindow, [&] { OpenQuickShutDownWindow(false); },
                   [&] { return errors::Dump().add("ShowModalRes", shared_.session.ShowModalRes); });
        });
    }, [&] { return errors::Dump().add("SSDN", change ? 1 : 0); });
}

void Engine::StartQSD(const Choices& c) {
    guard_(code::StartQSD, [&] {
        if (c.timeMode == kCountdown) {
            state_.QSDWTimerH = c.hours;
            state_.QSDWTimerM = c.minutes;
            CalcQSDTime();
        } else {
            state_.QSDWTimeH = c.hours;
            state_.QSDWTimeM = c.minutes;
            CalcQSDTimer();  // still idle: no warning can come of it
        }
        state_.QSDWMode = c.action;
        state_.QSDWModeTime = c.timeMode;
        state_.QSDWDlg = c.warn ? kWarningArmed : kNoWarning;
        state_.QSDWork = kRunning;
        rememberDue();
        minuteTick(true);
        if (panel_) panel_->showRunning();
        syncAwake();
        UpdateQSDStatus();
    }, [&] {
        return errors::Dump()
            .add("FQSD.CB2.itemindex", c.timeMode)
            .add("EditH.Text", std::to_string(c.hours))
            .add("EditM.Text", std::to_string(c.minutes))
            .add("QSDWTimerH", state_.QSDWTimerH)
            .add("QSDWTimerM", state_.QSDWTimerM)
            .add("QSDWTimeH", state_.QSDWTimeH)
            .add("QSDWTimeM", state_.QSDWTimeM)
            .add("QSDWMode", state_.QSDWMode)
            .add("QSDWModeTime", state_.QSDWModeTime)
            .add("QSDWDlg", state_.QSDWDlg)
            .add("QSDWork", state_.QSDWork);
    });
}

// Runs inside the start button's handler, under its code.
void Engine::StopQSD() {
    state_.QSDWork = kIdle;
    minuteTick(false);
    state_.QSDBugGuard = 0;
    ShowState();
    if (panel_) panel_->showIdle();
    syncAwake();
}

void Engine::PauseQSD() { pause(true); }
void Engine::ResumeQSD() { pause(false); }

void Engine::pause(bool on) {
    guard_(code::QSDPause, [&] {
        state_.QSDWork = on ? kPaused : kRunning;
        minuteTick(!on);
        if (!on) {
            CalcQSDTime();  // the firing time moves on by the length of the pause
            rememberDue();
        }
        syncAwake();
        UpdateQSDStatus();
        if (panel_) panel_->showPaused(on);
    }, [&] { return errors::Dump().add("QSDWork", state_.QSDWork); });
}

void Engine::UpdateQSDStatus() {
    guard_(code::UpdateQSDStatus, [&] {
        face_.alignMarks();
        if (state_.QSDWork == kPaused) {
            CalcQSDTime();
            CalcQSDTimer();
        } else {
            guard_.step(2);
            CalcQSDTimer();
        }
        guard_.step(3);
        ShowState();
    }, [&] {
        return marksDump()
            .add("ImageGreen.Top", face_.markTop())
            .add("TimeMain.Height", face_.timeHeight())
            .add("QSDWork", state_.QSDWork)
            .add("QSDWTimerM", state_.QSDWTimerM)
            .add("QSDWTimerH", state_.QSDWTimerH);
    });
}

// Orange with more than five minutes left, red from five, the two taking
// turns on every main tick in the last two (BlinkStep), yellow while paused.
void Engine::ShowState() {
    if (!state_.started()) {
        ShowQSDIdleIcon();
        return;
    }
    face_.alignMarks();
    const int h = state_.QSDWTimerH, m = state_.QSDWTimerM;
    const std::string hint = statusHint(state_.QSDWMode, {h, m});
    face_.setMarkHint(Mark::Red, hint);
    face_.setMarkHint(Mark::Orange, hint);
    face_.showMark(Mark::Green, false);
    const bool paused = state_.QSDWork == kPaused;
    face_.showMark(Mark::Yellow, paused);
    if (paused) {
        face_.setMarkHint(Mark::Yellow, hint + " (ПАУЗА)");
        face_.showMark(Mark::Orange, false);
        face_.showMark(Mark::Red, false);
    } else if (m > 5 || h > 0) {
        face_.showMark(Mark::Orange, true);
        face_.showMark(Mark::Red, false);
    } else if (m >= 2) {
        face_.showMark(Mark::Red, true);
        face_.showMark(Mark::Orange, false);
    } else if (face_.markShown(Mark::Red) == face_.markShown(Mark::Orange)) {
        face_.showMark(Mark::Red, true);
        face_.showMark(Mark::Orange, false);
    }
}

void Engine::StoreQSDDefaults(const Choices& c) {
    settings::Settings& s = shared_.settings;
    guard_(code::StoreQSDDefaults, [&] {
        s.QSDTypeTime = c.timeMode;
        s.QSDModeWork = c.action;
        s.QSDMsgDlg = c.warn ? 1 : 0;
    }, [&] {
        return errors::Dump().add("QSDTypeTime", s.QSDTypeTime).add("QSDModeWork", s.QSDModeWork).add("QSDMsgDlg", s.QSDMsgDlg);
    });
}

// ---- the marks and the ticks ------------------------------------------------------------

void Engine::ShowQSDIdleIcon() {
    guard_(code::ShowQSDIdleIcon, [&] {
        face_.showMark(Mark::Yellow, false);
        face_.showMark(Mark::Orange, false);
        face_.showMark(Mark::Red, false);
        const bool green = shared_.settings.QSDGreen == 1;
        face_.showMark(Mark::Green, green);
        if (green) face_.alignMarks();
    }, [&] {
        return marksDump()
            .add("QSDGreen", shared_.settings.QSDGreen)
            .add("ImageGreen.Top", face_.markTop())
            .add("TimeMain.Height", face_.timeHeight());
    });
}

void Engine::BlinkStep() {
    if (!state_.imminent()) return;
    state_.QSDBugGuard = 1;
    const bool red = face_.markShown(Mark::Red);
    face_.showMark(Mark::Red, !red);
    face_.showMark(Mark::Orange, red);
    face_.showMark(Mark::Green, false);
}

void Engine::Timer2Timer() {
    guard_(code::Timer2Timer, [&] {
        if (state_.started()) UpdateQSDStatus();
        if (state_.QSDWork != kRunning) return;
        guard_.step(2);
        if (state_.QSDWTimerH == 0 && state_.QSDWTimerM == 0) state_.QSDWork = kDue;
        guard_.step(3);
        // Once the last minute has been seen, any tick that does not find
        // exactly one minute left fires: a late tick may have skipped 0:00.
        if (state_.QSDWTimerM != 1 && state_.QSDBugGuard == 1 && state_.QSDWork != kDue) state_.QSDWork = kDue;
        guard_.step(4);
        if (state_.QSDWork == kDue) fire();
    }, [&] {
        return errors::Dump()
            .add("QSDWork", state_.QSDWork)
            .add("QSDWTimerH", state_.QSDWTimerH)
            .add("QSDWTimerM", state_.QSDWTimerM)
            .add("QSDBugGuard", state_.QSDBugGuard)
            .add("FormClock.Timer2.Enabled", Timer2_.enabled());
    });
}

void Engine::minuteTick(bool on) {
    Timer2_.setEnabled(false);
    Timer2_.setEnabled(on);
}

void Engine::fire() {
    state_.QSDBugGuard = 0;
    state_.QSDWork = kIdle;
    minuteTick(false);
    syncAwake();
    QSDFinalAction();
}

void Engine::rememberDue() {
    dueMinute_ = absoluteMinute(ports_.clock.now()) + state_.QSDWTimerH * 60 + state_.QSDWTimerM;
}

// Within its firing minute the minute tick is asked at once (it may not come
// in time); a minute later the tick would have fired it; later than that the
// computer was not running at the time.
void Engine::CheckMissed() {
    guard_(code::CheckMissed, [&] {
        if (state_.QSDWork != kRunning) return;
        const std::int64_t late = absoluteMinute(ports_.clock.now()) - dueMinute_;
        if (late < 0) {
            UpdateQSDStatus();  // the time left follows the clock, the marks with it
            // Set back, the time of day comes round sooner than the day it was started for.
            if (state_.QSDWork == kRunning) rememberDue();
        } else if (late == 0) {
            Timer2Timer();
        } else if (late == 1) {
            fire();
        } else {
            StopQSD();
            face_.balloon("Lumivo", "Быстрый выход отменён: компьютер не работал в назначенное время.");
        }
    }, [&] { return errors::Dump().add("QSDWork", state_.QSDWork).add("QSDWTimerH", state_.QSDWTimerH).add("QSDWTimerM", state_.QSDWTimerM); });
}

void Engine::onSessionEnding() {
    Timer2_.setEnabled(false);
    if (!awake_) return;
    awake_ = false;
    ports_.power.keepAwake(false);
}

void Engine::syncAwake() {
    const bool want = state_.QSDWork == kRunning && state_.QSDWMode >= kShutdown && state_.QSDWMode <= kLogOff;
    if (want == awake_) return;
    awake_ = want;
    ports_.power.keepAwake(want);
}

bool HibernationAllowed(const core::Session& session, platform::Power& power) {
    return !session.Win9xMode && power.hibernationAllowed();
}

// ---- the windows ----------------------------------------------------------------------------

void Engine::OpenQuickShutDownWindow(bool askHibernation) {
    // One window at a time: a second opening finds the first.
    if (panel_) {
        panel_->bringToFront();
        return;
    }
    if (askHibernation) {
        state_.HibrneteMode = HibernationAllowed(shared_.session, ports_.power) ? 0 : 1;
    }
    QuickExitWindow window(*this);
    window.showModal();
}

void Engine::openHelp(platform::WindowId owner) {
    ports_.shell.open(platform::u8string(shared_.paths.program / "Help" / "indexQSD.htm"), "", "",
                      platform::kSwNormal, owner);
}

}  // namespace quickexit
