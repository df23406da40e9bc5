#include "win32/CommonDialogs.h"
#include "win32/Entry.h"
#include <string>

namespace win32::commonDialogs {

namespace {

struct Library {
    decltype(&GetOpenFileNameW) openFile = nullptr;
    decltype(&GetSaveFileNameW) saveFile = nullptr;
    decltype(&ChooseFontW) font = nullptr;
    decltype(&ChooseColorW) color = nullptr;
};

// From the system folder by its full path: a file of the same name beside
// Lumivo.exe must never be the one that runs.
const Library& library() {
    static const Library lib = [] {
        Library l;
        wchar_t dir[MAX_PATH] = {};
        const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return l;
        const std::wstring path = std::wstring(dir) + L"\\comdlg32.dll";
        const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!module) return l;
        l.openFile = entry<decltype(&GetOpenFileNameW)>(module, "GetOpenFileNameW");
        l.saveFile = entry<decltype(&GetSaveFileNameW)>(module, "GetSaveFileNameW");
        l.font = entry<decltype(&ChooseFontW)>(module, "ChooseFontW");
        l.color = entry<decltype(&ChooseColorW)>(module, "ChooseColorW");
        return l;
    }();
    return lib;
}

}  // namespace

BOOL getOpenFileName(OPENFILENAMEW& ofn) {
    const auto fn = library().openFile;
    return fn ? fn(&ofn) : FALSE;
}

BOOL getSaveFileName(OPENFILENAMEW& ofn) {
    const auto fn = library().saveFile;
    return fn ? fn(&ofn) : FALSE;
}

BOOL chooseFont(CHOOSEFONTW& cf) {
    const auto fn = library().font;
    return fn ? fn(&cf) : FALSE;
}

BOOL chooseColor(CHOOSECOLORW& cc) {
    const auto fn = library().color;
    return fn ? fn(&cc) : FALSE;
}

}  // namespace win32::commonDialogs
