#pragma once
#include "core/ClockFace.h"
#include "core/Session.h"
#include "errors/Guard.h"
#include "platform/System.h"
#include "quickexit/State.h"
#include "settings/Settings.h"
#include "sound/State.h"
#include "sound/TalkingClock.h"

namespace sound {

// Win+T speaks the time, Ctrl+T brings the clock back; polled on every tick.
class HotKeys {
public:
    HotKeys(platform::System& system, const settings::Settings& settings, const SoundState& state,
            const core::Session& session, const quickexit::QuickExitState& quickExit, TalkingClock& talk,
            core::ClockFace& face, errors::Guard& guard);
    void PollHotKeys();

private:
    platform::System& system_;
    const settings::Settings& settings_;
    const SoundState& state_;
    const core::Session& session_;
    const quickexit::QuickExitState& quickExit_;
    TalkingClock& talk_;
    core::ClockFace& face_;
    errors::Guard& guard_;
};

}  // namespace sound
