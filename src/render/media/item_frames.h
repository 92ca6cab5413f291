#pragma once
// The frames of a moving item (a video, kind 4, or an animation, kind 7) as the window shows them, each with the
// time it stays: drawn one after the other into an LED bitmap of the window's size by the item's
// display mode (SHOWMODE), inverted when NEGATIVE is set.
//
// Frames are handed over one at a time, so a long animation never lies in memory as bitmaps.
// Pure function of its arguments, safe on any thread.

#include <QSize>

#include <functional>

#include "platform/status.h"
#include "playbill/prg_item.h"
#include "render/item_pages.h"
#include "render/led_bitmap.h"

namespace vantorel {

// Takes one frame and how long it stays (ms); false stops the frames.
using FrameSink = std::function<bool(const CLedBitmap& frame, int delayMs)>;

// Whether ForEachItemFrame draws items of `kind`.
bool IsMovingItemKind(std::uint16_t kind);

// Hands every frame of `item` to `sink`, in order, until the last one or until `sink` says stop.
// A file that cannot be read fails with its cause; a window without width or height has no frames.
Status ForEachItemFrame(const tagItemPart& item, QSize windowSize, const ItemRenderSettings& settings,
                        const FrameSink& sink);

}  // namespace vantorel
