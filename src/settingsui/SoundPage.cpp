#include "settingsui/SoundPage.h"
#include "sound/VoiceList.h"

namespace settingsui {

SoundPage::SoundPage(settings::Settings& record, const Controls& c)
    : s_(record), c_(c), chime_{&settings::Settings::SoundHEnabled, c.chime, c.chimeHalf, c.chimeSound, c.chimeTest},
      voice_{&settings::Settings::VoiceEnabled, c.voice, c.voiceHalf, c.voices, c.voiceTest} {}

// Ticked, the hourly box takes the hours from the other sound (whose own rule
// unticks its half hours too); unticked, it takes its own half hours along.
void SoundPage::hourlyClick(Sound which) {
    const Group &mine = group(which), &theirs = other(which);
    int& level = s_.*mine.level;
    if (!mine.hourly.checked()) {
        level = 0;
        mine.half.setChecked(false);
        mine.list.setEnabled(false);
        mine.test.setEnabled(false);
    } else if (level == 0) {
        level = 1;
        theirs.hourly.setChecked(false);
        mine.list.setEnabled(true);
        mine.test.setEnabled(true);
        theirs.half.setChecked(false);
    }
}

// The half-hour box needs its hourly box; unticked, the hourly sound stays.
void SoundPage::halfHourClick(Sound which) {
    const Group &mine = group(which), &theirs = other(which);
    int& level = s_.*mine.level;
    if (mine.half.checked()) {
        level = 2;
        mine.hourly.setChecked(true);
        theirs.hourly.setChecked(false);
        mine.list.setEnabled(true);
        mine.test.setEnabled(true);
        theirs.half.setChecked(false);
    } else if (level == 2) {
        level = 1;
    }
}

void SoundPage::quietHoursClick() {
    const bool on = c_.quiet.checked();
    s_.TimeOfLow = on ? 1 : 0;
    c_.quietFrom.setEnabled(on);
    c_.quietTo.setEnabled(on);
}

void SoundPage::voiceChange() { s_.VoiceType = c_.voices.text(); }

void SoundPage::showLevel(const Group& g) {
    const int level = s_.*g.level;
    g.hourly.setChecked(level > 0);
    g.list.setEnabled(level > 0);
    g.test.setEnabled(level > 0);
    g.half.setChecked(level > 1);
}

void SoundPage::show(sound::TalkingClock* talk, const core::Paths& paths) {
    const bool quiet = s_.TimeOfLow == 1;
    c_.quiet.setChecked(quiet);
    c_.quietFrom.setEnabled(quiet);
    c_.quietTo.setEnabled(quiet);
    c_.quietFrom.setItemIndex(s_.TimeOfLowF);
    c_.quietTo.setItemIndex(s_.TimeOfLowS);
    showLevel(chime_);
    c_.chimeSound.setItemIndex(s_.SoundHType);
    showLevel(voice_);
    if (talk) sound::FillVoiceList(*talk, paths, c_.voices, c_.voiceGroup, s_.VoiceType);
    else sound::SelectVoice(c_.voices, s_.VoiceType);
}

}  // namespace settingsui
