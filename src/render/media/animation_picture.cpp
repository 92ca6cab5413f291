#include "render/media/animation_picture.h"

#include <string>

#include "app/text_ids.h"
#include "codecs/picture_file.h"
#include "platform/atomic_file.h"
#include "render/place_picture.h"

namespace vantorel {

Status CAnimationPicture::Open(const std::filesystem::path& file) {
  m_frames = {};
  m_laf.reset();
  std::string start;
  if (Status read = ReadFileStart(file, 4, start); !read) return read.WithText(kTextAnimationFileUnreadable);
  if (StartsAsLafFile(std::span(reinterpret_cast<const std::uint8_t*>(start.data()), start.size()))) {
    CLafReader reader;
    if (Status loaded = reader.Load(file); !loaded) {
      return loaded.WithText(kTextAnimationFileUnreadable).WithContext(file.string());
    }
    if (reader.FrameCount() == 0) return Status::Failure(kTextAnimationFileUnreadable, "no frame — " + file.string());
    m_laf = std::move(reader);
    return Status::Ok();
  }
  Expected<Animation> frames = ReadAnimation(file);
  if (!frames) return frames.status().WithText(kTextAnimationFileUnreadable);
  if (frames->frames.empty()) return Status::Failure(kTextAnimationFileUnreadable, "no frame — " + file.string());
  m_frames = std::move(*frames);
  return Status::Ok();
}

int CAnimationPicture::FrameCount() const {
  return m_laf ? m_laf->FrameCount() : static_cast<int>(m_frames.frames.size());
}

QSize CAnimationPicture::Size() const {
  if (m_laf) return QSize(m_laf->GetInfo().width, m_laf->GetInfo().height);
  return m_frames.frames.empty() ? QSize() : m_frames.frames.front().picture.size();
}

int CAnimationPicture::FrameDelay(int index) const {
  if (m_laf) return m_laf->FrameDuration(index);
  if (index < 0 || index >= FrameCount()) return 0;
  return m_frames.frames[static_cast<std::size_t>(index)].delayMs;
}

Expected<QImage> CAnimationPicture::FramePicture(int index) const {
  if (index < 0 || index >= FrameCount()) {
    return Status::Failure(kTextAnimationFileUnreadable, "no frame " + std::to_string(index + 1));
  }
  if (!m_laf) return m_frames.frames[static_cast<std::size_t>(index)].picture;
  Expected<LafFrame> frame = m_laf->GetFrameImage(index);
  if (!frame) return frame.status().WithText(kTextAnimationFileUnreadable);
  return std::move(frame->picture);
}

Status CAnimationPicture::DrawFrame(int index, CLedBitmap& target, int mode, bool inverse) const {
  const Expected<QImage> picture = FramePicture(index);
  if (!picture) return picture.status();
  PlacePicture(target, *picture, mode, inverse);
  return Status::Ok();
}

}  // namespace vantorel
