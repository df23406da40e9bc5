// The sounds page without its window: its boxes bound as the window binds them.
#include <gtest/gtest.h>
#include "settingsui/SoundPage.h"

namespace {

using settingsui::SoundPage;

struct Page {
    settings::Settings s;
    ui::CheckBox chime{"chime"}, chimeHalf{"chimeHalf"}, voice{"voice"}, voiceHalf{"voiceHalf"}, quiet{"quiet"};
    ui::ComboBox chimeSound{"chimeSound"}, voices{"voices"}, from{"from"}, to{"to"};
    ui::Button chimeTest{"chimeTest"}, voiceTest{"voiceTest"};
    ui::Panel voiceGroup{"voiceGroup"};
    SoundPage page{s, {chime, chimeHalf, voice, voiceHalf, quiet, chimeSound, voices, from, to, chimeTest, voiceTest,
                       voiceGroup}};

    Page(int chimeLevel, int voiceLevel) {
        chime.onClick = [this] { page.hourlyClick(SoundPage::kChime); };
        chimeHalf.onClick = [this] { page.halfHourClick(SoundPage::kChime); };
        voice.onClick = [this] { page.hourlyClick(SoundPage::kVoice); };
        voiceHalf.onClick = [this] { page.halfHourClick(SoundPage::kVoice); };
        s.SoundHEnabled = chimeLevel;
        s.VoiceEnabled = voiceLevel;
        page.show(nullptr, core::Paths{});
    }
};

}  // namespace

// Either sound switched on switches the other off; a half-hour box brings its
// hourly box along, and takes nothing back when unticked. Nothing switched off
// comes back on its own.
TEST(SoundPage, TheChimeAndTheSpokenTimeExcludeEachOther) {
    struct Case {
        int chime, voice;
        ui::CheckBox Page::*box;
        bool to;
        int chimeAfter, voiceAfter;
    };
    const Case cases[] = {
        {0, 0, &Page::chime, true, 1, 0},      {0, 2, &Page::chime, true, 1, 0},
        {0, 1, &Page::chimeHalf, true, 2, 0},  {2, 0, &Page::chimeHalf, false, 1, 0},
        {2, 0, &Page::chime, false, 0, 0},     {1, 0, &Page::voice, true, 0, 1},
        {2, 0, &Page::voiceHalf, true, 0, 2},  {0, 2, &Page::voiceHalf, false, 0, 1},
        {0, 1, &Page::voice, false, 0, 0},     {1, 0, &Page::voiceHalf, true, 0, 2},
    };
    for (const Case& c : cases) {
        Page p(c.chime, c.voice);
        SCOPED_TRACE(testing::Message() << c.chime << c.voice << " " << (p.*c.box).name() << " " << c.to);
        (p.*c.box).setChecked(c.to);
        EXPECT_EQ(c.chimeAfter, p.s.SoundHEnabled);
        EXPECT_EQ(c.voiceAfter, p.s.VoiceEnabled);
        EXPECT_EQ(c.chimeAfter > 0, p.chime.checked() && p.chimeSound.enabled() && p.chimeTest.enabled());
        EXPECT_EQ(c.chimeAfter > 1, p.chimeHalf.checked());
        EXPECT_EQ(c.voiceAfter > 0, p.voice.checked() && p.voices.enabled() && p.voiceTest.enabled());
        EXPECT_EQ(c.voiceAfter > 1, p.voiceHalf.checked());
    }
}
