#include "playbill/prg_item.h"

#include <gtest/gtest.h>

#include <string>

#include "app/options.h"

namespace vantorel {
namespace {

TEST(PrgItem, DefaultConstructedRecordIsAllZero) {
  const tagPrgItem record;
  EXPECT_EQ(record.level, 0);
  EXPECT_EQ(record.program.loopCnt, 0);
  EXPECT_EQ(record.window.waitType, 0);
  EXPECT_EQ(record.item.actTime, 0);
  EXPECT_EQ(record.item.tcBase, (std::array<std::uint16_t, 6>{}));
  EXPECT_TRUE(record.item.media.empty());
  EXPECT_FALSE(record.item.richTxt);
}

TEST(PrgItem, NewProgramAndWindowDefaults) {
  const tagPrgItem program = NewProgramRecord();
  EXPECT_TRUE(program.IsProgram());
  EXPECT_TRUE(program.program.prgName.empty());
  EXPECT_TRUE(program.program.backgrd.empty());
  EXPECT_EQ(program.program.showMode, 0);
  EXPECT_EQ(program.program.dispAttr, 0);
  EXPECT_EQ(program.program.loopCnt, 1);
  EXPECT_EQ(program.program.playTime, 0);
  EXPECT_EQ(program.program.timeSch, (std::array<std::uint16_t, 3>{127, 0, 0}));

  const tagPrgItem window = NewWindowRecord(-3, 4, 96, 48);
  EXPECT_TRUE(window.IsWindow());
  EXPECT_EQ(window.window.left, -3);
  EXPECT_EQ(window.window.top, 4);
  EXPECT_EQ(window.window.width, 96);
  EXPECT_EQ(window.window.height, 48);
  EXPECT_EQ(window.window.waitType, 1);
  EXPECT_EQ(window.window.border, 0);
  EXPECT_TRUE(window.window.areaName.empty());
}

TEST(PrgItem, NewItemFollowsTheOptions) {
  const struct {
    int textMode;
    std::uint16_t effect;
    bool cross;
    std::uint16_t kind;
    std::int32_t txt2Img;
    std::array<std::uint16_t, 6> tcBase;
  } cases[] = {
      {1, 0x8000, false, 8, 16, {2008, 8, 18, 0, 0, 0}},
      {0, 0x8000, false, 6, 0, {2008, 8, 18, 0, 0, 0}},
      {2, 14, false, 6, 0, {2008, 8, 18, 0, 0, 0}},
      {1, 0, true, 8, 16, {2017, 1, 1, 0, 0, 0}},
      {0, 12, true, 6, 0, {2017, 1, 1, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.textMode << " " << c.effect << " " << c.cross);
    const tagPrgItem record = NewItemRecord({c.textMode, c.effect, 24}, c.cross);
    const tagItemPart& item = record.item;
    EXPECT_TRUE(record.IsItem());
    EXPECT_EQ(item.actType, c.kind);
    EXPECT_EQ(item.showType, c.effect);
    EXPECT_EQ(item.speed, 0);
    EXPECT_EQ(item.actTime, 3);
    EXPECT_EQ(item.media.str(), "Welcome");
    EXPECT_EQ(item.showMode, 2);
    EXPECT_EQ(item.logFont, tagLogFont{});
    EXPECT_EQ(item.fntColor, 0u);
    EXPECT_EQ(item.bgColor, 0u);
    EXPECT_EQ(item.transp, 0);
    EXPECT_EQ(item.tcBase, c.tcBase);
    EXPECT_EQ(item.txt2Img, c.txt2Img);
    EXPECT_TRUE(item.tcText.empty());
    ASSERT_TRUE(item.richTxt);
    if (c.kind == kKindImageText) {
      EXPECT_EQ(item.richTxt->StoredSize(8), 204u);
    } else {
      EXPECT_EQ(item.richTxt->Bytes()[3], 0x13);  // 24 dots, red
      EXPECT_EQ(item.richTxt->CellText(), "Welcome");
    }
  }
}

TEST(PrgItem, TextFieldsKeepTheirWidthMinusOneBytes) {
  const std::string longText(600, 'x');
  tagPrgItem record;
  record.program.prgName = longText;
  record.program.backgrd = longText;
  record.window.areaName = longText;
  record.item.media = longText;
  record.item.tcText = longText;
  record.item.logFont.faceName = longText;
  EXPECT_EQ(record.program.prgName.size(), 64u);
  EXPECT_EQ(record.program.backgrd.size(), 260u);
  EXPECT_EQ(record.window.areaName.size(), 64u);
  EXPECT_EQ(record.item.media.size(), 261u);
  EXPECT_EQ(record.item.tcText.size(), 119u);
  EXPECT_EQ(record.item.logFont.faceName.size(), 31u);
}

TEST(PrgItem, TcTextNeverSplitsACharacter) {
  const struct {
    std::string text;
    std::size_t kept;
  } cases[] = {
      {std::string(119, 'a'), 119},
      {std::string(118, 'a') + "\xC3\xA9", 118},          // é would end at byte 120
      {std::string(117, 'a') + "\xC3\xA9", 119},          // é ends at byte 119
      {std::string(117, 'a') + "\xE2\x82\xAC", 120},      // € takes two bytes in the legacy code page
      {std::string(118, 'a') + "\xE2\x82\xAC", 118},      // and would end at byte 120 there
      {std::string(116, 'a') + "\xF0\x9F\x98\x80", 116},  // a four-byte character
      {std::string(116, 'a') + "\xE2\x82\xAC", 119},
  };
  for (const auto& c : cases) {
    tagItemPart item;
    item.tcText = c.text;
    EXPECT_EQ(item.tcText.str(), c.text.substr(0, c.kept)) << c.text.size();
  }
}

TEST(PrgItem, CopiedRecordsOwnTheirRichText) {
  tagPrgItem original = NewItemRecord({}, false);
  tagPrgItem copy = original;
  EXPECT_EQ(copy, original);
  copy.item.richTxt->MutableBytes()[4] = '[';
  EXPECT_EQ(original.item.richTxt->Bytes()[4], '{');
  EXPECT_NE(copy, original);
  copy.item.richTxt.reset();
  EXPECT_TRUE(original.item.richTxt);
}

TEST(PrgItem, KindTokensAndMediaKinds) {
  EXPECT_EQ(ItemKindToken(0), "undefined");
  EXPECT_EQ(ItemKindToken(kKindPicture), "picture");
  EXPECT_EQ(ItemKindToken(kKindImageText), "image-text");
  EXPECT_EQ(ItemKindToken(kKindWorkCounter), "work-counter");
  EXPECT_EQ(ItemKindToken(12), "kind-12");
  for (int kind = 0; kind <= 12; ++kind) {
    const bool media = kind == 1 || kind == 2 || kind == 3 || kind == 4 || kind == 7;
    EXPECT_EQ(IsMediaFileKind(kind), media) << kind;
  }
}

TEST(PrgItem, ItemDefaultsComeFromTheCustomOptions) {
  const ItemDefaults standard = ItemDefaultsFromOptions(AppOptions{});
  EXPECT_EQ(standard.textMode, 1);
  EXPECT_EQ(standard.effect, 0x8000);
  EXPECT_EQ(standard.textSize, -1);
  AppOptions options;
  options.defaultTextMode = 0;
  options.defaultEffect = 14;
  options.defaultTextSize = 24;
  const ItemDefaults chosen = ItemDefaultsFromOptions(options);
  EXPECT_EQ(chosen.textMode, 0);
  EXPECT_EQ(chosen.effect, 14);
  EXPECT_EQ(chosen.textSize, 24);
}

}  // namespace
}  // namespace vantorel
