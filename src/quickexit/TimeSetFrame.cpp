#include "quickexit/TimeSetFrame.h"
#include <charconv>

namespace quickexit {

TimeSetFrame::TimeSetFrame(ui::Form& form, const std::string& name, errors::Guard& guard, platform::Audio& audio)
    : frame(form.get<ui::Panel>(name)), EditH(form.get<ui::Edit>(name + ".EditH")),
      EditM(form.get<ui::Edit>(name + ".EditM")), UpDown1(form.get<ui::UpDown>(name + ".UpDown1")),
      UpDown2(form.get<ui::UpDown>(name + ".UpDown2")), form_(form), guard_(guard), audio_(audio) {
    EditH.maxLength = EditM.maxLength = 2;
    UpDown1.min = 0;
    UpDown1.max = 23;
    UpDown2.min = 0;
    UpDown2.max = 59;
    UpDown1.wrap = UpDown2.wrap = true;
    EditH.onKeyPress = [this](int& key) { EditHKeyPress(EditH, key); };
    EditM.onKeyPress = [this](int& key) { EditHKeyPress(EditM, key); };
    UpDown1.onClickArrow = [this](bool up) { arrow(EditH, UpDown1, up); };
    UpDown2.onClickArrow = [this](bool up) { arrow(EditM, UpDown2, up); };
}

void TimeSetFrame::EditHKeyPress(ui::Edit& field, int& key) {
    guard_(errors::code::TimeSetKeyPress, [&] {
        if (key == '\r') form_.selectNext(field, &frame);
        if (key != '\b' && (key < '0' || key > '9')) {
            key = 0;
            audio_.messageBeep(platform::kBeepDefault);
        }
    });
}

// The arrows step from what the field shows, which the user may have typed.
void TimeSetFrame::arrow(ui::Edit& field, ui::UpDown& arrows, bool up) {
    int shown = 0;
    const std::string& t = field.text();
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), shown);
    if (!t.empty() && error == std::errc() && end == t.data() + t.size() && shown >= arrows.min &&
        shown <= arrows.max)
        arrows.setPosition(shown + (up ? 1 : -1));
    field.setText(std::to_string(arrows.position()));
}

}  // namespace quickexit
