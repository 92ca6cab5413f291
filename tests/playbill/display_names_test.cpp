#include "playbill/display_names.h"

#include <gtest/gtest.h>

#include "support/record_builders.h"

namespace vantorel {
namespace {

using test::I;
using test::P;
using test::W;

tagPrgItem CellTextItem(std::initializer_list<int> bytes) {
  tagPrgItem item = I(kKindCellText);
  std::vector<std::uint8_t> data;
  for (int b : bytes) data.push_back(static_cast<std::uint8_t>(b));
  item.item.richTxt = RichTextBlock::FromBytes(data);
  return item;
}

tagPrgItem SensorItem(std::uint16_t showMode, std::string_view media = {}) {
  tagPrgItem item = I(kKindSensor, media);
  item.item.showMode = showMode;
  return item;
}

TEST(DisplayNames, ProgramsAndWindowsAreNumbered) {
  tagPrgItem namedWindow = W();
  namedWindow.window.areaName.Assign("Top arm");
  PrgList list = {P(), W(), W(), P("Morning"), namedWindow, W()};
  for (int w = 0; w < 16; ++w) list.push_back(W());
  EXPECT_EQ(RecordDisplayName(list, 0), "Program[1]");
  EXPECT_EQ(RecordDisplayName(list, 1), "Window[1]");
  EXPECT_EQ(RecordDisplayName(list, 2), "Window[2]");
  EXPECT_EQ(RecordDisplayName(list, 3), "Morning[2]");
  EXPECT_EQ(RecordDisplayName(list, 4), "Top arm[1]");
  EXPECT_EQ(RecordDisplayName(list, 5), "Window[2]");
  EXPECT_EQ(RecordDisplayName(list, 19), "Window[16]");
  EXPECT_EQ(RecordDisplayName(list, 20), "Window[1]");  // the 17th window
  EXPECT_EQ(RecordDisplayName(list, -1), "");
  EXPECT_EQ(RecordDisplayName(list, 99), "");
}

TEST(DisplayNames, ItemsByKind) {
  const struct {
    const char* name;
    tagPrgItem item;
    std::string expected;
  } cases[] = {
      {"undefined", I(kKindUndefined, "ignored"), "[Undefined]"},
      {"clock", I(kKindClock), "[Clock]"},
      {"clock with text", I(kKindClock, "Noon"), "Noon"},
      {"cell text", CellTextItem({2, 0, 3, 2, 0, 'H', 2, 0, 'i'}), "Hi"},
      {"cell text in GB2312", CellTextItem({1, 0, 3, 2, 0xC4, 0xE3}), "\xE4\xBD\xA0"},
      {"cell text without block", I(kKindCellText, "media is not shown"), "[Text]"},
      {"cell text with empty block", CellTextItem({0, 0, 3}), "[Text]"},
      {"image text", I(kKindImageText), "[Text]"},
      {"image text with text", I(kKindImageText, "Hello"), "Hello"},
      {"temperature", SensorItem(0), "[Temperature]"},
      {"humidity", SensorItem(2), "[Humidity]"},
      {"humidity with more bits", SensorItem(3), "[Humidity]"},
      {"sensor with text", SensorItem(2, "Inside"), "Inside"},
      {"time counter", I(kKindTimeCounter), "[Time counter]"},
      {"time counter with text", I(kKindTimeCounter, "Days\r\nleft"), "Days\r\nleft"},
      {"work counter", I(kKindWorkCounter), "[Work counter]"},
      {"picture", I(kKindPicture, "/srv/media/pic.jpg"), "pic.jpg"},
      {"text file", I(kKindTextFile, "notes.txt"), "notes.txt"},
      {"document from Windows", I(kKindDocument, "C:\\media\\menu.doc"), "menu.doc"},
      {"video", I(kKindVideo, "/a\\b/clip.avi"), "clip.avi"},
      {"animation without file", I(kKindAnimation), ""},
      {"unknown kind with text", I(12, "x"), "x"},
      {"unknown kind", I(12), "[Undefined]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PrgList list = {P(), W(), c.item};
    EXPECT_EQ(RecordDisplayName(list, 2), c.expected);
  }
}

}  // namespace
}  // namespace vantorel
