#include "app/FaceRules.h"
#include <cstdio>

namespace app {

std::string timePattern(bool zeroFirstView, bool secondsView, bool ampm24) {
    std::string p;
    if (zeroFirstView) p += "h";
    p += "h:nn";
    if (secondsView) p += ":ss";
    if (ampm24) p = "am/pm " + p;
    return p;
}

namespace {
std::string two(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}
}  // namespace

std::string formatTime(const std::string& pattern, const platform::LocalTime& t, const std::string& timeSeparator) {
    std::string out;
    bool twelve = false;
    for (std::size_t i = 0; i < pattern.size();) {
        const std::string_view rest(pattern.data() + i, pattern.size() - i);
        if (rest.starts_with("am/pm")) {
            out += t.hour < 12 ? "am" : "pm";
            twelve = true;
            i += 5;
        } else if (rest.starts_with("hh") || rest.starts_with("h")) {
            int h = t.hour;
            if (twelve) h = h % 12 == 0 ? 12 : h % 12;
            const bool padded = rest.starts_with("hh");
            out += padded ? two(h) : std::to_string(h);
            i += padded ? 2 : 1;
        } else if (rest.starts_with("nn")) {
            out += two(t.minute);
            i += 2;
        } else if (rest.starts_with("ss")) {
            out += two(t.second);
            i += 2;
        } else if (pattern[i] == ':') {
            out += timeSeparator;
            ++i;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

FadeStep fadeInStep(int& AlphaSet, int AlphaUsed, int currentAlpha, int& SplashScreenNotError) {
    if (AlphaSet < 100 || AlphaSet > 255) AlphaSet = 255;
    const int target = AlphaUsed == 0 ? 255 : AlphaSet;
    if (currentAlpha < target) {
        int alpha = currentAlpha + 1;
        if (SplashScreenNotError == 1) {
            SplashScreenNotError = 2;
            alpha = target;
        }
        return {alpha, target, false};
    }
    return {currentAlpha, target, true};
}

std::vector<ui::Rect> maskRuns(const ui::Bitmap& image, ui::Color mask) {
    std::vector<ui::Rect> runs;
    const int w = image.width - 1, h = image.height - 1;
    for (int y = 0; y < h; ++y) {
        int x = 0;
        while (x < w) {
            while (x < w && image.at(x, y) == mask) ++x;
            const int start = x;
            while (x < w && image.at(x, y) != mask) ++x;
            if (x > start) runs.push_back({start, y, x - start, 1});
        }
    }
    return runs;
}

}  // namespace app
