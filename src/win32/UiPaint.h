#pragma once
// Painting the controls that have no window of their own: labels, images,
// panels and the body of page controls.
#include <windows.h>
#include <cstdint>
#include <functional>
#include "ui/Form.h"
#include "win32/Handles.h"
#include "win32/UiResources.h"
#include "win32/UiSurface.h"

namespace win32 {

// DIB pixels are 0x00RRGGBB, the model's 0x00BBGGRR: swapping red and blue
// converts either way.
constexpr std::uint32_t swapRedBlue(std::uint32_t c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
ui::Bitmap fromDib(const std::uint32_t* pixels, int width, int height);
// An empty bitmap when the handle is not a readable bitmap.
ui::Bitmap readBitmap(HBITMAP);

// Where a picture goes inside an image control of size `box`, relative to
// the control. Proportional pictures shrink to fit (and grow too when
// stretched) keeping their aspect; centred ones sit in the middle.
ui::Rect imageRect(ui::Size box, ui::Size picture, bool stretch, bool proportional, bool center);

// The colour a control stands on: its nearest coloured panel's, else the form's.
ui::Color colourBehind(const ui::Control&);
// A panel's own fill colour.
ui::Color panelColour(const ui::Control&);

struct RenderOptions {
    bool crisp = false;                                  // fonts without antialiasing
    int dpi = 96;                                        // the model's 96-dpi units are drawn at this
    // An image's picture at the size it is drawn, `size` pixels: kept between paints by the window.
    std::function<const ui::Bitmap&(const ui::Image&, ui::Size size)> picture;
    std::function<bool(const ui::Control&)> shown;       // visible, on the active page
    std::function<int(const ui::Control&)> tabRow;       // a page control's tab row height
};

// The picture of an image control at `size` pixels, drawn sharp: see ui::dpi::resample.
ui::Bitmap scaledPicture(const ui::Image&, ui::Size size);

// Paints the form's background and windowless controls inside `clip` (client
// pixels), bottom to top.
void renderForm(Resources&, const ui::Form&, Surface&, const RECT& clip, const RenderOptions&);

}  // namespace win32
