#include "maker/playbill_index_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/text_ids.h"
#include "maker/controller_file_reader.h"
#include "support/golden_file.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

const PlaybillIndexHeader kHeader{64, 32, 0x77, 1};
const std::vector<PlaybillIndexEntry> kEntries{{"001a0000.lpb", 2}, {"001a0001.lpb", 11}, {"001a0000.lpb", 2}};

TEST(PlaybillIndexFile, IsWrittenByteForByte) {
  test::TempFolder temp;
  const auto file = temp / "001a.lpp";
  ASSERT_TRUE(WritePlaybillIndex(file, kHeader, kEntries));
  const std::string written = test::ReadText(file);
  EXPECT_TRUE(test::MatchesGolden("maker/001a.lpp", written, test::GoldenKind::kBinary));
  ASSERT_EQ(written.size(), 16u + 3 * 16);
  EXPECT_EQ(written.substr(0, 12), std::string("LL\x00\x01\x03\x00\x40\x00\x20\x00\x77\x01", 12));
  EXPECT_EQ(written.substr(12, 4), std::string(4, '\0'));
  EXPECT_EQ(written.substr(32, 16), std::string("001a0001.lpb\x0b\x00\x00\x00", 16));
}

TEST(PlaybillIndexFile, ReadsBackAsWritten) {
  const std::vector<std::uint8_t> bytes = PlaybillIndexBytes(kHeader, kEntries);
  const Expected<PlaybillIndexContents> index = ReadPlaybillIndex(bytes);
  ASSERT_TRUE(index.ok()) << index.status().detail();
  EXPECT_TRUE(index->problems.empty());
  EXPECT_EQ(index->programCount, 3);
  EXPECT_EQ(index->header.width, 64);
  EXPECT_EQ(index->header.height, 32);
  EXPECT_EQ(index->header.colourMode, 0x77);
  EXPECT_EQ(index->header.rotation, 1);
  EXPECT_EQ(index->entries, kEntries);
}

TEST(PlaybillIndexFile, ShortNamesArePaddedAndTheWriterRefusesThem) {
  const std::vector<std::uint8_t> bytes = PlaybillIndexBytes({}, std::vector<PlaybillIndexEntry>{{"short.lpb", 1}, {"much-too-long.lpb", 2}});
  ASSERT_EQ(bytes.size(), 48u);
  EXPECT_EQ(std::string(bytes.begin() + 16, bytes.begin() + 32), std::string("short.lpb\0\0\0\x01\0\0\0", 16));
  EXPECT_EQ(std::string(bytes.begin() + 32, bytes.begin() + 44), "much-too-lon");
  test::TempFolder temp;
  const Status refused = WritePlaybillIndex(temp / "x.lpp", {}, std::vector<PlaybillIndexEntry>{{"short.lpb", 1}});
  EXPECT_EQ(refused.text(), kTextPlaybillIndexNotWritten);
  EXPECT_FALSE(std::filesystem::exists(temp / "x.lpp"));
}

TEST(PlaybillIndexFile, ReaderNamesWhatIsWrong) {
  const std::vector<std::uint8_t> good = PlaybillIndexBytes(kHeader, kEntries);
  struct Row {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    bool fails;
    std::size_t offset;  // of the first problem
  };
  const Row rows[] = {
      {"short header", [](auto& b) { b.resize(15); }, true, 0},
      {"another magic", [](auto& b) { b[1] = 'P'; }, true, 0},
      {"version", [](auto& b) { b[3] = 2; }, false, 2},
      {"reserved bytes", [](auto& b) { b[14] = 1; }, false, 12},
      {"count past the entries", [](auto& b) { b[4] = 4; }, false, 4},
      {"bytes after the entries", [](auto& b) { b.push_back(0); }, false, 64},
      {"entry padding", [](auto& b) { b[16 + 14] = 9; }, false, 16 + 13},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::uint8_t> bytes = good;
    row.damage(bytes);
    const Expected<PlaybillIndexContents> index = ReadPlaybillIndex(bytes);
    ASSERT_EQ(index.ok(), !row.fails);
    if (row.fails) {
      EXPECT_EQ(index.status().text(), kTextNotAControllerFile);
      continue;
    }
    ASSERT_FALSE(index->problems.empty());
    EXPECT_EQ(index->problems.front().offset, row.offset) << ProblemText(index->problems.front());
    EXPECT_EQ(FirstProblem(index->problems).text(), kTextControllerFileDamaged);
  }
}

}  // namespace
}  // namespace vantorel
