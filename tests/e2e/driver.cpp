// Looks at and pokes the program's windows from outside, as a user's tools would.
// Usage: driver <command> [args]; prints results on stdout, exit code 0 = success.
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "win32/Text.h"

namespace {

struct Found { HWND hwnd; };

std::string className(HWND h) {
    wchar_t buf[256] = {};
    GetClassNameW(h, buf, 256);
    return win32::narrow(buf);
}

std::string text(HWND h) {
    const LRESULT n = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
    std::wstring w(std::size_t(n) + 1, L'\0');
    SendMessageW(h, WM_GETTEXT, WPARAM(n + 1), LPARAM(w.data()));
    w.resize(std::size_t(n));
    return win32::narrow(w);
}

// The caption the system keeps for a window of another program: read without
// a message, so a window busy at that moment is still found by it.
std::string storedText(HWND h) {
    wchar_t buf[256] = {};
    GetWindowTextW(h, buf, 256);
    return win32::narrow(buf);
}

std::vector<HWND> topLevel(const std::string& cls, const char* caption) {
    struct Ctx { std::string cls; const char* caption; std::vector<HWND> out; } ctx{cls, caption, {}};
    EnumWindows([](HWND h, LPARAM p) -> BOOL {
        auto& c = *reinterpret_cast<Ctx*>(p);
        if (className(h) == c.cls && (!c.caption || storedText(h) == c.caption || text(h) == c.caption))
            c.out.push_back(h);
        return TRUE;
    }, LPARAM(&ctx));
    return ctx.out;
}

HWND waitFor(const std::string& cls, const char* caption, int ms) {
    for (int waited = 0;; waited += 50) {
        auto v = topLevel(cls, caption);
        if (!v.empty()) return v.front();
        if (waited >= ms) return nullptr;
        Sleep(50);
    }
}

void describe(HWND h) {
    RECT r{}, client{};
    GetWindowRect(h, &r);
    GetClientRect(h, &client);
    BYTE alpha = 255;
    COLORREF key = 0;
    DWORD flags = 0;
    const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    if (ex & WS_EX_LAYERED) GetLayeredWindowAttributes(h, &key, &alpha, &flags);
    std::printf("hwnd=%p class=%s visible=%d x=%ld y=%ld w=%ld h=%ld cw=%ld ch=%ld layered=%d alpha=%u colorkey=%d topmost=%d "
                "toolwindow=%d appwindow=%d owner=%p caption=%s\n",
                (void*)h, className(h).c_str(), IsWindowVisible(h) ? 1 : 0, r.left, r.top, r.right - r.left,
                r.bottom - r.top, client.right, client.bottom, (ex & WS_EX_LAYERED) ? 1 : 0, (ex & WS_EX_LAYERED) && (flags & LWA_ALPHA) ? alpha : 255,
                (flags & LWA_COLORKEY) ? 1 : 0, (ex & WS_EX_TOPMOST) ? 1 : 0, (ex & WS_EX_TOOLWINDOW) ? 1 : 0,
                (ex & WS_EX_APPWINDOW) ? 1 : 0, (void*)GetWindow(h, GW_OWNER), text(h).c_str());
}

void children(HWND parent) {
    EnumChildWindows(parent, [](HWND h, LPARAM) -> BOOL {
        std::printf("child=%p class=%s visible=%d enabled=%d checked=%d text=%s\n", (void*)h, className(h).c_str(),
                    IsWindowVisible(h) ? 1 : 0, IsWindowEnabled(h) ? 1 : 0,
                    int(SendMessageW(h, BM_GETCHECK, 0, 0)), text(h).c_str());
        return TRUE;
    }, 0);
}

HWND childByText(HWND parent, const std::string& want) {
    struct Ctx { std::string want; HWND found; } ctx{want, nullptr};
    EnumChildWindows(parent, [](HWND h, LPARAM p) -> BOOL {
        auto& c = *reinterpret_cast<Ctx*>(p);
        if (text(h) == c.want) {
            c.found = h;
            return FALSE;
        }
        return TRUE;
    }, LPARAM(&ctx));
    return ctx.found;
}

// The index-th child control of a window class ("Edit", "ComboBox"), in creation order.
HWND nthChild(HWND parent, const std::string& cls, int index) {
    struct Ctx { std::string cls; int left; HWND found; } ctx{cls, index, nullptr};
    EnumChildWindows(parent, [](HWND h, LPARAM p) -> BOOL {
        auto& c = *reinterpret_cast<Ctx*>(p);
        if (className(h) != c.cls) return TRUE;
        if (c.left-- > 0) return TRUE;
        c.found = h;
        return FALSE;
    }, LPARAM(&ctx));
    return ctx.found;
}

// The visible top-level windows from the top of the z-order down.
void zorder() {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (!IsWindowVisible(h)) continue;
        const bool topmost = GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST;
        std::printf("z hwnd=%p class=%s topmost=%d caption=%s\n", (void*)h, className(h).c_str(), topmost ? 1 : 0,
                    text(h).c_str());
    }
}

