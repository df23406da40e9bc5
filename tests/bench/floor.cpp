// Built by the windows preset into build/windows/bench/floor.exe (tests/e2e/CMakeLists.txt).
// Run: floor.exe (the empty floor) or floor.exe clock (the floor clock); window class FloorClock, caption Floor.
// The floor for the idle benchmark. "floor" is an empty top-level window with a 50 ms timer that
// does nothing. "floor clock" is the least a clock of this design must do: the same window with a
// notification-area icon, four key polls per tick, and the time text repainted when it changes.
#include <windows.h>
#include <shellapi.h>
#include <cwchar>
static bool g_clock = false;
static wchar_t g_text[16] = L"";
static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
  case WM_DESTROY: PostQuitMessage(0); return 0;
  case WM_TIMER:
    if (g_clock) {
      GetAsyncKeyState('T'); GetAsyncKeyState(VK_CONTROL); GetAsyncKeyState(VK_LWIN); GetAsyncKeyState(VK_RWIN);
      SYSTEMTIME st; GetLocalTime(&st); wchar_t t[16];
      swprintf(t, 16, L"%02d:%02d", st.wHour, st.wMinute);
      if (wcscmp(t, g_text) != 0) { wcscpy(g_text, t); InvalidateRect(h, nullptr, TRUE); }
    }
    return 0;
  case WM_PAINT: {
    PAINTSTRUCT ps; HDC dc = BeginPaint(h, &ps);
    if (g_clock) {
      HFONT f = CreateFontW(-96, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
      HGDIOBJ old = SelectObject(dc, f); SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(50, 50, 50)); TextOutW(dc, 4, 4, g_text, (int)wcslen(g_text));
      SetTextColor(dc, RGB(255, 255, 0)); TextOutW(dc, 0, 0, g_text, (int)wcslen(g_text));
      SelectObject(dc, old); DeleteObject(f);
    }
    EndPaint(h, &ps); return 0;
  }
  }
  return DefWindowProcW(h, m, w, l);
}
int WINAPI wWinMain(HINSTANCE hi, HINSTANCE, PWSTR cmd, int) {
  g_clock = cmd && wcsstr(cmd, L"clock");
  WNDCLASSW c{}; c.lpfnWndProc = proc; c.hInstance = hi; c.lpszClassName = L"FloorClock";
  c.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH); RegisterClassW(&c);
  HWND h = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, L"FloorClock", L"Floor", WS_POPUP, 30, 30, 300, 130, 0, 0, hi, 0);
  SetLayeredWindowAttributes(h, 0, 255, LWA_COLORKEY | LWA_ALPHA);
  NOTIFYICONDATAW n{}; n.cbSize = sizeof n; n.hWnd = h; n.uID = 1; n.uFlags = NIF_ICON | NIF_TIP;
  n.hIcon = LoadIconW(nullptr, (LPCWSTR)IDI_APPLICATION); wcscpy(n.szTip, L"Floor");
  if (g_clock) Shell_NotifyIconW(NIM_ADD, &n);
  ShowWindow(h, SW_SHOW); SetTimer(h, 1, 50, nullptr);
  MSG msg; while (GetMessageW(&msg, 0, 0, 0)) { TranslateMessage(&msg); DispatchMessageW(&msg); }
  if (g_clock) Shell_NotifyIconW(NIM_DELETE, &n);
  return 0;
}
