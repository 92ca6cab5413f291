#include "maker/picture_pages.h"

#include <algorithm>
#include <string>

#include "app/text_ids.h"
#include "maker/program_file_writer.h"

namespace vantorel {
namespace {

constexpr std::size_t kMaxBlockBytes = kMaxBlockLength;
constexpr std::size_t kPagesHeaderBytes = 10;
constexpr std::size_t kFrameHeaderBytes = 10;
constexpr LedChannel kChannels[] = {LedChannel::kRed, LedChannel::kGreen, LedChannel::kBlue};

bool HasPlane(std::uint16_t colourMode, LedChannel channel) {
  return (colourMode & (1u << static_cast<unsigned>(channel))) != 0;
}
bool HasGreyLevels(std::uint16_t colourMode) { return (colourMode & 0x70) != 0; }

std::string SizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

// Whether a page of `page`'s size and `pageBytes` (with its own header) may join a block that
// already holds `held` bytes and `pages` pages of width x height.
Status MayAdd(const CLedBitmap& page, int width, int height, int pages, std::size_t held, std::size_t pageBytes) {
  if (page.Width() != width || page.Height() != height) {
    return Status::Failure(kTextPageSizeDiffers, "page " + SizeText(page.Width(), page.Height()) + ", window " +
                                                     SizeText(width, height));
  }
  if (width > 0xFFFF || height > 0xFFFF) {
    return Status::Failure(kTextPageSizeDiffers, "window " + SizeText(width, height) + ", at most 65535 a side");
  }
  if (pages >= kMaxBlockPages) return Status::Failure(kTextTooManyPages);
  if (pageBytes > kMaxBlockBytes - held) {
    return Status::Failure(kTextDataBlockTooLarge, std::to_string(pages + 1) + " pages of " + SizeText(width, height));
  }
  return Status::Ok();
}

void AppendPlanes(ByteWriter& out, const CLedBitmap& page, std::uint16_t colourMode) {
  for (LedChannel channel : kChannels) {
    if (!HasPlane(colourMode, channel)) continue;
    out.Bytes(HasGreyLevels(colourMode) ? page.PlaneBytes(channel) : page.PlaneBits(channel));
  }
}

}  // namespace

std::size_t PageBytes(int width, int height, std::uint16_t colourMode) {
  const std::size_t w = static_cast<std::size_t>(std::max(width, 0));
  const std::size_t row = HasGreyLevels(colourMode) ? w : (w + 7) / 8;
  std::size_t planes = 0;
  for (LedChannel channel : kChannels) planes += HasPlane(colourMode, channel) ? 1 : 0;
  return planes * row * static_cast<std::size_t>(std::max(height, 0));
}

CPicturePagesBlock::CPicturePagesBlock(int width, int height, std::uint16_t colourMode)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_colourMode(colourMode),
      m_out(kPagesHeaderBytes + std::min(PageBytes(width, height, colourMode), kMaxBlockBytes)) {
  m_out.U16Le(static_cast<std::uint16_t>(m_width));
  m_out.U16Le(static_cast<std::uint16_t>(m_height));
  m_out.Fill(6);
}

Status CPicturePagesBlock::AddPage(const CLedBitmap& page) {
  const Status may = MayAdd(page, m_width, m_height, m_pages, m_out.Size(), PageBytes(m_width, m_height, m_colourMode));
  if (!may) return may;
  AppendPlanes(m_out, page, m_colourMode);
  ++m_pages;
  for (LedChannel channel : kChannels) {
    if (HasPlane(m_colourMode, channel)) {
      m_out.PatchU16Le(4 + 2 * static_cast<std::size_t>(channel), static_cast<std::uint16_t>(m_pages));
    }
  }
  return Status::Ok();
}

std::vector<std::uint8_t> CPicturePagesBlock::TakeBytes() && { return std::move(m_out).Take(); }

CAnimationFramesBlock::CAnimationFramesBlock(int width, int height, std::uint16_t colourMode)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_colourMode(colourMode) {}

Status CAnimationFramesBlock::AddFrame(const CLedBitmap& frame, int delayMs) {
  if (delayMs <= 0) return Status::Ok();
  const std::size_t frameBytes = kFrameHeaderBytes + PageBytes(m_width, m_height, m_colourMode);
  const Status may = MayAdd(frame, m_width, m_height, m_frames, m_out.Size(), frameBytes);
  if (!may) return may;
  m_out.U8(static_cast<std::uint8_t>(std::min(delayMs / 10, 255)));
  m_out.U32Le(0);
  m_out.U16Le(static_cast<std::uint16_t>(m_width));
  m_out.U16Le(static_cast<std::uint16_t>(m_height));
  m_out.U8(static_cast<std::uint8_t>(m_colourMode & 0xFF));
  AppendPlanes(m_out, frame, m_colourMode);
  ++m_frames;
  return Status::Ok();
}

std::vector<std::uint8_t> CAnimationFramesBlock::TakeBytes() && { return std::move(m_out).Take(); }

}  // namespace vantorel
