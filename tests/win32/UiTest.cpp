// The window system against real windows: forms realized from the model,
// painting, input routing, child controls and the modal loops.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "forms/ClockMenuIds.h"
#include "forms/Forms.h"
#include "ui/Dpi.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"
#include "win32/Text.h"
#include "win32/TrayIcon.h"
#include "win32/UiMenu.h"
#include "win32/UiPaint.h"
#include "win32/Win32Ui.h"
#include "UiKit.h"

namespace {

using uikit::addLabel;
using uikit::classOf;
using uikit::hwndOf;
using uikit::pump;
using uikit::textOf;

HWND childWithClass(HWND parent, const char* cls) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (classOf(c) == cls) return c;
    return nullptr;
}

bool quitPosted() {
    MSG m;
    return PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// Counts the moves and resizes the system is asked for.
struct MoveCounter {
    static inline int count = 0;
    static inline HWND watched = nullptr;
    HHOOK hook;
    explicit MoveCounter(HWND h) {
        count = 0;
        watched = h;
        hook = SetWindowsHookExW(WH_CALLWNDPROC, proc, nullptr, GetCurrentThreadId());
    }
    ~MoveCounter() { UnhookWindowsHookEx(hook); }
    static LRESULT CALLBACK proc(int code, WPARAM w, LPARAM l) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(l);
        if (code >= 0 && m->hwnd == watched && m->message == WM_WINDOWPOSCHANGING) ++count;
        return CallNextHookEx(nullptr, code, w, l);
    }
};

class UiTest : public ::testing::Test {
protected:
    ~UiTest() override { quitPosted(); }
    win32::Win32Ui ui{GetModuleHandleW(nullptr)};
};

using UiWindow = UiTest;
using UiPaint = UiTest;
using UiInput = UiTest;
using UiControls = UiTest;
using UiModal = UiTest;

// ---- windows ------------------------------------------------------------------------------

TEST_F(UiWindow, RealizesAHiddenOwnedWindowFromTheModel) {
    ui::Form f("TFormUiTest", "FormUiTest");
    f.setCaption("Окно проверки");
    f.setClientSize(220, 120);
    f.border = ui::BorderStyle::Dialog;
    f.position = ui::FormPosition::ScreenCenter;
    f.setStayOnTop(true);
    platform::WindowId duringCreate = 0;
    f.onCreate = [&] { duringCreate = f.handle(); };
    ui.realize(f);

    const HWND h = hwndOf(f);
    ASSERT_TRUE(IsWindow(h));
    EXPECT_EQ(platform::WindowId(h), duringCreate);
    EXPECT_EQ("TFormUiTest", classOf(h));
    EXPECT_EQ("Окно проверки", textOf(h));
    EXPECT_FALSE(IsWindowVisible(h));
    RECT client, window;
    GetClientRect(h, &client);
    GetWindowRect(h, &window);
    EXPECT_EQ(220, client.right);
    EXPECT_EQ(120, client.bottom);
    EXPECT_EQ(f.bounds().left, window.left);
    EXPECT_EQ(f.bounds().top, window.top);
    EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(ex & (WS_EX_LAYERED | WS_EX_APPWINDOW));
    const HWND owner = GetWindow(h, GW_OWNER);
    EXPECT_EQ("LumivoApp", classOf(owner));
    EXPECT_FALSE(IsWindowVisible(owner));

    f.show();
    EXPECT_TRUE(IsWindowVisible(h));
    f.hide();
    EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(UiWindow, StylesAndGeometryFollowTheModelBothWays) {
    ui::Form f("TFormUiTest", "F");
    f.border = ui::BorderStyle::None;
    f.setPosition(-20, 40);
    f.setClientSize(50, 40);
    f.setTransparentColor(true, ui::kBlack);
    f.setAlphaBlend(true);
    f.setAlphaBlendValue(1);
    ui.realize(f);
    const HWND h = hwndOf(f);
    COLORREF key = 1;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(h, &key, &alpha, &flags));
    EXPECT_EQ(0u, key);
    EXPECT_EQ(1, alpha);
    EXPECT_EQ(DWORD(LWA_COLORKEY | LWA_ALPHA), flags);

    f.setAlphaBlendValue(200);
    f.setAlphaBlend(false);
    f.setStayOnTop(true);
    f.setPosition(15, 25);
    f.setClientSize(70, 30);
    f.setCaption("Часы");
    ui.flushAll();
    ASSERT_TRUE(GetLayeredWindowAttributes(h, &key, &alpha, &flags));
    EXPECT_EQ(DWORD(LWA_COLORKEY), flags);
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(15, r.left);
    EXPECT_EQ(25, r.top);
    EXPECT_EQ(70, r.right - r.left);
    EXPECT_EQ("Часы", textOf(h));

    // The 9x path switches transparency off and shapes the window instead.
    f.setTransparentColor(false, ui::kBlack);
    f.setStayOnTop(false);
    ui.flushAll();
    EXPECT_FALSE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    f.show();
    f.setStayOnTop(true);
    ui.flushAll();
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    f.setStayOnTop(false);
    ui.flushAll();
    EXPECT_FALSE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ("LumivoApp", classOf(GetWindow(h, GW_OWNER)));  // still kept off the taskbar

    // Moved by someone else: the model learns the new place.
    SetWindowPos(h, nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(60, f.bounds().left);
    EXPECT_EQ(70, f.bounds().top);
    EXPECT_EQ(70, f.bounds().width);
}

// Another copy, started from inside a handler, looks for the clock by its
// caption at once: the new caption may not wait for the handler's end.
TEST_F(UiWindow, ACaptionSetInAHandlerIsOnTheWindowAtOnce) {
    ui::Form f("TFormUiTest", "F");
    f.setCaption("Lumivo");
    ui.realize(f);
    std::string seen;
    f.onMessage = [&](unsigned msg, std::uintptr_t, std::intptr_t) {
        f.setCaption("LumivoError");
        seen = textOf(FindWindowW(L"TFormUiTest", L"LumivoError"));
        return msg == WM_USER + 1;
    };
    SendMessageW(hwndOf(f), WM_USER + 1, 0, 0);
    EXPECT_EQ("LumivoError", seen);
}

TEST_F(UiWindow, RegionComesFromTheRectangles) {
    ui::Form f("TFormUiTest", "F");
    f.border = ui::BorderStyle::None;
    f.setClientSize(40, 30);
    ui.realize(f);
    const std::vector<ui::Rect> runs{{0, 0, 10, 1}, {5, 3, 20, 2}};
    f.setRegion(&runs);
    const win32::UniqueRegion actual(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(COMPLEXREGION, GetWindowRgn(hwndOf(f), actual.get()));
    const win32::UniqueRegion expected(CreateRectRgn(0, 0, 10, 1));
    const win32::UniqueRegion second(CreateRectRgn(5, 3, 25, 5));
    CombineRgn(expected.get(), expected.get(), second.get(), RGN_OR);
    EXPECT_TRUE(EqualRgn(expected.get(), actual.get()));
    f.setRegion(nullptr);
    EXPECT_EQ(ERROR, GetWindowRgn(hwndOf(f), actual.get()));
}

TEST_F(UiWindow, CloseBoxAsksFirstThenFreesTheForm) {
    ui::Form f("TFormUiTest", "F");
    f.setClientSize(80, 40);
    bool allow = false;
    std::vector<std::string> log;
    f.onCloseQuery = [&](bool& can) { can = allow; log.push_back("query"); };
    f.onClose = [&] { log.push_back("close"); };
    f.onDestroy = [&] { log.push_back("destroy"); };
    ui.realize(f);
    f.show();
    const HWND h = hwndOf(f);
    SendMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_FALSE(f.closed());
    allow = true;
    SendMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"query", "query", "close", "destroy"}), log);
    EXPECT_TRUE(f.destroyed());
    EXPECT_EQ(nullptr, f.peer());
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(quitPosted());

    ui::Form main("TFormUiTest", "Main");
    main.freeOnClose = false;
    ui.realize(main);
    ui.setMainForm(main);
    main.close();
    EXPECT_TRUE(quitPosted());
    EXPECT_TRUE(IsWindow(hwndOf(main)));
}

