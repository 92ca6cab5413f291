// A rich text of 2,000 characters in a 64 x 32 window: read from RTF, laid out, cut into pages and
// every page drawn into the LED bitmap, for each way of cutting pages.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <string>
#include <utility>

#include "render/richtext/rich_text_pages.h"
#include "render/richtext/rtf_reader.h"

namespace vantorel {
namespace {

void MakeApplication() {
  static int argc = 1;
  static char name[] = "rich_text_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
}

// 2,000 characters: sentences of words in two colours, a bold word and two Chinese characters
// each, a paragraph every few sentences.
const std::string& Text() {
  static const std::string rtf = [] {
    std::string body;
    std::size_t characters = 0;
    for (int sentence = 0; characters < 2000; ++sentence) {
      const std::string words = "Today all items are twenty percent off, come in and see ";
      body += "\\cf1 " + words + "\\b\\cf2 sale\\b0 \\u20013?\\u25991? ";
      characters += words.size() + 7;
      if (sentence % 4 == 3) body += "\\par\r\n";
    }
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss DejaVu Sans;}}"
           "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green255\\blue0;}\\fs18 " +
           body + "}";
  }();
  return rtf;
}

void BM_ReadRtf(benchmark::State& state) {
  MakeApplication();
  for (auto _ : state) {
    auto document = ReadRtf(Text());
    benchmark::DoNotOptimize(document);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Text().size()));
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMicrosecond);

void DrawEveryPage(benchmark::State& state, PaginationMode mode) {
  MakeApplication();
  CLedBitmap bitmap(64, 32, 0x77);
  std::int64_t pages = 0;
  for (auto _ : state) {
    CRichTextPages text;
    text.SetBackground(0);
    text.SetTarget(&bitmap);
    text.SetVerticalCentring(true);
    text.Load(std::move(ReadRtf(Text()).value()));
    text.Paginate(mode);
    while (text.DrawNextPage()) ++pages;
    benchmark::DoNotOptimize(bitmap.Image().constBits());
  }
  state.SetItemsProcessed(pages);
  state.counters["pages"] = static_cast<double>(pages) / static_cast<double>(state.iterations());
}

void BM_WholeLinePages(benchmark::State& state) { DrawEveryPage(state, PaginationMode::kWholeLines); }
BENCHMARK(BM_WholeLinePages)->Unit(benchmark::kMillisecond);
void BM_BandPages(benchmark::State& state) { DrawEveryPage(state, PaginationMode::kBands); }
BENCHMARK(BM_BandPages)->Unit(benchmark::kMillisecond);
void BM_WidthPiecePages(benchmark::State& state) { DrawEveryPage(state, PaginationMode::kWidthPieces); }
BENCHMARK(BM_WidthPiecePages)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantorel
