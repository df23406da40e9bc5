// The settings a new user starts with: the file shipped beside the program
// holds exactly these, sealed, and loads without a question or a repair.
// LUMIVO_MAKE_DEFAULTS=<file> writes it anew from them.
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "fakes/Fakes.h"
#include "platform/Path.h"
#include "settings/BackUpFile.h"
#include "settings/BackUpText.h"
#include "settings/Fields.h"

namespace fs = std::filesystem;

namespace {

settings::Settings Shipped() {
    settings::Settings s = settings::FirstRun();
    s.AlphaUsed = 1;
    s.AlphaSet = 230;       // the desktop shows through a little
    s.ZeroFirstView = true;
    s.AMPM24 = false;       // 24-hour time, as read in Russian
    s.StayOnTop = 1;
    s.AutoLaunch = 2;       // this user only: all users would need an administrator
    s.GlobalHotkeys = 1;
    s.TimeOfLow = 1;        // quiet nights
    s.TimeOfLowF = 23;
    s.TimeOfLowS = 8;
    s.VoiceType = "Женский голос";  // for Win+T; neither chime nor voice sounds unasked
    s.QSDGreen = 1;
    s.QSDMsgDlg = 1;
    return s;
}

const fs::path kShippedFile = fs::path(LUMIVO_SOURCE_DIR) / ".." / "assets" / "TempFiles" / "_Default.SetLMV";

struct NoView : settings::BackUpView {
    void showSettings(const settings::Settings&) override {}
    void listReminds() override {}
    void markChanged() override {}
    void showLastBackUp(const std::string&) override {}
};

}  // namespace

TEST(ShippedDefaults, TheFileHoldsTheseValuesAndLoadsWithoutAQuestionOrARepair) {
    if (const char* out = std::getenv("LUMIVO_MAKE_DEFAULTS")) {
        const settings::IniText text = settings::MakeBackUp(Shipped(), "1.1.9x.ru", {}, 0, "08.12.2026");
        std::ofstream(out, std::ios::binary | std::ios::trunc) << text.bytes();
    }
    fakes::TestApp t;
    const fs::path copy = t.dir / "_Default.SetLMV";
    fs::copy_file(kShippedFile, copy);
    fs::permissions(copy, fs::perms::owner_write, fs::perm_options::remove);  // as in an installed program folder
    t.registry.putDword("Software\\Vantrel\\Lumivo\\Remind", "RemindCount", 1);
    t.registry.putString("Software\\Vantrel\\Lumivo\\Remind\\Remind1", "Name", "Обед");
    t.app.settings.AlphaSet = 120;
    t.app.backUp.BackUpFileName = platform::u8string(copy);
    NoView view;
    t.app.backUp.ReadBackUpFile(view);

    ASSERT_EQ(t.ui.boxes.size(), 1u);
    EXPECT_EQ(t.ui.boxes[0].text, " Данные загружены успешно.  ");
    settings::Settings want = Shipped();
    want.LastBackUp = t.app.settings.LastBackUp;  // never in a backup
    EXPECT_EQ(t.app.settings, want);
    EXPECT_EQ(t.app.backUp.ParamsRepaired, 0);
    EXPECT_EQ(t.registry.read(platform::Hive::CurrentUser, "Software\\Vantrel\\Lumivo\\Remind\\Remind1", "Name").text,
              "Обед")
        << "no reminders shipped: the user's stay";
}
