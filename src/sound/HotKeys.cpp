#include "sound/HotKeys.h"
#include <cstdint>

namespace sound {

HotKeys::HotKeys(platform::System& system, const settings::Settings& settings, const SoundState& state,
                 const core::Session& session, const quickexit::QuickExitState& quickExit, TalkingClock& talk,
                 core::ClockFace& face, errors::Guard& guard)
    : system_(system), settings_(settings), state_(state), session_(session), quickExit_(quickExit), talk_(talk),
      face_(face), guard_(guard) {}

void HotKeys::PollHotKeys() {
    std::int16_t t = 0, ctrl = 0, lwin = 0, rwin = 0;
    guard_(errors::code::PollHotKeys, [&] {
        // Read every time, whatever the settings: each read also clears the
        // "pressed since the last query" bit, so a stale press never fires later.
        t = system_.asyncKeyState(platform::kVkT);
        ctrl = system_.asyncKeyState(platform::kVkControl);
        lwin = system_.asyncKeyState(platform::kVkLWin);
        rwin = system_.asyncKeyState(platform::kVkRWin);
        if (settings_.GlobalHotkeys != 1) return;

        if ((lwin || rwin) && t && session_.ShowModalRes == 0) {
            if (state_.SoundDisabled || quickExit_.imminent()) return;
            talk_.SpeakTime();
        }
        // Only the left Windows key is excluded: Ctrl+T with the right one both speaks and restores.
        if (t && ctrl && !lwin) {
            guard_.step(2);
            face_.restore();
        }
    }, [&] {
        return errors::Dump()
            .add("GetT", t)
            .add("GetA", lwin)
            .add("GetC", ctrl)
            .add("GlobalHotkeys", settings_.GlobalHotkeys)
            .add("ShowModalRes", session_.ShowModalRes);
    });
}

}  // namespace sound
