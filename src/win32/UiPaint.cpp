#include "win32/UiPaint.h"
#include <algorithm>
#include "ui/Dpi.h"
#include "win32/Text.h"
#include "win32/UiSurface.h"

namespace win32 {

// ---- pixels ------------------------------------------------------------------------

ui::Bitmap fromDib(const std::uint32_t* pixels, int width, int height) {
    ui::Bitmap b(width, height);
    for (std::size_t i = 0; i < b.pixels.size(); ++i) b.pixels[i] = swapRedBlue(pixels[i]) & 0xFFFFFF;
    return b;
}

ui::Bitmap readBitmap(HBITMAP h) {
    BITMAP bm{};
    if (!h || !GetObjectW(h, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) return {};
    const int w = bm.bmWidth, ht = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    BITMAPINFO bi = topDownDib(w, ht);
    // Straight into the picture and converted in place: a picture-sized buffer
    // freed at once would stay behind as a hole in the heap.
    static_assert(sizeof(ui::Color) == sizeof(std::uint32_t));
    ui::Bitmap b(w, ht);
    const WindowDc screen(nullptr);
    if (GetDIBits(screen.get(), h, 0, UINT(ht), b.pixels.data(), &bi, DIB_RGB_COLORS) != ht) return {};
    for (ui::Color& c : b.pixels) c = swapRedBlue(c) & 0xFFFFFF;
    return b;
}

// ---- geometry ----------------------------------------------------------------------

ui::Rect imageRect(ui::Size box, ui::Size picture, bool stretch, bool proportional, bool center) {
    if (picture.width <= 0 || picture.height <= 0) return {};
    long long w = picture.width, h = picture.height;
    if (stretch || (proportional && (w > box.width || h > box.height))) {
        if (proportional) {
            // The side that meets its edge first decides the scale.
            if (box.width * h <= box.height * w) {
                h = box.width * h / w;
                w = box.width;
            } else {
                w = box.height * w / h;
                h = box.height;
            }
        } else {
            w = box.width;
            h = box.height;
        }
    }
    ui::Rect r{0, 0, int(w), int(h)};
    if (center) {
        r.left = (box.width - r.width) / 2;
        r.top = (box.height - r.height) / 2;
    }
    return r;
}

namespace {

COLORREF solid(ui::Color c, int systemColour) {
    return c == ui::kDefaultColor ? GetSysColor(systemColour) : COLORREF(c);
}

RECT toRect(const ui::Rect& r) { return {r.left, r.top, r.right(), r.bottom()}; }

void paintText(HDC dc, Resources& res, const ui::Control& c, RECT r, UINT format, const RenderOptions& o) {
    if (c.caption().empty()) return;
    const Selected font(dc, res.font(c.font(), o.crisp, o.dpi));
    SetTextColor(dc, c.enabled() ? COLORREF(c.font().color) : GetSysColor(COLOR_GRAYTEXT));
    const std::wstring text = widen(c.caption());
    DrawTextW(dc, text.c_str(), int(text.size()), &r, format | DT_NOPREFIX);
}

void paintLabel(HDC dc, Resources& res, const ui::Label& l, const RECT& r, const RenderOptions& o) {
    if (!l.transparent) FillRect(dc, &r, res.brush(solid(l.color() == ui::kDefaultColor ? colourBehind(l) : l.color(), COLOR_BTNFACE)));
    paintText(dc, res, l, r, DT_LEFT | DT_TOP | DT_EXPANDTABS | (l.wordWrap ? DT_WORDBREAK : 0), o);
}

void paintPanel(HDC dc, Resources& res, const ui::Panel& p, RECT r, const RenderOptions& o) {
    FillRect(dc, &r, res.brush(solid(panelColour(p), COLOR_BTNFACE)));
    if (p.bevel) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    if (p.innerLowered) {
        RECT inner = r;
        if (p.bevel) InflateRect(&inner, -1, -1);
        DrawEdge(dc, &inner, BDR_SUNKENOUTER, BF_RECT);
    }
    if (p.caption().empty()) return;
    // A caption wider than the panel goes onto more lines, still centred, rather than being cut.
    const int margin = ui::dpi::toPixels(4, o.dpi);
    RECT need = r;
    InflateRect(&need, -margin, 0);
    {
        const Selected font(dc, res.font(p.font(), o.crisp, o.dpi));
        const std::wstring text = widen(p.caption());
        DrawTextW(dc, text.c_str(), int(text.size()), &need, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    }
    if (need.right - need.left <= r.right - r.left - 2 * margin && need.bottom - need.top > 0 &&
        need.bottom - need.top < r.bottom - r.top) {
        RECT box = r;
        InflateRect(&box, -margin, 0);
        box.top = r.top + ((r.bottom - r.top) - (need.bottom - need.top)) / 2;
        box.bottom = box.top + (need.bottom - need.top);
        paintText(dc, res, p, box, DT_CENTER | DT_WORDBREAK, o);
        return;
    }
    paintText(dc, res, p, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, o);
}

// The picture at its drawn size, written straight into the surface's pixels.
void paintImage(Surface& s, const ui::Image& img, const RECT& r, const RECT& clip, const RenderOptions& o) {
    const ui::Bitmap& pic = img.picture();
    if (pic.empty() || pic.pixels.size() != std::size_t(pic.width) * pic.height) return;
    // The picture's own size is in model units too: a 15-pixel mark is 15 pixels at 96 dpi.
    const ui::Size natural{ui::dpi::toPixels(pic.width, o.dpi), ui::dpi::toPixels(pic.height, o.dpi)};
    ui::Rect d = imageRect({int(r.right - r.left), int(r.bottom - r.top)}, natural, img.stretch, img.proportional,
                           img.center);
    if (d.width <= 0 || d.height <= 0) return;
    d.left += r.left;
    d.top += r.top;
    const int x0 = std::max({d.left, int(r.left), int(clip.left), 0});
    const int y0 = std::max({d.top, int(r.top), int(clip.top), 0});
    const int x1 = std::min({d.right(), int(r.right), int(clip.right), s.width()});
    const int y1 = std::min({d.bottom(), int(r.bottom), int(clip.bottom), s.height()});
    if (x0 >= x1 || y0 >= y1) return;
    ui::Bitmap made;
    const ui::Bitmap* shown = &pic;
    if (d.width != pic.width || d.height != pic.height) {
        if (o.picture) {
            shown = &o.picture(img, {d.width, d.height});
        } else {
            made = scaledPicture(img, {d.width, d.height});
            shown = &made;
        }
        if (shown->width != d.width || shown->height != d.height) return;
    }
    GdiFlush();  // what GDI drew below must be in the pixels first
    const ui::Color key = pic.at(0, pic.height - 1);
    for (int y = y0; y < y1; ++y) {
        std::uint32_t* row = s.bits() + std::size_t(y) * s.width();
        for (int x = x0; x < x1; ++x) {
            const ui::Color c = shown->at(x - d.left, y - d.top);
            if (img.transparent && c == key) continue;
            row[x] = swapRedBlue(c);
        }
    }
}

void paintPageBody(HDC dc, Resources& res, RECT r, int tabRow) {
    r.top += tabRow;
    if (r.top >= r.bottom) return;
    FillRect(dc, &r, res.brush(GetSysColor(COLOR_BTNFACE)));
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
}

}  // namespace

ui::Color colourBehind(const ui::Control& c) {
    for (const ui::Control* p = c.parent(); p; p = p->parent()) {
        if (p->kind() == ui::ControlKind::Panel && p->color() != ui::kDefaultColor) return p->color();
        if (p->kind() == ui::ControlKind::TabSheet || p->kind() == ui::ControlKind::PageControl)
            return GetSysColor(COLOR_BTNFACE);
    }
    return c.form() ? c.form()->color() : ui::kBtnFace;
}

ui::Bitmap scaledPicture(const ui::Image& img, ui::Size size) {
    return ui::dpi::resample(img.picture(), size.width, size.height, img.transparent);
}

ui::Color panelColour(const ui::Control& c) { return c.color() != ui::kDefaultColor ? c.color() : colourBehind(c); }

void renderForm(Resources& res, const ui::Form& form, Surface& s, const RECT& area, const RenderOptions& o) {
    const RECT all{0, 0, s.width(), s.height()};
    RECT clip;
    if (!IntersectRect(&clip, &area, &all)) return;
    HDC dc = s.dc();
    {
        const SavedDc saved(dc);
        IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
        FillRect(dc, &clip, res.brush(solid(form.color(), COLOR_BTNFACE)));
        SetBkMode(dc, TRANSPARENT);
        for (const auto& owned : form.controls()) {
            const ui::Control& c = *owned;
            const ui::ControlKind k = c.kind();
            if (!c.isGraphic() && k != ui::ControlKind::PageControl) continue;
            if (o.shown && !o.shown(c)) continue;
            const RECT r = toRect(ui::dpi::toPixels(c.clientBounds(), o.dpi));
            RECT overlap;
            if (!IntersectRect(&overlap, &r, &clip)) continue;
            switch (k) {
                case ui::ControlKind::Label: paintLabel(dc, res, static_cast<const ui::Label&>(c), r, o); break;
                case ui::ControlKind::Panel: paintPanel(dc, res, static_cast<const ui::Panel&>(c), r, o); break;
                case ui::ControlKind::Image: paintImage(s, static_cast<const ui::Image&>(c), r, clip, o); break;
                case ui::ControlKind::PageControl: paintPageBody(dc, res, r, o.tabRow ? o.tabRow(c) : 0); break;
                default: break;
            }
        }
    }
    GdiFlush();
}

}  // namespace win32
