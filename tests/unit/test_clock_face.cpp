#include <gtest/gtest.h>
#include <random>
#include <set>
#include "app/FaceRules.h"

using app::fadeInStep;
using app::formatTime;
using app::timePattern;

namespace {
platform::LocalTime at(int h, int m, int s = 0) {
    platform::LocalTime t;
    t.hour = h;
    t.minute = m;
    t.second = s;
    return t;
}
std::string show(int h, int m, int s, bool zero, bool secs, bool ampm, const std::string& sep = ":") {
    return formatTime(timePattern(zero, secs, ampm), at(h, m, s), sep);
}
}  // namespace

TEST(TimeText, FormsOfTheThreeToggles) {
    EXPECT_EQ(show(9, 5, 7, false, false, false), "9:05");
    EXPECT_EQ(show(9, 5, 7, true, false, false), "09:05");
    EXPECT_EQ(show(9, 5, 7, false, true, false), "9:05:07");
    EXPECT_EQ(show(9, 5, 7, false, false, true), "am 9:05");
    EXPECT_EQ(show(21, 5, 7, true, true, false), "21:05:07");
}

TEST(TimeText, TwelveHourClockAroundNoonAndMidnight) {
    EXPECT_EQ(show(0, 15, 0, false, false, true), "am 12:15");
    EXPECT_EQ(show(0, 0, 0, true, false, true), "am 12:00");
    EXPECT_EQ(show(12, 0, 0, true, false, true), "pm 12:00");
    EXPECT_EQ(show(12, 30, 0, false, true, true), "pm 12:30:00");
    EXPECT_EQ(show(13, 1, 0, true, false, true), "pm 01:01");
    EXPECT_EQ(show(23, 59, 0, false, false, true), "pm 11:59");
    EXPECT_EQ(show(11, 59, 0, false, false, true), "am 11:59");
}

TEST(TimeText, UsesTheSystemsTimeSeparator) {
    EXPECT_EQ(show(9, 5, 7, true, true, false, "."), "09.05.07");
    EXPECT_EQ(show(9, 5, 7, false, false, false, ""), "905");
}

TEST(FadeIn, CorrectsOutOfRangeOpacityBeforeUsingIt) {
    for (int stored : {99, 256, 0, -5}) {
        int alphaSet = stored, notError = 0;
        const auto s = fadeInStep(alphaSet, 1, 1, notError);
        EXPECT_EQ(alphaSet, 255) << stored;
        EXPECT_EQ(s.target, 255);
        EXPECT_EQ(s.alpha, 2);
    }
}

TEST(FadeIn, RisesByOneUntilTheTargetThenFinishes) {
    int alphaSet = 180, notError = 0;
    int alpha = 1, steps = 0;
    for (;;) {
        const auto s = fadeInStep(alphaSet, 1, alpha, notError);
        if (s.finished) break;
        alpha = s.alpha;
        ++steps;
        ASSERT_LT(steps, 1000);
    }
    EXPECT_EQ(alpha, 180);
    EXPECT_EQ(steps, 179);
    // Transparency off: the target is full opacity whatever AlphaSet says.
    const auto off = fadeInStep(alphaSet, 0, 180, notError);
    EXPECT_FALSE(off.finished);
    EXPECT_EQ(off.target, 255);
    EXPECT_EQ(alphaSet, 180);
}

TEST(FadeIn, JumpsToTheTargetAfterAnErrorRestart) {
    int alphaSet = 200, notError = 1;
    const auto s = fadeInStep(alphaSet, 1, 1, notError);
    EXPECT_EQ(s.alpha, 200);
    EXPECT_FALSE(s.finished);
    EXPECT_EQ(notError, 2);
    EXPECT_TRUE(fadeInStep(alphaSet, 1, s.alpha, notError).finished);
}

// The runs must give exactly the region the pixel rule gives: the rectangle
// of all columns but the last and all rows but the last, less mask pixels.
namespace {
std::set<std::pair<int, int>> perPixel(const ui::Bitmap& b, ui::Color mask) {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < b.height - 1; ++y)
        for (int x = 0; x < b.width - 1; ++x)
            if (b.at(x, y) != mask) s.insert({x, y});
    return s;
}
std::set<std::pair<int, int>> fromRuns(const std::vector<ui::Rect>& runs) {
    std::set<std::pair<int, int>> s;
    for (const ui::Rect& r : runs)
        for (int y = r.top; y < r.bottom(); ++y)
            for (int x = r.left; x < r.right(); ++x) EXPECT_TRUE(s.insert({x, y}).second) << "overlap";
    return s;
}
}  // namespace

TEST(WindowShape, RunsEqualThePerPixelRegion) {
    std::vector<ui::Bitmap> images;
    images.emplace_back(1, 1, ui::kRed);
    images.emplace_back(5, 4, ui::kBlack);
    images.emplace_back(6, 3, ui::kRed);
    ui::Bitmap stripes(17, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 17; ++x) stripes.at(x, y) = (x / 2 + y) % 3 ? ui::kRed : ui::kBlack;
    images.push_back(stripes);
    ui::Bitmap ring(40, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const int d = (x - 20) * (x - 20) + (y - 20) * (y - 20);
            ring.at(x, y) = d > 100 && d < 300 ? 3289650u : ui::kBlack;
        }
    images.push_back(ring);
    std::mt19937 rng(7);
    ui::Bitmap noise(64, 31);
    for (auto& p : noise.pixels) p = rng() % 3 == 0 ? ui::kBlack : rng() % 2 ? 0x010000u : ui::kRed;
    images.push_back(noise);
    for (const ui::Bitmap& img : images)
        EXPECT_EQ(fromRuns(app::maskRuns(img, ui::kBlack)), perPixel(img, ui::kBlack))
            << img.width << "x" << img.height;
}

TEST(WindowShape, NearBlackIsKeptOnlyExactMaskIsCut) {
    ui::Bitmap b(4, 2, 0x000001);
    b.at(1, 0) = ui::kBlack;
    const auto runs = app::maskRuns(b, ui::kBlack);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (ui::Rect{0, 0, 1, 1}));
    EXPECT_EQ(runs[1], (ui::Rect{2, 0, 1, 1}));
}
