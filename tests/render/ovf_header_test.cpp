#include "render/ovf_header.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/text_ids.h"

namespace vantorel {
namespace {

// A 904-byte face-0 file: magic, 224 glyphs, a font, the face record at 22 with the 16-dot size.
std::vector<std::uint8_t> GoodFile() {
  std::vector<std::uint8_t> file(kOvfMinimumSize, 0);
  file[0] = 'O';
  file[1] = 'V';
  file[2] = 'W';
  file[3] = 'M';
  file[4] = 1;
  file[17] = 1;
  file[21] = 22;
  file[22] = 'A';
  file[39] = 0x04;
  file[807] = 0x04;  // a size mask for a face record moved to 790
  return file;
}

TEST(OvfHeader, FailuresSayWhatTheFileLacks) {
  struct Case {
    const char* name;
    std::size_t size;             // the file is cut to this many bytes (0 = kept whole)
    std::size_t at;               // byte changed ...
    std::uint8_t value;           // ... to this value
    const char* detail;           // expected failure detail; null = usable
  };
  const Case cases[] = {
      {"usable", 0, 22, 'A', nullptr},
      {"903 bytes", 903, 0, 'O', "903 bytes, fewer than 904"},
      {"no magic", 0, 0, 'X', "no \"OVWM\" at offset 0"},
      {"not a font", 0, 17, 0, "zero at offset 16"},
      {"no size", 0, 39, 0, "no size in the mask at offset 38"},
      {"face record past the end", 0, 20, 0x10, "face record: offset 4118 beyond the end (904 bytes)"},
      {"width table past the end", 0, 20, 0x03, "width table past the end, offset 1032"},
  };
  for (const Case& c : cases) {
    auto file = GoodFile();
    file[c.at] = c.value;
    if (c.size != 0) file.resize(c.size);
    const auto record = UsableOvfFace(file);
    if (c.detail == nullptr) {
      ASSERT_TRUE(record.ok()) << c.name << ": " << record.status().detail();
      EXPECT_EQ(record->name, "A") << c.name;
      EXPECT_EQ(record->glyphCount, 224) << c.name;
      EXPECT_EQ(record->sizeMask, 0x04) << c.name;
      continue;
    }
    ASSERT_FALSE(record.ok()) << c.name;
    EXPECT_EQ(record.status().text(), kTextFontFileDamaged) << c.name;
    EXPECT_EQ(record.status().detail(), c.detail) << c.name;
  }
  // A header cut short is read no further than it goes.
  const auto whole = GoodFile();
  const auto cut = ParseOvfFaceRecord(std::span(whole).first(20));
  ASSERT_FALSE(cut.ok());
  EXPECT_EQ(cut.status().detail(), "header: offset 18: 4 bytes wanted, 2 left");
}

}  // namespace
}  // namespace vantorel
