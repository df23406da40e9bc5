// The clock, system, power, shell and mail adapters against the real APIs.
#include <windows.h>

#include <gtest/gtest.h>

#include "win32/Win32Ports.h"

TEST(Ports, LocalTimeAndDateTexts) {
    win32::Win32Clock clock;
    win32::Win32System sys;
    SYSTEMTIME st;
    GetLocalTime(&st);
    const platform::LocalTime t = clock.now();
    EXPECT_EQ(t.year, st.wYear);
    EXPECT_EQ(t.weekday, st.wDayOfWeek);
    EXPECT_GE(t.month, 1);
    EXPECT_LE(t.month, 12);
    EXPECT_FALSE(sys.timeSeparator().empty());
    platform::LocalTime d;
    d.year = 2026;
    d.month = 12;
    d.day = 7;
    const std::string date = sys.longDate(d);
    EXPECT_NE(date.find("07"), std::string::npos) << date;
    EXPECT_NE(date.find("2026"), std::string::npos) << date;
    platform::LocalTime bad = d;
    bad.month = 13;
    EXPECT_TRUE(sys.longDate(bad).empty());
}

TEST(Ports, SystemIdentity) {
    win32::Win32System sys;
    const platform::OsVersion v = sys.version();
    EXPECT_GE(v.major, 5u);
    EXPECT_FALSE(sys.userName().empty());
    EXPECT_FALSE(sys.computerName().empty());
    EXPECT_EQ(sys.programFile().filename(), "win32_tests.exe");
    EXPECT_FALSE(sys.localAppData().empty());
    const unsigned m = sys.registerWindowMessage("TaskbarCreated");
    EXPECT_GE(m, 0xC000u);
    EXPECT_EQ(m, sys.registerWindowMessage("TaskbarCreated"));
}

TEST(Ports, WindowsOfOtherCopiesAreFoundMessagedAndBroughtForward) {
    win32::Win32System sys;
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_USER + 7) return LRESULT(w + l);
        return DefWindowProcW(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TFormPortsTest";
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(0, L"TFormPortsTest", L"Проверка", WS_POPUP, 10, 20, 100, 50, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(sys.findWindow("TFormPortsTest", "Проверка"), platform::WindowId(h));
    EXPECT_EQ(sys.findWindow("TFormPortsTest", "Lumivo"), 0u);
    EXPECT_EQ(sys.sendMessage(platform::WindowId(h), WM_USER + 7, 40, 2), 42);
    sys.bringToFront(platform::WindowId(h));
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 100);
    DestroyWindow(h);
}

TEST(Ports, ShellAndMailReportFailure) {
    win32::Win32Shell shell;
    win32::Win32Mail mail;
    EXPECT_FALSE(shell.open("C:\\no\\such\\file.htm", "", "", SW_SHOW));
    EXPECT_FALSE(mail.send({}));
}
