#include "quickexit/Engine.h"

namespace quickexit {

using core::Mark;

Engine::Engine(QuickExitState& state, const settings::Settings& settings, core::ClockFace& face, errors::Guard& guard)
    : state_(state), settings_(settings), face_(face), guard_(guard) {}

void Engine::ShowQSDIdleIcon() {
    guard_(errors::code::ShowQSDIdleIcon, [&] {
        if (state_.QSDWork != 0) return;  // a running quick exit shows its own marks
        face_.showMark(Mark::Yellow, false);
        face_.showMark(Mark::Orange, false);
        face_.showMark(Mark::Red, false);
        const bool green = settings_.QSDGreen == 1;
        face_.showMark(Mark::Green, green);
        if (green) face_.alignMarks();
    }, [&] {
        return errors::Dump()
            .add("ImageYellow.Visible", face_.markShown(Mark::Yellow))
            .add("ImageOrange.Visible", face_.markShown(Mark::Orange))
            .add("ImageRed.Visible", face_.markShown(Mark::Red))
            .add("ImageGreen.Visible", face_.markShown(Mark::Green))
            .add("QSDGreen", settings_.QSDGreen)
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

}  // namespace quickexit
