#pragma once
#include <string>

namespace core {

// What every subsystem may read about this run of the program: the version
// texts the error records carry, the system family, and the count of open
// modal windows that holds the spoken time back.
struct Session {
    std::string LMVName, LMVVersion, LMVVersionName, LMVVersionTitle, WinV;
    bool Win9xMode = false;  // no layered windows: the clock is shaped by a region, seconds never show
    int ShowModalRes = 0;    // the modal windows open now; only ModalCount changes it
};

// One modal window in ShowModalRes: counted from before the window is made
// until its close (release), or until it is gone, however it went.
class ModalCount {
public:
    explicit ModalCount(Session& s) : session_(&s) { ++s.ShowModalRes; }
    ~ModalCount() { release(); }
    ModalCount(const ModalCount&) = delete;
    ModalCount& operator=(const ModalCount&) = delete;
    void release() {
        if (session_ && session_->ShowModalRes > 0) --session_->ShowModalRes;
        session_ = nullptr;
    }

private:
    Session* session_;
};

}  // namespace core
