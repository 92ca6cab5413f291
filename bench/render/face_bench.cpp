// Clock faces of 64 x 32 LEDs drawn with the dot-matrix fonts the build makes (they lie beside
// this program): the text of the moment, its lines laid out and drawn, and the analog clock.

#include <benchmark/benchmark.h>

#include "platform/program_folder.h"
#include "render/faces/clock_text.h"
#include "render/faces/face_layout.h"
#include "render/faces/face_page.h"
#include "render/font_lib_asia.h"

namespace vantorel {
namespace {

using namespace clock_style;

void DrawFaces(benchmark::State& state, std::uint16_t style, int points) {
  const CFontLib_GB2312 library(ProgramFolder());
  tagItemPart item;
  item.actType = kKindClock;
  item.showMode = style;
  item.logFont.height = FontHeightOfPoints(points);
  item.fntColor = 0x0000FF;
  DateTime now = {2026, 12, 9, 14, 5, 0};
  for (auto _ : state) {
    now.second = static_cast<std::uint16_t>((now.second + 1) % 60);
    auto page = RenderFacePage(item, {64, 32}, &library, 0x77, now);
    benchmark::DoNotOptimize(page);
  }
  state.SetItemsProcessed(state.iterations());
}

// Date and time on two 12-dot lines.
void BM_DigitalClock64x32(benchmark::State& state) {
  DrawFaces(state, WithFormat(kMonth | kDay | kWeekday | kHour | kMinute | kSecond | kTwentyFourHour | kMultiLine, 1), 12);
}
BENCHMARK(BM_DigitalClock64x32);

// The Chinese date with its weekday and the time, 16 dots.
void BM_ChineseClock64x32(benchmark::State& state) {
  DrawFaces(state, WithFormat(kMonth | kDay | kWeekday | kHour | kMinute | kMultiLine, 0), 16);
}
BENCHMARK(BM_ChineseClock64x32);

// The dial with its hands.
void BM_AnalogClock64x32(benchmark::State& state) { DrawFaces(state, kDial | kHands, 8); }
BENCHMARK(BM_AnalogClock64x32);

}  // namespace
}  // namespace vantorel
