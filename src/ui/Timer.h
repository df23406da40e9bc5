#pragma once
#include <functional>
#include <string>

namespace ui {

class Form;

class Timer {
public:
    Timer(std::string name, unsigned interval, bool enabled) : name_(std::move(name)), interval_(interval), enabled_(enabled) {}
    const std::string& name() const { return name_; }
    unsigned interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    void setInterval(unsigned ms);
    void setEnabled(bool v);
    void fire() { if (enabled_ && onTimer) onTimer(); }
    std::function<void()> onTimer;
    // Bumped on every change, so a scheduler can restart its count.
    unsigned generation() const { return generation_; }

private:
    friend class Form;
    void changed();
    std::string name_;
    unsigned interval_;
    bool enabled_;
    unsigned generation_ = 0;
    Form* form_ = nullptr;
};

}  // namespace ui