// The clock's first paint reloads its settings, hiding and showing it again.
TEST_F(UiWindow, ShowHandlerRunsOnceAndBeforeTheFirstPaint) {
    ui::Form f("TFormUiTest", "F");
    f.setClientSize(80, 40);
    std::vector<std::string> log;
    bool first = true;
    f.onShow = [&] { log.push_back("show"); };
    f.onPaint = [&] {
        log.push_back("paint");
        if (!std::exchange(first, false)) return;
        f.hide();
        f.show();
    };
    ui::Timer& timer = f.addTimer("T", 10, false);
    timer.onTimer = [&] {
        timer.setEnabled(false);
        f.hide();
        f.show();
    };
    ui.realize(f);
    f.show();
    pump(100);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ("show", log[0]);
    EXPECT_EQ("paint", log[1]);
    EXPECT_EQ(1, std::count(log.begin(), log.end(), "show"));
    EXPECT_TRUE(IsWindowVisible(hwndOf(f)));

    // The same inside a timer's handler; a hide from outside is a real one.
    timer.setEnabled(true);
    pump(200);
    EXPECT_FALSE(timer.enabled());
    EXPECT_EQ(1, std::count(log.begin(), log.end(), "show"));
    f.hide();
    f.show();
    EXPECT_EQ(2, std::count(log.begin(), log.end(), "show"));
}

TEST_F(UiWindow, ATimerAddedLaterRunsToo) {
    ui::Form f("TFormUiTest", "F");
    ui.realize(f);
    int ticks = 0;
    f.addTimer("Late", 10, true).onTimer = [&] { ++ticks; };
    pump(100);
    EXPECT_GT(ticks, 0);
}

TEST_F(UiWindow, ShownWithoutActivationTheOtherWindowKeepsTheKeys) {
    ui::Form keys("TFormUiTest", "Keys");
    keys.setClientSize(80, 40);
    ui.realize(keys);
    keys.show();
    pump(100);
    ASSERT_EQ(hwndOf(keys), GetActiveWindow());

    ui::Form quiet("TFormUiTest", "Quiet");
    quiet.border = ui::BorderStyle::None;  // as the clock; a captioned window is the window manager's to focus
    quiet.setPosition(200, 200);
    quiet.setClientSize(80, 40);
    quiet.setShowWithoutActivation(true);
    quiet.onPaint = [&] {  // hidden and shown again inside, as the clock's first paint does
        quiet.onPaint = nullptr;
        quiet.hide();
        quiet.show();
    };
    ui.realize(quiet);
    quiet.show();
    pump(100);
    EXPECT_TRUE(IsWindowVisible(hwndOf(quiet)));
    EXPECT_EQ(hwndOf(keys), GetActiveWindow());

    quiet.setShowWithoutActivation(false);
    quiet.hide();
    quiet.show();
    pump(100);
    EXPECT_EQ(hwndOf(quiet), GetActiveWindow());
}

// Another program's window as the clock's layer sees it: its own thread and
// input, maximised and activated, there until the thread is told to quit.
DWORD WINAPI otherProgram(void* shown) {
    const HWND h = CreateWindowExW(0, L"Static", L"Другая программа", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                   nullptr, nullptr, nullptr);
    ShowWindow(h, SW_SHOWMAXIMIZED);
    SetForegroundWindow(h);
    *static_cast<std::atomic<HWND>*>(shown) = h;
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    DestroyWindow(h);
    return 0;
}

