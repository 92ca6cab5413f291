#include "maker/item_record_fields.h"

#include <gtest/gtest.h>

#include "sample_program_files.h"

namespace vantorel {
namespace {

TEST(ItemRecordFields, DecodeEachCodesLayout) {
  struct Row {
    const char* name;
    ItemRecordBytes record;
    const char* field;
    std::int64_t value;
    const char* text;
  };
  const Row rows[] = {
      {"pages effect", test::Record(kCodePicturePages, {{4, 0x00}, {5, 0x80}}), "effect", 0x8000, "effect 0x8000"},
      {"pages stay", test::Record(kCodePicturePages, {{8, 0x2C}, {9, 0x01}}), "stay", 300, "stay 300"},
      {"pages background", test::Record(kCodePicturePages, {{11, 0xFF}, {13, 0x10}}), "background", 0xFF0010, "background #FF0010"},
      {"cell text six-byte flag", test::Record(kCodeCellText, {{10, 0xB0}}), "six-byte cells", 1, "six-byte cells 1"},
      {"cell text image bits", test::Record(kCodeCellText, {{10, 0xB0}}), "text-to-image bits 28-30", 3, nullptr},
      {"clock show mode high byte first", test::Record(kCodeClock, {{4, 0x01}, {5, 0x02}}), "show mode", 0x0102, nullptr},
      {"clock font code under the style bits", test::Record(kCodeClock, {{6, 0x35}}), "font code", 5, nullptr},
      {"clock negative adjust", test::Record(kCodeClock, {{12, 0x80 | 0x40 | 15}, {13, 2}}), "time adjust", -135, "time adjust -135"},
      {"gif negative", test::Record(kCodeGifAnimation, {{12, 0x83}}), "negative", 1, nullptr},
      {"picture file 5-6-5", test::Record(kCodePictureFile, {{13, 0x00}, {14, 0xF8}}), "background", 0xF80000, "background #F80000"},
      {"time counter time", test::Record(kCodeTimeCounter, {{4, 0x0E}, {5, 0x44}}), "time", 0x440E, "time 08:32:28"},
      {"time counter date low byte first", test::Record(kCodeTimeCounter, {{12, 0x69}, {13, 0x4A}, {14, 0x0F}}), "date",
       0x0F4A69, "date 1957-03-09"},
      {"work counter date high byte first", test::Record(kCodeWorkCounter, {{14, 0x69}, {13, 0x4A}, {12, 0x0F}}), "date",
       0x0F4A69, "date 1957-03-09"},
      {"work counter colours", test::Record(kCodeWorkCounter, {{6, 0x52}}), "colour bits", 5, nullptr},
      {"video file show mode", test::Record(kCodeVideoFile, {{5, 3}}), "show mode", 3, nullptr},
      {"border of any code", test::Record(42, {{15, 7}}), "border", 7, nullptr},
      {"unknown code byte by byte", test::Record(42, {{9, 0xAB}}), "byte 9", 0xAB, "byte 9 0x00AB"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ItemFieldValue(row.record, row.field), row.value);
    if (row.text == nullptr) continue;
    for (const ItemField& field : ItemRecordFields(row.record)) {
      if (field.name == row.field) {
        EXPECT_EQ(FieldText(field), row.text);
      }
    }
  }
  EXPECT_EQ(ItemFieldValue(test::Record(kCodeClock), "effect"), std::nullopt);
  EXPECT_STREQ(BlockTypeName(kCodeProgramName), "program name");
  EXPECT_STREQ(ItemCodeName(kCodeWorkCounter), "work counter");
}

}  // namespace
}  // namespace vantorel
