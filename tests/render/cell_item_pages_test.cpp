// The pages of "Text mode" items.

#include <gtest/gtest.h>

#include "app/text_ids.h"
#include "cell_text_builder.h"
#include "render/font_lib_asia.h"
#include "render/item_pages.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::CellBuilder;

class CellItemPagesTest : public ::testing::Test {
protected:
  tagItemPart Item(const RichTextBlock& block, std::uint16_t effect = 0) const {
    tagItemPart item;
    item.actType = kKindCellText;
    item.showType = effect;
    item.richTxt = block;
    return item;
  }
  ItemRenderSettings Settings() const { return {0x77, {}, &m_font, false, {}}; }

  test::TempFolder m_folder;
  CFontLib_GB2312 m_font{m_folder.Path()};
};

TEST_F(CellItemPagesTest, EveryPageOfTheText) {
  // Three 8-dot lines; "ABCD" is 24 dots wide.
  const RichTextBlock block = CellBuilder().Text("ABCD\rEF\rG").Build();
  struct Row {
    const char* name;
    std::uint16_t effect;
    QSize window;
    std::size_t pages;
  };
  const Row rows[] = {
      {"all lines on one page", 0, {64, 32}, 1},
      {"a line a page", 0, {64, 8}, 3},
      {"two lines, then one", 0, {64, 16}, 2},
      {"lines broken at the window width", 0, {12, 32}, 1},
      {"words broken at the window width, a line a page", 0, {12, 8}, 4},
      {"scrolling across: a line a page", 11, {64, 32}, 3},
      {"random effect is no scroll", 0x8000, {64, 8}, 3},
      {"no width", 0, {0, 32}, 0},
      {"no height", 0, {64, 0}, 0},
      {"negative sides", 0, {-4, -4}, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto pages = RenderItemPages(Item(block, row.effect), row.window, Settings());
    ASSERT_TRUE(pages) << pages.status().detail();
    EXPECT_EQ(pages->size(), row.pages);
    for (const CLedBitmap& page : *pages) EXPECT_EQ(QSize(page.Width(), page.Height()), row.window);
  }
}

TEST_F(CellItemPagesTest, ItemsWithoutTextShowTheirBackground) {
  tagItemPart none = Item(CellBuilder().Build());
  none.bgColor = 0x00FF00;
  struct Row {
    const char* name;
    std::optional<RichTextBlock> block;
  };
  const Row rows[] = {
      {"no cells", CellBuilder().Build()},
      {"a code 0 first", CellBuilder().Cell(0).Text("A").Build()},
      {"no block", std::nullopt},
      {"a block too short for its header", RichTextBlock::FromBytes(std::vector<std::uint8_t>{5}).value()},
      {"a count past the held bytes", RichTextBlock::FromBytes(std::vector<std::uint8_t>{0xFF, 0xFF, 3, 0x10, 0}).value()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    none.richTxt = row.block;
    const auto pages = RenderItemPages(none, QSize(16, 8), Settings());
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->size(), 1u);
    EXPECT_EQ(pages->front().Pixel(8, 4), 0x00FF00u);
  }
}

TEST_F(CellItemPagesTest, NeedsAFontLibrary) {
  EXPECT_TRUE(CanRenderItemKind(kKindCellText));
  const auto pages = RenderItemPages(Item(CellBuilder().Text("A").Build()), QSize(16, 8), {0x77, {}, nullptr, false, {}});
  ASSERT_FALSE(pages);
  EXPECT_EQ(pages.status().text(), kTextNoFontLibrary);
}

}  // namespace
}  // namespace vantorel
