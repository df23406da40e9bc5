// The settings window as a real window, and the system dialogs it uses: the
// save dialog that asks the program before it closes, the font dialog's Apply.
// With LUMIVO_SHOT_DIR set, each page is saved there as a picture.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/App.h"
#include "platform/Path.h"
#include "settingsui/SettingsWindow.h"
#include "win32/Handles.h"
#include "win32/Machine.h"
#include "win32/Text.h"
#include "UiKit.h"

namespace {

namespace fs = std::filesystem;
using uikit::childWithText;
using uikit::hwndOf;
using uikit::shot;

bool checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A page chosen as a click on its tab would choose it.
void choosePage(HWND tabs, int page) {
    SendMessageW(tabs, TCM_SETCURSEL, WPARAM(page), 0);
    NMHDR n{tabs, UINT_PTR(GetDlgCtrlID(tabs)), UINT(TCN_SELCHANGE)};
    SendMessageW(GetParent(tabs), WM_NOTIFY, n.idFrom, LPARAM(&n));
}

class UiSettingsWindow : public ::testing::Test {
protected:
    // The program folder is a folder of the test's own, with one complete voice.
    UiSettingsWindow() {
        app.choosePaths();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        dir = fs::path(temp) / L"lumivo-settings-window";
        std::error_code ec;
        fs::remove_all(dir, ec);
        const fs::path voice = dir / "Sounds" / platform::u8path("Алёна");
        fs::create_directories(voice);
        for (const char* f : sound::kVoiceFiles) std::ofstream(voice / f) << "RIFF";
        app.paths.program = app.paths.writable = dir;
    }
    ~UiSettingsWindow() override {
        app.registry.deleteKeyTree(platform::Hive::CurrentUser, reminders::kRemindKey);
        MSG m;
        PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    win32::Machine machine{GetModuleHandleW(nullptr)};
    app::App app{machine.ports()};
    fs::path dir;
};

TEST_F(UiSettingsWindow, PagesSwitchAndTheBoxesRuleEachOtherInTheRealControls) {
    app.settings.TimeOfLow = 1;
    app.settings.TimeOfLowF = 22;
    app.settings.TimeOfLowS = 9;
    app.settings.LastBackUp = "Неизвестно";
    for (const auto& [name, hour, minute] : {std::tuple{"Обед", "13", "00"}, {"Позвонить маме", "**", "30"}}) {
        reminders::Reminder r;
        r.Name = name, r.TimeH = hour, r.TimeM = minute, r.SoundType = 0;
        app.remindStore.AddRemind(r);
    }
    settingsui::SettingsWindow window(app.settingsDeps());
    ui::Form& f = window.form();
    int step = 0;
    bool buttonTabs = false, slider = false, pageShown = false, otherHidden = false, chained = false, lines = false;
    bool hoursOnTop = false;
    f.addTimer("Script", 400, true).onTimer = [&] {
        const HWND h = hwndOf(f);
        const HWND tabs = FindWindowExW(h, nullptr, WC_TABCONTROLW, nullptr);
        switch (step++) {
            case 0:
                buttonTabs = tabs && (GetWindowLongPtrW(tabs, GWL_STYLE) & TCS_BUTTONS) &&
                             SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0) == 4;
                shot(h, "settings-general");
                choosePage(tabs, 1);
                break;
            case 1: {
                const HWND bar = FindWindowExW(h, nullptr, TRACKBAR_CLASSW, nullptr);
                slider = bar && SendMessageW(bar, TBM_GETRANGEMIN, 0, 0) == 100 &&
                         SendMessageW(bar, TBM_GETRANGEMAX, 0, 0) == 255 &&
                         SendMessageW(bar, TBM_GETLINESIZE, 0, 0) == 10 &&
                         SendMessageW(bar, TBM_GETPAGESIZE, 0, 0) == 50;
                shot(h, "settings-interface");
                choosePage(tabs, 2);
                break;
            }
            case 2: {
                const HWND hourly = childWithText(h, "Си&гнал каждый час");
                const HWND voiceHalf = childWithText(h, "Ка&ждые полчаса");
                pageShown = hourly && IsWindowVisible(hourly);
                otherHidden = !IsWindowVisible(childWithText(h, "Со&хранить параметры"));
                SendMessageW(hourly, BM_CLICK, 0, 0);
                SendMessageW(voiceHalf, BM_CLICK, 0, 0);
                chained = !checked(hourly) && checked(voiceHalf) &&
                          checked(childWithText(h, "&Время голосом каждый час")) &&
                          IsWindowEnabled(childWithText(h, "Алёна")) &&
                          !IsWindowEnabled(childWithText(h, "Стандартный")) &&
                          app.settings.SoundHEnabled == 0 && app.settings.VoiceEnabled == 2;
                // The hours lie in the blanks of the quiet hours' caption, above it.
                hoursOnTop = true;
                for (const char* hour : {"22:00", "09:00"}) {
                    const HWND list = childWithText(h, hour);
                    RECT r{};
                    GetWindowRect(list, &r);
                    const POINT middle{(r.left + r.right) / 2, r.top + 10};
                    hoursOnTop = hoursOnTop && list && GetAncestor(WindowFromPoint(middle), GA_ROOT) == h &&
                                 (WindowFromPoint(middle) == list || GetParent(WindowFromPoint(middle)) == list);
                }
                RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                shot(h, "settings-sounds");
                choosePage(tabs, 3);
                break;
            }
            case 3: {
                const HWND list = FindWindowExW(h, nullptr, WC_LISTBOXW, nullptr);
                lines = list && SendMessageW(list, LB_GETITEMHEIGHT, 0, 0) == 13;
                shot(h, "settings-reminders");
                SendMessageW(childWithText(h, "&Отмена"), BM_CLICK, 0, 0);
                break;
            }
            default: f.close(); break;
        }
    };
    window.realize();
    window.showModal();
    EXPECT_GE(step, 4);
    EXPECT_TRUE(buttonTabs);
    EXPECT_TRUE(slider);
    EXPECT_TRUE(pageShown);
    EXPECT_TRUE(otherHidden);
    EXPECT_TRUE(chained);
    EXPECT_TRUE(hoursOnTop);
    EXPECT_TRUE(lines);
    EXPECT_EQ(2, app.start.ExitMode) << "closed by its cancel button";
    EXPECT_EQ(0, app.session.ShowModalRes);
}

TEST_F(UiSettingsWindow, TheSaveDialogStaysOpenUntilTheProgramLetsItClose) {
    uikit::FileDialogUser user{{L"заметки.txt", L"копия"}};
    uikit::fileDialogUser = &user;
    std::vector<std::string> asked;
    ui::SaveFileDialog d;
    d.title = "Укажите имя файла";
    d.filter = {{"Файлы зарезервных параметров[*.SetLMV]", "*.SetLMV"}, {"Все файлы", "*.*"}};
    d.defaultExt = "SetLMV";
    d.initialDir = platform::u8string(dir);
    d.initialName = "BackUp[12.07.26]";
    d.canClose = [&](const std::string& path) {
        asked.push_back(path);
        return !path.ends_with(".txt");
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 500, uikit::typeAName);
    const std::optional<std::string> chosen = machine.ui.saveFile(d);
    KillTimer(nullptr, timer);
    uikit::fileDialogUser = nullptr;
    ASSERT_FALSE(user.shown.empty());
    EXPECT_EQ("BackUp[12.07.26]", user.shown[0]) << "the suggested name";
    ASSERT_EQ(2u, asked.size());
    EXPECT_TRUE(asked[0].ends_with("\\заметки.txt")) << asked[0];
    ASSERT_TRUE(chosen);
    // The dialog adds the default extension in its own letter case.
    const std::string added = platform::u8string(dir / platform::u8path("копия."));
    EXPECT_TRUE(chosen->starts_with(added)) << *chosen;
    EXPECT_EQ(chosen->size(), added.size() + 6) << *chosen;
    EXPECT_EQ(*chosen, settingsui::BackUpName(*chosen)) << "saved under the name chosen";
}

// The system dialog this thread has open: a font dialog has its Apply button.
HWND openDialog(bool withApply) {
    struct Search {
        bool withApply;
        HWND found = nullptr;
    } search{withApply};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (uikit::classOf(w) != "#32770" || !IsWindowVisible(w)) return TRUE;
        if (s->withApply && !GetDlgItem(w, psh3)) return TRUE;
        s->found = w;
        return FALSE;
    }, LPARAM(&search));
    return search.found;
}

