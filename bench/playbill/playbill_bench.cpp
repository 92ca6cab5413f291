// Reading and writing a playbill of 1000 items: the encoder and decoder in memory, and whole
// files on disk (the writer's temporary file, flushed and renamed; the reader's whole-file read).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "playbill/playbill_reader.h"
#include "playbill/playbill_writer.h"
#include "playbill/prg_item.h"

namespace {

using namespace vantorel;

constexpr int kItems = 1000;
constexpr int kItemsPerWindow = 25;

tagScreenInfo Screen() {
  tagScreenInfo screen;
  screen.type = 6;
  screen.number = 1;
  screen.width = 128;
  screen.height = 64;
  screen.model = 0x4B05;
  return screen;
}

// 1000 items of every kind in turn, 25 to a window, four windows to a program; the formatted
// texts carry their default blocks (204 bytes for image text, 24 for cell text).
PrgList ThousandItems() {
  PrgList list;
  for (int i = 0; i < kItems; ++i) {
    if (i % (kItemsPerWindow * 4) == 0) list.push_back(NewProgramRecord());
    if (i % kItemsPerWindow == 0) list.push_back(NewWindowRecord(0, 0, 128, 64));
    tagPrgItem item = NewItemRecord(ItemDefaults{i % 2, 0x8000, 16}, false);
    const auto kind = static_cast<std::uint16_t>(1 + i % 11);
    if (kind != kKindCellText && kind != kKindImageText) {
      item.item.richTxt.reset();
      item.item.actType = kind;
      item.item.media = "/var/lib/vantorel/media/picture-" + std::to_string(i) + ".jpg";
    }
    item.item.logFont.faceName = "DejaVu Sans Mono";
    list.push_back(std::move(item));
  }
  return list;
}

const PrgList& Playbill() {
  static const PrgList list = ThousandItems();
  return list;
}

void BM_EncodePlaybill(benchmark::State& state) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto file = EncodePlaybill(Playbill(), Screen(), -1, "/var/lib/vantorel/work");
    bytes = file->size();
    benchmark::DoNotOptimize(file);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["items/s"] = benchmark::Counter(static_cast<double>(state.iterations() * kItems), benchmark::Counter::kIsRate);
  state.counters["file bytes"] = static_cast<double>(bytes);
}

void BM_DecodePlaybill(benchmark::State& state) {
  const auto file = EncodePlaybill(Playbill(), Screen(), -1, "/var/lib/vantorel/work");
  for (auto _ : state) {
    PrgList list;
    int version = 110;
    (void)DecodePlaybill(*file, "/var/lib/vantorel/work", list, version);
    benchmark::DoNotOptimize(list);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file->size()));
  state.counters["items/s"] = benchmark::Counter(static_cast<double>(state.iterations() * kItems), benchmark::Counter::kIsRate);
}

std::filesystem::path BenchFile() {
  return std::filesystem::temp_directory_path() / ("vantorel-bench-" + std::to_string(::getpid()) + ".ldt");
}

void BM_WritePlaybillFile(benchmark::State& state) {
  const auto file = BenchFile();
  for (auto _ : state) benchmark::DoNotOptimize(WritePlaybill(file, Playbill(), Screen()));
  std::filesystem::remove(file);
  state.counters["items/s"] = benchmark::Counter(static_cast<double>(state.iterations() * kItems), benchmark::Counter::kIsRate);
}

void BM_ReadPlaybillFile(benchmark::State& state) {
  const auto file = BenchFile();
  if (const Status written = WritePlaybill(file, Playbill(), Screen()); !written) {
    state.SkipWithError(written.detail().c_str());
    return;
  }
  for (auto _ : state) {
    PrgList list;
    int version = 110;
    (void)ReadPlaybill(file, list, version);
    benchmark::DoNotOptimize(list);
  }
  std::filesystem::remove(file);
  state.counters["items/s"] = benchmark::Counter(static_cast<double>(state.iterations() * kItems), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_EncodePlaybill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePlaybill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePlaybillFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPlaybillFile)->Unit(benchmark::kMillisecond);

}  // namespace
