#include "codecs/gif_codec.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "codecs/palette_reduction.h"
#include "codecs/picture.h"

namespace vantorel {
namespace {

// Composed frames together stay within this, so a long animation cannot exhaust memory.
constexpr std::int64_t kMaxAnimationPixels = kMaxPicturePixels;

struct MemoryInput {
  std::span<const std::uint8_t> bytes;
  std::size_t offset = 0;
};

int ReadFromMemory(GifFileType* file, GifByteType* buffer, int wanted) {
  auto* input = static_cast<MemoryInput*>(file->UserData);
  const std::size_t count = std::min(static_cast<std::size_t>(std::max(wanted, 0)), input->bytes.size() - input->offset);
  std::memcpy(buffer, input->bytes.data() + input->offset, count);
  input->offset += count;
  return static_cast<int>(count);
}

struct GifCloser {
  void operator()(GifFileType* file) const {
    int error = 0;
    DGifCloseFile(file, &error);
  }
};
using GifReader = std::unique_ptr<GifFileType, GifCloser>;

std::string GifError(int code) {
  const char* text = GifErrorString(code);
  return text ? text : "error " + std::to_string(code);
}

// What the graphic control extension before an image says about it.
struct FrameControl {
  int disposal = DISPOSAL_UNSPECIFIED;
  int delayMs = 0;
  int transparent = NO_TRANSPARENT_COLOR;
};

// Interlaced images store rows in four passes.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr int kStart[] = {0, 4, 2, 1};
  constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
  }
  return rows;
}

class CGifDecoder {
public:
  CGifDecoder(GifFileType* file, std::size_t maxFrames, ReadWarnings* warnings)
      : m_file(file), m_maxFrames(maxFrames), m_warnings(warnings) {}

  Expected<Animation> Run() {
    const int width = m_file->SWidth;
    const int height = m_file->SHeight;
    if (Status size = CheckPictureSize(width, height); !size) return size.WithContext("GIF screen");
    Expected<QImage> canvas = MakePicture(width, height);
    if (!canvas) return canvas.status();
    m_canvas = std::move(*canvas);
    while (m_maxFrames == 0 || m_animation.frames.size() < m_maxFrames) {
      GifRecordType record = UNDEFINED_RECORD_TYPE;
      if (DGifGetRecordType(m_file, &record) == GIF_ERROR) return Cut("record: " + GifError(m_file->Error));
      if (record == TERMINATE_RECORD_TYPE) break;
      if (record == EXTENSION_RECORD_TYPE) {
        if (Status read = ReadExtension(); !read) return Cut(read.detail());
      } else if (record == IMAGE_DESC_RECORD_TYPE) {
        if (Status read = ReadImage(); !read) return Cut(read.detail());
      }
    }
    if (m_animation.frames.empty()) return Status::Failure(kNoTextId, "GIF file without a frame");
    return std::move(m_animation);
  }

private:
  // A damaged or too long file keeps the frames read so far.
  Expected<Animation> Cut(const std::string& reason) {
    if (m_animation.frames.empty()) return Status::Failure(kNoTextId, "damaged GIF file: " + reason);
    if (m_warnings) m_warnings->Drop("GIF frames after frame " + std::to_string(m_animation.frames.size()) + ": " + reason);
    return std::move(m_animation);
  }