// What the font dialog showed when its Apply was pressed: the face and the
// size (the dialog offers the system's fonts, whichever they are), and the
// smallest and largest size it lists. Then it is closed by Ok or Cancel.
struct FontShown {
    bool confirm = false;
    int presses = 0;
    std::string face, size, smallest, largest;
} fontShown;

std::string itemText(HWND dialog, int id, int index = -1) {
    const HWND combo = GetDlgItem(dialog, id);
    if (index < 0) return uikit::textOf(combo);
    wchar_t text[LF_FACESIZE * 2] = {};
    SendMessageW(combo, CB_GETLBTEXT, WPARAM(index), LPARAM(text));
    return win32::narrow(text);
}

// A scalable face of this system's: one the dialog offers, so it opens at the font's size.
std::string scalableFace() {
    LOGFONTW want{};
    want.lfCharSet = DEFAULT_CHARSET;
    std::wstring face;
    const win32::WindowDc screen(nullptr);
    EnumFontFamiliesExW(screen.get(), &want, [](const LOGFONTW* lf, const TEXTMETRICW*, DWORD type, LPARAM p) {
        if (type & TRUETYPE_FONTTYPE) *reinterpret_cast<std::wstring*>(p) = lf->lfFaceName;
        return int(!(type & TRUETYPE_FONTTYPE));
    }, LPARAM(&face), 0);
    return win32::narrow(face);
}

