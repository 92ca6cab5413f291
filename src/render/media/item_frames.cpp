#include "render/media/item_frames.h"

#include "app/text_ids.h"
#include "render/media/animation_picture.h"
#include "render/media/movie.h"
#include "render/place_picture.h"

namespace vantorel {
namespace {

Status AnimationFrames(const tagItemPart& item, QSize windowSize, const ItemRenderSettings& settings,
                       const FrameSink& sink) {
  CAnimationPicture animation;
  if (Status opened = animation.Open(ItemMediaPath(item.media.view(), settings.folder)); !opened) return opened;
  for (int index = 0; index < animation.FrameCount(); ++index) {
    CLedBitmap frame(windowSize.width(), windowSize.height(), settings.colourMode);
    if (Status drawn = animation.DrawFrame(index, frame, item.showMode, item.negative != 0); !drawn) return drawn;
    if (!sink(frame, animation.FrameDelay(index))) break;
  }
  return Status::Ok();
}

// A video, or an animation file in a video item, frame after frame at its own size, placed into
// the window. A frame count taken from the container may be a little high: the frames end where
// the stream does.
Status VideoFrames(const tagItemPart& item, QSize windowSize, const ItemRenderSettings& settings,
                   const FrameSink& sink) {
  Status failure;
  const std::unique_ptr<CVideoEx> movie = OpenMovie(ItemMediaPath(item.media.view(), settings.folder), &failure);
  if (!movie) return failure;
  QImage picture;
  for (int index = 0; index < movie->GetFrameCount(); ++index) {
    if (!movie->DrawFrame(index, picture, 0, 0, -1, -1)) {
      if (index > 0) break;
      return movie->LastFailure();
    }
    CLedBitmap frame(windowSize.width(), windowSize.height(), settings.colourMode);
    PlacePicture(frame, picture, item.showMode, item.negative != 0);
    if (!sink(frame, movie->GetInterval())) break;
  }
  return Status::Ok();
}

}  // namespace

bool IsMovingItemKind(std::uint16_t kind) { return kind == kKindAnimation || kind == kKindVideo; }

Status ForEachItemFrame(const tagItemPart& item, QSize windowSize, const ItemRenderSettings& settings,
                        const FrameSink& sink) {
  if (!IsMovingItemKind(item.actType)) return Status::Failure(kTextItemKindNotDrawn, ItemKindToken(item.actType));
  if (windowSize.width() <= 0 || windowSize.height() <= 0) return Status::Ok();
  if (item.actType == kKindVideo) return VideoFrames(item, windowSize, settings, sink);
  return AnimationFrames(item, windowSize, settings, sink);
}

}  // namespace vantorel
