#include "win32/CommonControls.h"
#include "win32/Entry.h"

namespace win32::commonControls {

namespace {

struct Library {
    HMODULE module = nullptr;
    decltype(&SetWindowSubclass) setSubclass = nullptr;
    decltype(&RemoveWindowSubclass) removeSubclass = nullptr;
    decltype(&DefSubclassProc) defProc = nullptr;
};

// Loaded once: the classes it registers serve every window made afterwards.
const Library& library() {
    static const Library lib = [] {
        Library l;
        l.module = LoadLibraryW(L"comctl32.dll");
        if (!l.module) return l;
        if (const auto init = entry<decltype(&InitCommonControlsEx)>(l.module, "InitCommonControlsEx")) {
            const INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                                             ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                                             ICC_TAB_CLASSES};
            init(&icc);
        }
        l.setSubclass = entry<decltype(&SetWindowSubclass)>(l.module, "SetWindowSubclass");
        l.removeSubclass = entry<decltype(&RemoveWindowSubclass)>(l.module, "RemoveWindowSubclass");
        l.defProc = entry<decltype(&DefSubclassProc)>(l.module, "DefSubclassProc");
        return l;
    }();
    return lib;
}

}  // namespace

bool load() { return library().module != nullptr; }

bool setWindowSubclass(HWND h, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    const auto fn = library().setSubclass;
    return fn && fn(h, proc, id, data);
}

bool removeWindowSubclass(HWND h, SUBCLASSPROC proc, UINT_PTR id) {
    const auto fn = library().removeSubclass;
    return fn && fn(h, proc, id);
}

LRESULT defSubclassProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto fn = library().defProc;
    // Only a subclassed window comes here, and subclassing needed the library.
    return fn ? fn(h, msg, wParam, lParam) : DefWindowProcW(h, msg, wParam, lParam);
}

}  // namespace win32::commonControls
