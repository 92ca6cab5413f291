// The pages of text files and "Image mode" items.

#include <gtest/gtest.h>

#include <vector>

#include "app/text_ids.h"
#include "bitmap_ink.h"
#include "gui_application.h"
#include "render/item_pages.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

constexpr LedColour kBlue = 0xFF0000;
constexpr LedColour kGreen = 0x00FF00;
constexpr LedColour kRed = 0x0000FF;

class RichItemPagesTest : public ::testing::Test {
protected:
  void SetUp() override { test::GuiApplication(); }

  static tagItemPart ImageItem(std::optional<RichTextBlock> block, std::uint16_t effect = 0) {
    tagItemPart item;
    item.actType = kKindImageText;
    item.showType = effect;
    item.bgColor = kBlue;
    item.fntColor = kGreen;
    item.richTxt = std::move(block);
    return item;
  }
  tagItemPart TextFile(std::string_view bytes, int fontHeight = -16) const {
    tagItemPart item;
    item.actType = kKindTextFile;
    item.media = m_folder.Write("text.txt", bytes).filename().string();
    item.logFont.height = fontHeight;
    item.logFont.faceName = "DejaVu Sans";
    item.fntColor = kRed;
    return item;
  }
  ItemRenderSettings Settings(bool removeFontSmooth = true) const { return {0x77, m_folder.Path(), nullptr, removeFontSmooth, {}}; }

  test::TempFolder m_folder;
};

TEST_F(RichItemPagesTest, KindsDrawn) {
  const std::vector<std::uint16_t> drawn = {kKindPicture,     kKindTextFile,  kKindDocument,  kKindClock,
                                            kKindCellText,    kKindImageText, kKindSensor,    kKindTimeCounter,
                                            kKindWorkCounter, kKindAnimation, kKindVideo};
  for (std::uint16_t kind = 0; kind <= 12; ++kind) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(CanRenderItemKind(kind), std::find(drawn.begin(), drawn.end(), kind) != drawn.end());
  }
}

TEST_F(RichItemPagesTest, ANewImageModeItemShowsWelcomeInRed) {
  const auto pages = RenderItemPages(ImageItem(RichTextBlock::NewImageModeText()), QSize(96, 32), Settings());
  ASSERT_TRUE(pages) << pages.status().detail();
  ASSERT_EQ(pages->size(), 1u);
  EXPECT_EQ(test::ColoursOf(pages->front()), (std::set<LedColour>{kBlue, kRed})) << "red on the item's background";
}

TEST_F(RichItemPagesTest, TextWithoutAColourTakesTheFontColour) {
  const auto pages = RenderItemPages(ImageItem(RichTextBlock::ImageModeText("{\\rtf1 Hi}")), QSize(32, 32), Settings());
  ASSERT_TRUE(pages) << pages.status().detail();
  EXPECT_EQ(test::ColoursOf(pages->front()), (std::set<LedColour>{kBlue, kGreen}));
}

