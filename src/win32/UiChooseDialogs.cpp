// The system's font and colour dialogs.
#include <windows.h>
#include <dlgs.h>
#include <cstdlib>
#include "win32/CommonDialogs.h"
#include "win32/Edge.h"
#include "win32/Handles.h"
#include "win32/Text.h"
#include "win32/Win32Ui.h"

namespace win32 {

namespace {

// What the font dialog's hook needs: the request, and the window system to
// bring the windows in line after an Apply changed the model.
struct FontCall {
    const ui::FontDialog& request;
    Win32Ui& ui;
    const CHOOSEFONTW* dialog = nullptr;
};

constexpr const wchar_t* kFontCall = L"LumivoFontCall";

// The dialog measures heights at the screen's resolution, not at the model's
// 96 dpi: there a font's height in pixels says its size in points.
int screenDpi() {
    const WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

int pointsOf(LONG height) { return MulDiv(int(std::labs(height)), 72, screenDpi()); }

ui::Font fontOf(const LOGFONTW& lf, COLORREF colour, int points) {
    ui::Font f;
    f.name = narrow(lf.lfFaceName);
    f.size = points;
    f.color = ui::Color(colour);
    f.bold = lf.lfWeight >= FW_BOLD;
    f.italic = lf.lfItalic != 0;
    f.underline = lf.lfUnderline != 0;
    f.strikeOut = lf.lfStrikeOut != 0;
    return f;
}

// The font as the open dialog shows it now; its colour is the colour list's choice.
ui::Font shownFont(HWND dialog, COLORREF fallback) {
    LOGFONTW lf{};
    SendMessageW(dialog, WM_CHOOSEFONT_GETLOGFONT, 0, LPARAM(&lf));
    COLORREF colour = fallback;
    if (const HWND colours = GetDlgItem(dialog, cmb4)) {
        const LRESULT index = SendMessageW(colours, CB_GETCURSEL, 0, 0);
        if (index != CB_ERR) colour = COLORREF(SendMessageW(colours, CB_GETITEMDATA, WPARAM(index), 0));
    }
    return fontOf(lf, colour, pointsOf(lf.lfHeight));
}

UINT_PTR CALLBACK fontHook(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: {
            const auto* cf = reinterpret_cast<const CHOOSEFONTW*>(lParam);
            auto* call = reinterpret_cast<FontCall*>(cf->lCustData);
            call->dialog = cf;
            SetPropW(dialog, kFontCall, HANDLE(call));
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == psh3 && HIWORD(wParam) == BN_CLICKED) {
                auto* call = static_cast<FontCall*>(GetPropW(dialog, kFontCall));
                if (!call || !call->request.onApply) return TRUE;
                try {
                    call->request.onApply(shownFont(dialog, call->dialog->rgbColors));
                    call->ui.flushAll();
                } catch (...) {
                    logUnhandled();
                }
                return TRUE;
            }
            break;
        case WM_DESTROY: RemovePropW(dialog, kFontCall); break;
        default: break;
    }
    return FALSE;
}

}  // namespace

std::optional<ui::Font> Win32Ui::chooseFont(const ui::FontDialog& request) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(request.font.size, screenDpi(), 72);
    lf.lfWeight = request.font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = request.font.italic;
    lf.lfUnderline = request.font.underline;
    lf.lfStrikeOut = request.font.strikeOut;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, widen(request.font.name).c_str(), LF_FACESIZE);
    FontCall call{request, *this};
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = request.owner ? HWND(request.owner) : GetActiveWindow();
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE | CF_APPLY | CF_ENABLEHOOK;
    cf.rgbColors = COLORREF(request.font.color);
    cf.nSizeMin = request.minSize;
    cf.nSizeMax = request.maxSize;
    cf.lpfnHook = fontHook;
    cf.lCustData = LPARAM(&call);
    if (!systemDialog([&] { return commonDialogs::chooseFont(cf); })) return std::nullopt;
    return fontOf(lf, cf.rgbColors, cf.iPointSize / 10);
}

std::optional<ui::Color> Win32Ui::chooseColor(ui::Color initial, platform::WindowId owner) {
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner ? HWND(owner) : GetActiveWindow();
    cc.rgbResult = COLORREF(initial);
    cc.lpCustColors = customColours_.data();
    cc.Flags = CC_RGBINIT | CC_SOLIDCOLOR | CC_ANYCOLOR;
    if (!systemDialog([&] { return commonDialogs::chooseColor(cc); })) return std::nullopt;
    return ui::Color(cc.rgbResult);
}

}  // namespace win32
