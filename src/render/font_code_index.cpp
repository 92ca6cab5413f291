#include "render/font_code_index.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>

namespace vantorel {
namespace {

// A run of consecutive accepted codes.
struct CodeRun {
  std::uint16_t first;
  std::uint16_t last;
};

// Accepted codes as sorted runs; the index of a code counts the codes of all earlier runs.
template <std::size_t N>
struct RunTable {
  std::array<CodeRun, N> runs{};
  std::array<int, N> before{};
  std::size_t count = 0;

  constexpr void Add(int first, int last) {
    runs[count] = {static_cast<std::uint16_t>(first), static_cast<std::uint16_t>(last)};
    before[count] = count == 0 ? 0 : before[count - 1] + (runs[count - 1].last - runs[count - 1].first + 1);
    ++count;
  }
  // One run per trail range under `lead`.
  constexpr void AddLead(int lead, std::initializer_list<std::array<int, 2>> trails) {
    for (const auto& t : trails) Add(lead * 256 + t[0], lead * 256 + t[1]);
  }
  constexpr int Total() const {
    return count == 0 ? 0 : before[count - 1] + (runs[count - 1].last - runs[count - 1].first + 1);
  }

  // The last run whose start is at or below the code; the code must not pass its end.
  int Find(std::uint16_t code) const {
    const auto end = runs.begin() + static_cast<std::ptrdiff_t>(count);
    const auto it = std::upper_bound(runs.begin(), end, code,
                                     [](std::uint16_t c, const CodeRun& run) { return c < run.first; });
    if (it == runs.begin()) return -1;
    const auto i = static_cast<std::size_t>(it - runs.begin() - 1);
    if (code > runs[i].last) return -1;
    return before[i] + (code - runs[i].first);
  }
};

constexpr auto MakeBig5Runs() {
  RunTable<179> table;
  for (int lead = 0xA1; lead <= 0xF9; ++lead) {
    if (lead == 0xA3) {
      table.AddLead(lead, {{0x40, 0x7E}, {0xA1, 0xBF}, {0xE1, 0xE1}});
    } else if (lead == 0xC8) {
      table.AddLead(lead, {{0x40, 0x7E}, {0xA1, 0xD3}});
    } else {
      table.AddLead(lead, {{0x40, 0x7E}, {0xA1, 0xFE}});
    }
  }
  return table;
}

constexpr auto MakeHkscsRuns() {
  RunTable<79> table;
  constexpr std::array<std::array<int, 2>, 23> kHead = {{
      {0x8740, 0x8779}, {0x8840, 0x887E}, {0x88A1, 0x88AA}, {0x8940, 0x897E}, {0x89A1, 0x89A6},
      {0x89AB, 0x89FE}, {0x8A40, 0x8A7E}, {0x8AA1, 0x8AAA}, {0x8AAC, 0x8AB0}, {0x8AB2, 0x8AB9},
      {0x8ABB, 0x8ADC}, {0x8ADF, 0x8AF4}, {0x8AF6, 0x8AFE}, {0x8B40, 0x8B7E}, {0x8BA1, 0x8BFD},
      {0x8C40, 0x8C7E}, {0x8CA1, 0x8CFE}, {0x8D40, 0x8D7E}, {0x8DA1, 0x8DFE}, {0x8E40, 0x8E7D},
      {0x8EA1, 0x8EFE}, {0x8F40, 0x8F7E}, {0x8FA1, 0x8FFD},
  }};
  for (const auto& run : kHead) table.Add(run[0], run[1]);
  for (int lead = 0x90; lead <= 0xA0; ++lead) table.AddLead(lead, {{0x40, 0x7E}, {0xA1, 0xFE}});
  constexpr std::array<std::array<int, 2>, 12> kMiddle = {{
      {0xC6A1, 0xC6CE}, {0xC6D0, 0xC6D2}, {0xC6D4, 0xC6D6}, {0xC6D8, 0xC6DD}, {0xC6E0, 0xC6FE},
      {0xC740, 0xC77E}, {0xC7A1, 0xC7FE}, {0xC840, 0xC87E}, {0xC8A1, 0xC8A4}, {0xC8CD, 0xC8F1},
      {0xC8F5, 0xC8FE}, {0xF9D6, 0xF9FE},
  }};
  for (const auto& run : kMiddle) table.Add(run[0], run[1]);
  for (int lead = 0xFA; lead <= 0xFE; ++lead) table.AddLead(lead, {{0x40, 0x7E}, {0xA1, 0xFE}});
  return table;
}

constexpr auto MakeKsc5601Runs() {
  RunTable<300> table;
  auto latinRow = [&table](int lead, int lastTrail) {
    table.AddLead(lead, {{0x41, 0x5A}, {0x61, 0x7A}, {0x81, lastTrail}});
  };
  for (int lead = 0x81; lead <= 0xA1; ++lead) latinRow(lead, 0xFE);
  latinRow(0xA2, 0xE7);
  latinRow(0xA3, 0xFE);
  latinRow(0xA4, 0xFE);
  table.AddLead(0xA5, {{0x41, 0x5A}, {0x61, 0x7A}, {0x81, 0xAA}, {0xB0, 0xB9}, {0xC1, 0xD8}, {0xE1, 0xF8}});
  latinRow(0xA6, 0xE4);
  latinRow(0xA7, 0xEF);
  latinRow(0xA8, 0xFE);
  latinRow(0xA9, 0xFE);
  latinRow(0xAA, 0xF3);
  latinRow(0xAB, 0xF6);
  latinRow(0xAC, 0xC1);
  for (int lead = 0xAD; lead <= 0xAF; ++lead) latinRow(lead, 0xA0);
  for (int lead = 0xB0; lead <= 0xC5; ++lead) latinRow(lead, 0xFE);
  table.AddLead(0xC6, {{0x41, 0x52}, {0xA1, 0xFE}});
  table.AddLead(0xC7, {{0xA1, 0xFE}});
  table.AddLead(0xC8, {{0xA1, 0xFE}});
  for (int lead = 0xCA; lead <= 0xFD; ++lead) table.AddLead(lead, {{0xA1, 0xFE}});
  return table;
}

constexpr auto kBig5Runs = MakeBig5Runs();
constexpr auto kHkscsRuns = MakeHkscsRuns();
constexpr auto kKsc5601Runs = MakeKsc5601Runs();
static_assert(kBig5Runs.count == 179 && kBig5Runs.Total() == kBig5GlyphCount);
static_assert(kHkscsRuns.count == 79 && kHkscsRuns.Total() == kHkscsGlyphCount);
static_assert(kKsc5601Runs.Total() == kKsc5601GlyphCount);

int Lead(std::uint16_t code) { return code >> 8; }
int Trail(std::uint16_t code) { return code & 0xFF; }

}  // namespace

int Gb2312CodeToIndex(std::uint16_t code) {
  const int lead = Lead(code);
  const int trail = Trail(code);
  if (trail < 0xA1 || trail > 0xFE) return -1;
  if (lead >= 0xA1 && lead <= 0xA9) return (lead - 0xA1) * 94 + (trail - 0xA1);
  if (lead >= 0xB0 && lead <= 0xF7) return 846 + (lead - 0xB0) * 94 + (trail - 0xA1);
  return -1;
}

int GbkExtCodeToIndex(std::uint16_t code) {
  const int lead = Lead(code);
  const int trail = Trail(code);
  if (trail == 0x7F) return -1;
  const int skip = trail >= 0x80 ? 1 : 0;
  if (lead >= 0x81 && lead <= 0xA0 && trail >= 0x40 && trail <= 0xFE) {
    return (lead - 0x81) * 190 + (trail - 0x40) - skip;
  }
  if (lead >= 0xAA && lead <= 0xFE && trail >= 0x40 && trail <= 0xA0) {
    return 6080 + (lead - 0xAA) * 96 + (trail - 0x40) - skip;
  }
  return -1;
}

int Big5CodeToIndex(std::uint16_t code) { return kBig5Runs.Find(code); }

int HkscsCodeToIndex(std::uint16_t code) { return kHkscsRuns.Find(code); }

int Ksc5601CodeToIndex(std::uint16_t code) {
  if ((code & 0x8000) == 0) return -1;
  return kKsc5601Runs.Find(code);
}

int ShiftJisCodeToIndex(std::uint16_t code) {
  const int lead = Lead(code);
  const int trail = Trail(code);
  int leadPosition;
  if (lead >= 0x81 && lead <= 0x9F) {
    leadPosition = lead - 0x81;
  } else if (lead >= 0xE0 && lead <= 0xFC) {
    leadPosition = 31 + (lead - 0xE0);
  } else {
    return -1;
  }
  if (trail < 0x40 || trail > 0xFC || trail == 0x7F) return -1;
  return leadPosition * 188 + (trail - 0x40) - (trail >= 0x80 ? 1 : 0);
}

}  // namespace vantorel