bool above(HWND upper, HWND lower) {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        if (h == upper || h == lower) return h == upper;
    return false;
}

// Not on top, the clock stays on the desktop when raised in passing, and
// comes in front when raised on purpose until the user turns to another window.
TEST_F(UiWindow, ARaiseOnPurposeComesInFrontUntilAnotherWindowIsActivated) {
    ui::Form clock("TFormUiTest", "Clock");
    clock.border = ui::BorderStyle::None;
    clock.keepLayer = true;
    clock.setPosition(200, 200);
    clock.setClientSize(160, 60);
    ui.realize(clock);
    clock.show();
    std::atomic<HWND> shown = nullptr;
    DWORD thread = 0;
    const win32::UniqueHandle running(CreateThread(nullptr, 0, otherProgram, &shown, 0, &thread));
    for (int i = 0; i < 500 && !shown; ++i) pump(10);
    const HWND h = hwndOf(clock), other = shown;
    EXPECT_TRUE(IsZoomed(other));
    struct Step {
        const char* what;
        std::function<void()> act;
        bool inFront;
    };
    const Step steps[] = {
        {"covered by the other program", [] {}, false},
        {"an activation leaves it on the desktop", [&] { SetForegroundWindow(h); }, false},
        {"brought in front", [&] { SetForegroundWindow(other), pump(200), clock.bringToFront(); }, true},
        {"back on the desktop once the other is activated", [&] { SetForegroundWindow(other); }, false},
        {"and an activation leaves it there again", [&] { SetForegroundWindow(h); }, false},
    };
    for (const Step& s : steps) {
        s.act();
        pump(300);
        EXPECT_EQ(s.inFront, above(h, other)) << s.what;
    }
    PostThreadMessageW(thread, WM_QUIT, 0, 0);
    WaitForSingleObject(running.get(), 10000);
}

TEST_F(UiWindow, TrayIconIsAddedCarriesBalloonsAndIsDeleted) {
    ui::Form f("TFormUiTest", "F");
    ui.realize(f);
    const ui::TrayIconData data{7, 7, forms::kMsgTrayCallback, "Lumivo.XP"};
    EXPECT_FALSE(f.balloon(data, "Быстрый выход", "Нет значка"));
    EXPECT_TRUE(f.tray(true, data));
    EXPECT_TRUE(f.balloon(data, "Быстрый выход", std::string(300, 'x')));  // cut to the field
    EXPECT_TRUE(f.tray(false, data));
    EXPECT_FALSE(f.tray(false, data));
    EXPECT_FALSE(f.balloon(data, "Быстрый выход", "Значок убран"));
}

// A restarted shell has forgotten the icon: the remove is refused, the add
// brings it back. An add refused to a second object leaves the first's icon
// alone, and the window takes its icon with it.
TEST_F(UiWindow, TrayIconComesBackAfterTheShellLostItAndGoesWithItsWindow) {
    ui::Form f("TFormUiTest", "F");
    ui.realize(f);
    const ui::TrayIconData data{8, 7, forms::kMsgTrayCallback, "Lumivo.XP"};
    NOTIFYICONDATAW shell{};
    shell.cbSize = sizeof shell;
    shell.hWnd = hwndOf(f);
    shell.uID = data.id;
    ASSERT_TRUE(f.tray(true, data));
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &shell));
    EXPECT_FALSE(f.tray(false, data));
    EXPECT_TRUE(f.tray(true, data));
    EXPECT_FALSE(win32::TrayIcon(hwndOf(f), data.id).add(data, nullptr));
    EXPECT_TRUE(f.balloon(data, "Быстрый выход", "Снова на месте"));
    f.destroy();
    EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &shell));
}

// ---- painting ---------------------------------------------------------------------------

int inkRight(const ui::Bitmap& b, ui::Color background) {
    int right = -1;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) != background && x > right) right = x;
    return right;
}

