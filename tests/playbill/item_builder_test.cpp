// The rules by which front ends build records: item-kind starts, stored colours and cell styles,
// the text blocks of formatted-text items and the encoding of program time windows.

#include <gtest/gtest.h>

#include "playbill/item_builder.h"
#include "playbill/play_coverage.h"

namespace vantorel {
namespace {

TEST(ItemBuilder, StoredColoursHaveRedInTheLowByte) {
  EXPECT_EQ(StoredColour(0xFF0000), kStoredRed);
  EXPECT_EQ(StoredColour(0x0000FF), 0xFF0000u);
  EXPECT_EQ(StoredColour(0x123456), 0x563412u);
  EXPECT_EQ(StoredColour(0xAB123456), 0x563412u) << "bits above the 24 colour bits are dropped";
}

TEST(ItemBuilder, CellStylesCarrySizeAndColourBits) {
  const struct {
    const char* name;
    std::uint32_t colour;
    int height;
    std::uint8_t style;
  } cases[] = {
      {"red 16 dots", kStoredRed, 16, 0x12},
      {"green 8 dots", 0x00FF00, 8, 0x20},
      {"blue 56 dots", 0xFF0000, 56, 0x47},
      {"white 24 dots", 0xFFFFFF, 24, 0x73},
      {"black, odd height = 16 dots", 0x000000, 17, 0x02},
      {"dim red still has the red bit", 0x000001, 12, 0x11},
  };
  for (const auto& c : cases) EXPECT_EQ(CellStyleOf(c.colour, c.height), c.style) << c.name;
}

TEST(ItemBuilder, PlacedKindsKeepAPlacementButNoOtherKindsDisplayMode) {
  const struct {
    const char* name;
    std::uint16_t from;
    std::uint16_t fromMode;
    std::uint16_t to;
    std::uint16_t mode;
  } cases[] = {
      {"a clock's style is no placement", kKindClock, 0x118, kKindVideo, kDefaultPlacementMode},
      {"a work week is no placement", kKindWorkCounter, 0x083E, kKindAnimation, kDefaultPlacementMode},
      {"a sensor's humidity bit is", kKindSensor, 2, kKindPicture, 2},
      {"zoom stays zoom", kKindPicture, 1, kKindVideo, 1},
      {"tile stays tile", kKindVideo, 3, kKindAnimation, 3},
  };
  for (const auto& c : cases) {
    tagPrgItem record = NewItemRecord(ItemDefaults(), false);
    StartItemKind(record.item, c.from);
    record.item.showMode = c.fromMode;
    StartItemKind(record.item, c.to);
    EXPECT_EQ(record.item.showMode, c.mode) << c.name;
  }
}

TEST(ItemBuilder, KindsStartWithTheirOwnDefaults) {
  const struct {
    const char* name;
    std::uint16_t kind;
    bool keepsBlock;
    bool drawsText;
    std::uint16_t showMode;
    std::int32_t txt2Img;
  } cases[] = {
      {"picture", kKindPicture, false, false, 2, 0},
      {"text file", kKindTextFile, false, true, 2, 0},
      {"clock: 24-hour hours and minutes", kKindClock, false, true, 0x118, 0},
      {"cell text", kKindCellText, true, false, 2, 0},
      {"image text", kKindImageText, true, false, 2, 16},
      {"sensor", kKindSensor, false, true, 0, 0},
      {"time counter", kKindTimeCounter, false, true, 0, 0},
      {"work counter: Monday to Friday, 8 hours from 8:00", kKindWorkCounter, false, true, 0x083E, 64},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tagPrgItem record = NewItemRecord(ItemDefaults(), false);
    StartItemKind(record.item, c.kind);
    const tagItemPart& item = record.item;
    EXPECT_EQ(item.actType, c.kind);
    EXPECT_EQ(item.richTxt.has_value(), c.keepsBlock);
    // A time counter starts with its template; other kinds without a block hold no text.
    if (c.kind == kKindTimeCounter || c.kind == kKindWorkCounter) {
      EXPECT_EQ(item.tcBase[2], 1) << "from the first day of the month";
    }
    if (c.kind == kKindTimeCounter) {
      EXPECT_EQ(item.media.str(), kDefaultCounterTemplate);
      EXPECT_EQ(item.tcBase[2], 1) << "the first day of the month";
      EXPECT_EQ(item.tcBase[3] + item.tcBase[4] + item.tcBase[5], 0) << "at 00:00:00";
    } else {
      EXPECT_EQ(item.media.empty(), !c.keepsBlock);
    }
    EXPECT_EQ(item.logFont.height, c.drawsText ? kDefaultFontHeight : 0);
    EXPECT_EQ(item.fntColor, c.drawsText ? kStoredRed : 0u);
    EXPECT_EQ(item.showMode, c.showMode);
    EXPECT_EQ(item.txt2Img, c.txt2Img);
  }
}

TEST(ItemBuilder, FormattedTextBlocks) {
  tagItemPart cells;
  StartItemKind(cells, kKindCellText);
  ASSERT_TRUE(SetItemText(cells, "Hi", 0x00FF00, 8).ok());
  ASSERT_TRUE(cells.richTxt.has_value());
  EXPECT_EQ(cells.richTxt->CellText(), "Hi");
  EXPECT_EQ(cells.richTxt->Bytes()[3], 0x20) << "the first cell's style: green, 8 dots";
  EXPECT_FALSE(SetItemText(cells, "\xC3\xA9t\xC3\xA9", kStoredRed, 16).ok()) << "cells take ASCII only";
  EXPECT_FALSE(SetItemText(cells, std::string(6000, 'x'), kStoredRed, 16).ok()) << "more cells than a block holds";

  tagItemPart image;
  StartItemKind(image, kKindImageText);
  ASSERT_TRUE(SetItemText(image, "Opening hours\r\n9 to 5", kStoredRed, 16).ok());
  EXPECT_EQ(image.media.str(), "Opening hours") << "the first line names the item";
  ASSERT_TRUE(image.richTxt.has_value());
  EXPECT_EQ(image.richTxt->DeclaredSize(kKindImageText), image.richTxt->HeldSize() - 2);

  tagItemPart picture;
  StartItemKind(picture, kKindPicture);
  const Status refused = SetItemText(picture, "Hi", kStoredRed, 16);
  EXPECT_FALSE(refused.ok());
  EXPECT_FALSE(refused.detail().empty()) << "a refusal says why";
}

TEST(ItemBuilder, TimeWindowsOfPrograms) {
  tagProgramPart program = NewProgramRecord().program;
  EXPECT_FALSE(HasTimeWindow(program));
  SetTimeWindow(program, TimeOfDay(8, 30), TimeOfDay(20, 0));
  EXPECT_EQ(program.timeSch[0], 127 | kTimeWindowFlag) << "the days stay";
  EXPECT_EQ(program.timeSch[1], 8 * 256 + 30);
  EXPECT_EQ(program.timeSch[2], 20 * 256);
  EXPECT_EQ(HourOf(program.timeSch[1]), 8);
  EXPECT_EQ(MinuteOf(program.timeSch[1]), 30);
  SetPlayDays(program, 0x41);
  EXPECT_EQ(program.timeSch[0], 0x41 | kTimeWindowFlag) << "the window flag stays";
  ClearTimeWindow(program);
  EXPECT_EQ(program.timeSch[0], 0x41);
  EXPECT_EQ(program.timeSch[1], 8 * 256 + 30) << "the times are kept for a later window";
}

TEST(ItemBuilder, DayMasksFromDigits) {
  EXPECT_EQ(DayMaskOfDigits("06"), 0x41);
  EXPECT_EQ(DayMaskOfDigits("0123456"), 0x7F);
  EXPECT_EQ(DayMaskOfDigits("33"), 0x08);
  EXPECT_EQ(DayMaskOfDigits(""), 0);
  EXPECT_EQ(DayMaskOfDigits("7"), std::nullopt);
  EXPECT_EQ(DayMaskOfDigits("1,2"), std::nullopt);
}

}  // namespace
}  // namespace vantorel
