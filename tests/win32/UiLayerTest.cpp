// The layer a form keeps, against another program's window: raised on
// purpose it comes in front; raised in passing it stays on the desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include "win32/Handles.h"
#include "win32/Win32Ui.h"
#include "UiKit.h"

namespace {

using uikit::hwndOf;
using uikit::pump;

// Another program's window as the layer sees it: its own thread and input,
// maximised over the screen and activated.
class OtherProgram {
public:
    OtherProgram() : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        thread_.reset(CreateThread(nullptr, 0, run, this, 0, &threadId_));
        WaitForSingleObject(ready_.get(), 10000);
    }
    ~OtherProgram() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_.get(), 10000);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;
    HWND hwnd = nullptr;

private:
    static DWORD WINAPI run(void* p) {
        auto* self = static_cast<OtherProgram*>(p);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
        wc.lpszClassName = L"LumivoLayerTestOther";
        RegisterClassW(&wc);
        self->hwnd = CreateWindowExW(0, wc.lpszClassName, L"Другая программа", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                     nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(self->hwnd, SW_SHOWMAXIMIZED);
        SetForegroundWindow(self->hwnd);
        SetEvent(self->ready_.get());
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
        DestroyWindow(self->hwnd);
        return 0;
    }
    win32::UniqueHandle ready_, thread_;
    DWORD threadId_ = 0;
};

// Whether `upper` lies above `lower` among the top-level windows.
bool above(HWND upper, HWND lower) {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h == upper) return true;
        if (h == lower) return false;
    }
    return false;
}

TEST(UiLayer, ARaiseOnPurposeComesInFrontUntilAnotherWindowIsActivated) {
    win32::Win32Ui ui{GetModuleHandleW(nullptr)};
    ui::Form clock("TFormUiTest", "Clock");
    clock.border = ui::BorderStyle::None;
    clock.keepLayer = true;
    clock.setPosition(200, 200);
    clock.setClientSize(160, 60);
    ui.realize(clock);
    clock.show();
    pump(200);
    const OtherProgram other;
    ASSERT_TRUE(IsZoomed(other.hwnd));
    pump(300);
    const HWND h = hwndOf(clock);
    ASSERT_TRUE(above(other.hwnd, h)) << "covered by the other program";

    SetForegroundWindow(h);  // as a click or the task switcher activates it
    pump(300);
    EXPECT_TRUE(above(other.hwnd, h)) << "an activation leaves it on the desktop";

    SetForegroundWindow(other.hwnd);
    pump(200);
    clock.bringToFront();
    pump(300);
    EXPECT_TRUE(above(h, other.hwnd)) << "brought in front";

    SetForegroundWindow(other.hwnd);  // the user turns to the other program
    pump(300);
    EXPECT_TRUE(above(other.hwnd, h)) << "back on the desktop";
    SetForegroundWindow(h);
    pump(300);
    EXPECT_TRUE(above(other.hwnd, h)) << "and an activation leaves it there again";
}

}  // namespace
