#include "win32/UiSurface.h"
#include <utility>

namespace win32 {

Surface::~Surface() { release(); }

void Surface::release() {
    if (dc_ && old_) SelectObject(dc_.get(), old_);  // a selected bitmap cannot be deleted
    bitmap_.reset();
    dc_.reset();
    old_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
}

BITMAPINFO topDownDib(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

bool Surface::resize(int width, int height) {
    if (bits_ && width == width_ && height == height_) return true;
    release();
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO bi = topDownDib(width, height);
    UniqueDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return false;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return false;
    old_ = SelectObject(dc.get(), bitmap.get());
    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    return true;
}

}  // namespace win32
