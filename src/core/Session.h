#pragma once
#include <string>

namespace core {

// What every subsystem may read about this run of the program: the version
// texts the error records carry, the system family, and the count of open
// modal windows that holds the spoken time back.
struct Session {
    std::string LMVName, LMVVersion, LMVVersionName, LMVVersionTitle, WinV;
    bool Win9xMode = false;  // no layered windows: the clock is shaped by a region, seconds never show
    int ShowModalRes = 0;    // the opener adds 1, the window's close takes it away
};

}  // namespace core
