#pragma once
// Small builders for record lists in tests.

#include <string_view>

#include "playbill/prg_item.h"

namespace vantorel::test {

inline tagPrgItem P(std::string_view name = {}) {
  tagPrgItem record = NewProgramRecord();
  record.program.prgName = name;
  return record;
}

inline tagPrgItem W(std::int16_t left = 0, std::int16_t top = 0, std::uint16_t width = 16, std::uint16_t height = 16) {
  return NewWindowRecord(left, top, width, height);
}

inline tagPrgItem I(std::uint16_t kind = kKindImageText, std::string_view media = {}) {
  tagPrgItem record;
  record.level = kLevelItem;
  record.item.actType = kind;
  record.item.media = media;
  return record;
}

}  // namespace vantorel::test
