// The conversions between the model's 96-dpi units and the screen's pixels.
#include <gtest/gtest.h>
#include "ui/Dpi.h"

namespace {

using namespace ui::dpi;

TEST(Dpi, LengthsScaleAndComeBackUnchanged) {
    EXPECT_EQ(toPixels(528, 96), 528);
    EXPECT_EQ(toPixels(528, 144), 792);
    EXPECT_EQ(toPixels(15, 144), 23);   // 22.5 rounds up
    EXPECT_EQ(toPixels(-15, 144), -23);  // and away from zero below it: a position left of the screen
    EXPECT_EQ(toPixels(7, 120), 9);     // 8.75
    for (int dpi : {96, 120, 144, 168, 192, 240, 288})
        for (int v = -300; v <= 1200; ++v) ASSERT_EQ(toModel(toPixels(v, dpi), dpi), v) << v << " at " << dpi;
}

TEST(Dpi, AMeasuredExtentRoundsUpSoTheTextFits) {
    EXPECT_EQ(toModelCeil(160, 144), 107);  // 106.67
    EXPECT_EQ(toModelCeil(150, 144), 100);
    EXPECT_GE(toPixels(toModelCeil(161, 144), 144), 161);
    for (int dpi : {96, 120, 144, 192})
        for (int px = 0; px < 500; ++px) ASSERT_GE(toPixels(toModelCeil(px, dpi), dpi), px) << px << " at " << dpi;
    EXPECT_EQ(toModel(0, 0), 0);  // no resolution known: left as it is
}

TEST(Dpi, AdjacentControlsStayAdjacent) {
    const ui::Rect a{5, 5, 75, 25}, b{80, 5, 75, 25};
    const ui::Rect pa = toPixels(a, 144), pb = toPixels(b, 144);
    EXPECT_EQ(pa.right(), pb.left);
    EXPECT_EQ(pa, (ui::Rect{8, 8, 112, 37}));
}

ui::Bitmap mark() {
    // A 3x3 red square on a white key, as the quick-exit marks are drawn.
    ui::Bitmap b(5, 5, ui::kWhite);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 4; ++x) b.at(x, y) = ui::kRed;
    return b;
}

TEST(Dpi, WholeFactorsRepeatEachPixel) {
    const ui::Bitmap b = resample(mark(), 10, 10, true);
    ASSERT_EQ(b.width, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(b.at(x, y), (x >= 2 && x < 8 && y >= 2 && y < 8) ? ui::kRed : ui::kWhite) << x << "," << y;
}

TEST(Dpi, KeyedPicturesKeepASharpOutlineWithoutFringe) {
    ui::Bitmap src = mark();
    src.at(2, 2) = ui::kBlue;  // a second colour inside, to blend with the red
    const ui::Bitmap b = resample(src, 8, 8, true);  // 1.6 times
    int keyed = 0;
    for (ui::Color c : b.pixels) {
        if (c == ui::kWhite) {
            ++keyed;
            continue;
        }
        // Never a blend with the key: no channel of the white shows in it.
        EXPECT_EQ(c & 0x00FF00, 0u) << std::hex << c;
    }
    EXPECT_GT(keyed, 30);
    EXPECT_LT(keyed, 50);  // the square keeps its share, 16 of 25 pixels
    // Unkeyed, the edge is blended.
    const ui::Bitmap soft = resample(src, 8, 8, false);
    bool blended = false;
    for (ui::Color c : soft.pixels) blended |= c != ui::kWhite && c != ui::kRed && c != ui::kBlue;
    EXPECT_TRUE(blended);
}

TEST(Dpi, NoPixelTurnsIntoTheKeyByChance) {
    // Two near-white pixels average to exactly the white key: the blend must stay visible.
    ui::Bitmap src(2, 2);
    src.at(0, 0) = 0xFFFFFE;
    src.at(1, 0) = 0xFEFFFF;
    src.at(0, 1) = ui::kWhite;  // the key
    src.at(1, 1) = ui::kBlack;
    const ui::Bitmap b = resample(src, 1, 2, true);
    EXPECT_NE(b.at(0, 0), ui::kWhite);
    EXPECT_EQ(b.at(0, 0) & 0xFEFEFE, 0xFEFEFEu);
    EXPECT_EQ(b.at(0, 1), ui::kWhite);  // half key, half black: the key wins the tie
    EXPECT_TRUE(resample({}, 3, 3, true).empty());
    EXPECT_EQ(resample(src, 2, 2, true).pixels, src.pixels);
}

}  // namespace
