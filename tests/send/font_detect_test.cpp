#include "send/font_detect.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/text_ids.h"
#include "screen/screen_data.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(FontDetect, CharacterSetAndBothSizeSetsHighByteFirst) {
  struct Row {
    const char* name;
    Bytes answer;
    bool ok;
    FontSettings expected;
  };
  const Row rows[] = {
      {"plain", {2, 1, 0, 0x00, 0x1D, 0x00, 0x1C, 0}, true, {1, 0x1D, 0x1C}},
      {"high bytes first", {2, 7, 9, 0x12, 0x34, 0xAB, 0xCD}, true, {7, 0x1234, 0xABCD}},
      {"byte 2 is not read", {2, 3, 0xFF, 0, 1, 0, 2}, true, {3, 1, 2}},
      {"six bytes", {2, 1, 0, 0x00, 0x1D, 0x00}, false, {}},
      {"nothing", {}, false, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<FontSettings> settings = FontSettingsOfRunningInfo(row.answer);
    ASSERT_EQ(settings.ok(), row.ok);
    if (row.ok) {
      EXPECT_EQ(*settings, row.expected);
    } else {
      EXPECT_EQ(settings.status().text(), kTextFailed);
    }
  }
}

TEST(FontDetect, DetectedSettingsGoToTheScreenDefinition) {
  tagScreenInfo screen;
  ApplyFontSettings({7, 0x1234, 0x00FF}, screen);
  EXPECT_EQ(screen.fontLib, 7);
  EXPECT_EQ(screen.ascSizeM, 0x1234);
  EXPECT_EQ(screen.extSizeM, 0x00FF);
  EXPECT_EQ(FontSettingsText({7, 0x1234, 0x00FF}), "Character set 7, ASCII font sizes 0x1234, extended font sizes 0x00FF");
}

}  // namespace
}  // namespace vantorel
