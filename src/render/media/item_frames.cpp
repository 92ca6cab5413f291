#include "render/media/item_frames.h"

#include "app/text_ids.h"
#include "render/media/animation_picture.h"

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

}  // namespace

bool IsMovingItemKind(std::uint16_t kind) { return kind == kKindAnimation; }

Status ForEachItemFrame(const tagItemPart& item, QSize windowSize, const ItemRenderSettings& settings,
                        const FrameSink& sink) {
  if (!IsMovingItemKind(item.actType)) return Status::Failure(kTextItemKindNotDrawn, ItemKindToken(item.actType));
  if (windowSize.width() <= 0 || windowSize.height() <= 0) return Status::Ok();
  return AnimationFrames(item, windowSize, settings, sink);
}

}  // namespace vantorel
