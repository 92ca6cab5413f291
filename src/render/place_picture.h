#pragma once
// Drawing a source picture into an LED bitmap the way a picture item or a program background asks:
// centred at 1:1, zoomed to fit keeping its aspect ratio, stretched over the whole bitmap, tiled,
// or (any other mode) at 1:1 at the top left. Scaling picks the nearest source pixel: LEDs show
// no smoothing. With the inverse flag every drawn pixel is inverted. Pixels of the bitmap that the
// picture does not cover are left as they were.

#include <QImage>

#include "render/led_bitmap.h"

namespace vantorel {

enum PlacementMode : int { kPlaceCenter = 0, kPlaceZoom = 1, kPlaceStretch = 2, kPlaceTile = 3 };

// Where a source of `source` size lands in a target of `target` size for `mode`: the rectangle it
// is scaled into (for Tile, the first tile). Empty when either size is empty.
QRect PlacementRect(QSize target, QSize source, int mode);

void PlacePicture(CLedBitmap& target, const QImage& source, int mode, bool inverse);

}  // namespace vantorel