// A window of another program: shown, activated, kept for a while or until closed.
int ownWindow(int seconds, bool topmost, int x, int y, int w, int h) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = HBRUSH(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"DriverWindow";
    RegisterClassW(&wc);
    const DWORD style = w >= GetSystemMetrics(SM_CXSCREEN) ? WS_POPUP : WS_OVERLAPPEDWINDOW;
    HWND win = CreateWindowExW(topmost ? WS_EX_TOPMOST : 0, wc.lpszClassName, L"Driver", style, x, y, w, h, nullptr,
                               nullptr, wc.hInstance, nullptr);
    if (!win) return 1;
    ShowWindow(win, SW_SHOW);
    SetForegroundWindow(win);
    std::printf("window=%p\n", (void*)win);
    std::fflush(stdout);
    const DWORD end = GetTickCount() + DWORD(seconds) * 1000;
    while (GetTickCount() < end && IsWindow(win)) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    if (IsWindow(win)) DestroyWindow(win);
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "driver wait CLASS CAPTION MS | gone CLASS CAPTION MS | count CLASS [CAPTION] | info CLASS [CAPTION]\n"
                 "       children CLASS CAPTION | command CLASS CAPTION ID | post CLASS CAPTION MSG WPARAM LPARAM\n"
                 "       click CLASS CAPTION BUTTONTEXT | close CLASS CAPTION | exists PATH\n"
                 "       settext CLASS CAPTION N TEXT (N-th edit) | select CLASS CAPTION N ITEM (N-th combo box)\n"
                 "       items CLASS CAPTION N (the N-th combo box's items, one per line)\n"
                 "       lines CLASS CAPTION N (the N-th list box's lines) | rect CLASS CAPTION CHILDCLASS N (screen)\n"
                 "       trackbar CLASS CAPTION N POS (moved as by the keyboard)\n"
                 "       tabrect CLASS CAPTION N ITEM (the N-th tab control's tab ITEM on screen)\n"
                 "       endsession CLASS CAPTION (the system's query, then its end if agreed) | zorder -\n"
                 "       window SECONDS TOPMOST X Y W H (another program's window) | untop CLASS CAPTION\n");
    return 2;
}

}  // namespace

