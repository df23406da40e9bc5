#pragma once
// Owners of operating-system handles: each closes its handle exactly once.
#include <windows.h>
#include <utility>

namespace win32 {

template <class H, class Closer>
class Unique {
public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    ~Unique() { reset(); }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, H{});
        }
        return *this;
    }
    H get() const { return h_; }
    explicit operator bool() const { return h_ != H{}; }
    H release() { return std::exchange(h_, H{}); }
    void reset(H h = H{}) {
        if (h_ != H{}) Closer{}(h_);
        h_ = h;
    }

private:
    H h_{};
};

struct CloseKey { void operator()(HKEY h) const { RegCloseKey(h); } };
struct CloseHandleFn { void operator()(HANDLE h) const { CloseHandle(h); } };
struct DeleteGdi { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct DeleteDc { void operator()(HDC h) const { DeleteDC(h); } };
struct DestroyMenuFn { void operator()(HMENU h) const { DestroyMenu(h); } };
struct DestroyWindowFn { void operator()(HWND h) const { DestroyWindow(h); } };
struct DestroyIconFn { void operator()(HICON h) const { DestroyIcon(h); } };
struct FreeLibraryFn { void operator()(HMODULE h) const { FreeLibrary(h); } };

using UniqueKey = Unique<HKEY, CloseKey>;
using UniqueHandle = Unique<HANDLE, CloseHandleFn>;
using UniqueFont = Unique<HFONT, DeleteGdi>;
using UniqueBitmap = Unique<HBITMAP, DeleteGdi>;
using UniqueBrush = Unique<HBRUSH, DeleteGdi>;
using UniqueRegion = Unique<HRGN, DeleteGdi>;
using UniqueDc = Unique<HDC, DeleteDc>;
using UniqueMenu = Unique<HMENU, DestroyMenuFn>;
using UniqueWindow = Unique<HWND, DestroyWindowFn>;
using UniqueIcon = Unique<HICON, DestroyIconFn>;
using UniqueLibrary = Unique<HMODULE, FreeLibraryFn>;
struct UnhookWinEventFn { void operator()(HWINEVENTHOOK h) const { UnhookWinEvent(h); } };
using UniqueWinEventHook = Unique<HWINEVENTHOOK, UnhookWinEventFn>;

// A window's device context, released to that window.
class WindowDc {
public:
    explicit WindowDc(HWND w) : w_(w), dc_(GetDC(w)) {}
    ~WindowDc() { if (dc_) ReleaseDC(w_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND w_;
    HDC dc_;
};

// Selects an object into a DC for a scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves a DC's state (clip region, selected objects, colours) for a scope.
class SavedDc {
public:
    explicit SavedDc(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~SavedDc() { if (id_) RestoreDC(dc_, id_); }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int id_;
};

}  // namespace win32
