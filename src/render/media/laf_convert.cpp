#include "render/media/laf_convert.h"

#include <QImage>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

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

  CLedBitmap Blank() const { return CLedBitmap(m_width, m_height, m_colourMode); }
  int Mode() const { return m_mode; }

  Status Write(const QImage& picture, int duration) {
    CLedBitmap frame = Blank();
    PlacePicture(frame, picture, m_mode, false);
    return Write(frame, duration);
  }

  Status Write(const CLedBitmap& frame, int duration) {
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

// Where PlacePicture takes each pixel of the window from, for the modes that place one scaled
// copy of the picture (Center, Zoom, Stretch): the source row of every window row it covers and
// the source column of every window column, computed as PlacePicture computes them.
struct Sampling {
  QRect visible;             // the window pixels the picture covers
  std::vector<int> rows;     // source row of each row of `visible`
  std::vector<int> columns;  // source column of each column of `visible`
};

std::optional<Sampling> SamplingFor(QSize window, QSize source, int mode) {
  if (mode != kPlaceCenter && mode != kPlaceZoom && mode != kPlaceStretch) return std::nullopt;
  const QRect rect = PlacementRect(window, source, mode);
  Sampling sampling;
  sampling.visible = rect.intersected(QRect(QPoint(0, 0), window));
  if (sampling.visible.isEmpty()) return std::nullopt;
  for (int y = sampling.visible.top(); y <= sampling.visible.bottom(); ++y) {
    sampling.rows.push_back(static_cast<int>(static_cast<std::int64_t>(y - rect.top()) * source.height() / rect.height()));
  }
  for (int x = sampling.visible.left(); x <= sampling.visible.right(); ++x) {
    sampling.columns.push_back(static_cast<int>(static_cast<std::int64_t>(x - rect.left()) * source.width() / rect.width()));
  }
  return sampling;
}

// The current frame of `decoder` placed into a window bitmap. When the window takes only a few
// rows of a large frame, only those rows are converted (CurrentRows) and the pixels picked as
// PlacePicture picks them; otherwise the whole frame is converted and placed.
Expected<CLedBitmap> PlacedFrame(CVideoDecoder& decoder, const LafTarget& target, const std::optional<Sampling>& sampling) {
  CLedBitmap bitmap = target.Blank();
  if (sampling) {
    const Expected<QImage> rows = decoder.CurrentRows(sampling->rows);
    if (rows && rows->width() == decoder.Width()) {
      QImage& image = bitmap.Image();
      for (int i = 0; i < rows->height(); ++i) {
        const uchar* in = rows->constScanLine(i);
        uchar* out = image.scanLine(sampling->visible.top() + i) + 3 * sampling->visible.left();
        for (const int column : sampling->columns) {
          const uchar* pixel = in + 3 * column;
          *out++ = pixel[0];
          *out++ = pixel[1];
          *out++ = pixel[2];
        }
      }
      return bitmap;
    }
  }
  const Expected<QImage> frame = decoder.CurrentFrame();
  if (!frame) return frame.status().WithText(kTextVideoUnreadable);
  PlacePicture(bitmap, *frame, target.Mode(), false);
  return bitmap;
}

Expected<int> VideoToLaf(LafTarget& target, const std::filesystem::path& source, int mergeUpToMs,
                         const ConvertProgress& progress, const std::atomic<bool>* cancel) {
  Expected<CVideoDecoder> decoder = CVideoDecoder::Open(source);
  if (!decoder) return decoder.status().WithText(kTextVideoUnreadable);
  const CLedBitmap blank = target.Blank();
  std::optional<Sampling> sampling =
      SamplingFor(QSize(blank.Width(), blank.Height()), QSize(decoder->Width(), decoder->Height()), target.Mode());
  // Converting only some rows pays when they are few.
  if (sampling && 2 * sampling->rows.size() > static_cast<std::size_t>(decoder->Height())) sampling.reset();
  ProgressSteps steps(progress, decoder->FrameCount(), cancel);
  int running = 0;  // ms of the frames merged into the pending one
  bool pending = false;
  for (;;) {
    if (steps.Cancelled()) return Cancelled(source);
    const Expected<bool> advanced = decoder->Advance();
    if (!advanced) return advanced.status().WithText(kTextVideoUnreadable);
    if (!*advanced) break;
    running += decoder->Interval();
    // A frame merged into a later one is never converted.
    pending = running <= mergeUpToMs;
    if (!pending) {
      const Expected<CLedBitmap> frame = PlacedFrame(*decoder, target, sampling);
      if (!frame) return frame.status();
      if (Status written = target.Write(*frame, running); !written) return written;
      running = 0;
    }
    steps.Done(decoder->Position());
  }
  // The last frame stays the decoder's current one.
  if (pending && running >= 1) {
    const Expected<CLedBitmap> frame = PlacedFrame(*decoder, target, sampling);
    if (!frame) return frame.status();
    if (Status written = target.Write(*frame, running); !written) return written;
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