  Status ReadExtension() {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(m_file, &code, &block) == GIF_ERROR) return Status::Failure(kNoTextId, GifError(m_file->Error));
    bool first = true;
    bool netscape = false;
    while (block) {
      if (code == GRAPHICS_EXT_FUNC_CODE && first) {
        GraphicsControlBlock control{};
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
          m_control = {control.DisposalMode, control.DelayTime * 10, control.TransparentColor};
        }
      } else if (code == APPLICATION_EXT_FUNC_CODE && first) {
        netscape = block[0] >= 11 && std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0;
      } else if (netscape && block[0] >= 3 && block[1] == 1) {
        m_animation.loopCount = block[2] | (block[3] << 8);
      }
      first = false;
      if (DGifGetExtensionNext(m_file, &block) == GIF_ERROR) return Status::Failure(kNoTextId, GifError(m_file->Error));
    }
    return Status::Ok();
  }

  Status ReadImage() {
    if (DGifGetImageDesc(m_file) == GIF_ERROR) return Status::Failure(kNoTextId, GifError(m_file->Error));
    const GifImageDesc& desc = m_file->Image;
    const ColorMapObject* colours = desc.ColorMap ? desc.ColorMap : m_file->SColorMap;
    if (Status size = CheckPictureSize(desc.Width, desc.Height); !size) return size;
    const std::int64_t framePixels = std::int64_t{m_canvas.width()} * m_canvas.height();
    if (m_usedPixels + framePixels > kMaxAnimationPixels) {
      return Status::Failure(kNoTextId, "more frames than " + std::to_string(kMaxAnimationPixels / (1024 * 1024)) +
                                            " Mpixel hold");
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
    std::vector<GifPixelType> indexes(static_cast<std::size_t>(desc.Width) * static_cast<std::size_t>(desc.Height));
    // A frame cut short still shows the rows it has.
    std::vector<char> rowRead(static_cast<std::size_t>(desc.Height), 0);
    Status data;
    for (const int y : RowOrder(desc.Height, desc.Interlace)) {
      if (DGifGetLine(m_file, line.data(), desc.Width) == GIF_ERROR) {
        data = Status::Failure(kNoTextId, "image data: " + GifError(m_file->Error));
        break;
      }
      std::copy(line.begin(), line.end(), indexes.begin() + static_cast<std::ptrdiff_t>(y) * desc.Width);
      rowRead[static_cast<std::size_t>(y)] = 1;
    }
    const QImage before = m_control.disposal == DISPOSE_PREVIOUS ? m_canvas.copy() : QImage();
    Paint(desc, colours, indexes, rowRead);
    m_animation.frames.push_back({m_canvas.copy(), m_control.delayMs});
    m_usedPixels += framePixels;
    Dispose(desc, before);
    m_control = {};
    return data;
  }

  void Paint(const GifImageDesc& desc, const ColorMapObject* colours, const std::vector<GifPixelType>& indexes,
             const std::vector<char>& rowRead) {
    for (int y = 0; y < desc.Height; ++y) {
      if (!rowRead[static_cast<std::size_t>(y)]) continue;
      const int canvasY = desc.Top + y;
      if (canvasY < 0 || canvasY >= m_canvas.height()) continue;
      uchar* out = m_canvas.scanLine(canvasY);
      for (int x = 0; x < desc.Width; ++x) {
        const int canvasX = desc.Left + x;
        if (canvasX < 0 || canvasX >= m_canvas.width()) continue;
        const int index = indexes[static_cast<std::size_t>(y) * static_cast<std::size_t>(desc.Width) + x];
        if (index == m_control.transparent) continue;
        uchar* pixel = out + 3 * canvasX;
        if (colours && index < colours->ColorCount) {
          const GifColorType& colour = colours->Colors[index];
          pixel[0] = colour.Red;
          pixel[1] = colour.Green;
          pixel[2] = colour.Blue;
        } else {
          pixel[0] = pixel[1] = pixel[2] = 0;  // an index outside the palette shows black
        }
      }
    }
  }

  void Dispose(const GifImageDesc& desc, const QImage& before) {
    if (m_control.disposal == DISPOSE_BACKGROUND) {
      // The background is black, as the sign shows nothing there.
      for (int y = std::max(0, desc.Top); y < std::min(m_canvas.height(), desc.Top + desc.Height); ++y) {
        uchar* out = m_canvas.scanLine(y);
        const int left = std::clamp(desc.Left, 0, m_canvas.width());
        const int right = std::clamp(desc.Left + desc.Width, 0, m_canvas.width());
        std::fill(out + 3 * left, out + 3 * right, uchar{0});
      }
    } else if (m_control.disposal == DISPOSE_PREVIOUS && !before.isNull()) {
      m_canvas = before;
    }
  }

  GifFileType* m_file;
  std::size_t m_maxFrames;
  ReadWarnings* m_warnings;
  QImage m_canvas;
  Animation m_animation;
  FrameControl m_control;
  std::int64_t m_usedPixels = 0;
};

// Encoding --------------------------------------------------------------------------------------

int WriteToMemory(GifFileType* file, const GifByteType* data, int count) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(file->UserData);
  out->insert(out->end(), data, data + count);
  return count;
}

struct GifWriterCloser {
  void operator()(GifFileType* file) const {
    int error = 0;
    EGifCloseFile(file, &error);
  }
};

int ColourMapSize(std::size_t colours) {
  int size = 2;
  while (static_cast<std::size_t>(size) < colours) size *= 2;
  return size;
}

