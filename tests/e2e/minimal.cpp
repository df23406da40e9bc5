// The yardstick of the idle benchmark: a window with a 50 ms timer that paints nothing.
#include <windows.h>

static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, LPWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.lpszClassName = L"MinimalTimer";
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(0, L"MinimalTimer", L"Minimal", WS_POPUP | WS_VISIBLE, 30, 0, 300, 130, nullptr, nullptr,
                             inst, nullptr);
    SetTimer(h, 1, 50, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
