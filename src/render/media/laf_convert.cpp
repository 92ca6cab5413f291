#include "render/media/laf_convert.h"

#include <QImage>

#include <algorithm>
#include <optional>
#include <string>

#include "app/text_ids.h"
#include "codecs/laf_file.h"
#include "codecs/video_decoder.h"
#include "render/led_bitmap.h"
#include "render/media/media_kind.h"
#include "render/place_picture.h"

namespace vantorel {
namespace {

// The animation file being written and how its frames are drawn.
class LafTarget {
public:
  LafTarget(CLafFile file, int width, int height, std::uint16_t colourMode, int placementMode)
      : m_file(std::move(file)), m_width(width), m_height(height), m_colourMode(colourMode), m_mode(placementMode) {}

  Status Write(const QImage& picture, int duration) {
    CLedBitmap frame(m_width, m_height, m_colourMode);
    PlacePicture(frame, picture, m_mode, false);
    m_file.FrameNew(duration);
    m_file.FrameAddImgpt(0, 0, frame.Image());
    if (Status saved = m_file.FrameSave(); !saved) return saved.WithText(kTextAnimationNotWritten);
    ++m_frames;
    return Status::Ok();
  }

  Expected<int> Close(const std::filesystem::path& source) {
    if (m_frames == 0) return Status::Failure(kTextNoMovieFrames, source.string());
    if (Status closed = m_file.CloseFile(); !closed) return closed.WithText(kTextAnimationNotWritten);
    return m_frames;
  }

private:
  CLafFile m_file;
  int m_width;
  int m_height;
  std::uint16_t m_colourMode;
  int m_mode;
  int m_frames = 0;
};

// Calls `progress` when the share done grows, and tells whether the caller asked to stop.
class ProgressSteps {
public:
  ProgressSteps(const ConvertProgress& progress, std::int64_t total, const std::atomic<bool>* cancel)
      : m_progress(progress), m_total(std::max<std::int64_t>(total, 1)), m_cancel(cancel) {}
  bool Cancelled() const { return m_cancel != nullptr && m_cancel->load(); }
  void Done(std::int64_t count) {
    if (!m_progress) return;
    const int percent = static_cast<int>(std::clamp<std::int64_t>(count * 100 / m_total, 0, 100));
    if (percent > m_last) m_progress(m_last = percent);
  }

private:
  const ConvertProgress& m_progress;
  std::int64_t m_total;
  const std::atomic<bool>* m_cancel;
  int m_last = -1;
};

Status Cancelled(const std::filesystem::path& source) {
  return Status::Failure(kTextConversionCancelled, source.string());
}

Expected<int> AnimationToLaf(LafTarget& target, const std::filesystem::path& source, const ConvertProgress& progress,
                             const std::atomic<bool>* cancel) {
  CLafReader reader;
  if (Status loaded = reader.Load(source); !loaded) {
    return loaded.WithText(kTextAnimationFileUnreadable).WithContext(source.string());
  }
  ProgressSteps steps(progress, reader.FrameCount(), cancel);
  for (int index = 0; index < reader.FrameCount(); ++index) {
    if (steps.Cancelled()) return Cancelled(source);
    const Expected<LafFrame> frame = reader.GetFrameImage(index);
    if (!frame) return frame.status().WithText(kTextAnimationFileUnreadable).WithContext(source.string());
    if (Status written = target.Write(frame->picture, frame->interval); !written) return written;
    steps.Done(index + 1);
  }
  return target.Close(source);
}

Expected<int> VideoToLaf(LafTarget& target, const std::filesystem::path& source, int mergeUpToMs,
                         const ConvertProgress& progress, const std::atomic<bool>* cancel) {
  Expected<CVideoDecoder> decoder = CVideoDecoder::Open(source);
  if (!decoder) return decoder.status().WithText(kTextVideoUnreadable);
  ProgressSteps steps(progress, decoder->FrameCount(), cancel);
  int running = 0;  // ms of the frames merged into the pending one
  QImage pending;
  for (;;) {
    if (steps.Cancelled()) return Cancelled(source);
    Expected<QImage> frame = decoder->NextFrame();
    if (!frame) return frame.status().WithText(kTextVideoUnreadable);
    if (frame->isNull()) break;
    running += decoder->Interval();
    if (running > mergeUpToMs) {
      if (Status written = target.Write(*frame, running); !written) return written;
      running = 0;
      pending = QImage();
    } else {
      pending = std::move(*frame);  // replaced by the next frame unless it is the last
    }
    steps.Done(decoder->Position());
  }
  if (!pending.isNull() && running >= 1) {
    if (Status written = target.Write(pending, running); !written) return written;
  }
  steps.Done(decoder->FrameCount());
  return target.Close(source);
}

}  // namespace

Expected<int> ConvertToLaf(const std::filesystem::path& destination, int width, int height, std::uint16_t colourMode,
                           int placementMode, const std::filesystem::path& source, int mergeUpToMs,
                           const ConvertProgress& progress, const std::atomic<bool>* cancel) {
  const MediaKind kind = MediaKindOf(source);
  if (kind != kMediaVideo && kind != kMediaAnimation) return Status::Failure(kTextNotAMovie, source.string());
  Expected<CLafFile> file = CLafFile::CreateFile(destination, width, height, colourMode);
  if (!file) return file.status().WithText(kTextAnimationNotWritten).WithContext(destination.string());
  file->SetFileType(kLafAnimationFile);
  LafTarget target(std::move(*file), width, height, colourMode, placementMode);
  return kind == kMediaVideo ? VideoToLaf(target, source, mergeUpToMs, progress, cancel)
                             : AnimationToLaf(target, source, progress, cancel);
}

Status Laf_ConvertLafFile(const std::filesystem::path& destination, int width, int height, std::uint16_t colourMode,
                          int placementMode, const std::filesystem::path& source, const ConvertProgress& progress) {
  return ConvertToLaf(destination, width, height, colourMode, placementMode, source, 0, progress).status();
}

}  // namespace vantorel
