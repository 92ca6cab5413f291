#pragma once
// Decoding a video file frame by frame (libavformat, libavcodec, libswscale): each frame as an
// RGB888 picture at the video's own size or scaled to a size asked for, with the time until the
// next frame taken from the stream's timestamps. Only the frame in hand and the one after it are
// kept: a video of any length decodes in the memory of a few frames. Seek goes to the key frame
// before the frame asked for and decodes forward to exactly that frame.
//
// A decoder belongs to one thread at a time. Failures carry no text of their own (the caller in
// render names what failed); the detail says what was wrong with which file.

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "codecs/video_media_info.h"
#include "platform/status.h"

namespace vantorel {

class CVideoDecoder {
public:
  CVideoDecoder(CVideoDecoder&&) noexcept;
  CVideoDecoder& operator=(CVideoDecoder&&) noexcept;
  ~CVideoDecoder();

  // Opens `file` and its decoder; fails for a file that is not a video, has no frames, a size of 0
  // or a frame rate with a 0 denominator, or whose video codec is not available.
  static Expected<CVideoDecoder> Open(const std::filesystem::path& file);

  const VideoMediaInfo& Info() const;
  int Width() const { return Info().width; }
  int Height() const { return Info().height; }
  std::int64_t FrameCount() const { return Info().frameCount; }
  double FrameRate() const { return static_cast<double>(Info().frameRateNum) / Info().frameRateDen; }

  // The next frame at the video's own size, or scaled to width x height (nearest pixel, both at
  // least 1). A null picture after the last frame; a failure when the stream cannot be decoded.
  Expected<QImage> NextFrame();
  Expected<QImage> NextFrame(int width, int height);
  // The same in two steps: Advance makes the next frame the current one (false after the last
  // frame, which then stays current), and the Current calls convert the current frame, as often
  // as asked. A frame that is not wanted is passed over without being converted at all.
  Expected<bool> Advance();
  Expected<QImage> CurrentFrame();
  Expected<QImage> CurrentFrame(int width, int height);
  // Rows `rows` (each 0..height - 1, in any order, repeats allowed) of CurrentFrame(), one after
  // the other: a picture of the video's width and rows.size() rows, exactly as the whole frame has
  // them, at the cost of converting those rows only (a small window of a large video).
  Expected<QImage> CurrentRows(std::span<const int> rows);
  // Milliseconds from the frame just given to the next one (at least 1): the difference of their
  // timestamps, or the frame's own duration, or 1000 / frame rate.
  int Interval() const;
  // The index of the frame NextFrame gives next (0-based).
  std::int64_t Position() const;
  // Makes `frame` (0-based, below the frame count) the next one NextFrame gives.
  Status Seek(std::int64_t frame);

private:
  struct Impl;
  explicit CVideoDecoder(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> m_impl;
};

}  // namespace vantorel
