#pragma once
#include <optional>
#include <vector>
#include "ui/Geometry.h"

namespace ui {

// One monitor as the window system reports it, in the coordinates of the
// forms: the whole screen, and the part of it the taskbar and its kin leave free.
struct Monitor {
    Rect area;
    Rect work;
    bool operator==(const Monitor&) const = default;
};

// Where a window at `window` should stand so that it can be seen and taken
// hold of: nothing when it may stay where it is (enough of it lies on some
// monitor), otherwise its top-left corner moved into the work area of the
// nearest monitor. No monitors: nothing is known, it stays.
std::optional<Point> placeOnScreen(const Rect& window, const std::vector<Monitor>& monitors);

}  // namespace ui
