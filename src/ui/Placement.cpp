#include "ui/Placement.h"
#include <algorithm>
#include <cstdint>
#include <limits>

namespace ui {

namespace {

int overlap(int a0, int a1, int b0, int b1) { return std::max(0, std::min(a1, b1) - std::max(a0, b0)); }

// Half of the window each way (or all the monitor has) lying on one monitor
// leaves it readable and easy to grab: a clock the user pushed partly over
// an edge stays there.
bool enoughOn(const Rect& w, const Rect& m) {
    const int needW = std::min((w.width + 1) / 2, m.width), needH = std::min((w.height + 1) / 2, m.height);
    return overlap(w.left, w.right(), m.left, m.right()) >= std::max(needW, 1) &&
           overlap(w.top, w.bottom(), m.top, m.bottom()) >= std::max(needH, 1);
}

// Squared distance between the two rectangles; 0 when they touch or overlap.
std::int64_t gap(const Rect& a, const Rect& b) {
    const std::int64_t dx = std::max({0, b.left - a.right(), a.left - b.right()});
    const std::int64_t dy = std::max({0, b.top - a.bottom(), a.top - b.bottom()});
    return dx * dx + dy * dy;
}

// Inside [lo, hi) as far as it fits; a window larger than the space starts at lo.
int clampInto(int pos, int size, int lo, int hi) { return std::max(lo, std::min(pos, hi - size)); }

}  // namespace

std::optional<Point> placeOnScreen(const Rect& window, const std::vector<Monitor>& monitors) {
    if (monitors.empty()) return std::nullopt;
    for (const Monitor& m : monitors)
        if (enoughOn(window, m.area)) return std::nullopt;
    // The nearest monitor; among those the window touches, the one it covers most.
    const Monitor* best = nullptr;
    std::int64_t bestGap = std::numeric_limits<std::int64_t>::max(), bestCover = -1;
    for (const Monitor& m : monitors) {
        const std::int64_t g = gap(window, m.area);
        const std::int64_t cover = std::int64_t(overlap(window.left, window.right(), m.area.left, m.area.right())) *
                                   overlap(window.top, window.bottom(), m.area.top, m.area.bottom());
        if (g < bestGap || (g == bestGap && cover > bestCover)) {
            best = &m;
            bestGap = g;
            bestCover = cover;
        }
    }
    const Rect& w = best->work.width > 0 && best->work.height > 0 ? best->work : best->area;
    const Point p{clampInto(window.left, window.width, w.left, w.right()),
                  clampInto(window.top, window.height, w.top, w.bottom())};
    if (p.x == window.left && p.y == window.top) return std::nullopt;
    return p;
}

}  // namespace ui
