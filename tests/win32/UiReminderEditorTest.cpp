// The reminder editor and its message editor as real windows: opened the way
// the settings window will open them, with their Russian texts on screen.
// With LUMIVO_SHOT_DIR set, each window is saved there as a picture for a
// person to look at.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/App.h"
#include "win32/Machine.h"
#include "reminders/MessageEditor.h"
#include "reminders/ReminderEditor.h"
#include "win32/Handles.h"
#include "win32/Text.h"
#include "UiKit.h"

namespace {

using uikit::childWithText;
using uikit::classOf;
using uikit::hwndOf;
using uikit::shot;

class UiReminderEditor : public ::testing::Test {
protected:
    UiReminderEditor() { app.choosePaths(); }
    ~UiReminderEditor() override {
        MSG m;
        PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    win32::Machine machine{GetModuleHandleW(nullptr)};
    app::App app{machine.ports()};
};

TEST_F(UiReminderEditor, BothPagesShowTheirControlsAsDesigned) {
    app.remindEdit.ReminderEditMode = reminders::kAddRemind;
    reminders::ReminderEditor editor(app.editorDeps());
    ui::Form& f = editor.form();
    int step = 0;
    bool buttonTabs = false, daysDown = false, recorderShown = false, pageShown = false;
    f.addTimer("Shot", 400, true).onTimer = [&] {
        const HWND h = hwndOf(f);
        switch (step++) {
            case 0: {
                const HWND tabs = FindWindowExW(h, nullptr, WC_TABCONTROLW, nullptr);
                buttonTabs = tabs && (GetWindowLongPtrW(tabs, GWL_STYLE) & TCS_BUTTONS) &&
                             SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0) == 2;
                const HWND monday = childWithText(h, "Пн.");
                daysDown = monday && (GetWindowLongPtrW(monday, GWL_STYLE) & BS_PUSHLIKE) &&
                           SendMessageW(monday, BM_GETCHECK, 0, 0) == BST_CHECKED;
                shot(h, "reminder-editor-time");
                f.get<ui::PageControl>("PageControl1").setActivePage(1);
                break;
            }
            case 1: {
                const HWND recorder = childWithText(h, "Открыть \"Звукозапись\"...");
                recorderShown = recorder && IsWindowVisible(recorder);
                pageShown = !IsWindowVisible(childWithText(h, "Пн."));
                shot(h, "reminder-editor-actions");
                break;
            }
            default: f.close(); break;
        }
    };
    editor.showModal();
    EXPECT_GE(step, 3);
    EXPECT_TRUE(buttonTabs);
    EXPECT_TRUE(daysDown);
    EXPECT_TRUE(recorderShown);
    EXPECT_TRUE(pageShown);
    EXPECT_EQ(0, app.session.ShowModalRes);
}

TEST_F(UiReminderEditor, TheMessageEditorTakesWhatTheUserTypes) {
    app.remindEditor.RemindMsgSet = 1;
    app.remindEdit.RemindMsgCaption = "Напоминание";
    app.remindEdit.RemindMsgText = "Позвонить маме\r\nи купить хлеб\r\n";
    app.remindEdit.RemindMsgIcon = 1;
    reminders::MessageEditor message({machine.ui, machine.shell}, app.paths, app.remindEdit, app.remindEditor, app.guard);
    ui::Form& f = message.form();
    int step = 0;
    f.addTimer("Shot", 400, true).onTimer = [&] {
        const HWND h = hwndOf(f);
        if (step++ == 0) {
            shot(h, "message-editor");
            // Typed into the memo as a user would: the model follows.
            for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                if (classOf(c) == "Edit" && (GetWindowLongPtrW(c, GWL_STYLE) & ES_MULTILINE)) {
                    SendMessageW(c, EM_SETSEL, 0, -1);
                    SendMessageW(c, EM_REPLACESEL, TRUE, LPARAM(win32::widen("Обед\r\nв час").c_str()));
                }
            return;
        }
        SendMessageW(childWithText(h, "&Ok"), BM_CLICK, 0, 0);
    };
    message.showModal();
    EXPECT_EQ(1, app.remindEditor.RemindMsgAccepted);
    EXPECT_EQ("Обед\r\nв час\r\n", app.remindEdit.RemindMsgText);
    EXPECT_EQ("Напоминание", app.remindEdit.RemindMsgCaption);
    EXPECT_EQ(1, app.remindEdit.RemindMsgIcon);
}

TEST_F(UiReminderEditor, TheFileDialogAsksTheProgramBeforeItCloses) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = temp;
    for (const wchar_t* name : {L"заметки.txt", L"звонок.wav"}) std::ofstream(std::filesystem::path(folder + name)) << "x";
    // A text file is turned back and the dialog stays, a sound file closes it.
    uikit::FileDialogUser user{{L"заметки.txt", L"звонок.wav"}};
    uikit::fileDialogUser = &user;
    std::vector<std::string> asked;
    ui::OpenFileDialog d;
    d.title = "Укажите имя файла";
    d.filter = {{"Звуковые файлы [.mp3, .wav, .wma]", "*.mp3; *.wav; *.wma;"}, {"Все файлы", "*.*"}};
    d.initialDir = win32::narrow(folder);
    d.canClose = [&](const std::string& path) {
        asked.push_back(path);
        return path.ends_with(".wav");
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 500, uikit::typeAName);
    const std::optional<std::string> chosen = machine.ui.openFile(d);
    KillTimer(nullptr, timer);
    uikit::fileDialogUser = nullptr;
    ASSERT_EQ(2u, asked.size());
    EXPECT_TRUE(asked[0].ends_with("\\заметки.txt")) << asked[0];
    ASSERT_TRUE(chosen);
    EXPECT_EQ(win32::narrow(folder) + "звонок.wav", *chosen);
}

}  // namespace
