#include "playbill/play_coverage.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vantorel {
namespace {

constexpr int kMaxProgramsLookedAt = 255;
constexpr int kMidnight = 0;
constexpr int kEndOfDay = 24 * 256;  // 24:00 as hour*256+minute

struct Period {
  int start;
  int end;
};

bool DayCovered(std::vector<Period> periods) {
  if (periods.empty()) return false;
  std::sort(periods.begin(), periods.end(), [](const Period& a, const Period& b) { return a.start < b.start; });
  Period merged = periods.front();
  for (const Period& next : periods) {
    if (next.start <= merged.end) merged.end = std::max(merged.end, next.end);
  }
  return merged.start == kMidnight && (merged.end >> 8) == 24;
}

}  // namespace

bool CheckPlayCoverage(const PrgList& list) {
  std::array<bool, 7> wholeDay{};
  std::array<std::vector<Period>, 7> periods;
  int looked = 0;
  for (const tagPrgItem& record : list) {
    if (!record.IsProgram()) continue;
    const auto& timeSch = record.program.timeSch;
    if (!(timeSch[0] & kTimeWindowFlag) || ++looked > kMaxProgramsLookedAt) return true;
    const int start = timeSch[1];
    const int end = timeSch[2];
    for (int day = 0; day < 7; ++day) {
      if (!(timeSch[0] & (1u << day))) continue;
      const auto d = static_cast<std::size_t>(day);
      if (start == end) {
        wholeDay[d] = true;
      } else if (start < end) {
        periods[d].push_back({start, end});
      } else {
        // The window runs past midnight.
        if (end != kMidnight) periods[d].push_back({kMidnight, end});
        periods[d].push_back({start, kEndOfDay});
      }
    }
  }
  for (std::size_t day = 0; day < 7; ++day) {
    if (!wholeDay[day] && !DayCovered(periods[day])) return false;
  }
  return true;
}

}  // namespace vantorel
