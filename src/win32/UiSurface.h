#pragma once
#include <windows.h>
#include <cstdint>
#include "win32/Handles.h"

namespace win32 {

// The header of a 32-bit top-down DIB of the given size.
BITMAPINFO topDownDib(int width, int height);

// A 32-bit top-down DIB section selected into a memory DC: the back buffer
// of a window, and the target of a capture.
class Surface {
public:
    Surface() = default;
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Keeps the pixels when the size is unchanged; false if it cannot be made.
    bool resize(int width, int height);
    HDC dc() const { return dc_.get(); }
    std::uint32_t* bits() const { return bits_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    void release();
    UniqueDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace win32
