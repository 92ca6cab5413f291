#pragma once
// The LED bitmap: a picture exactly as large as a window, one pixel per LED, top row first. Full
// colour and grey-scale screens (colour modes 0, 0x71, 0x73, 0x77) always use 24-bit RGB; other
// screens use it too unless the caller asks for the indexed form: 4 bits a pixel (kept as one
// byte a pixel in memory) with a fixed 16-entry palette of the screen's colours (index bit 0 red,
// bit 1 green, bit 2 blue).
//
// Colour values given to and taken from the bitmap are stored-form colours: 24-bit RGB with red in
// the low byte (0x0000FF is red), as the playbill keeps them.
//
// A bitmap is a value: copies are independent, and one bitmap belongs to one thread at a time.

#include <QImage>

#include <array>
#include <cstdint>
#include <vector>

namespace vantorel {

using LedColour = std::uint32_t;  // 0x00BBGGRR

inline QRgb ToQRgb(LedColour colour) { return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }
inline LedColour FromQRgb(QRgb rgb) {
  return static_cast<LedColour>(qRed(rgb)) | (static_cast<LedColour>(qGreen(rgb)) << 8) |
         (static_cast<LedColour>(qBlue(rgb)) << 16);
}

enum class LedPixelFormat { kRgb24, kIndexed4 };

// The format of a window's bitmap on a screen of `colourMode`.
LedPixelFormat LedPixelFormatFor(std::uint16_t colourMode, bool indexedWanted);

// The 16 palette entries of the indexed form for `colourMode`, as stored-form colours.
std::array<LedColour, 16> IndexedPalette(std::uint16_t colourMode);

// Channels of a colour plane.
enum class LedChannel { kRed = 0, kGreen = 1, kBlue = 2 };

class CLedBitmap {
public:
  // An empty bitmap (0 x 0) draws nothing and takes nothing.
  CLedBitmap() = default;
  // A black bitmap of width x height (negative sides count as 0).
  CLedBitmap(int width, int height, std::uint16_t colourMode, bool indexedWanted = false);

  int Width() const { return m_image.width(); }
  int Height() const { return m_image.height(); }
  bool IsEmpty() const { return m_image.isNull(); }
  LedPixelFormat Format() const { return m_format; }
  std::uint16_t ColourMode() const { return m_colourMode; }

  void Fill(LedColour colour);
  LedColour Pixel(int x, int y) const;
  void SetPixel(int x, int y, LedColour colour);

  // The pixels as a QImage to draw into (24-bit: Format_RGB888; indexed: Format_Indexed8 with the
  // palette); a painter must not be used on the indexed form, draw into Rgb24 and Quantise then.
  QImage& Image() { return m_image; }
  const QImage& Image() const { return m_image; }
  // Replaces the pixels with `picture` (same size), mapped to the palette in the indexed form.
  void Assign(const QImage& picture);

  // One colour plane, a byte a pixel (the channel's intensity, or 255 / 0 in the indexed form),
  // rows top to bottom without padding.
  std::vector<std::uint8_t> PlaneBytes(LedChannel channel) const;
  // One colour plane, a bit a pixel: an LED is lit when its channel is at least kLitThreshold.
  // Rows top to bottom, each (width + 7) / 8 bytes, the leftmost pixel in the most significant bit,
  // unused low bits of the last byte zero.
  std::vector<std::uint8_t> PlaneBits(LedChannel channel) const;
  static constexpr int kLitThreshold = 128;

  // The palette index nearest to `colour` in the indexed form: each channel counts as lit at
  // kLitThreshold, and a colour the screen cannot show becomes black.
  std::uint8_t IndexOf(LedColour colour) const;

private:
  QImage m_image;
  LedPixelFormat m_format = LedPixelFormat::kRgb24;
  std::uint16_t m_colourMode = 0x77;
  std::array<LedColour, 16> m_palette{};
};

}  // namespace vantorel
