#pragma once
#include "core/ClockFace.h"
#include "errors/Guard.h"
#include "quickexit/State.h"
#include "settings/Settings.h"

namespace quickexit {

// The quick exit's marks on the clock.
class Engine {
public:
    Engine(QuickExitState& state, const settings::Settings& settings, core::ClockFace& face, errors::Guard& guard);

    // No quick exit runs: only the green mark, and only when QSDGreen asks for it.
    void ShowQSDIdleIcon();
    // The main tick's share: in a countdown's last two minutes the mark
    // alternates red and orange on every tick.
    void BlinkStep();

private:
    QuickExitState& state_;
    const settings::Settings& settings_;
    core::ClockFace& face_;
    errors::Guard& guard_;
};

}  // namespace quickexit
