// Glyph lookup and string drawing of the dot-matrix font libraries, on the font files made by the
// build (they lie beside this program).

#include <benchmark/benchmark.h>

#include <QImage>

#include <string>
#include <vector>

#include "platform/program_folder.h"
#include "render/font_code_index.h"
#include "render/font_lib_ascii.h"
#include "render/font_lib_ascii_ex.h"
#include "render/font_lib_asia.h"
#include "render/font_text_encoding.h"

namespace vantorel {
namespace {

// 40 characters: 36 Chinese, a space and three digits, as a clock or a notice line shows them.
const std::string kChineseLine = EncodeForCodePage(
    "欢迎光临本店今日特价商品一律八折优惠时间有限请抓紧选购谢谢惠顾祝您愉快 123", kCodePageGb2312);
const std::string kLatinLine = "Welcome! Today all items 20% off, 25\x7F" "C ok";

void LineWidthAndDraw(benchmark::State& state, const CTwFont& library, const std::string& line, FontStyle style) {
  QImage surface(1024, 64, QImage::Format_RGB32);
  for (auto _ : state) {
    const int width = library.StringWidth(line, style);
    library.DrawString(surface, width, 0, 0, line, style, 0xFFFF0000);
    benchmark::DoNotOptimize(surface.constBits());
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_Gb2312LineAt16(benchmark::State& state) {
  const CFontLib_GB2312 library(ProgramFolder());
  LineWidthAndDraw(state, library, kChineseLine, MakeFontStyle(2));
}
BENCHMARK(BM_Gb2312LineAt16);

void BM_Gb2312LineAt32(benchmark::State& state) {
  const CFontLib_GB2312 library(ProgramFolder());
  LineWidthAndDraw(state, library, kChineseLine, MakeFontStyle(4));
}
BENCHMARK(BM_Gb2312LineAt32);

void BM_AsciiLineAt16(benchmark::State& state) {
  const CFontLib_ASCII library(ProgramFolder());
  LineWidthAndDraw(state, library, kLatinLine, MakeFontStyle(2));
}
BENCHMARK(BM_AsciiLineAt16);

void BM_AsciiExLineAt16(benchmark::State& state) {
  const CFontLib_AsciiEx library(ProgramFolder());
  LineWidthAndDraw(state, library, kLatinLine, MakeFontStyle(2));
}
BENCHMARK(BM_AsciiExLineAt16);

// Every GB2312 code in turn, so the lookups walk the whole file held in memory.
std::vector<std::uint16_t> Gb2312Codes() {
  std::vector<std::uint16_t> codes;
  for (int code = 0xA1A1; code <= 0xF7FE; ++code) {
    if (Gb2312CodeToIndex(static_cast<std::uint16_t>(code)) >= 0) codes.push_back(static_cast<std::uint16_t>(code));
  }
  return codes;
}

void GlyphLookup(benchmark::State& state, FontStyle style) {
  const CFontLib_GB2312 library(ProgramFolder());
  const auto codes = Gb2312Codes();
  GlyphBuffer glyph{};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(library.GetGlyph(glyph, codes[i], style));
    i = i + 1 == codes.size() ? 0 : i + 1;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_GlyphLookupGb2312At16(benchmark::State& state) { GlyphLookup(state, MakeFontStyle(2)); }
BENCHMARK(BM_GlyphLookupGb2312At16);

void BM_GlyphLookupGb2312At56(benchmark::State& state) { GlyphLookup(state, MakeFontStyle(7)); }
BENCHMARK(BM_GlyphLookupGb2312At56);

// The same lookups when every one looks at the disk again (the re-check interval at zero): what
// reading the file per glyph would at least cost.
void BM_GlyphLookupCheckingTheDiskEachTime(benchmark::State& state) {
  CFontFileCache::SetRecheckInterval(std::chrono::milliseconds(0));
  GlyphLookup(state, MakeFontStyle(2));
  CFontFileCache::SetRecheckInterval(std::chrono::milliseconds(1000));
}
BENCHMARK(BM_GlyphLookupCheckingTheDiskEachTime);

void BM_AsciiGlyphLookupFromImage(benchmark::State& state) {
  const CFontLib_ASCII library(ProgramFolder());
  GlyphBuffer glyph{};
  std::uint16_t code = 32;
  for (auto _ : state) {
    benchmark::DoNotOptimize(library.GetGlyph(glyph, code, MakeFontStyle(2)));
    code = code == 126 ? 32 : static_cast<std::uint16_t>(code + 1);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AsciiGlyphLookupFromImage);

}  // namespace
}  // namespace vantorel
