#pragma once
#include "core/Paths.h"
#include "settings/Settings.h"
#include "sound/TalkingClock.h"
#include "ui/Control.h"

namespace settingsui {

// The settings window's sounds page over the settings record: the chime, the
// spoken time and the quiet hours. The chime and the spoken time would talk
// over each other, so switching one on switches the other off.
class SoundPage {
public:
    enum Sound { kChime, kVoice };
    struct Controls {
        ui::CheckBox &chime, &chimeHalf, &voice, &voiceHalf, &quiet;
        ui::ComboBox &chimeSound, &voices, &quietFrom, &quietTo;
        ui::Control &chimeTest, &voiceTest;
        ui::Control& voiceGroup;  // disabled while no complete voice is installed
    };
    SoundPage(settings::Settings& record, const Controls& controls);

    // A sound's boxes as the user or the code set them; setting another box
    // runs that box's own rule through its handler.
    void hourlyClick(Sound);
    void halfHourClick(Sound);
    void quietHoursClick();
    void voiceChange();
    // Every control of the page from the record, through the boxes' own rules;
    // the voice list is read from the Sounds folder when `talk` is given.
    void show(sound::TalkingClock* talk, const core::Paths& paths);

private:
    // One sound's level in the record (0 off, 1 hourly, 2 half-hourly), its
    // two boxes, its list and its test button.
    struct Group {
        int settings::Settings::*level;
        ui::CheckBox &hourly, &half;
        ui::Control &list, &test;
    };
    const Group& group(Sound s) const { return s == kChime ? chime_ : voice_; }
    const Group& other(Sound s) const { return s == kChime ? voice_ : chime_; }
    void showLevel(const Group&);

    settings::Settings& s_;
    Controls c_;
    Group chime_, voice_;
};

}  // namespace settingsui
