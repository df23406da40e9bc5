#include "win32/UiResources.h"
#include <algorithm>
#include "ui/Dpi.h"
#include "win32/Text.h"

namespace win32 {

Resources::FontKey Resources::keyOf(const ui::Font& f, bool crisp, int dpi) {
    return {f.name, ui::dpi::toPixels(f.pixelHeight(), dpi), f.bold, f.italic, f.underline, f.strikeOut, crisp};
}

HFONT Resources::font(const ui::Font& f, bool crisp, int dpi) { return font(f, keyOf(f, crisp, dpi)); }

HFONT Resources::font(const ui::Font& f, const FontKey& wanted) {
    FontKey key = wanted;
    const bool crisp = key.crisp;
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second.get();
    // Fonts are never evicted: windows may still hold one through WM_SETFONT.
    HFONT h = CreateFontW(-key.height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic, f.underline, f.strikeOut,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          crisp ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          widen(f.name).c_str());
    if (!h) h = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    else fonts_.emplace(std::move(key), UniqueFont(h));
    return h;
}

HBRUSH Resources::brush(COLORREF c) {
    auto it = brushes_.find(c);
    if (it != brushes_.end()) return it->second.get();
    HBRUSH b = CreateSolidBrush(c);
    brushes_.emplace(c, UniqueBrush(b));
    return b;
}

ui::Size Resources::measure(const ui::Font& f, const std::string& text, bool crisp, int dpi) {
    auto key = std::make_pair(keyOf(f, crisp, dpi), text);
    if (auto it = sizes_.find(key); it != sizes_.end()) return it->second;
    if (sizes_.size() >= kMaxSizes) sizes_.clear();

    ui::Size result;
    if (scratch_.resize(1, 1)) {
        const std::wstring w = widen(text);
        SIZE s{};
        {
            const Selected font(scratch_.dc(), this->font(f, key.first));
            if (w.empty()) {
                GetTextExtentPoint32W(scratch_.dc(), L" ", 1, &s);
                s.cx = 0;
            } else {
                GetTextExtentPoint32W(scratch_.dc(), w.c_str(), int(w.size()), &s);
            }
        }
        result = {int(s.cx), int(s.cy)};
        if (!w.empty()) result.width = std::max(result.width, paintedWidth(this->font(f, key.first), w, s));
    }
    sizes_.emplace(std::move(key), result);
    return result;
}

// Some glyph runs are painted a few pixels wider than their reported extent
// (1-2 % for long Cyrillic lines under Wine): the label must hold what is painted.
int Resources::paintedWidth(HFONT font, const std::wstring& text, SIZE extent) {
    const int width = extent.cx + extent.cx / 8 + extent.cy, height = std::max<int>(extent.cy, 1);
    // Painted on a surface of its own that goes with the answer: the clock's
    // large digits would otherwise keep a quarter of a megabyte for good.
    Surface canvas;
    if (!canvas.resize(width, height)) return 0;
    const int stride = canvas.width();
    std::fill_n(canvas.bits(), std::size_t(stride) * canvas.height(), 0xFFFFFFu);
    {
        const Selected selected(canvas.dc(), font);
        SetBkMode(canvas.dc(), TRANSPARENT);
        SetTextColor(canvas.dc(), 0);
        RECT r{0, 0, width, height};
        DrawTextW(canvas.dc(), text.c_str(), int(text.size()), &r, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS);
        GdiFlush();
    }
    int right = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = canvas.bits() + std::size_t(y) * stride;
        for (int x = width - 1; x > right; --x)
            if ((row[x] & 0xFFFFFF) != 0xFFFFFF) {
                right = x;
                break;
            }
    }
    return right + 1;
}

}  // namespace win32
