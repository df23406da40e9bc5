// The system's file dialogs, with the program's own say on each confirmed file.
#include <windows.h>
#include "win32/CommonDialogs.h"
#include "win32/Edge.h"
#include "win32/Text.h"
#include "win32/Win32Ui.h"

namespace win32 {

namespace {

// Long enough for any path the dialog can hand back.
constexpr DWORD kPathBuffer = 32768;

UINT_PTR CALLBACK fileHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_NOTIFY) return 0;
    const auto* n = reinterpret_cast<const OFNOTIFYW*>(lParam);
    if (n->hdr.code != CDN_FILEOK || !n->lpOFN) return 0;
    const auto* request = reinterpret_cast<const ui::FileDialog*>(n->lpOFN->lCustData);
    bool accept = true;
    try {
        if (request && request->canClose) accept = request->canClose(narrow(n->lpOFN->lpstrFile));
    } catch (...) {
        logUnhandled();  // the dialog closes empty-handed rather than on a file nobody checked
        accept = false;
    }
    // A non-zero result keeps the dialog open.
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, accept ? 0 : 1);
    return TRUE;
}

}  // namespace

std::optional<std::string> Win32Ui::fileDialog(const ui::FileDialog& request, bool save) {
    // Descriptions and patterns, each ended by a nul, the list by another.
    std::wstring filter;
    for (const auto& [description, patterns] : request.filter) {
        filter += widen(description);
        filter += L'\0';
        filter += widen(patterns);
        filter += L'\0';
    }
    filter += L'\0';
    const std::wstring title = widen(request.title), folder = widen(request.initialDir),
                       extension = widen(request.defaultExt), name = widen(request.initialName);
    std::wstring file(kPathBuffer, L'\0');
    name.copy(file.data(), kPathBuffer - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = request.owner ? HWND(request.owner) : GetActiveWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kPathBuffer;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING |
                (save ? OFN_NOVALIDATE | OFN_NOTESTFILECREATE
                      : OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_SHAREAWARE);
    ofn.lpfnHook = fileHook;
    ofn.lCustData = LPARAM(&request);
    const auto show = [&] { return save ? commonDialogs::getSaveFileName(ofn) : commonDialogs::getOpenFileName(ofn); };
    if (!systemDialog(show)) return std::nullopt;
    return narrow(file.c_str());
}

std::optional<std::string> Win32Ui::openFile(const ui::OpenFileDialog& request) { return fileDialog(request, false); }

std::optional<std::string> Win32Ui::saveFile(const ui::SaveFileDialog& request) { return fileDialog(request, true); }

}  // namespace win32
