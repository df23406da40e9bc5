#pragma once
#include <functional>
#include <string>
#include "settings/Settings.h"

namespace core {

// The four quick-exit marks on the clock: idle, paused, running, last minutes.
enum class Mark { Green, Yellow, Orange, Red };

// The clock window as the subsystems see it: the few things they may ask of
// it. They never see the window itself, its controls or the window system.
class ClockFace {
public:
    virtual ~ClockFace() = default;

    // Shows a settings record: the font, position, format and stay-on-top
    // marks, the stay-on-top style, the optional menu items and the idle mark.
    virtual void apply(const settings::Settings&) = 0;
    virtual int opacity() = 0;
    virtual void setOpacity(int alpha) = 0;
    // At the end of a settings load: shown, unless the user has hidden it.
    virtual void showLoaded() = 0;
    // The clock back on screen and in front (the menu's "&Восстановить").
    virtual void restore() = 0;

    // The menu item that stops a reminder sound, shown while one plays.
    virtual void showReminderSound(bool playing) = 0;
    // The check mark of "От&ключить звук".
    virtual void markSoundOff(bool off) = 0;

    virtual bool markShown(Mark) = 0;
    virtual void showMark(Mark, bool shown) = 0;
    // Puts the marks at the height of the time text divided by 8.
    virtual void alignMarks() = 0;
    // For the error dumps: where the marks are, and the time text's height.
    virtual int markTop() = 0;
    virtual int timeHeight() = 0;
    virtual std::string markHint(Mark) = 0;
    virtual void setMarkHint(Mark, const std::string&) = 0;

    // The main tick stopped for good before the program ends for a power action.
    virtual void stopMainTick() = 0;
    // Every setting written, the clock's position included.
    virtual void saveSettings() = 0;
    // A balloon over the notification-area icon.
    virtual void balloon(const std::string& title, const std::string& text) = 0;
    // A message box owned by the clock window; returns when it is closed.
    virtual int messageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // Runs `work` from the clock window's message queue, once the handler
    // now running has finished: a window that a tick, a timer or a close
    // handler wants opens there, never inside them.
    virtual void later(std::function<void()> work) = 0;
};

// Stands in for the clock window until it exists and after it has gone, so a
// subsystem never has to ask whether there is one.
class FaceLink final : public ClockFace {
public:
    void attach(ClockFace* face) { face_ = face; }
    void detach(const ClockFace* face) {
        if (face_ == face) face_ = nullptr;
    }
    bool attached() const { return face_ != nullptr; }

    void apply(const settings::Settings& s) override { if (face_) face_->apply(s); }
    int opacity() override { return face_ ? face_->opacity() : 255; }
    void setOpacity(int alpha) override { if (face_) face_->setOpacity(alpha); }
    void showLoaded() override { if (face_) face_->showLoaded(); }
    void restore() override { if (face_) face_->restore(); }
    void showReminderSound(bool playing) override { if (face_) face_->showReminderSound(playing); }
    void markSoundOff(bool off) override { if (face_) face_->markSoundOff(off); }
    bool markShown(Mark m) override { return face_ && face_->markShown(m); }
    void showMark(Mark m, bool shown) override { if (face_) face_->showMark(m, shown); }
    void alignMarks() override { if (face_) face_->alignMarks(); }
    int markTop() override { return face_ ? face_->markTop() : 0; }
    int timeHeight() override { return face_ ? face_->timeHeight() : 0; }
    std::string markHint(Mark m) override { return face_ ? face_->markHint(m) : std::string(); }
    void setMarkHint(Mark m, const std::string& h) override { if (face_) face_->setMarkHint(m, h); }
    void stopMainTick() override { if (face_) face_->stopMainTick(); }
    void saveSettings() override { if (face_) face_->saveSettings(); }
    void balloon(const std::string& t, const std::string& x) override { if (face_) face_->balloon(t, x); }
    int messageBox(const std::string& text, const std::string& caption, unsigned flags) override {
        return face_ ? face_->messageBox(text, caption, flags) : 0;
    }
    // Without a clock window there is no tick either: the work runs at once.
    void later(std::function<void()> work) override {
        if (face_) face_->later(std::move(work));
        else if (work) work();
    }

private:
    ClockFace* face_ = nullptr;
};

}  // namespace core
