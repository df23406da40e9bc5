// The clock's window shape: the region built from app::maskRuns must equal the
// one made pixel by pixel, the way systems without transparency shape it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "app/FaceRules.h"
#include "win32/Handles.h"

namespace {

constexpr ui::Color kMask = ui::kBlack;
constexpr ui::Color kInk = 0x3232C8;

win32::UniqueRegion fromRuns(const std::vector<ui::Rect>& runs) {
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(runs.size());
    data->rdh.nRgnSize = DWORD(runs.size() * sizeof(RECT));
    RECT bounds = {0, 0, 0, 0};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        rects[i] = {runs[i].left, runs[i].top, runs[i].right(), runs[i].bottom()};
        UnionRect(&bounds, &bounds, &rects[i]);
    }
    data->rdh.rcBound = bounds;
    return win32::UniqueRegion(ExtCreateRegion(nullptr, DWORD(buffer.size()), data));
}

win32::UniqueRegion pixelByPixel(const ui::Bitmap& image) {
    // CreateRectRgn would turn (0,0)-(-1,-1) of an empty image into a pixel.
    win32::UniqueRegion region(CreateRectRgn(0, 0, std::max(image.width - 1, 0), std::max(image.height - 1, 0)));
    for (int y = 0; y < image.height - 1; ++y)
        for (int x = 0; x < image.width - 1; ++x)
            if (image.at(x, y) == kMask) {
                win32::UniqueRegion pixel(CreateRectRgn(x, y, x + 1, y + 1));
                CombineRgn(region.get(), region.get(), pixel.get(), RGN_DIFF);
            }
    return region;
}

struct Picture {
    std::string name;
    ui::Bitmap image;
};

void PrintTo(const Picture& p, std::ostream* os) { *os << p.name; }

std::vector<Picture> pictures() {
    std::vector<Picture> out;
    out.push_back({"Empty", ui::Bitmap()});
    out.push_back({"OnePixel", ui::Bitmap(1, 1, kInk)});
    out.push_back({"AllMask", ui::Bitmap(40, 30, kMask)});
    out.push_back({"NoMask", ui::Bitmap(40, 30, kInk)});

    ui::Bitmap stripes(41, 31, kMask);
    for (int y = 0; y < stripes.height; ++y)
        for (int x = 0; x < stripes.width; ++x)
            if ((x / 3 + y / 5) % 2) stripes.at(x, y) = kInk;
    out.push_back({"Stripes", stripes});

    ui::Bitmap ring(64, 48, kMask);
    for (int y = 0; y < ring.height; ++y)
        for (int x = 0; x < ring.width; ++x) {
            const int dx = x - 31, dy = y - 23, d = dx * dx + dy * dy;
            if (d >= 12 * 12 && d <= 20 * 20) ring.at(x, y) = kInk;
        }
    out.push_back({"Ring", ring});

    // Ink in the last row and column only: both are outside the shape.
    ui::Bitmap edges(20, 10, kMask);
    for (int x = 0; x < edges.width; ++x) edges.at(x, edges.height - 1) = kInk;
    for (int y = 0; y < edges.height; ++y) edges.at(edges.width - 1, y) = kInk;
    out.push_back({"LastRowAndColumn", edges});

    // Near-black is not the mask colour.
    ui::Bitmap nearBlack(16, 8, kMask);
    for (int x = 0; x < 15; x += 2) nearBlack.at(x, 3) = 0x000001;
    out.push_back({"NearBlack", nearBlack});

    std::mt19937 random(20261207);
    ui::Bitmap noise(97, 61);
    for (auto& p : noise.pixels) p = random() % 3 == 0 ? kMask : ui::Color(random() & 0xFFFFFF);
    out.push_back({"Noise", noise});
    return out;
}

class WindowShape : public ::testing::TestWithParam<Picture> {};

TEST_P(WindowShape, RunsMakeThePixelRegion) {
    const ui::Bitmap& image = GetParam().image;
    const std::vector<ui::Rect> runs = app::maskRuns(image, kMask);
    for (const ui::Rect& r : runs) {
        EXPECT_EQ(1, r.height);
        EXPECT_GT(r.width, 0);
    }
    const win32::UniqueRegion expected = pixelByPixel(image);
    const win32::UniqueRegion actual = fromRuns(runs);
    ASSERT_TRUE(expected);
    ASSERT_TRUE(actual);
    EXPECT_TRUE(EqualRgn(expected.get(), actual.get()));

    RECT bounds;
    EXPECT_EQ(runs.empty(), GetRgnBox(actual.get(), &bounds) == NULLREGION);
}

INSTANTIATE_TEST_SUITE_P(Images, WindowShape, ::testing::ValuesIn(pictures()),
                         [](const ::testing::TestParamInfo<Picture>& info) { return info.param.name; });

}  // namespace
