// The keyboard on real controls: typed characters reaching the model before
// the control, Enter kept from the dialog keys when a handler wants it, and
// the focus moved from code.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "win32/Text.h"
#include "win32/Win32Ui.h"
#include "UiKit.h"

namespace {

using uikit::hwndOf;
using uikit::pump;
using uikit::textOf;

// The windows of a form's controls, in the order the controls were made.
HWND childAt(HWND parent, int index) {
    HWND c = GetWindow(parent, GW_CHILD);
    for (int i = 0; c && i < index; ++i) c = GetWindow(c, GW_HWNDNEXT);
    return c;
}

// A key as the keyboard driver posts it, down then up.
void pressKey(HWND to, UINT vk) {
    const LPARAM scan = LPARAM(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(to, WM_KEYDOWN, vk, scan | 1);
    PostMessageW(to, WM_KEYUP, vk, scan | 1 | (LPARAM(3) << 30));
}

template <class T>
T& place(ui::Form& f, const char* name, ui::Rect r, int tabOrder, ui::Control* parent = nullptr) {
    auto& c = f.add(std::make_unique<T>(name), parent);
    c.setBounds(r);
    c.tabOrder = tabOrder;
    return c;
}

class UiTestKeys : public ::testing::Test {
protected:
    ~UiTestKeys() override {
        MSG m;
        PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    win32::Win32Ui ui{GetModuleHandleW(nullptr)};
};

using UiKeys = UiTestKeys;
using UiFocus = UiTestKeys;

// ---- typed characters ---------------------------------------------------------------------

// Handlers bound after the window exists, as the settings window binds its own.
TEST_F(UiKeys, TypedCharactersPassTheHandlerFirst) {
    ui::Form f("TFormUiTest", "F");
    f.setClientSize(300, 120);
    auto& hours = place<ui::Edit>(f, "Hours", {10, 10, 60, 21}, 0);
    auto& day = place<ui::ComboBox>(f, "Day", {80, 10, 120, 21}, 1);
    day.setItems({"Один", "Два", "Три"});
    auto& box = place<ui::CheckBox>(f, "Box", {10, 40, 120, 20}, 2);
    auto& free = place<ui::Edit>(f, "Free", {10, 70, 60, 21}, 3);
    ui.realize(f);
    const HWND h = hwndOf(f);
    const HWND hoursWnd = childAt(h, 0), dayWnd = childAt(h, 1), boxWnd = childAt(h, 2), freeWnd = childAt(h, 3);
    ASSERT_TRUE(hoursWnd && dayWnd && boxWnd && freeWnd);

    std::vector<int> keys;
    hours.onKeyPress = [&](int& key) {
        keys.push_back(key);
        if (key == '9') throw std::runtime_error("a failing handler");
        if (key == ',') key = '5';
        else if (key < '0' || key > '9') key = 0;
    };
    day.onKeyPress = [&](int& key) {
        keys.push_back(key);
        if (key == '2') key = L'Д';
        else key = 0;
    };
    box.onKeyPress = [&](int& key) { keys.push_back(key); };

    for (wchar_t c : {L'a', L'1', L'Ж', L',', L'9'}) SendMessageW(hoursWnd, WM_CHAR, c, 1);
    EXPECT_EQ("15", textOf(hoursWnd));  // a failed handler lets nothing through
    EXPECT_EQ("15", hours.text());

    SendMessageW(dayWnd, WM_CHAR, L'Т', 1);   // would select "Три"
    EXPECT_EQ(-1, SendMessageW(dayWnd, CB_GETCURSEL, 0, 0));
    SendMessageW(dayWnd, WM_CHAR, L'2', 1);   // goes on as "Д"
    EXPECT_EQ(1, SendMessageW(dayWnd, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(1, day.itemIndex());

    SendMessageW(boxWnd, WM_CHAR, L'q', 1);
    EXPECT_EQ((std::vector<int>{'a', '1', L'Ж', ',', '9', L'Т', '2', 'q'}), keys);

    SendMessageW(freeWnd, WM_CHAR, L'a', 1);  // no handler: nothing in between
    EXPECT_EQ("a", free.text());
}

// Through the program's own loop and its dialog keys: Enter is the handler's
// key where one is bound and presses the default button elsewhere; Tab and
// Esc work as ever.
TEST_F(UiKeys, EnterReachesABoundHandlerAndTheDialogKeysStillWork) {
    ui::Form f("TFormUiTest", "F");
    f.setClientSize(300, 100);
    auto& hours = place<ui::Edit>(f, "Hours", {10, 10, 60, 21}, 0);
    place<ui::Edit>(f, "Minutes", {80, 10, 60, 21}, 1);
    auto& ok = place<ui::Button>(f, "Ok", {10, 50, 80, 26}, 2);
    ok.setCaption("OK");
    ok.isDefault = true;
    auto& cancel = place<ui::Button>(f, "Cancel", {100, 50, 80, 26}, 3);
    cancel.setCaption("Отмена");
    cancel.isCancel = true;
    ui.realize(f);
    const HWND h = hwndOf(f);
    const HWND hoursWnd = childAt(h, 0), minutesWnd = childAt(h, 1), okWnd = childAt(h, 2);
    ASSERT_TRUE(hoursWnd && minutesWnd && okWnd);

    std::vector<int> keys;
    std::vector<std::string> log;
    hours.onKeyPress = [&](int& key) {
        keys.push_back(key);
        if (key == 13) {
            key = 0;
            f.selectNext(hours);
        } else if (key < '0' || key > '9') {
            key = 0;
        }
    };
    ok.onClick = [&] { log.push_back("ok"); };
    cancel.onClick = [&] {
        log.push_back("cancel");
        f.close();
    };
    // One step a tick: the keys of a step are all handled before the next tick.
    int step = 0, ticks = 0;
    f.addTimer("Script", 30, true).onTimer = [&] {
        if (++ticks > 100) f.close();
        switch (step) {
            case 0:
                if (GetActiveWindow() != h) return;
                f.selectNext(cancel);  // round to the first
                break;
            case 1:
                log.push_back(GetFocus() == hoursWnd ? "focus hours" : "focus elsewhere");
                pressKey(hoursWnd, 'A');
                pressKey(hoursWnd, '7');
                pressKey(hoursWnd, VK_RETURN);
                break;
            case 2:
                log.push_back("hours " + textOf(hoursWnd));
                log.push_back(GetFocus() == minutesWnd ? "focus minutes" : "focus elsewhere");
                pressKey(minutesWnd, VK_RETURN);
                break;
            case 3:
                pressKey(minutesWnd, VK_TAB);
                break;
            case 4:
                log.push_back(GetFocus() == okWnd ? "focus ok" : "focus elsewhere");
                pressKey(hoursWnd, VK_ESCAPE);
                break;
            default: return;
        }
        ++step;
    };
    ui.showModal(f);

    EXPECT_EQ((std::vector<std::string>{"focus hours", "hours 7", "focus minutes", "ok", "focus ok", "cancel"}), log);
    EXPECT_EQ((std::vector<int>{'a', '7', 13}), keys);
    EXPECT_TRUE(f.destroyed());
}

// ---- focus from code -----------------------------------------------------------------------

TEST_F(UiFocus, SelectNextMovesTheFocusIntoAndRoundAPanel) {
    ui::Form f("TFormUiTest", "F");
    f.setClientSize(300, 140);
    auto& first = place<ui::Edit>(f, "First", {10, 10, 60, 21}, 0);
    auto& panel = place<ui::Panel>(f, "Panel", {10, 40, 200, 60}, 1);
    auto& hours = place<ui::Edit>(f, "Hours", {10, 10, 40, 21}, 0, &panel);
    auto& minutes = place<ui::Edit>(f, "Minutes", {70, 10, 40, 21}, 1, &panel);
    auto& ok = place<ui::Button>(f, "Ok", {10, 105, 80, 26}, 2);
    ok.setCaption("OK");
    hours.setText("15");
    ui.realize(f);
    const HWND h = hwndOf(f);
    const HWND hoursWnd = childAt(h, 1), minutesWnd = childAt(h, 2), okWnd = childAt(h, 3);
    ASSERT_TRUE(hoursWnd && minutesWnd && okWnd);
    f.show();
    pump(100);
    ASSERT_EQ(h, GetActiveWindow());

    f.selectNext(first);
    pump(20);
    EXPECT_EQ(hoursWnd, GetFocus());
    DWORD from = 1, to = 0;
    SendMessageW(hoursWnd, EM_GETSEL, WPARAM(&from), LPARAM(&to));
    EXPECT_EQ(0u, from);  // as Tab comes into an edit: the text selected
    EXPECT_EQ(2u, to);
    f.selectNext(hours, &panel);
    pump(20);
    EXPECT_EQ(minutesWnd, GetFocus());
    f.selectNext(minutes, &panel);
    pump(20);
    EXPECT_EQ(hoursWnd, GetFocus());
    f.selectNext(minutes);
    pump(20);
    EXPECT_EQ(okWnd, GetFocus());

    // Another window active: the focus waits there for the form's turn
    // rather than taking the activation.
    ui::Form other("TFormUiTest", "Other");
    other.setPosition(400, 300);
    other.setClientSize(80, 40);
    ui.realize(other);
    other.show();
    pump(100);
    ASSERT_EQ(hwndOf(other), GetActiveWindow());
    f.selectNext(hours, &panel);
    pump(20);
    EXPECT_EQ(hwndOf(other), GetActiveWindow());
    SetActiveWindow(h);
    pump(50);
    EXPECT_EQ(minutesWnd, GetFocus());
}

}  // namespace
