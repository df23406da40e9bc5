#pragma once
// The model and the layouts are in 96-dpi units; the window system draws them
// at the screen's resolution. These are the conversions between the two.
#include "ui/Geometry.h"

namespace ui::dpi {

constexpr int kModel = 96;

// A model length at `dpi`, rounded to the nearest pixel, halves away from zero.
int toPixels(int length, int dpi);
// A pixel length back in model units, rounded to the nearest. For dpi >= 96
// toModel(toPixels(v)) == v: a window the program sized never reads back changed.
int toModel(int pixels, int dpi);
// Rounded up: a measured extent in model units that, drawn at `dpi`, still holds it.
int toModelCeil(int pixels, int dpi);
// Edges scaled, not the width: controls that touch in the layout still touch.
Rect toPixels(const Rect&, int dpi);

// The picture at another size by area averaging. With `keyed`, the pixels of
// the key colour (the bottom-left one, as transparent images use) stay the key
// wherever they cover half a target pixel or more, and never bleed into the
// colours beside them; no other pixel becomes the key by chance.
Bitmap resample(const Bitmap&, int width, int height, bool keyed);

}  // namespace ui::dpi
