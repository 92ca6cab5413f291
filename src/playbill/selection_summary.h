#pragma once
// Where the selection stands in the record list, recomputed after every change. -1 means none;
// a count is -1 when the record it counts in (program or window) does not exist.

#include <cstdint>

#include "playbill/prg_item.h"

namespace vantorel {

struct SelectionSummary {
  std::int32_t recordCount = 0;
  std::int32_t currentRecord = -1;
  std::int32_t programCount = 0;
  std::int32_t currentProgram = -1;   // among programs
  std::int32_t programRecord = -1;
  std::int32_t windowCount = -1;      // windows of the current program
  std::int32_t currentWindow = -1;    // within its program
  std::int32_t windowRecord = -1;
  std::int32_t itemCount = -1;        // items of the current window
  std::int32_t currentItem = -1;      // within its window
  std::int32_t itemRecord = -1;

  friend bool operator==(const SelectionSummary&, const SelectionSummary&) = default;
};

// The summary of `list` with record `current` selected (out of range = nothing selected).
SelectionSummary Summarize(const PrgList& list, int current);

}  // namespace vantorel
