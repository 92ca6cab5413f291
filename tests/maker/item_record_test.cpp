#include "maker/item_record.h"

#include "maker/item_record_fields.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantorel {
namespace {

using Bytes16 = ItemRecordBytes;

tagItemPart Item(const std::function<void(tagItemPart&)>& fill) {
  tagItemPart item;
  fill(item);
  return item;
}

TEST(ItemRecord, LaysOutEveryCodeByteForByte) {
  struct Row {
    const char* name;
    std::uint8_t code;
    tagItemPart item;
    ItemRecordExtras extras;
    Bytes16 expected;
  };
  const std::array<std::uint16_t, 6> base = {2024, 5, 17, 13, 45, 31};  // date 0x0FD0B1, time 0x6DAF
  const Row rows[] = {
      {"picture pages", 1,
       Item([](tagItemPart& i) { i.transp = 1; i.showType = 3; i.speed = 5; i.actTime = 0x0102; i.bgColor = 0x332211; }),
       {},
       {0x01, 0x01, 0, 0, 0x03, 0x00, 0x05, 0x00, 0x02, 0x01, 0x00, 0x11, 0x22, 0x33, 0x00, 0x00}},
      {"picture pages, random effect", 1,
       Item([](tagItemPart& i) { i.showType = 0x8007; i.fntColor = 0xFFFFFF; }),
       {},
       {0x01, 0, 0, 0, 0x00, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"cell text, six-byte cells", 3,
       Item([](tagItemPart& i) { i.showType = 0x0B; i.speed = 2; i.actTime = 10; i.txt2Img = 0x50120000; i.bgColor = 0x0000FF; }),
       {.sixByteCells = true},
       {0x03, 0x00, 0, 0, 0x0B, 0x00, 0x02, 0x00, 0x0A, 0x00, 0xD0, 0xFF, 0x00, 0x00, 0x12, 0x00}},
      {"cell text, top bit of TXT2IMG", 3,
       Item([](tagItemPart& i) { i.transp = 1; i.txt2Img = static_cast<std::int32_t>(0xF0AB00CDu); }),
       {},
       {0x03, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0x70, 0, 0, 0, 0xAB, 0}},
      {"animation frames", 4,
       Item([](tagItemPart& i) { i.transp = 1; i.showType = 5; i.speed = 9; i.actTime = 7; }),
       {.frames = 300},
       {0x04, 0, 0, 0, 0x2C, 0x01, 0x07, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"clock, time shifted back", 5,
       Item([](tagItemPart& i) {
         i.transp = 1; i.showMode = 0x0312; i.logFont.height = -21; i.vwAsText = 0x130; i.fntColor = 0xFF8000;
         i.actTime = 0x1234; i.timeAdj = -3725;
       }),
       {},
       {0x05, 0x00, 0, 0, 0x03, 0x12, 0x32, 0x00, 0x80, 0xFF, 0x34, 0x12, 0xC5, 0x3E, 0x00, 0x00}},
      {"clock, a shift whose quotient by 60 passes a byte", 5,
       Item([](tagItemPart& i) { i.timeAdj = 90061; }),
       {},
       {0x05, 0, 0, 0, 0, 0, 0x00, 0, 0, 0, 0, 0, 0x01, 0xDD, 0, 0}},
      {"sensor", 6,
       Item([](tagItemPart& i) {
         i.transp = 2; i.showMode = 0x0102; i.logFont.height = -75; i.vwAsText = 0x70; i.fntColor = 0x0000FF; i.actTime = 3;
       }),
       {},
       {0x06, 0x02, 0, 0, 0x02, 0x00, 0x77, 0xFF, 0x00, 0x00, 0x03, 0x00, 0, 0, 0, 0}},
      {"GIF animation, negative", 7,
       Item([](tagItemPart& i) { i.transp = 1; i.actTime = 0x0A00; i.showMode = 0x13; i.negative = 1; }),
       {.frames = 12, .pictureWidth = 200, .pictureHeight = 320},
       {0x07, 0x00, 0, 0, 0x0C, 0x00, 0x00, 0x0A, 0xC8, 0x00, 0x40, 0x01, 0x83, 0, 0, 0}},
      {"picture file, red background", 8,
       Item([](tagItemPart& i) { i.transp = 1; i.showType = 0x8020; i.speed = 1; i.actTime = 0xFFFF; i.bgColor = 0x0000FF; }),
       {},
       {0x08, 0x01, 0, 0, 0x00, 0x80, 0x01, 0x00, 0xFF, 0xFF, 0, 0, 0, 0x00, 0xF8, 0}},
      {"picture file, mixed background", 8,
       Item([](tagItemPart& i) { i.showType = 4; i.bgColor = 0x102030; }),
       {},
       {0x08, 0, 0, 0, 0x04, 0x00, 0, 0, 0, 0, 0, 0, 0, 0x02, 0x31, 0}},
      {"time counter", 9,
       Item([&](tagItemPart& i) {
         i.transp = 1; i.tcBase = base; i.logFont.height = -32; i.vwAsText = 0x1040; i.fntColor = 0xFF0000;
         i.tcMode = 0x21; i.actTime = 0x10;
       }),
       {},
       {0x09, 0x01, 0, 0, 0xAF, 0x6D, 0x43, 0x04, 0x05, 0x21, 0x10, 0x00, 0xB1, 0xD0, 0x0F, 0}},
      {"video animation", 11,
       Item([](tagItemPart& i) { i.transp = 1; i.actTime = 4; i.showMode = 0x0102; }),
       {.frames = 1000, .pictureWidth = 64, .pictureHeight = 32},
       {0x0B, 0, 0, 0, 0xE8, 0x03, 0x04, 0x00, 0x40, 0x00, 0x20, 0x00, 0x02, 0, 0, 0}},
      {"work counter", 13,
       Item([&](tagItemPart& i) {
         i.tcMode = 7; i.showMode = 0xA1B2; i.logFont.height = -16; i.fntColor = 0xFFFF00; i.timeAdj = -2;
         i.txt2Img = 0x1234; i.actTime = 0x0102; i.tcBase = base; i.vwAsText = 0x70;
       }),
       {},
       {0x0D, 0x07, 0, 0, 0xA1, 0xB2, 0x61, 0xFE, 0xFF, 0x34, 0x02, 0x01, 0x0F, 0xD0, 0xB1, 0}},
      {"video file", 16,
       Item([](tagItemPart& i) { i.transp = 1; i.showType = 3; i.showMode = 0x0304; i.actTime = 0x0506; }),
       {.frames = 9},
       {0x10, 0, 0, 0, 0x00, 0x04, 0x06, 0x05, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"code without a layout", 2,
       Item([](tagItemPart& i) { i.transp = 1; i.actTime = 5; }),
       {},
       {0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(MakeItemRecord(row.code, row.item, row.extras), row.expected);
  }
}

// The records read back through the inspector's field reader, written apart from the builder.
TEST(ItemRecord, ReadsBackThroughTheInspectorFields) {
  struct Row {
    std::uint8_t code;
    tagItemPart item;
    const char* field;
    std::int64_t value;
  };
  const std::array<std::uint16_t, 6> base = {2025, 3, 9, 8, 30, 14};
  const Row rows[] = {
      {1, Item([](tagItemPart& i) { i.bgColor = 0x0000FF; }), "background", 0xFF0000},
      {1, Item([](tagItemPart& i) { i.showType = 0x8123; }), "effect", 0x8000},
      {3, Item([](tagItemPart& i) { i.txt2Img = 0x60340000; }), "text-to-image bits 28-30", 6},
      {3, Item([](tagItemPart& i) { i.txt2Img = 0x60340000; }), "text-to-image bits 16-23", 0x34},
      {5, Item([](tagItemPart& i) { i.timeAdj = -754; }), "time adjust", -754},
      {5, Item([](tagItemPart& i) { i.showMode = 0x0201; }), "show mode", 0x0201},
      {5, Item([](tagItemPart& i) { i.logFont.height = -64; i.vwAsText = 0x50; }), "font code", 6},  // 48 points
      {5, Item([](tagItemPart& i) { i.logFont.height = -64; i.vwAsText = 0x50; }), "style bits", 0x50},
      {8, Item([](tagItemPart& i) { i.bgColor = 0x00FF00; }), "background 5-6-5", 0x07E0},
      {9, Item([&](tagItemPart& i) { i.tcBase = base; }), "date", (2025 * 16 + 3) * 32 + 9},
      {9, Item([&](tagItemPart& i) { i.tcBase = base; }), "time", 8 * 2048 + 30 * 32 + 7},
      {9, Item([](tagItemPart& i) { i.fntColor = 0xFF00FF; }), "colour bits", 5},
      {13, Item([&](tagItemPart& i) { i.tcBase = base; }), "date", (2025 * 16 + 3) * 32 + 9},
      {13, Item([](tagItemPart& i) { i.fntColor = 0x00FF00; }), "colour bits", 2},
      {13, Item([](tagItemPart& i) { i.timeAdj = 4660; }), "time adjust", 4660},
      {16, Item([](tagItemPart& i) { i.showMode = 0x0105; }), "show mode", 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.code) + " " + row.field);
    EXPECT_EQ(ItemFieldValue(MakeItemRecord(row.code, row.item), row.field), row.value);
  }
}

TEST(ItemRecord, FontCodeStepsAtEachDotHeight) {
  struct Row {
    int dots;
    int code;
  };
  const Row rows[] = {{-5, 0}, {0, 0},  {11, 0}, {12, 1}, {15, 1}, {16, 2}, {23, 2}, {24, 3}, {31, 3},
                      {32, 4}, {39, 4}, {40, 5}, {47, 5}, {48, 6}, {55, 6}, {56, 7}, {200, 7}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.dots);
    EXPECT_EQ(FontCodeOfDotHeight(row.dots), row.code);
  }
}

TEST(ItemRecord, FontCodeOfALogFontCountsItsPoints) {
  struct Row {
    int height;  // LOGFONT height
    int code;
  };
  // Points are |height| x 72 / 96 rounded: -15 is 11 points, -16 is 12, -53 is 40, -73 is 55.
  const Row rows[] = {{-15, 0}, {-16, 1}, {16, 1}, {-20, 1}, {-21, 2}, {-53, 5}, {-73, 6}, {-74, 7}, {-75, 7}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.height);
    tagLogFont font;
    font.height = row.height;
    EXPECT_EQ(FontCodeOf(font), row.code);
  }
}

TEST(ItemRecord, EveryRandomEffectIsOneCode) {
  struct Row {
    std::uint16_t showType;
    std::uint16_t effect;
  };
  const Row rows[] = {{0, 0}, {12, 12}, {0x7FFF, 0x7FFF}, {0x8000, 0x8000}, {0x8005, 0x8000}, {0xFFFF, 0x8000}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.showType);
    EXPECT_EQ(EffectCode(row.showType), row.effect);
  }
}

TEST(ItemRecord, PacksDateAndTime) {
  struct Row {
    std::array<std::uint16_t, 6> base;
    std::uint32_t date;
    std::uint16_t time;
  };
  const Row rows[] = {
      {{2024, 5, 17, 13, 45, 31}, 0x0FD0B1, 0x6DAF},
      {{2000, 1, 1, 0, 0, 0}, 0x0FA021, 0x0000},
      {{1999, 12, 31, 23, 59, 59}, 0x0F9F9F, 0xBF7D},  // the odd second is dropped
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.base[0]);
    EXPECT_EQ(PackedDate(row.base), row.date);
    EXPECT_EQ(PackedTime(row.base), row.time);
  }
}

}  // namespace
}  // namespace vantorel
