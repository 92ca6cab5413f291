// One "Text mode" page of 64 x 32 LEDs drawn with the dot-matrix fonts the build makes (they lie
// beside this program): the layout of the lines and every cell drawn.

#include <benchmark/benchmark.h>

#include <vector>

#include "platform/program_folder.h"
#include "render/celltext/cell_page.h"
#include "render/celltext/styled_cells.h"
#include "render/font_lib_asia.h"
#include "render/font_text_encoding.h"

namespace vantorel {
namespace {

RichTextBlock Cells(const char* utf8, int pointSize) {
  std::vector<StyledChar> text;
  for (const char32_t character : Utf8Characters(utf8)) text.push_back({character, pointSize, 0x00FFFF, 0});
  return *ConvertToCells(text, {3, kCodePageGb2312, 0xFF, 0}, RichTextBlock::kNewBlockBytes).block;
}

void DrawPages(benchmark::State& state, const RichTextBlock& block, CellPageSettings settings) {
  const CFontLib_GB2312 library(ProgramFolder());
  const CellTextView cells(block);
  CLedBitmap bitmap(64, 32, 0x77);
  for (auto _ : state) {
    const CellPage page = DrawCellPage(bitmap, cells, library, 0, settings);
    benchmark::DoNotOptimize(page);
    benchmark::DoNotOptimize(bitmap.Image().constBits());
  }
  state.SetItemsProcessed(state.iterations());
}

// Two centred lines of four 16-dot Chinese characters: a full page.
void BM_CellPageChinese16(benchmark::State& state) {
  CellPageSettings settings;
  settings.textStyle = MakeTextStyle(5, 0, 0);
  DrawPages(state, Cells("欢迎光临\r本店特价", 16), settings);
}
BENCHMARK(BM_CellPageChinese16);

// Four lines of 8-dot words, wrapped at the window width.
void BM_CellPageLatin8(benchmark::State& state) {
  DrawPages(state, Cells("Welcome to our shop, today all items 20% off! Open 9-18", 8), {});
}
BENCHMARK(BM_CellPageLatin8);

// One page of a horizontally scrolling text: one line of a long text.
void BM_CellPageSingleLine(benchmark::State& state) {
  CellPageSettings settings;
  settings.singleLine = true;
  DrawPages(state, Cells("欢迎光临本店今日特价商品一律八折优惠时间有限请抓紧选购", 16), settings);
}
BENCHMARK(BM_CellPageSingleLine);

}  // namespace
}  // namespace vantorel
