#pragma once
// GDI objects shared by every window of the program.
#include <windows.h>
#include <compare>
#include <map>
#include <string>
#include <utility>
#include "ui/Geometry.h"
#include "win32/Handles.h"
#include "win32/UiSurface.h"

namespace win32 {

class Resources {
public:
    Resources() = default;
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;

    // `crisp` turns antialiasing off: on a colour-keyed window blended glyph
    // edges would leave a fringe of near-key pixels around the text. The font's
    // height is the model's, drawn at `dpi`.
    HFONT font(const ui::Font&, bool crisp, int dpi);
    HBRUSH brush(COLORREF);
    // The room in pixels the text takes when painted in that font at `dpi`;
    // an empty text has the line height.
    ui::Size measure(const ui::Font&, const std::string& text, bool crisp, int dpi);
    std::size_t cachedSizes() const { return sizes_.size(); }

    // The clock asks for the same few texts many times a second; beyond this
    // many distinct texts the cache starts over.
    static constexpr std::size_t kMaxSizes = 64;

private:
    struct FontKey {
        std::string name;
        int height;
        bool bold, italic, underline, strikeOut, crisp;
        auto operator<=>(const FontKey&) const = default;
    };
    static FontKey keyOf(const ui::Font&, bool crisp, int dpi);
    HFONT font(const ui::Font&, const FontKey&);
    int paintedWidth(HFONT, const std::wstring& text, SIZE extent);

    std::map<FontKey, UniqueFont> fonts_;
    std::map<COLORREF, UniqueBrush> brushes_;
    std::map<std::pair<FontKey, std::string>, ui::Size> sizes_;
    Surface scratch_;  // one pixel of the kind texts are painted on, for their extents
};

}  // namespace win32
