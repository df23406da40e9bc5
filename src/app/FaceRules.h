#pragma once
#include <string>
#include <vector>
#include "platform/Types.h"
#include "ui/Geometry.h"

namespace app {

// The time pattern of the three format settings: "h:nn", "hh:nn:ss", "am/pm h:nn"...
std::string timePattern(bool zeroFirstView, bool secondsView, bool ampm24);

// Formats `t` by a pattern of h, hh, nn, ss, ":" (the system's time separator)
// and am/pm (which switches the hours after it to the 12-hour clock).
std::string formatTime(const std::string& pattern, const platform::LocalTime& t, const std::string& timeSeparator);

// One step of the fade-in. Corrects an out-of-range AlphaSet to 255, raises
// the opacity by one toward the target, or jumps to it after an error restart.
struct FadeStep {
    int alpha;          // the window's new opacity
    int target;         // alphaUSet
    bool finished;      // the target was already reached: steady rhythm from now on
};
FadeStep fadeInStep(int& AlphaSet, int AlphaUsed, int currentAlpha, int& SplashScreenNotError);

// The window shape of systems without transparency: the rectangle of all
// columns but the last and all rows but the last, less every pixel of exactly
// the mask colour, as horizontal runs of kept pixels (one rectangle each).
std::vector<ui::Rect> maskRuns(const ui::Bitmap& image, ui::Color mask);

}  // namespace app