TEST_F(RichItemPagesTest, ImageModeBlocksThatHoldNoText) {
  std::vector<std::uint8_t> oversized = {0xE8, 0x03, 0, 0};  // 1000 bytes declared
  for (const char c : std::string_view("{\\rtf1 Hidden}")) oversized.push_back(static_cast<std::uint8_t>(c));
  struct Row {
    const char* name;
    std::optional<RichTextBlock> block;
  };
  const Row rows[] = {
      {"no block", std::nullopt},
      {"declared size beyond the held bytes", RichTextBlock::FromBytes(oversized)},
      {"too short for its length", RichTextBlock::FromBytes(std::vector<std::uint8_t>{1, 0})},
      {"an empty document", RichTextBlock::ImageModeText("")},
      {"zero bytes only", RichTextBlock::FromBytes(std::vector<std::uint8_t>{4, 0, 0, 0, 0, 0, 0, 0})},
      {"an empty rich text", RichTextBlock::ImageModeText("{\\rtf1 }")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto pages = RenderItemPages(ImageItem(row.block), QSize(32, 16), Settings());
    ASSERT_TRUE(pages) << pages.status().detail();
    ASSERT_EQ(pages->size(), 1u) << "the background alone";
    EXPECT_EQ(test::ColoursOf(pages->front()), std::set<LedColour>{kBlue});
  }
}

TEST_F(RichItemPagesTest, FailuresSayWhatFailed) {
  const auto broken = RenderItemPages(ImageItem(RichTextBlock::ImageModeText("plain words")), QSize(32, 16), Settings());
  ASSERT_FALSE(broken);
  EXPECT_EQ(broken.status().text(), kTextRichTextUnreadable);
  EXPECT_FALSE(broken.status().detail().empty());
  tagItemPart missing = TextFile("x");
  missing.media = "missing.txt";
  const auto unread = RenderItemPages(missing, QSize(32, 16), Settings());
  ASSERT_FALSE(unread);
  EXPECT_EQ(unread.status().text(), kTextTextFileUnreadable);
  EXPECT_NE(unread.status().detail().find("missing.txt"), std::string::npos) << unread.status().detail();
}

TEST_F(RichItemPagesTest, PagesByTheEffect) {
  // "one two three four" in 16-pixel DejaVu Sans: about 150 pixels on one line, 19 pixels high.
  struct Row {
    const char* name;
    std::uint16_t effect;
    QSize window;
    std::size_t pages;
  };
  const Row rows[] = {
      {"whole lines, two a page", 0, {64, 40}, 2},
      {"whole lines, one a page", 0, {64, 20}, 3},
      {"scrolling up: bands of the window's height", 10, {64, 19}, 3},
      {"scrolling across: pieces of the window's width", 11, {64, 20}, 3},
      {"scrolling right continuously: pieces too", 0x800F, {80, 20}, 2},
      {"no width", 0, {0, 20}, 0},
      {"no height", 11, {64, 0}, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    tagItemPart item = TextFile("one two three four");
    item.showType = row.effect;
    const auto pages = RenderItemPages(item, row.window, Settings());
    ASSERT_TRUE(pages) << pages.status().detail();
    EXPECT_EQ(pages->size(), row.pages);
    for (const CLedBitmap& page : *pages) EXPECT_EQ(QSize(page.Width(), page.Height()), row.window);
  }
}

TEST_F(RichItemPagesTest, TextFilesInUtf8OrTheLegacyCodePage) {
  const auto utf8 = RenderItemPages(TextFile("\xE4\xB8\xAD\xE6\x96\x87\r\nA"), QSize(40, 48), Settings());
  const auto legacy = RenderItemPages(TextFile("\xD6\xD0\xCE\xC4\r\nA"), QSize(40, 48), Settings());
  ASSERT_TRUE(utf8 && legacy);
  ASSERT_EQ(utf8->size(), 1u);
  ASSERT_EQ(legacy->size(), 1u);
  EXPECT_EQ(utf8->front().Image(), legacy->front().Image());
  EXPECT_EQ(test::ColoursOf(utf8->front()), (std::set<LedColour>{0, kRed})) << "the item's colour on black";
  const auto bigger = RenderItemPages(TextFile("\xE4\xB8\xAD\xE6\x96\x87\r\nA", -32), QSize(40, 48), Settings());
  ASSERT_TRUE(bigger);
  EXPECT_EQ(bigger->size(), 3u) << "at 32 pixels: a character a line, a line a page";
}

TEST_F(RichItemPagesTest, SmoothingIsRemovedOnRequest) {
  const tagItemPart item = TextFile("Wow");
  const auto smooth = RenderItemPages(item, QSize(40, 20), Settings(false));
  ASSERT_TRUE(smooth);
  EXPECT_GT(test::ColoursOf(smooth->front()).size(), 2u);
  const auto sharp = RenderItemPages(item, QSize(40, 20), Settings(true));
  ASSERT_TRUE(sharp);
  EXPECT_EQ(test::ColoursOf(sharp->front()).size(), 2u);
}

}  // namespace
}  // namespace vantorel
