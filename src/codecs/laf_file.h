#pragma once
// Animation files (".laf"): the frames of an animation or a converted video at the size and colour
// mode of one window, each with its duration. The format is ours; docs/formats.md gives it byte
// for byte: a 20-byte header ("VLAF", version, width, height, colour mode, file type, frame
// count) and per frame its duration in ms and the colour mode's planes, zlib-compressed.
//
// CLafFile writes one (streaming: a frame at a time to a temporary file beside the target, which
// replaces the target only when the file is closed); CLafReader reads one whole into memory and
// decodes a frame when asked. A reader or writer belongs to one thread at a time.

#include <QImage>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "platform/status.h"

namespace vantorel {

inline constexpr std::uint16_t kLafAnimationFile = 2;  // the file type of animations and videos
inline constexpr int kLafMaxSide = 4096;

struct LafInfo {
  int width = 0;
  int height = 0;
  std::uint16_t colourMode = 0;
  std::uint16_t fileType = 0;
  int frameCount = 0;
};

struct LafFrame {
  QImage picture;    // RGB888, the file's size
  int interval = 0;  // ms until the next frame
};

// Whether `start` (the first bytes of a file) begins like an animation file.
bool StartsAsLafFile(std::span<const std::uint8_t> start);

// The planes (red, green, blue) a colour mode stores: its bits 0-2; a mode without any, all three.
int LafPlaneCount(std::uint16_t colourMode);

class CLafReader {
public:
  // Reads and checks the whole file: the header, every frame's size and duration (the pictures
  // are decoded by GetFrameImage). A file that cannot be read, or is not a whole animation file,
  // fails with its cause (no text of its own: the caller names what was being read).
  Status Load(const std::filesystem::path& file);
  Status LoadBytes(std::vector<std::uint8_t> bytes);

  const LafInfo& GetInfo() const { return m_info; }
  int FrameCount() const { return m_info.frameCount; }
  // How long frame `index` stays, in ms; 0 for an index outside the file.
  int FrameDuration(int index) const {
    return index >= 0 && index < m_info.frameCount ? m_frames[static_cast<std::size_t>(index)].duration : 0;
  }
  // Frame `index` (0-based); a frame whose picture does not decode to its planes fails.
  Expected<LafFrame> GetFrameImage(int index) const;

private:
  struct FrameEntry {
    std::size_t offset = 0;  // of the compressed planes
    std::size_t size = 0;
    int duration = 0;
  };
  std::vector<std::uint8_t> m_bytes;
  std::vector<FrameEntry> m_frames;
  LafInfo m_info;
};

class CLafFile {
public:
  CLafFile(const CLafFile&) = delete;
  CLafFile& operator=(const CLafFile&) = delete;
  CLafFile(CLafFile&&) noexcept;
  CLafFile& operator=(CLafFile&&) noexcept;
  // An unclosed file is abandoned: its temporary file is removed, the target left as it was.
  ~CLafFile();

  // Starts `path` for frames of width x height (1..4096) in `colourMode`.
  static Expected<CLafFile> CreateFile(const std::filesystem::path& path, int width, int height,
                                       std::uint16_t colourMode);
  void SetFileType(std::uint16_t fileType) { m_fileType = fileType; }
  // A new frame shown for `duration` ms, black until pictures are added.
  void FrameNew(int duration);
  // Draws `picture` into the frame with its top-left corner at (x, y), clipped to the frame.
  void FrameAddImgpt(int x, int y, const QImage& picture);
  // Compresses the frame and appends it to the file.
  Status FrameSave();
  // Writes the frame count and file type, and puts the file in place of the target.
  Status CloseFile();

private:
  CLafFile() = default;
  // Closes and removes the temporary file of an unclosed file.
  void Abandon();

  std::filesystem::path m_path;
  std::filesystem::path m_temporary;
  std::FILE* m_out = nullptr;
  int m_width = 0;
  int m_height = 0;
  std::uint16_t m_colourMode = 0;
  std::uint16_t m_fileType = kLafAnimationFile;
  int m_frameCount = 0;
  QImage m_frame;
  int m_duration = 0;
  bool m_framePending = false;
};

}  // namespace vantorel
