#pragma once

// Command ids of the clock's popup menu. Fixed, so that tools and tests can
// send them as WM_COMMAND to the clock window.
namespace forms::cmd {
enum : unsigned {
    N6 = 101,            // stop the reminder sound
    N8 = 102,            // restore
    HidePOM = 103,
    OnTopPOM = 104,
    SoundDiss = 105,
    N4 = 106,            // top-left corner
    NillFirst = 107,
    ViewSecondsA = 108,
    PMAM24 = 109,
    QuickExit = 110,
    N2 = 111,            // settings
    SetTime = 112,
    HelpSec = 113,
    AboutPro = 114,
    Err = 115,           // hidden test command
    ExitPOM = 116,
};
}  // namespace forms::cmd

namespace forms {
// Messages between copies of the program and from the notification area.
enum : unsigned { kMsgBringToFront = 0x400, kMsgRestartHandOver = 0x401, kMsgTrayCallback = 0x402 };
// The clock window's own: work queued to run after the handler that queued it.
enum : unsigned { kMsgLater = 0x403 };
// The mouse messages the notification-area icon reports.
enum : unsigned { kTrayDoubleClick = 0x203, kTrayRightButtonDown = 0x204 };
// The system's own word to every window: power events (with the event as the
// first parameter) and a change of the clock.
enum : unsigned { kMsgPowerBroadcast = 0x218, kMsgTimeChange = 0x1E };
enum : unsigned { kPbtResumeSuspend = 0x7, kPbtResumeAutomatic = 0x12 };
// The session ending (the second is told whether it really ends, in the first
// parameter), and monitors or resolution changed.
enum : unsigned { kMsgQueryEndSession = 0x11, kMsgEndSession = 0x16, kMsgDisplayChange = 0x7E };
}  // namespace forms
