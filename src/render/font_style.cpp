#include "render/font_style.h"

#include "app/text_table.h"

namespace vantorel {

int SizeToIndex(int height) {
  for (int s = 0; s < kFontSizeCount; ++s) {
    if (kFontGeometry[static_cast<std::size_t>(s)].height == height) return s;
  }
  return 2;
}

int IndexToSize(int sizeIndex) {
  if (sizeIndex < 0 || sizeIndex >= kFontSizeCount) return 16;
  return kFontGeometry[static_cast<std::size_t>(sizeIndex)].height;
}

std::string SizeLabel(int sizeIndex) { return std::to_string(IndexToSize(sizeIndex)) + LoadText(kTextDotSuffix); }

}  // namespace vantorel
