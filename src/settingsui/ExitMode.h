#pragma once

namespace settingsui {

// How the settings window closed. The dumps and the stored state keep the
// numbers, so they are fixed.
enum ExitModeKind : int { kExitOther = 0, kExitOk = 1, kExitCancel = 2 };

}  // namespace settingsui
