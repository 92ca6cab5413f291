#include "maker/block_decoders.h"

#include <algorithm>

#include "app/text_ids.h"
#include "platform/byte_reader.h"
#include "platform/saturating.h"

namespace vantorel {
namespace {

bool HasGrey(std::uint8_t colourMode) { return (colourMode & 0x70) != 0; }
bool HasPlane(std::uint8_t colourMode, int plane) { return (colourMode & (1u << plane)) != 0; }

Status Damaged(const std::string& what, std::size_t offset) {
  return Status::Failure(kTextControllerFileDamaged, "offset " + std::to_string(offset) + " of the block: " + what);
}

// One page of the present planes of `colourMode`, combined into `picture` (which is black).
void DrawPage(ByteReader& in, std::uint8_t colourMode, QImage& picture) {
  const int width = picture.width();
  const int height = picture.height();
  const bool grey = HasGrey(colourMode);
  const std::size_t rowBytes = grey ? static_cast<std::size_t>(width) : (static_cast<std::size_t>(width) + 7) / 8;
  for (int plane = 0; plane < 3; ++plane) {
    if (!HasPlane(colourMode, plane)) continue;
    for (int y = 0; y < height; ++y) {
      const auto row = in.Bytes(rowBytes);
      if (row.size() != rowBytes) return;  // the caller checked the size; never read outside
      std::uint8_t* line = picture.scanLine(y);
      for (int x = 0; x < width; ++x) {
        const std::size_t at = static_cast<std::size_t>(x);
        const std::uint8_t value = grey ? row[at] : ((row[at / 8] & (0x80u >> (at % 8))) != 0 ? 255 : 0);
        line[at * 3 + static_cast<std::size_t>(plane)] = value;
      }
    }
  }
}

Expected<QImage> BlackPicture(std::uint16_t width, std::uint16_t height, std::size_t offset) {
  if (width == 0 || height == 0) return Damaged("a picture of " + std::to_string(width) + "x" + std::to_string(height), offset);
  QImage picture(width, height, QImage::Format_RGB888);
  if (picture.isNull()) return Damaged("no memory for a picture of " + std::to_string(width) + "x" + std::to_string(height), offset);
  picture.fill(Qt::black);
  return picture;
}

}  // namespace

int PresentPlaneCount(std::uint8_t colourMode) {
  return (HasPlane(colourMode, 0) ? 1 : 0) + (HasPlane(colourMode, 1) ? 1 : 0) + (HasPlane(colourMode, 2) ? 1 : 0);
}

std::uint64_t PicturePlaneBytes(std::uint16_t width, std::uint16_t height, std::uint8_t colourMode) {
  const std::uint64_t rowBytes = HasGrey(colourMode) ? width : (static_cast<std::uint64_t>(width) + 7) / 8;
  return rowBytes * height;
}

Expected<PicturePages> DecodePicturePages(std::span<const std::uint8_t> block, std::uint8_t colourMode) {
  ByteReader in(block);
  PicturePages result;
  result.width = in.U16Le();
  result.height = in.U16Le();
  for (std::uint16_t& count : result.planePages) count = in.U16Le();
  if (!in.ok()) return Damaged("picture pages: " + in.Where(), 0);
  std::uint16_t pages = 0;
  bool first = true;
  for (int plane = 0; plane < 3; ++plane) {
    const std::uint16_t count = result.planePages[static_cast<std::size_t>(plane)];
    if (!HasPlane(colourMode, plane)) {
      if (count != 0) return Damaged("an absent plane with " + std::to_string(count) + " pages", 4 + 2 * static_cast<std::size_t>(plane));
      continue;
    }
    if (!first && count != pages) return Damaged("planes with " + std::to_string(pages) + " and " + std::to_string(count) + " pages", 4 + 2 * static_cast<std::size_t>(plane));
    pages = count;
    first = false;
  }
  const std::uint64_t pageBytes = PicturePlaneBytes(result.width, result.height, colourMode) * PresentPlaneCount(colourMode);
  const std::uint64_t expected = pageBytes * pages;
  if (expected != in.Remaining()) {
    return Damaged(std::to_string(pages) + " pages of " + std::to_string(result.width) + "x" + std::to_string(result.height) + " take " +
                       std::to_string(expected) + " bytes, the block holds " + std::to_string(in.Remaining()),
                   kPicturePagesHeaderBytes);
  }
  for (std::uint16_t page = 0; page < pages; ++page) {
    Expected<QImage> picture = BlackPicture(result.width, result.height, kPicturePagesHeaderBytes + page * pageBytes);
    if (!picture) return picture.status();
    DrawPage(in, colourMode, *picture);
    result.pages.push_back(std::move(*picture));
  }
  return result;
}

Expected<std::vector<DecodedFrame>> DecodeAnimationFrames(std::span<const std::uint8_t> block) {
  ByteReader in(block);
  std::vector<DecodedFrame> frames;
  while (!in.AtEnd()) {
    const std::size_t at = in.Offset();
    DecodedFrame frame;
    frame.delayMs = in.U8() * 10;
    in.Skip(4);
    const std::uint16_t width = in.U16Le();
    const std::uint16_t height = in.U16Le();
    frame.colourMode = in.U8();
    if (!in.ok()) return Damaged("frame " + std::to_string(frames.size()) + ": " + in.Where(), at);
    // A frame without planes takes no bytes, whatever its size: no picture is made for it.
    if (PresentPlaneCount(frame.colourMode) == 0) {
      return Damaged("frame " + std::to_string(frames.size()) + " of colour mode " + std::to_string(frame.colourMode) + " has no planes",
                     at + 9);
    }
    const std::uint64_t pageBytes = PicturePlaneBytes(width, height, frame.colourMode) * PresentPlaneCount(frame.colourMode);
    if (pageBytes > in.Remaining()) {
      return Damaged("frame " + std::to_string(frames.size()) + " of " + std::to_string(width) + "x" + std::to_string(height) + " takes " +
                         std::to_string(pageBytes) + " bytes, " + std::to_string(in.Remaining()) + " are left",
                     at + kAnimationFrameHeaderBytes);
    }
    Expected<QImage> picture = BlackPicture(width, height, at + 6);
    if (!picture) return picture.status();
    DrawPage(in, frame.colourMode, *picture);
    frame.picture = std::move(*picture);
    frames.push_back(std::move(frame));
  }
  return frames;
}

std::optional<std::string> TerminatedText(std::span<const std::uint8_t> block) {
  const auto end = std::find(block.begin(), block.end(), std::uint8_t{0});
  if (end == block.end()) return std::nullopt;
  return std::string(block.begin(), end);
}

Expected<DecodedCellText> DecodeCellText(std::span<const std::uint8_t> block) {
  ByteReader in(block);
  DecodedCellText text;
  text.form = in.U8();
  if (!in.ok()) return Damaged("an empty formatted-text block", 0);
  const std::size_t cellBytes = text.form == 1 ? 3 : text.form == 4 ? 6 : 0;
  if (cellBytes == 0) return Damaged("formatted text of form " + std::to_string(text.form) + ", expected 1 or 4", 0);
  if (in.Remaining() % cellBytes != 0) {
    return Damaged(std::to_string(in.Remaining()) + " bytes of cells, not a whole number of " + std::to_string(cellBytes) + "-byte cells", 1);
  }
  text.cells.reserve(in.Remaining() / cellBytes);
  while (!in.AtEnd()) {
    TextCell cell;
    if (cellBytes == 6) {
      cell.red = in.U8();
      cell.green = in.U8();
      cell.blue = in.U8();
    }
    cell.attribute = in.U8();
    cell.character = in.U16Be();
    text.cells.push_back(cell);
  }
  return text;
}

}  // namespace vantorel
