#include "maker/picture_file_block.h"

#include <algorithm>
#include <string>

#include "app/text_ids.h"
#include "codecs/gif_codec.h"
#include "codecs/picture_file.h"
#include "maker/program_file_writer.h"
#include "platform/atomic_file.h"
#include "platform/byte_reader.h"
#include "render/place_picture.h"

namespace vantorel {
namespace {

QImage Rgb24(const CLedBitmap& page) {
  const QImage& image = page.Image();
  return image.format() == QImage::Format_RGB888 ? image : image.convertToFormat(QImage::Format_RGB888);
}

Expected<std::vector<std::uint8_t>> Encoded(const Animation& animation, const std::string& what) {
  Expected<std::vector<std::uint8_t>> bytes = EncodeGif(animation);
  if (!bytes) return bytes.status().WithText(kTextPictureFileNotMade).WithContext(what);
  if (bytes->size() > kMaxBlockLength) {
    return Status::Failure(kTextDataBlockTooLarge, what + ": a GIF file of " + std::to_string(bytes->size()) + " bytes");
  }
  return bytes;
}

// Skips the data sub-blocks that follow an extension label or an image's code size: a size byte,
// that many bytes, up to a size of 0.
void SkipSubBlocks(ByteReader& in) {
  for (std::uint8_t size = in.U8(); in.ok() && size != 0; size = in.U8()) in.Skip(size);
}

// The bytes of the colour table a packed field of a screen or image descriptor announces.
std::size_t ColourTableBytes(std::uint8_t packed) {
  return (packed & 0x80) != 0 ? std::size_t{3} << ((packed & 7) + 1) : 0;
}

}  // namespace

std::optional<GifOutline> OutlineOfGif(std::span<const std::uint8_t> bytes) {
  if (SniffPictureFormat(bytes) != PictureFormat::kGif) return std::nullopt;
  ByteReader in(bytes);
  in.Skip(6);
  GifOutline outline;
  outline.width = in.U16Le();
  outline.height = in.U16Le();
  const std::uint8_t packed = in.U8();
  in.Skip(2);
  in.Skip(ColourTableBytes(packed));
  while (in.ok()) {
    const std::uint8_t introducer = in.U8();
    if (introducer == 0x21) {
      in.Skip(1);
      SkipSubBlocks(in);
    } else if (introducer == 0x2C) {
      in.Skip(8);
      const std::uint8_t imagePacked = in.U8();
      if (!in.ok()) break;
      ++outline.frames;
      in.Skip(ColourTableBytes(imagePacked) + 1);
      SkipSubBlocks(in);
    } else {
      break;  // the trailer, or a damaged file: what came before stands
    }
  }
  if (outline.frames == 0) return std::nullopt;
  return outline;
}

bool ReversesPages(std::uint16_t showType) {
  const int effect = showType & 0x7FFF;
  return effect == 12 || effect == 15;
}

Expected<std::vector<std::uint8_t>> PictureFileOfPages(std::span<const CLedBitmap> pages, bool reversed) {
  if (pages.empty()) return Status::Failure(kTextNoPicturePages);
  const int delayMs = pages.size() > 1 ? kPictureFilePageDelayMs : 0;
  Animation animation;
  animation.frames.reserve(pages.size());
  for (const CLedBitmap& page : pages) animation.frames.push_back({Rgb24(page), delayMs});
  if (reversed) std::reverse(animation.frames.begin(), animation.frames.end());
  return Encoded(animation, std::to_string(pages.size()) + " pages");
}

Expected<GifAnimationBlock> GifAnimationFile(const std::filesystem::path& gif, int windowWidth, int windowHeight,
                                             std::uint16_t showMode) {
  std::string content;
  if (Status read = ReadWholeFile(gif, content); !read) return read.WithText(kTextAnimationFileUnreadable);
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
  if (SniffPictureFormat(bytes) != PictureFormat::kGif) {
    return Status::Failure(kTextAnimationFileUnreadable, "not a GIF file \u2014 " + gif.string());
  }
  const std::optional<GifOutline> outline = OutlineOfGif(bytes);
  if (!outline) return Status::Failure(kTextAnimationFileUnreadable, "GIF file without a frame \u2014 " + gif.string());

  GifAnimationBlock block;
  if (outline->width <= windowWidth || outline->height <= windowHeight) {
    if (bytes.size() > kMaxBlockLength) {
      return Status::Failure(kTextDataBlockTooLarge, std::to_string(bytes.size()) + " bytes \u2014 " + gif.string());
    }
    block.bytes.assign(bytes.begin(), bytes.end());
    block.frames = outline->frames;
    block.width = outline->width;
    block.height = outline->height;
    return block;
  }
  if (windowWidth < 1 || windowHeight < 1) {
    return Status::Failure(kTextPageSizeDiffers, "window " + std::to_string(windowWidth) + "x" + std::to_string(windowHeight));
  }
  Expected<Animation> animation = DecodeGif(bytes);
  if (!animation) return animation.status().WithText(kTextAnimationFileUnreadable).WithContext(gif.string());
  // Each frame's picture is replaced by its window-size copy: the frames are never held twice.
  for (AnimationFrame& frame : animation->frames) {
    CLedBitmap placed(windowWidth, windowHeight, 0x77);
    PlacePicture(placed, frame.picture, showMode & 0x0F, false);
    frame.picture = Rgb24(placed);
  }
  Expected<std::vector<std::uint8_t>> encoded = Encoded(*animation, gif.string());
  if (!encoded) return encoded.status();
  block.bytes = std::move(*encoded);
  block.frames = static_cast<int>(animation->frames.size());
  block.width = windowWidth;
  block.height = windowHeight;
  return block;
}

}  // namespace vantorel