void CALLBACK applyThenClose(HWND, UINT, UINT_PTR, DWORD) {
    const HWND dialog = openDialog(true);
    if (!dialog) return;
    const HWND apply = GetDlgItem(dialog, psh3);
    if (fontShown.presses++ == 0 && IsWindowVisible(apply) && IsWindowEnabled(apply)) {
        fontShown.face = itemText(dialog, cmb1);
        fontShown.size = itemText(dialog, cmb3);
        const int sizes = int(SendMessageW(GetDlgItem(dialog, cmb3), CB_GETCOUNT, 0, 0));
        fontShown.smallest = itemText(dialog, cmb3, 0);
        fontShown.largest = itemText(dialog, cmb3, sizes - 1);
        SendMessageW(apply, BM_CLICK, 0, 0);
    } else {
        PostMessageW(dialog, WM_COMMAND, fontShown.confirm ? IDOK : IDCANCEL, 0);
    }
}

void CALLBACK confirm(HWND, UINT, UINT_PTR, DWORD) {
    if (const HWND dialog = openDialog(false)) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(UiSettingsWindow, TheFontDialogsApplyHandsOverTheFontItShows) {
    ui::FontDialog d;
    d.font.name = scalableFace();
    d.font.size = 72;
    d.font.color = ui::kRed;
    std::vector<ui::Font> applied;
    d.onApply = [&](const ui::Font& f) { applied.push_back(f); };
    for (const bool ok : {false, true}) {
        fontShown = {};
        fontShown.confirm = ok;
        applied.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 500, applyThenClose);
        const std::optional<ui::Font> chosen = machine.ui.chooseFont(d);
        KillTimer(nullptr, timer);
        EXPECT_EQ(ok ? 72 : 0, chosen ? chosen->size : 0) << "Ok without a change keeps the size; Cancel gives none";
        ASSERT_EQ(1u, applied.size()) << "Apply called back once and left the dialog open";
        EXPECT_EQ(fontShown.face, applied[0].name);
        EXPECT_EQ("72", fontShown.size) << "the font's own size, at any resolution";
        EXPECT_EQ(72, applied[0].size);
        EXPECT_EQ(ui::kRed, applied[0].color) << "the colour list's choice";
        EXPECT_GE(std::stoi(fontShown.smallest), 36);
        EXPECT_LE(std::stoi(fontShown.largest), 400);
    }

    const UINT_PTR again = SetTimer(nullptr, 0, 500, confirm);
    const std::optional<ui::Color> colour = machine.ui.chooseColor(ui::kBlue, 0);
    KillTimer(nullptr, again);
    ASSERT_TRUE(colour);
    EXPECT_EQ(ui::kBlue, *colour) << "confirmed as it started";
}

}  // namespace
