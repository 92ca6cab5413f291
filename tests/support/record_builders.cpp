#include "support/record_builders.h"

namespace vantorel::test {

tagPrgItem P(std::string_view name) {
  tagPrgItem record = NewProgramRecord();
  record.program.prgName = name;
  return record;
}

tagPrgItem W(std::int16_t left, std::int16_t top, std::uint16_t width, std::uint16_t height) {
  return NewWindowRecord(left, top, width, height);
}

tagPrgItem I(std::uint16_t kind, std::string_view media) {
  tagPrgItem record;
  record.level = kLevelItem;
  record.item.actType = kind;
  record.item.media = media;
  return record;
}

}  // namespace vantorel::test
