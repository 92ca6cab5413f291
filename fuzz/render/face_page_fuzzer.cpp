// Hostile clock, temperature and counter items, as a playbill file may hold them, drawn at a
// hostile moment: the first 32 bytes are the item's fields, the window and the moment, the rest is
// its text. A face is always the window's size and never reads or writes past anything.

#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_font_folder.h"
#include "render/faces/face_page.h"
#include "render/font_lib_asia.h"

namespace {

std::uint16_t Word(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | at[1] << 8); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  if (size < 32) return 0;
  static const CFontLib_GB2312 gb(fuzz::FontFolder());
  constexpr std::uint16_t kKinds[4] = {kKindClock, kKindSensor, kKindTimeCounter, kKindWorkCounter};
  tagItemPart item;
  item.actType = kKinds[data[0] % 4];
  item.showMode = Word(data + 1);
  item.vwAsText = static_cast<std::int32_t>(Word(data + 3));
  item.tcMode = data[5];
  for (std::size_t i = 0; i < 6; ++i) item.tcBase[i] = Word(data + 6 + 2 * i);
  item.txt2Img = data[18];
  std::int32_t timeAdj = 0;
  std::memcpy(&timeAdj, data + 19, sizeof timeAdj);
  item.timeAdj = timeAdj;
  item.logFont.height = static_cast<std::int8_t>(data[23]);
  item.fntColor = 0x0000FF;
  item.media = std::string(reinterpret_cast<const char*>(data + 32), size - 32);
  const int width = data[24] % 97;
  const int height = data[25] % 65;
  const DateTime now = {Word(data + 26), data[28], data[29], data[30], data[31], static_cast<std::uint16_t>(data[0] >> 2)};

  const std::vector<std::string> lines = FaceLines(item, now, gb.GetCodePage());
  const auto page = RenderFacePage(item, QSize(width, height), &gb, 0x77, now);
  if (!page) std::abort();
  if (width > 0 && height > 0 && (page->Width() != width || page->Height() != height)) std::abort();
  (void)lines;
  return 0;
}
