#include "render/faces/face_layout.h"

#include <algorithm>
#include <cstdlib>

#include "render/font_text_encoding.h"

namespace vantorel {

int PointsOfFontHeight(int logFontHeight) {
  return (std::abs(logFontHeight) * 72 + kLogicalDpi / 2) / kLogicalDpi;
}

int FontHeightOfPoints(int points) { return -((points * kLogicalDpi + 36) / 72); }

FontStyle FaceFontStyle(int logFontHeight, std::int32_t vwAsText) {
  const int sizeIndex = SizeToIndex(PointsOfFontHeight(logFontHeight));
  return MakeFontStyle(sizeIndex, (vwAsText >> kStyleFaceShift) & 7);
}

std::string WithBlankColons(std::string line) {
  int blanked = 0;
  for (std::size_t i = line.size(); i > 0 && blanked < 2; --i) {
    if (line[i - 1] == ':') {
      line[i - 1] = ' ';
      ++blanked;
    }
  }
  return line;
}

void DrawCentredLines(CLedBitmap& bitmap, const CDotFont& font, const std::vector<std::string>& lines,
                      const FaceTextStyle& text) {
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  if (lines.empty() || width <= 0 || height <= 0) return;
  const int slot = height / static_cast<int>(lines.size());
  const int fontHeight = IndexToSize(StyleSizeIndex(text.style));
  const QRgb colour = ToQRgb(text.colour);
  int y = fontHeight < slot ? (slot - fontHeight) / 2 : 0;
  for (std::size_t i = 0; i < lines.size() && y < height; ++i) {
    const bool last = i + 1 == lines.size();
    const std::string shown = last && text.blankColons ? WithBlankColons(lines[i]) : lines[i];
    const std::string bytes = EncodeForCodePage(shown, font.GetCodePage());
    const int x = std::max(0, (width - font.StringWidth(bytes, text.style)) / 2);
    font.DrawString(bitmap.Image(), width, x, y, bytes, text.style, colour);
    y += std::max(fontHeight, slot);
  }
}

}  // namespace vantorel
