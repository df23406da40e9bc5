#include "quickexit/Engine.h"
#include "quickexit/WarningDialog.h"
#include "sound/ReminderSound.h"

namespace quickexit {

namespace code = errors::code;

namespace {
constexpr const char* kShutdownPrivilege = "SeShutdownPrivilege";

const char* actionName(int action) {
    switch (action) {
        case kShutdown: return "shutdown";
        case kRestart: return "restart";
        case kLogOff: return "log-off";
        default: return "none";
    }
}
}  // namespace

void Engine::NTSetPrivilege(const std::string& name, bool enable) {
    if (shared_.session.Win9xMode) return;  // no access tokens there
    guard_(code::NTSetPrivilege, [&] { ports_.power.setPrivilege(name, enable); });
}

bool Engine::SuspendSystem(bool hibernate, bool force, bool disableWake) {
    bool done = false;
    guard_(code::SuspendSystem, [&] { done = ports_.power.suspend(hibernate, force, disableWake); },
           [&] { return errors::Dump().add("QSDWork", state_.QSDWork); });
    return done;
}

void Engine::QSDFinalAction() {
    guard_(code::QSDFinalAction, [&] {
        minuteTick(false);
        const int mode = state_.QSDWMode;
        if (mode == kShutdown || mode == kRestart || mode == kLogOff) {
            // The action itself comes last, once the windows have gone and the
            // program has cleaned up (FinalExit).
            state_.QSDFinal = 1;
            face_.stopMainTick();
            ports_.ui.terminate();
            return;
        }
        if (mode != kHibernate) return;
        state_.QSDWork = kIdle;
        state_.QSDBugGuard = 0;
        ShowState();
        syncAwake();
        if (!shared_.sound.SoundDisabled) sound::StartTemporarySoundOff(shared_.sound, face_, ports_.clock.now());
        // A warning still up (a late tick skipped 0:00) would greet the user on waking.
        if (warning_) warning_->close();
        if (panel_) panel_->close();
        ports_.ui.restoreApp();
        NTSetPrivilege(kShutdownPrivilege, true);
        const bool done = SuspendSystem(true, true, true);
        NTSetPrivilege(kShutdownPrivilege, false);
        // Refused: the quick exit stays idle, and no other action stands in for it.
        if (!done) {
            guard_.note("Быстрый выход: система отказала в переходе в спящий режим.");
            face_.balloon("Lumivo", "Компьютер не перешёл в спящий режим: система отказала.");
        }
    }, [&] { return errors::Dump().add("QSDWMode", state_.QSDWMode).add("QSDFinal", state_.QSDFinal); });
}

void Engine::FinalExit() {
    if (awake_) {
        awake_ = false;
        ports_.power.keepAwake(false);
    }
    if (state_.QSDFinal != 1) return;
    unsigned flags = 0;
    switch (state_.QSDWMode) {
        case kShutdown: flags = platform::kEwxShutdown | platform::kEwxForce; break;
        case kRestart: flags = platform::kEwxReboot | platform::kEwxForce; break;
        case kLogOff: flags = platform::kEwxLogoff | platform::kEwxForce; break;
        default: return;
    }
    NTSetPrivilege(kShutdownPrivilege, true);
    const unsigned refused = ports_.power.exitWindows(flags);
    // No window can show any more: the log is where a user who finds the
    // computer still on can learn why.
    if (refused != 0)
        guard_.note(std::string("Быстрый выход: система отказала в действии ") + actionName(state_.QSDWMode) +
                    " (ExitWindowsEx " + std::to_string(flags) + "), код ошибки " + std::to_string(refused));
}

}  // namespace quickexit
