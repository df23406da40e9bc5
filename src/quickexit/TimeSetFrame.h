#pragma once
#include <string>
#include "errors/Guard.h"
#include "platform/Audio.h"
#include "ui/Form.h"

namespace quickexit {

// TFrameTimeSet: the hour and minute fields with their arrows, on any window
// whose layout holds forms::timeSetFrame(name, ...).
class TimeSetFrame {
public:
    TimeSetFrame(ui::Form& form, const std::string& name, errors::Guard& guard, platform::Audio& audio);

    ui::Panel& frame;
    ui::Edit& EditH;
    ui::Edit& EditM;
    ui::UpDown& UpDown1;
    ui::UpDown& UpDown2;

    // Digits and Backspace only; Enter moves on to the next field.
    void EditHKeyPress(ui::Edit& field, int& key);

private:
    void arrow(ui::Edit& field, ui::UpDown& arrows, bool up);
    ui::Form& form_;
    errors::Guard& guard_;
    platform::Audio& audio_;
};

}  // namespace quickexit