// The same text drawn without any clipping.
ui::Bitmap drawnFreely(const std::string& text, int width, int height, int left, int top) {
    win32::Surface s;
    EXPECT_TRUE(s.resize(width, height));
    RECT all{0, 0, width, height};
    FillRect(s.dc(), &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    const win32::UniqueFont font(CreateFontW(-ui::Font{}.pixelHeight(), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                             DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
    const win32::Selected selected(s.dc(), font.get());
    SetBkMode(s.dc(), TRANSPARENT);
    const std::wstring w = win32::widen(text);
    RECT r{left, top, width, height};
    DrawTextW(s.dc(), w.c_str(), int(w.size()), &r, DT_NOCLIP | DT_NOPREFIX);
    GdiFlush();
    return win32::fromDib(s.bits(), width, height);
}

TEST_F(UiPaint, AutoSizedLabelsHoldTheirWholeText) {
    for (const std::string text : {"Для сохранения настроек используйте резервирование параметров.",
                                   "Приносим извинения за неудобства.", "Выберите действие:", "09:05"}) {
        ui::Form f("TFormUiTest", "F");
        f.setColor(ui::kWhite);
        f.setClientSize(420, 40);
        auto& l = f.add(std::make_unique<ui::Label>("L"));
        l.setLeft(7);
        l.setTop(5);
        l.setCaption(text);
        ui.realize(f);
        const ui::Bitmap painted = f.captureClient();
        ASSERT_EQ(420, painted.width);
        const int free = inkRight(drawnFreely(text, 420, 40, 7, 5), ui::kWhite);
        EXPECT_GT(free, 7) << text;
        EXPECT_EQ(free, inkRight(painted, ui::kWhite)) << text;
        EXPECT_LT(free, l.bounds().right()) << text;
    }
}

TEST_F(UiPaint, CaptureComposesPanelsAndImagesInOrder) {
    constexpr ui::Color kGreen = 0x00FF00, kKey = 0xFF0000, kInk = 0x0000FF, kPanel = 0x808000;
    ui::Form f("TFormUiTest", "F");
    f.border = ui::BorderStyle::None;
    f.setColor(kGreen);
    f.setClientSize(60, 40);
    auto& panel = f.add(std::make_unique<ui::Panel>("P"));
    panel.setBounds({30, 0, 30, 40});
    panel.setColor(kPanel);
    ui::Bitmap pic(2, 2, kInk);
    pic.at(0, 1) = kKey;  // bottom left: the see-through colour
    auto& keyed = f.add(std::make_unique<ui::Image>("Keyed"));
    keyed.setBounds({0, 0, 2, 2});
    keyed.transparent = true;
    keyed.setPicture(pic);
    auto& stretched = f.add(std::make_unique<ui::Image>("Stretched"));
    stretched.setBounds({10, 10, 8, 8});
    stretched.stretch = true;
    stretched.setPicture(pic);
    auto& onPanel = f.add(std::make_unique<ui::Image>("OnPanel"), &panel);
    onPanel.setBounds({5, 5, 2, 2});
    onPanel.setPicture(pic);
    auto& hidden = f.add(std::make_unique<ui::Image>("Hidden"));
    hidden.setBounds({0, 30, 2, 2});
    hidden.setPicture(pic);
    hidden.setVisible(false);
    ui.realize(f);

    const ui::Bitmap b = f.captureClient();
    EXPECT_EQ(kInk, b.at(0, 0));
    EXPECT_EQ(kGreen, b.at(0, 1));   // key skipped
    EXPECT_EQ(kKey, b.at(10, 17));   // stretched: the key is drawn when not transparent
    EXPECT_EQ(kKey, b.at(13, 14));
    EXPECT_EQ(kInk, b.at(14, 13));
    EXPECT_EQ(kPanel, b.at(45, 20));
    EXPECT_EQ(kInk, b.at(35, 5));    // child of the panel, over it
    EXPECT_EQ(kGreen, b.at(0, 30));  // hidden
    panel.setVisible(false);
    EXPECT_EQ(kGreen, f.captureClient().at(35, 5));
}

// The warning's text lies sunk in its panel: a raised edge round a lowered one.
TEST_F(UiPaint, TheWarningTextLiesOnASunkPanel) {
    auto form = forms::build(forms::qsdWarningForm(), ui);
    ui.realize(*form);
    const ui::Bitmap b = form->captureClient();
    const ui::Rect r = ui::dpi::toPixels(form->get<ui::Panel>("Panel1").bounds(), win32::dpi::ofWindow(hwndOf(*form)));
    const auto light = [&](int x, int y) {
        const ui::Color c = b.at(x, y);
        return (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF);
    };
    EXPECT_GT(light(r.left, r.top), light(r.right() - 1, r.bottom() - 1)) << "the outer edge raised";
    EXPECT_LT(light(r.left + 1, r.top + 1), light(r.right() - 2, r.bottom() - 2)) << "the inner edge lowered";
    form->destroy();
}

TEST(UiImageRect, PlacesPicturesLikeTheLayoutsExpect) {
    using win32::imageRect;
    EXPECT_EQ((ui::Rect{0, 0, 300, 150}), imageRect({330, 160}, {300, 150}, false, true, false));
    EXPECT_EQ((ui::Rect{15, 5, 300, 150}), imageRect({330, 160}, {300, 150}, false, true, true));
    EXPECT_EQ((ui::Rect{0, 0, 320, 160}), imageRect({330, 160}, {600, 300}, false, true, false));
    EXPECT_EQ((ui::Rect{0, 0, 100, 300}), imageRect({100, 200}, {100, 300}, false, false, false));
    EXPECT_EQ((ui::Rect{0, 0, 330, 160}), imageRect({330, 160}, {30, 15}, true, false, false));
    EXPECT_EQ((ui::Rect{5, 0, 320, 160}), imageRect({330, 160}, {30, 15}, true, true, true));
    EXPECT_EQ((ui::Rect{}), imageRect({330, 160}, {0, 0}, true, true, true));
}

// The clock refills its labels every tick; only a new text may cost a repaint.
TEST_F(UiPaint, RefillingTheSameTextRepaintsAndMovesNothing) {
    ui::Form f("TFormUiTest", "F");
    f.border = ui::BorderStyle::None;
    f.setColor(ui::kBlack);
    f.setTransparentColor(true, ui::kBlack);
    ui::Font big;
    big.size = 40;
    big.color = ui::kRed;
    auto& size = f.add(std::make_unique<ui::Label>("Size"));
    size.setFont(big);
    size.setBounds({4, 14, 0, 0});
    auto& main = f.add(std::make_unique<ui::Label>("Main"));
    main.setFont(big);
    main.setBounds({8, 10, 0, 0});
    f.autoSize = true;
    std::string text = "12:34";
    f.addTimer("Tick", 60000, true).onTimer = [&] {
        main.setCaption("");
        size.setCaption(" ");
        main.setCaption(text);
        size.setCaption(text + " ");
    };
    ui.realize(f);
    const HWND h = hwndOf(f);
    SendMessageW(h, WM_TIMER, 1, 0);
    f.show();
    pump(50);
    ASSERT_FALSE(GetUpdateRect(h, nullptr, FALSE));
    RECT before;
    GetClientRect(h, &before);

    const MoveCounter moves(h);
    SendMessageW(h, WM_TIMER, 1, 0);
    EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE));
    EXPECT_EQ(0, MoveCounter::count);

    text = "12:35";
    SendMessageW(h, WM_TIMER, 1, 0);
    RECT dirty;
    EXPECT_TRUE(GetUpdateRect(h, &dirty, FALSE));
    EXPECT_GE(dirty.left, 4);
    EXPECT_LE(dirty.right, std::max(size.bounds().right(), main.bounds().right()));
    pump(50);

    text = "12:35:59";
    SendMessageW(h, WM_TIMER, 1, 0);
    EXPECT_GE(MoveCounter::count, 1);
    RECT after;
    GetClientRect(h, &after);
    EXPECT_GT(after.right, before.right);
    EXPECT_EQ(std::max(size.bounds().right(), main.bounds().right()), after.right);
}

// ---- input ---------------------------------------------------------------------------------

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

TEST_F(UiInput, MouseReachesTheTopmostShownControl) {
    ui::Form f("TFormUiTest", "F");
    f.border = ui::BorderStyle::None;
    f.setClientSize(200, 100);
    std::vector<std::string> log;
    auto record = [&](std::string who, std::string what) {
        return [&log, who, what](const ui::MouseEvent& e) {
            log.push_back(who + " " + what + " " + std::to_string(e.x) + "," + std::to_string(e.y));
        };
    };
    auto& under = addLabel(f, "Under", {0, 0, 100, 50}, "a");
    auto& over = addLabel(f, "Over", {50, 0, 100, 50}, "b");
    auto& hidden = addLabel(f, "Hidden", {0, 0, 200, 100}, "c");
    hidden.setVisible(false);
    for (ui::Label* l : {&under, &over, &hidden}) {
        l->onMouseDown = record(l->name(), "down");
        l->onMouseMove = record(l->name(), "move");
        l->onMouseUp = record(l->name(), "up");
        l->onClick = [&log, l] { log.push_back(l->name() + " click"); };
        l->onDblClick = [&log, l] { log.push_back(l->name() + " dblclick"); };
    }
    f.onMouseDown = record("Form", "down");
    ui.realize(f);
    const HWND h = hwndOf(f);

    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at(60, 10));
    EXPECT_EQ(h, GetCapture());
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, at(190, 90));  // captured: still the pressed label
    SendMessageW(h, WM_LBUTTONUP, 0, at(70, 20));
    EXPECT_EQ(nullptr, GetCapture());
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));
    SendMessageW(h, WM_LBUTTONUP, 0, at(150, 80));           // released elsewhere: no click
    SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at(20, 30));
    SendMessageW(h, WM_LBUTTONUP, 0, at(20, 30));
    SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, at(150, 80));
    SendMessageW(h, WM_RBUTTONUP, 0, at(150, 80));
    EXPECT_EQ((std::vector<std::string>{"Over down 10,10", "Over move 140,90", "Over click", "Over up 20,20",
                                        "Under down 10,10", "Under up 150,80", "Under dblclick", "Under down 20,30",
                                        "Under up 20,30", "Form down 150,80"}),
              log);
}

