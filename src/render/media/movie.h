#pragma once
// Moving pictures for the preview and the editor: one object per opened file that hands out its
// frames one at a time with the time until the next. CVideoLaf2 reads an animation file
// (".laf"), CVideoOvv a video through the video decoder; OpenMovie picks the class by the
// file's kind, and a Flash movie (".swf") is shown through the ".laf" file of the same name.
//
// The virtual operations are declared in their slot order; slot 5 has no operation of its own.
// A movie object belongs to one thread at a time.

#include <QImage>
#include <QSize>

#include <filesystem>
#include <memory>
#include <optional>

#include "codecs/laf_file.h"
#include "codecs/video_decoder.h"
#include "platform/status.h"

namespace vantorel {

class CVideoEx {
public:
  CVideoEx() = default;
  CVideoEx(const CVideoEx&) = delete;
  CVideoEx& operator=(const CVideoEx&) = delete;

  // Clears the size, frame count, current frame and interval.
  virtual void Reset();
  // Opens `file`; false when it cannot be shown (LastFailure says why).
  virtual bool Open(const std::filesystem::path& file) = 0;
  // Lets the file go: the object is as new (Reset) and can open another.
  virtual void Release();
  // Draws the current frame at (0, 0) at its own size; a null target becomes a picture of that size.
  virtual void DrawCurrent(QImage& target);
  virtual QSize GetSize() const;
  virtual void Reserved() {}
  virtual int GetFrameCount() const;
  virtual int GetCurrentFrame() const;
  // Draws frame `index` at (x, y); true when drawn. What `width` and `height` mean is the class's.
  virtual bool DrawFrame(int index, QImage& target, int x, int y, int width, int height);
  // Milliseconds until the next frame.
  virtual int GetInterval() const;
  virtual ~CVideoEx() = default;

  const Status& LastFailure() const { return m_failure; }

protected:
  // Draws `picture` with its top-left corner at (x, y) of `target`, replacing what is there.
  static void Put(QImage& target, const QImage& picture, int x, int y);

  int m_width = 0;
  int m_height = 0;
  int m_frameCount = 0;
  int m_currentFrame = 0;
  int m_interval = 0;
  Status m_failure;
};

// An animation file. DrawFrame draws the frame at its own size (width and height are not used);
// the interval and the current frame become that frame's. The interval starts at 10 ms.
class CVideoLaf2 final : public CVideoEx {
public:
  bool Open(const std::filesystem::path& file) override;
  void Release() override;
  void DrawCurrent(QImage& target) override;
  bool DrawFrame(int index, QImage& target, int x, int y, int width, int height) override;

private:
  std::unique_ptr<CLafReader> m_reader;
};

// A video. The current frame counts the frames drawn: it is the index of the next frame of the
// stream. DrawFrame seeks first when `index` is not that frame, then draws the next frame at
// (x, y) scaled to width x height (-1 for both: the video's own size); the interval becomes the
// decoder's. The interval starts at 100 ms. DrawCurrent draws the next frame of the stream.
class CVideoOvv final : public CVideoEx {
public:
  bool Open(const std::filesystem::path& file) override;
  void Release() override;
  void DrawCurrent(QImage& target) override;
  bool DrawFrame(int index, QImage& target, int x, int y, int width, int height) override;

private:
  std::optional<CVideoDecoder> m_decoder;
};

// The opened movie of `file` by its kind, or null (with the cause in *failure when given) for a
// file that is not a video, animation or Flash movie, or that cannot be opened.
std::unique_ptr<CVideoEx> OpenMovie(const std::filesystem::path& file, Status* failure = nullptr);

}  // namespace vantorel
