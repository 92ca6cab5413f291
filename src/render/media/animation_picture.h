#pragma once
// The frames of an animation item's file as the window shows them: a GIF (every frame composed
// with its disposal and transparency by the codecs) or one of our animation files (".laf"), each
// frame drawn into an LED bitmap of the window's size by the item's display mode. Any other
// picture file is one frame that stays.
//
// The GIF's frames are kept decoded (the codecs bound them by a pixel budget); an animation file
// is kept compressed and a frame decoded when it is drawn. One object belongs to one thread.

#include <QImage>
#include <QSize>

#include <filesystem>
#include <optional>

#include "codecs/animation.h"
#include "codecs/laf_file.h"
#include "platform/status.h"
#include "render/led_bitmap.h"

namespace vantorel {

class CAnimationPicture {
public:
  // Reads `file`; a file that cannot be read, or has no frame, fails with kTextAnimationFileUnreadable
  // and its cause.
  Status Open(const std::filesystem::path& file);

  int FrameCount() const;
  // The size of the file's frames.
  QSize Size() const;
  // How long frame `index` stays, in ms.
  int FrameDelay(int index) const;
  // The picture of frame `index` at the file's size.
  Expected<QImage> FramePicture(int index) const;
  // Draws frame `index` into `target` by `mode` (PlacePicture), inverted when asked; the window
  // around a picture that does not cover it keeps what `target` held.
  Status DrawFrame(int index, CLedBitmap& target, int mode, bool inverse = false) const;

private:
  Animation m_frames;               // a GIF or picture, decoded
  std::optional<CLafReader> m_laf;  // or an animation file
};

}  // namespace vantorel