Status PutFrame(GifFileType* file, const AnimationFrame& frame, bool animated) {
  const IndexedPicture reduced = ReducePalette(frame.picture);
  const int mapSize = ColourMapSize(reduced.palette.size());
  std::vector<GifColorType> entries(static_cast<std::size_t>(mapSize), GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < reduced.palette.size(); ++i) {
    entries[i] = {reduced.palette[i][0], reduced.palette[i][1], reduced.palette[i][2]};
  }
  ColorMapObject* map = GifMakeMapObject(mapSize, entries.data());
  if (!map) return Status::Failure(kNoTextId, "out of memory for a GIF palette");
  const auto fail = [file, map](const char* what) {
    GifFreeMapObject(map);
    return Status::Failure(kNoTextId, std::string("GIF ") + what + ": " + GifError(file->Error));
  };
  if (animated) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = (frame.delayMs + 5) / 10;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_ERROR) {
      return fail("frame delay");
    }
  }
  if (EGifPutImageDesc(file, 0, 0, reduced.width, reduced.height, false, map) == GIF_ERROR) return fail("image");
  for (int y = 0; y < reduced.height; ++y) {
    auto* row = const_cast<GifPixelType*>(reduced.indexes.data() + static_cast<std::size_t>(y) * reduced.width);
    if (EGifPutLine(file, row, reduced.width) == GIF_ERROR) return fail("image data");
  }
  GifFreeMapObject(map);
  return Status::Ok();
}

Status PutLoop(GifFileType* file, int loopCount) {
  const GifByteType name[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  const GifByteType loop[] = {1, static_cast<GifByteType>(loopCount & 0xFF), static_cast<GifByteType>((loopCount >> 8) & 0xFF)};
  if (EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
      EGifPutExtensionBlock(file, sizeof name, name) == GIF_ERROR ||
      EGifPutExtensionBlock(file, sizeof loop, loop) == GIF_ERROR || EGifPutExtensionTrailer(file) == GIF_ERROR) {
    return Status::Failure(kNoTextId, "GIF loop: " + GifError(file->Error));
  }
  return Status::Ok();
}

}  // namespace

Expected<Animation> DecodeGif(std::span<const std::uint8_t> bytes, std::size_t maxFrames, ReadWarnings* warnings) {
  if (bytes.size() < 6 || std::memcmp(bytes.data(), "GIF8", 4) != 0) return Status::Failure(kNoTextId, "not a GIF file");
  MemoryInput input{bytes};
  int error = 0;
  GifReader file(DGifOpen(&input, ReadFromMemory, &error));
  if (!file) return Status::Failure(kNoTextId, "damaged GIF file: " + GifError(error));
  return CGifDecoder(file.get(), maxFrames, warnings).Run();
}

Expected<QImage> DecodeGifPicture(std::span<const std::uint8_t> bytes, ReadWarnings* warnings) {
  Expected<Animation> animation = DecodeGif(bytes, 1, warnings);
  if (!animation) return animation.status();
  return std::move(animation->frames.front().picture);
}

Expected<std::vector<std::uint8_t>> EncodeGif(const Animation& animation) {
  if (animation.frames.empty()) return Status::Failure(kNoTextId, "a GIF file needs a frame");
  const QSize size = animation.frames.front().picture.size();
  if (Status checked = CheckPictureSize(size.width(), size.height()); !checked) return checked;
  if (size.width() > 0xFFFF || size.height() > 0xFFFF) return Status::Failure(kNoTextId, "GIF sides are at most 65535");
  for (const AnimationFrame& frame : animation.frames) {
    if (frame.picture.size() != size) return Status::Failure(kNoTextId, "GIF frames of different sizes");
  }
  std::vector<std::uint8_t> bytes;
  int error = 0;
  std::unique_ptr<GifFileType, GifWriterCloser> file(EGifOpen(&bytes, WriteToMemory, &error));
  if (!file) return Status::Failure(kNoTextId, "GIF writer: " + GifError(error));
  const bool animated = animation.frames.size() > 1;
  EGifSetGifVersion(file.get(), animated);
  if (EGifPutScreenDesc(file.get(), size.width(), size.height(), 8, 0, nullptr) == GIF_ERROR) {
    return Status::Failure(kNoTextId, "GIF screen: " + GifError(file->Error));
  }
  if (animated) {
    if (Status loop = PutLoop(file.get(), animation.loopCount); !loop) return loop;
  }
  for (const AnimationFrame& frame : animation.frames) {
    if (Status put = PutFrame(file.get(), frame, animated); !put) return put;
  }
  GifFileType* done = file.release();
  if (EGifCloseFile(done, &error) == GIF_ERROR) return Status::Failure(kNoTextId, "GIF end: " + GifError(error));
  return bytes;
}

}  // namespace vantorel