static int command(int argc, wchar_t** argv) {
    std::vector<std::string> a;
    for (int i = 1; i < argc; ++i) a.push_back(win32::narrow(argv[i]));
    if (a.size() < 2) return usage();
    const std::string& cmd = a[0];
    // Whether Wine sees a file, by a name that may hold any characters.
    if (cmd == "exists") return GetFileAttributesW(argv[2]) != INVALID_FILE_ATTRIBUTES ? 0 : 1;
    const std::string& cls = a[1];
    const char* caption = a.size() > 2 && a[2] != "*" ? a[2].c_str() : nullptr;
    auto number = [&](std::size_t i) { return i < a.size() ? std::strtoll(a[i].c_str(), nullptr, 0) : 0; };

    if (cmd == "wait" || cmd == "gone") {
        const int ms = int(number(3));
        if (cmd == "wait") {
            HWND h = waitFor(cls, caption, ms);
            if (!h) return 1;
            describe(h);
            return 0;
        }
        for (int waited = 0; !topLevel(cls, caption).empty(); waited += 50) {
            if (waited >= ms) return 1;
            Sleep(50);
        }
        return 0;
    }
    if (cmd == "zorder") {
        zorder();
        return 0;
    }
    if (cmd == "window" && a.size() > 6)
        return ownWindow(int(number(1)), number(2) != 0, int(number(3)), int(number(4)), int(number(5)), int(number(6)));
    if (cmd == "count") {
        std::printf("%zu\n", topLevel(cls, caption).size());
        return 0;
    }
    if (cmd == "info") {
        auto v = topLevel(cls, caption);
        for (HWND h : v) describe(h);
        return v.empty() ? 1 : 0;
    }
    HWND h = waitFor(cls, caption, 2000);
    if (!h) {
        std::fprintf(stderr, "no window %s / %s\n", cls.c_str(), caption ? caption : "*");
        return 1;
    }
    if (cmd == "children") {
        children(h);
        return 0;
    }
    if (cmd == "command") return PostMessageW(h, WM_COMMAND, WPARAM(number(3)), 0) ? 0 : 1;
    if (cmd == "post") return PostMessageW(h, UINT(number(3)), WPARAM(number(4)), LPARAM(number(5))) ? 0 : 1;
    if (cmd == "close") return PostMessageW(h, WM_CLOSE, 0, 0) ? 0 : 1;
    // What another program or the shell may do: take the topmost place away.
    if (cmd == "untop")
        return SetWindowPos(h, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) ? 0 : 1;
    // As the system asks at log-off: the answer must come at once.
    if (cmd == "endsession") {
        const DWORD t0 = GetTickCount();
        DWORD_PTR agreed = 0;
        const LRESULT ok = SendMessageTimeoutW(h, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                               &agreed);
        std::printf("query=%d agreed=%d ms=%lu\n", ok ? 1 : 0, int(agreed), GetTickCount() - t0);
        if (!ok || !agreed) return 1;
        DWORD_PTR r = 0;
        const LRESULT done = SendMessageTimeoutW(h, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &r);
        std::printf("end=%d ms=%lu\n", done ? 1 : 0, GetTickCount() - t0);
        return done ? 0 : 1;
    }
    if (cmd == "settext" && a.size() > 4) {
        HWND e = nthChild(h, "Edit", int(number(3)));
        if (!e) return 1;
        const std::wstring t = win32::widen(a[4]);
        DWORD_PTR r = 0;
        return SendMessageTimeoutW(e, WM_SETTEXT, 0, LPARAM(t.c_str()), SMTO_ABORTIFHUNG, 5000, &r) ? 0 : 1;
    }
    if ((cmd == "select" && a.size() > 4) || (cmd == "items" && a.size() > 3)) {
        HWND c = nthChild(h, "ComboBox", int(number(3)));
        if (!c) return 1;
        if (cmd == "items") {
            const int n = int(SendMessageW(c, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < n; ++i) {
                std::wstring w(std::size_t(SendMessageW(c, CB_GETLBTEXTLEN, WPARAM(i), 0)) + 1, L'\0');
                SendMessageW(c, CB_GETLBTEXT, WPARAM(i), LPARAM(w.data()));
                std::printf("%s\n", win32::narrow(w.c_str()).c_str());
            }
            return 0;
        }
        // As a user's choice: the selection, then the notice the list sends its window.
        SendMessageW(c, CB_SETCURSEL, WPARAM(number(4)), 0);
        return PostMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), CBN_SELCHANGE), LPARAM(c)) ? 0 : 1;
    }
    if (cmd == "lines" && a.size() > 3) {
        HWND l = nthChild(h, "ListBox", int(number(3)));
        if (!l) return 1;
        const int n = int(SendMessageW(l, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            std::wstring w(std::size_t(SendMessageW(l, LB_GETTEXTLEN, WPARAM(i), 0)) + 1, L'\0');
            SendMessageW(l, LB_GETTEXT, WPARAM(i), LPARAM(w.data()));
            std::printf("%s\n", win32::narrow(w.c_str()).c_str());
        }
        return 0;
    }
    if (cmd == "rect" && a.size() > 4) {
        HWND c = nthChild(h, a[3], int(number(4)));
        RECT r{};
        if (!c || !GetWindowRect(c, &r)) return 1;
        std::printf("x=%ld y=%ld w=%ld h=%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (cmd == "trackbar" && a.size() > 4) {
        HWND t = nthChild(h, "msctls_trackbar32", int(number(3)));
        if (!t) return 1;
        const LPARAM pos = LPARAM(number(4));
        DWORD_PTR r = 0;
        SendMessageTimeoutW(t, TBM_SETPOS, TRUE, pos, SMTO_ABORTIFHUNG, 5000, &r);
        // The notice a key press on the bar sends its window.
        return SendMessageTimeoutW(GetParent(t), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), LPARAM(t), SMTO_ABORTIFHUNG,
                                   5000, &r) ? 0 : 1;
    }
    if (cmd == "tabrect" && a.size() > 4) {
        // A tab's place on screen, for a click on it: button tabs move only the focus with the arrows.
        // The control writes the rectangle into memory of its own process.
        HWND t = nthChild(h, "SysTabControl32", int(number(3)));
        DWORD pid = 0;
        if (!t || !GetWindowThreadProcessId(t, &pid)) return 1;
        struct Remote {
            HANDLE process;
            void* at;
            ~Remote() {
                if (at) VirtualFreeEx(process, at, 0, MEM_RELEASE);
                if (process) CloseHandle(process);
            }
        } remote{OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid), nullptr};
        if (!remote.process) return 1;
        remote.at = VirtualAllocEx(remote.process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
        RECT r{};
        DWORD_PTR got = 0;
        if (!remote.at ||
            !SendMessageTimeoutW(t, TCM_GETITEMRECT, WPARAM(number(4)), LPARAM(remote.at), SMTO_ABORTIFHUNG, 5000,
                                 &got) ||
            !got || !ReadProcessMemory(remote.process, remote.at, &r, sizeof r, nullptr))
            return 1;
        MapWindowPoints(t, nullptr, reinterpret_cast<POINT*>(&r), 2);
        std::printf("x=%ld y=%ld w=%ld h=%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (cmd == "click" && a.size() > 3) {
        HWND b = childByText(h, a[3]);
        if (!b) return 1;
        return PostMessageW(b, BM_CLICK, 0, 0) ? 0 : 1;
    }
    return usage();
}

// A start that Wine lost ends with exit code 1 and not a word; this line tells
// the harness that the driver ran, whatever it answered.
int wmain(int argc, wchar_t** argv) {
    const int rc = command(argc, argv);
    std::fflush(stdout);
    std::fprintf(stderr, "driver: exit code %d\n", rc);
    return rc;
}
