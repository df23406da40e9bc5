#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "platform/Types.h"

namespace ui {

using platform::Color;
using platform::rgb;

constexpr Color kBlack = 0x000000;
constexpr Color kRed = 0x0000FF;
constexpr Color kBlue = 0xFF0000;
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kSkyBlue = 0xF0CAA6;
constexpr Color kBtnFace = 0xF0F0F0;  // dialog background
constexpr Color kDefaultColor = 0xFF000000;  // "the system's own colour for this control"

struct Point { int x = 0, y = 0; };
struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool contains(int x, int y) const { return x >= left && x < right() && y >= top && y < bottom(); }
    bool operator==(const Rect&) const = default;
};

struct Font {
    std::string name = "Tahoma";
    int size = 8;            // points
    Color color = kBlack;
    bool bold = false, italic = false, underline = false, strikeOut = false;
    bool operator==(const Font&) const = default;
    // Character height in pixels at the 96 dpi the layouts are designed for.
    int pixelHeight() const { return (size * 96 + 36) / 72; }
};

// A picture as plain pixels (0x00BBGGRR, rows top to bottom), so shape and
// transparency rules can be computed and tested without a window system.
struct Bitmap {
    int width = 0, height = 0;
    std::vector<Color> pixels;
    Bitmap() = default;
    Bitmap(int w, int h, Color fill = kBlack) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    bool empty() const { return width <= 0 || height <= 0; }
    Color at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    Color& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
};

}  // namespace ui
