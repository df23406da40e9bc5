#include "ui/Dpi.h"
#include <algorithm>
#include <cstdint>

namespace ui::dpi {

namespace {
int divRound(long long n, long long d) { return int(n >= 0 ? (2 * n + d) / (2 * d) : -((-2 * n + d) / (2 * d))); }
}  // namespace

int toPixels(int length, int dpi) { return divRound((long long)length * dpi, kModel); }

int toModel(int pixels, int dpi) { return dpi > 0 ? divRound((long long)pixels * kModel, dpi) : pixels; }

int toModelCeil(int pixels, int dpi) {
    if (dpi <= 0) return pixels;
    const long long n = (long long)pixels * kModel;
    return int(n >= 0 ? (n + dpi - 1) / dpi : -(-n / dpi));
}

Rect toPixels(const Rect& r, int dpi) {
    const int left = toPixels(r.left, dpi), top = toPixels(r.top, dpi);
    return {left, top, toPixels(r.right(), dpi) - left, toPixels(r.bottom(), dpi) - top};
}

// Each target pixel covers a box of the source; the source pixels inside it
// weigh by the area they share with it (in units of 1/(width*height)).
Bitmap resample(const Bitmap& src, int width, int height, bool keyed) {
    if (src.empty() || width <= 0 || height <= 0 || src.pixels.size() != std::size_t(src.width) * src.height) return {};
    if (width == src.width && height == src.height) return src;
    const Color key = src.at(0, src.height - 1);
    Bitmap out(width, height);
    const long long sw = src.width, sh = src.height;
    for (int y = 0; y < height; ++y) {
        // The box in source units times the target size: [y*sh, (y+1)*sh).
        const long long y0 = y * sh, y1 = y0 + sh;
        for (int x = 0; x < width; ++x) {
            const long long x0 = x * sw, x1 = x0 + sw;
            long long weight = 0, keyWeight = 0, r = 0, g = 0, b = 0;
            for (long long sy = y0 / height; sy < sh && sy * height < y1; ++sy) {
                const long long wy = std::min(y1, (sy + 1) * height) - std::max(y0, sy * height);
                for (long long sx = x0 / width; sx < sw && sx * width < x1; ++sx) {
                    const long long w = wy * (std::min(x1, (sx + 1) * width) - std::max(x0, sx * width));
                    const Color c = src.at(int(sx), int(sy));
                    if (keyed && c == key) {
                        keyWeight += w;
                        continue;
                    }
                    weight += w;
                    r += w * (c & 0xFF);
                    g += w * ((c >> 8) & 0xFF);
                    b += w * ((c >> 16) & 0xFF);
                }
            }
            if (weight == 0 || (keyed && keyWeight >= weight)) {
                out.at(x, y) = keyed ? key : Color(0);
                continue;
            }
            Color c = Color((r + weight / 2) / weight) | Color((g + weight / 2) / weight) << 8 |
                      Color((b + weight / 2) / weight) << 16;
            if (keyed && c == key) c ^= 1;  // a colour next to the key is not the key
            out.at(x, y) = c;
        }
    }
    return out;
}

}  // namespace ui::dpi