TEST_F(UiInput, DraggingALabelMovesTheWindowAtOnce) {
    ui::Form f("TFormUiTest", "F");
    f.border = ui::BorderStyle::None;
    f.setPosition(100, 100);
    f.setClientSize(100, 50);
    auto& l = addLabel(f, "L", {0, 0, 100, 50}, "12:00");
    int xo = 0, yo = 0;
    bool moving = false;
    l.onMouseDown = [&](const ui::MouseEvent& e) { xo = e.x, yo = e.y, moving = true; };
    l.onMouseMove = [&](const ui::MouseEvent& e) {
        if (moving) f.setPosition(f.bounds().left + e.x - xo, f.bounds().top + e.y - yo);
    };
    l.onMouseUp = [&](const ui::MouseEvent&) { moving = false; };
    ui.realize(f);
    const HWND h = hwndOf(f);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, at(30, 25));
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(120, r.left);
    EXPECT_EQ(115, r.top);
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, at(0, -5));
    SendMessageW(h, WM_LBUTTONUP, 0, at(0, -5));
    GetWindowRect(h, &r);
    EXPECT_EQ(110, r.left);
    EXPECT_EQ(100, r.top);
}

TEST_F(UiInput, CommandsAndOwnMessagesReachTheModel) {
    constexpr unsigned kOwnMessage = WM_USER + 1;
    ui::Form f("TFormUiTest", "F");
    ui::PopupMenu& menu = f.addMenu("Menu");
    f.popupMenu = &menu;
    ui::MenuItem& top = menu.root().add("Top", "&Поверх", forms::cmd::OnTopPOM);
    top.autoCheck = true;
    menu.root().add("Sep", "-");
    ui::MenuItem& help = menu.root().add("Help", "Справка");
    help.add("About", "О &программе...", forms::cmd::AboutPro).checked = true;
    ui::MenuItem& err = help.add("Err", "Ошибка", forms::cmd::Err);
    err.visible = false;
    err.enabled = false;
    std::vector<std::string> log;
    top.onClick = [&] { log.push_back(top.checked ? "top on" : "top off"); };
    err.onClick = [&] { log.push_back("err"); };
    f.onMessage = [&](unsigned msg, std::uintptr_t w, std::intptr_t l) {
        log.push_back(std::to_string(msg) + " " + std::to_string(w) + " " + std::to_string(l));
        return msg == kOwnMessage;
    };
    ui.realize(f);
    const HWND h = hwndOf(f);
    SendMessageW(h, WM_COMMAND, forms::cmd::Err, 0);
    SendMessageW(h, WM_COMMAND, forms::cmd::OnTopPOM, 0);
    SendMessageW(h, kOwnMessage, 3, 4);
    const UINT registered = RegisterWindowMessageW(L"LumivoUiTest");
    SendMessageW(h, registered, 0, 0);
    SendMessageW(h, WM_MOUSEMOVE, 0, 0);  // the system's own messages are not the program's
    EXPECT_EQ((std::vector<std::string>{"err", "top on", std::to_string(kOwnMessage) + " 3 4",
                                        std::to_string(registered) + " 0 0"}),
              log);

    // The menu as shown: hidden items left out, marks and states kept.
    menu.root().items()[0]->isDefault = true;
    const win32::UniqueMenu built = win32::buildPopupMenu(menu.root());
    ASSERT_EQ(3, GetMenuItemCount(built.get()));
    EXPECT_EQ(104u, GetMenuItemID(built.get(), 0));
    EXPECT_TRUE(GetMenuState(built.get(), 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(built.get(), 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(104u, GetMenuDefaultItem(built.get(), FALSE, 0));
    const HMENU sub = GetSubMenu(built.get(), 2);
    ASSERT_NE(nullptr, sub);
    EXPECT_EQ(1, GetMenuItemCount(sub));
    EXPECT_TRUE(GetMenuState(sub, 114, MF_BYCOMMAND) & MF_CHECKED);
    err.visible = true;
    const win32::UniqueMenu again = win32::buildPopupMenu(menu.root());
    EXPECT_TRUE(GetMenuState(GetSubMenu(again.get(), 2), 115, MF_BYCOMMAND) & MF_GRAYED);
}

// The system's word that it woke up or that the clock was set: the program
// re-reads the time, so these come through too, with the answers the system expects.
TEST_F(UiInput, PowerAndClockChangesReachTheModel) {
    ui::Form f("TFormUiTest", "F");
    std::vector<std::string> log;
    bool handle = true;
    f.onMessage = [&](unsigned msg, std::uintptr_t w, std::intptr_t) {
        if (msg == forms::kMsgPowerBroadcast) log.push_back("power " + std::to_string(w));
        else if (msg == forms::kMsgTimeChange) log.push_back("time");
        return handle;
    };
    ui.realize(f);
    const HWND h = hwndOf(f);
    EXPECT_EQ(TRUE, SendMessageW(h, WM_POWERBROADCAST, forms::kPbtResumeAutomatic, 0));
    EXPECT_EQ(0, SendMessageW(h, WM_TIMECHANGE, 0, 0));
    handle = false;
    SendMessageW(h, WM_POWERBROADCAST, forms::kPbtResumeSuspend, 0);
    // As the system tells every window, hidden and owned ones too.
    SendMessageTimeoutW(HWND_BROADCAST, WM_TIMECHANGE, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    EXPECT_EQ((std::vector<std::string>{"power 18", "time", "power 7", "time"}), log);
}

// ---- child controls -----------------------------------------------------------------------

TEST_F(UiControls, ChildControlsMirrorTheModelBothWays) {
    ui::Form f("TFormUiTest", "F");
    f.setClientSize(300, 200);
    auto& box = f.add(std::make_unique<ui::CheckBox>("Box"));
    box.setBounds({10, 10, 150, 20});
    box.setCaption("Включить звук");
    auto& combo = f.add(std::make_unique<ui::ComboBox>("Combo"));
    combo.setBounds({10, 40, 150, 21});
    combo.setItems({"Один", "Два", "Три"});
    auto& edit = f.add(std::make_unique<ui::Edit>("Edit"));
    edit.setBounds({10, 70, 150, 21});
    auto& memo = f.add(std::make_unique<ui::Memo>("Memo"));
    memo.setBounds({10, 100, 150, 40});
    auto& bar = f.add(std::make_unique<ui::TrackBar>("Bar"));
    bar.setBounds({10, 150, 150, 30});
    bar.max = 20;
    auto& arrowsControl = f.add(std::make_unique<ui::UpDown>("Arrows"));
    arrowsControl.setBounds({170, 10, 17, 22});
    arrowsControl.max = 23;
    std::vector<bool> arrows;
    arrowsControl.onClickArrow = [&](bool upward) { arrows.push_back(upward); };
    int clicks = 0, changes = 0, edits = 0, moves = 0;
    box.onClick = [&] { ++clicks; };
    combo.onChange = [&] { ++changes; };
    edit.onChange = [&] { ++edits; };
    bar.onChange = [&] { ++moves; };
    ui.realize(f);
    const HWND h = hwndOf(f);
    const HWND boxWnd = childWithClass(h, "Button");
    const HWND comboWnd = childWithClass(h, "ComboBox");
    const HWND editWnd = childWithClass(h, "Edit");
    const HWND barWnd = childWithClass(h, "msctls_trackbar32");
    ASSERT_TRUE(boxWnd && comboWnd && editWnd && barWnd);
    EXPECT_EQ("Включить звук", textOf(boxWnd));

    SendMessageW(boxWnd, BM_CLICK, 0, 0);
    EXPECT_TRUE(box.checked());
    EXPECT_EQ(1, clicks);
    box.setChecked(false);
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(boxWnd, BM_GETCHECK, 0, 0));
    EXPECT_EQ(2, clicks);

    combo.setItemIndex(2);
    EXPECT_EQ(2, SendMessageW(comboWnd, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(0, changes);
    SendMessageW(comboWnd, CB_SETCURSEL, 1, 0);
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(comboWnd), CBN_SELCHANGE), LPARAM(comboWnd));
    EXPECT_EQ(1, combo.itemIndex());
    EXPECT_EQ(1, changes);

    edit.setText("из программы");
    EXPECT_EQ("из программы", textOf(editWnd));
    EXPECT_EQ(1, edits);
    SetWindowTextW(editWnd, L"от пользователя");
    EXPECT_EQ("от пользователя", edit.text());
    EXPECT_EQ(2, edits);

    memo.setLines({"первая", "вторая"});
    const HWND memoWnd = GetWindow(editWnd, GW_HWNDNEXT);
    EXPECT_EQ("первая\r\nвторая", textOf(memoWnd));

    SendMessageW(barWnd, TBM_SETPOS, TRUE, 7);
    SendMessageW(h, WM_HSCROLL, TB_THUMBTRACK, LPARAM(barWnd));
    EXPECT_EQ(7, bar.position());
    EXPECT_EQ(1, moves);
    bar.setPosition(12);
    EXPECT_EQ(12, SendMessageW(barWnd, TBM_GETPOS, 0, 0));

    auto& updown = *static_cast<ui::UpDown*>(f.find("Arrows"));
    NMUPDOWN up{};
    up.hdr = {childWithClass(h, "msctls_updown32"), 0, UINT(UDN_DELTAPOS)};
    up.hdr.idFrom = UINT_PTR(GetDlgCtrlID(up.hdr.hwndFrom));
    up.iDelta = 1;
    SendMessageW(h, WM_NOTIFY, up.hdr.idFrom, LPARAM(&up));
    up.iDelta = -1;
    SendMessageW(h, WM_NOTIFY, up.hdr.idFrom, LPARAM(&up));
    SendMessageW(h, WM_NOTIFY, up.hdr.idFrom, LPARAM(&up));
    EXPECT_EQ((std::vector<bool>{true, false, false}), arrows);
    EXPECT_EQ(0, updown.position());  // held at its minimum
    EXPECT_EQ(0, SendMessageW(up.hdr.hwndFrom, UDM_GETPOS32, 0, 0));

    box.setVisible(false);
    combo.setEnabled(false);
    EXPECT_FALSE(IsWindowVisible(boxWnd));
    EXPECT_FALSE(IsWindowEnabled(comboWnd));
}

// The time-setting window's arrows go round: past 23 comes 0, below 0 comes
// 59. The control shows what the model made of the click.
TEST_F(UiControls, ArrowsGoRoundAndEditsKeepTheirLimit) {
    ui::Form f("TFormUiTest", "F");
    f.setClientSize(200, 60);
    auto& hours = f.add(std::make_unique<ui::UpDown>("Hours"));
    hours.setBounds({10, 10, 17, 22});
    hours.max = 23;
    hours.wrap = true;
    hours.setPosition(23);
    auto& minutes = f.add(std::make_unique<ui::UpDown>("Minutes"));
    minutes.setBounds({40, 10, 17, 22});
    minutes.max = 59;
    minutes.wrap = true;
    auto& edit = f.add(std::make_unique<ui::Edit>("Text"));
    edit.setBounds({70, 10, 60, 21});
    edit.maxLength = 2;
    std::vector<bool> arrows;
    hours.onClickArrow = minutes.onClickArrow = [&](bool up) { arrows.push_back(up); };
    ui.realize(f);
    const HWND h = hwndOf(f);
    const HWND hoursWnd = GetWindow(h, GW_CHILD);
    const HWND minutesWnd = GetWindow(hoursWnd, GW_HWNDNEXT);
    const HWND editWnd = GetWindow(minutesWnd, GW_HWNDNEXT);
    ASSERT_TRUE(hoursWnd && minutesWnd && editWnd);
    int low = -1, high = -1;
    SendMessageW(hoursWnd, UDM_GETRANGE32, WPARAM(&low), LPARAM(&high));
    EXPECT_EQ(0, low);
    EXPECT_EQ(23, high);
    EXPECT_EQ(23, SendMessageW(hoursWnd, UDM_GETPOS32, 0, 0));

    // Clicks on the real arrows: the upper half counts up.
    const auto click = [](HWND arrows, bool up) {
        const LPARAM at = MAKELPARAM(8, up ? 4 : 18);
        SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(arrows, WM_LBUTTONUP, 0, at);
    };
    click(hoursWnd, true);
    EXPECT_EQ(0, hours.position());
    EXPECT_EQ(0, SendMessageW(hoursWnd, UDM_GETPOS32, 0, 0));
    click(hoursWnd, true);
    EXPECT_EQ(1, SendMessageW(hoursWnd, UDM_GETPOS32, 0, 0));
    click(minutesWnd, false);
    EXPECT_EQ(59, minutes.position());
    EXPECT_EQ(59, SendMessageW(minutesWnd, UDM_GETPOS32, 0, 0));
    EXPECT_EQ((std::vector<bool>{true, true, false}), arrows);

    EXPECT_EQ(2, SendMessageW(editWnd, EM_GETLIMITTEXT, 0, 0));
    for (wchar_t c : {L'1', L'2', L'3'}) SendMessageW(editWnd, WM_CHAR, c, 1);
    EXPECT_EQ("12", edit.text());
}

TEST_F(UiControls, EnterAndEscPressTheDefaultAndCancelButtons) {
    ui::Form f("TFormUiTest", "F");
    f.setClientSize(200, 60);
    auto& ok = f.add(std::make_unique<ui::Button>("Ok"));
    ok.setBounds({10, 10, 80, 26});
    ok.setCaption("&Ok");
    ok.isDefault = true;
    auto& cancel = f.add(std::make_unique<ui::Button>("Cancel"));
    cancel.setBounds({100, 10, 80, 26});
    cancel.setCaption("Отмена");
    cancel.isCancel = true;
    std::vector<std::string> log;
    ok.onClick = [&] { log.push_back("ok"); };
    cancel.onClick = [&] {
        log.push_back("cancel");
        f.close();
    };
    ui.realize(f);
    const HWND h = hwndOf(f);
    SendMessageW(h, WM_COMMAND, IDOK, 0);
    SendMessageW(h, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ((std::vector<std::string>{"ok", "cancel"}), log);
    EXPECT_TRUE(f.destroyed());
}

TEST_F(UiControls, CheckListsAndPagesFollowTheUser) {
    ui::Form f("TFormUiTest", "F");
    f.setClientSize(300, 200);
    auto& pages = f.add(std::make_unique<ui::PageControl>("Pages"));
    pages.setBounds({0, 0, 300, 200});
    auto& first = f.add(std::make_unique<ui::TabSheet>("First"), &pages);
    first.setBounds({4, 28, 292, 168});
    first.setCaption("Общие");
    auto& second = f.add(std::make_unique<ui::TabSheet>("Second"), &pages);
    second.setBounds({4, 28, 292, 168});
    second.setCaption("Напоминания");
    auto& list = f.add(std::make_unique<ui::CheckListBox>("List"), &first);
    list.setBounds({10, 10, 200, 100});
    list.setItems({{"Понедельник", false}, {"Вторник", true}});
    list.itemHeight = 13;
    auto& edit = f.add(std::make_unique<ui::Edit>("Edit"), &second);
    edit.setBounds({10, 10, 200, 21});
    std::vector<int> toggled, released;
    int pageChanges = 0, doubleClicks = 0;
    list.onClickCheck = [&](int i) { toggled.push_back(i); };
    list.onMouseUp = [&](const ui::MouseEvent& e) { released.push_back(e.y); };
    list.onDblClick = [&] { ++doubleClicks; };
    pages.onChange = [&] { ++pageChanges; };
    ui.realize(f);
    const HWND h = hwndOf(f);
    const HWND tabs = childWithClass(h, "SysTabControl32");
    const HWND listWnd = childWithClass(h, "ListBox");
    const HWND editWnd = childWithClass(h, "Edit");
    ASSERT_TRUE(tabs && listWnd && editWnd);
    EXPECT_EQ(2, SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_TRUE(GetWindowLongPtrW(listWnd, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongPtrW(editWnd, GWL_STYLE) & WS_VISIBLE);

    const int row = int(SendMessageW(listWnd, LB_GETITEMHEIGHT, 0, 0));
    SendMessageW(listWnd, WM_LBUTTONDOWN, MK_LBUTTON, at(4, row + row / 2));   // on the check box
    SendMessageW(listWnd, WM_LBUTTONUP, 0, at(4, row + row / 2));
    SendMessageW(listWnd, WM_LBUTTONDOWN, MK_LBUTTON, at(120, row / 2));       // on the text: selects only
    SendMessageW(listWnd, WM_LBUTTONUP, 0, at(120, row / 2));
    SendMessageW(listWnd, WM_CHAR, L' ', 0);
    EXPECT_EQ((std::vector<int>{1, 0}), toggled);
    EXPECT_TRUE(list.items()[0].checked);
    EXPECT_FALSE(list.items()[1].checked);
    // The list's lines have the height asked for, and it tells where, in its
    // own coordinates, the mouse was released and that it was double-clicked.
    EXPECT_EQ(13, row);
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageW(listWnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, at(120, row + 2));
    EXPECT_EQ((std::vector<int>{row + row / 2, row / 2, row + 2, row + 2}), released);
    EXPECT_EQ(1, doubleClicks);
    EXPECT_EQ(1, list.itemIndex());
    EXPECT_FALSE(list.items()[1].checked) << "a double click on the text ticks nothing";

    SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
    NMHDR change{tabs, UINT_PTR(GetDlgCtrlID(tabs)), UINT(TCN_SELCHANGE)};
    SendMessageW(h, WM_NOTIFY, change.idFrom, LPARAM(&change));
    EXPECT_EQ(1, pages.activePage());
    EXPECT_EQ(1, pageChanges);
    EXPECT_TRUE(GetWindowLongPtrW(editWnd, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongPtrW(listWnd, GWL_STYLE) & WS_VISIBLE);
}

// ---- modal loops --------------------------------------------------------------------------

TEST_F(UiModal, NestedModalLoopsKeepEveryTimerRunning) {
    ui::Form owner("TFormUiTest", "Owner");
    int ownerTicks = 0;
    owner.addTimer("T", 10, true).onTimer = [&] { ++ownerTicks; };
    ui.realize(owner);
    owner.show();

    ui::Form outer("TFormUiTest", "Outer"), inner("TFormUiTest", "Inner");
    bool ownerDisabled = false, outerDisabled = false;
    int outerTicks = 0, innerTicks = 0, ownerTicksInInner = -1;
    outer.addTimer("T", 20, true).onTimer = [&] {
        ++outerTicks;
        ownerDisabled = !IsWindowEnabled(hwndOf(owner));
        if (outerTicks == 2) ui.showModal(inner);  // from a timer, inside the outer loop
        else if (inner.destroyed()) outer.close();
    };
    inner.addTimer("T", 20, true).onTimer = [&] {
        outerDisabled = !IsWindowEnabled(hwndOf(outer));
        if (ownerTicksInInner < 0) ownerTicksInInner = ownerTicks;
        if (++innerTicks == 5) {
            ownerTicksInInner = ownerTicks - ownerTicksInInner;
            inner.close();
        }
    };
    ui.showModal(outer);

    EXPECT_TRUE(outer.destroyed());
    EXPECT_TRUE(inner.destroyed());
    EXPECT_EQ(nullptr, inner.peer());
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(outerDisabled);
    EXPECT_GT(outerTicks, 3);  // the outer form's timer ran on while the inner one was open
    EXPECT_GT(ownerTicksInInner, 2);
    EXPECT_TRUE(IsWindowEnabled(hwndOf(owner)));
}

TEST_F(UiModal, QuitEndsTheModalLoopAndTheOnesOutside) {
    ui::Form f("TFormUiTest", "F");
    f.addTimer("T", 10, true).onTimer = [&] { ui.terminate(); };
    ui.showModal(f);
    EXPECT_TRUE(f.destroyed());
    EXPECT_TRUE(ui.terminated());
    EXPECT_TRUE(quitPosted());
}

}  // namespace
