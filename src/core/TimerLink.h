#pragma once
#include <functional>
#include <utility>
#include "ui/Timer.h"

namespace core {

// A timer that a subsystem runs as its own, though it stands on the clock
// window (the window system needs a window for it): the window lends it for
// its lifetime, the subsystem handles, starts and stops it. Without a window
// it is simply off.
class TimerLink {
public:
    explicit TimerLink(std::function<void()> onTimer) : onTimer_(std::move(onTimer)) {}
    TimerLink(const TimerLink&) = delete;
    TimerLink& operator=(const TimerLink&) = delete;
    ~TimerLink() { detach(); }

    void attach(ui::Timer& timer) {
        detach();
        timer_ = &timer;
        timer.onTimer = onTimer_;
    }
    void detach() {
        if (timer_) timer_->onTimer = nullptr;
        timer_ = nullptr;
    }
    void setEnabled(bool on) {
        if (timer_) timer_->setEnabled(on);
    }
    bool enabled() const { return timer_ && timer_->enabled(); }

private:
    std::function<void()> onTimer_;
    ui::Timer* timer_ = nullptr;
};

}  // namespace core
