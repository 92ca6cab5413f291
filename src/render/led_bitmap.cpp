#include "render/led_bitmap.h"

#include <algorithm>

namespace vantorel {
namespace {

constexpr LedColour kRed = 0x0000FF;
constexpr LedColour kGreen = 0x00FF00;
constexpr LedColour kBlue = 0xFF0000;

int ChannelValue(LedColour colour, LedChannel channel) {
  return static_cast<int>((colour >> (8 * static_cast<int>(channel))) & 0xFF);
}

}  // namespace

LedPixelFormat LedPixelFormatFor(std::uint16_t colourMode, bool indexedWanted) {
  const bool grey = colourMode == 0 || colourMode == 0x71 || colourMode == 0x73 || colourMode == 0x77;
  return !grey && indexedWanted ? LedPixelFormat::kIndexed4 : LedPixelFormat::kRgb24;
}

std::array<LedColour, 16> IndexedPalette(std::uint16_t colourMode) {
  std::array<LedColour, 16> palette{};  // black
  const int colours = colourMode == 1 || colourMode == 2 ? 2 : colourMode == 3 ? 4 : 8;
  for (int index = 1; index < colours; ++index) {
    palette[static_cast<std::size_t>(index)] =
        (index & 1 ? kRed : 0) | (index & 2 ? kGreen : 0) | (index & 4 ? kBlue : 0);
  }
  return palette;
}

CLedBitmap::CLedBitmap(int width, int height, std::uint16_t colourMode, bool indexedWanted)
    : m_format(LedPixelFormatFor(colourMode, indexedWanted)),
      m_colourMode(colourMode),
      m_palette(IndexedPalette(colourMode)) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == 0 || height == 0) return;
  if (m_format == LedPixelFormat::kRgb24) {
    m_image = QImage(width, height, QImage::Format_RGB888);
  } else {
    m_image = QImage(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const LedColour colour : m_palette) table.push_back(ToQRgb(colour));
    m_image.setColorTable(table);
  }
  Fill(0);
}

std::uint8_t CLedBitmap::IndexOf(LedColour colour) const {
  int index = 0;
  if (ChannelValue(colour, LedChannel::kRed) >= kLitThreshold) index |= 1;
  if (ChannelValue(colour, LedChannel::kGreen) >= kLitThreshold) index |= 2;
  if (ChannelValue(colour, LedChannel::kBlue) >= kLitThreshold) index |= 4;
  // A colour the screen has no LEDs for shows black rather than another colour.
  const LedColour shown = (index & 1 ? kRed : 0) | (index & 2 ? kGreen : 0) | (index & 4 ? kBlue : 0);
  return m_palette[static_cast<std::size_t>(index)] == shown ? static_cast<std::uint8_t>(index) : 0;
}

void CLedBitmap::Fill(LedColour colour) {
  if (IsEmpty()) return;
  if (m_format == LedPixelFormat::kIndexed4) {
    m_image.fill(IndexOf(colour));
  } else {
    m_image.fill(ToQRgb(colour));
  }
}

LedColour CLedBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  if (m_format == LedPixelFormat::kIndexed4) return m_palette[m_image.constScanLine(y)[x] & 0x0F];
  const uchar* pixel = m_image.constScanLine(y) + 3 * x;
  return static_cast<LedColour>(pixel[0]) | (static_cast<LedColour>(pixel[1]) << 8) |
         (static_cast<LedColour>(pixel[2]) << 16);
}

void CLedBitmap::SetPixel(int x, int y, LedColour colour) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  if (m_format == LedPixelFormat::kIndexed4) {
    m_image.scanLine(y)[x] = IndexOf(colour);
    return;
  }
  uchar* pixel = m_image.scanLine(y) + 3 * x;
  pixel[0] = static_cast<uchar>(colour & 0xFF);
  pixel[1] = static_cast<uchar>((colour >> 8) & 0xFF);
  pixel[2] = static_cast<uchar>((colour >> 16) & 0xFF);
}

void CLedBitmap::Assign(const QImage& picture) {
  if (IsEmpty() || picture.size() != m_image.size()) return;
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  if (m_format == LedPixelFormat::kRgb24) {
    m_image = rgb;
    return;
  }
  for (int y = 0; y < Height(); ++y) {
    const uchar* in = rgb.constScanLine(y);
    uchar* out = m_image.scanLine(y);
    for (int x = 0; x < Width(); ++x, in += 3) {
      out[x] = IndexOf(static_cast<LedColour>(in[0]) | (static_cast<LedColour>(in[1]) << 8) |
                       (static_cast<LedColour>(in[2]) << 16));
    }
  }
}

std::vector<std::uint8_t> CLedBitmap::PlaneBytes(LedChannel channel) const {
  std::vector<std::uint8_t> plane;
  plane.reserve(static_cast<std::size_t>(Width()) * static_cast<std::size_t>(Height()));
  for (int y = 0; y < Height(); ++y) {
    for (int x = 0; x < Width(); ++x) plane.push_back(static_cast<std::uint8_t>(ChannelValue(Pixel(x, y), channel)));
  }
  return plane;
}

std::vector<std::uint8_t> CLedBitmap::PlaneBits(LedChannel channel) const {
  const int rowBytes = (Width() + 7) / 8;
  std::vector<std::uint8_t> plane(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(Height()), 0);
  for (int y = 0; y < Height(); ++y) {
    std::uint8_t* row = plane.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(rowBytes);
    for (int x = 0; x < Width(); ++x) {
      if (ChannelValue(Pixel(x, y), channel) >= kLitThreshold) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
  return plane;
}

}  // namespace vantorel
