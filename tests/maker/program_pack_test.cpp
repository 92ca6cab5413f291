#include "maker/program_pack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "app/text_ids.h"
#include "maker/controller_file_reader.h"
#include "maker/playbill_index_file.h"
#include "sample_program_files.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

const PlaybillIndexHeader kHeader{64, 32, 0x03, 0};

std::string Name(int program) {
  char name[16];
  std::snprintf(name, sizeof name, "001a%04x.lpb", static_cast<unsigned>(program));
  return name;
}

// Program files of the given sizes (any bytes: packing does not look inside) and an index naming
// them in order (window counts 1, 2, ...), then the `extra` entries.
std::filesystem::path MakePlaybill(const test::TempFolder& temp, const std::vector<std::size_t>& sizes,
                                   std::vector<PlaybillIndexEntry> extra = {}) {
  std::vector<PlaybillIndexEntry> entries;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    Bytes bytes(sizes[i]);
    for (std::size_t j = 0; j < bytes.size(); ++j) bytes[j] = static_cast<std::uint8_t>(j * 3 + i);
    temp.WriteBytes(Name(static_cast<int>(i)), bytes);
    entries.push_back({Name(static_cast<int>(i)), static_cast<std::uint8_t>(i + 1)});
  }
  entries.insert(entries.end(), extra.begin(), extra.end());
  const auto index = temp / "001a.lpp";
  EXPECT_TRUE(WritePlaybillIndex(index, kHeader, entries));
  return index;
}

// Every file of the folder with its bytes.
std::map<std::string, Bytes> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, Bytes> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = entry.is_regular_file() ? test::ReadBytes(entry.path()) : Bytes{};
  }
  return files;
}

std::vector<PlaybillIndexEntry> IndexEntries(const std::filesystem::path& index) {
  const Bytes bytes = test::ReadBytes(index);
  const Expected<PlaybillIndexContents> read = ReadPlaybillIndex(bytes);
  EXPECT_TRUE(read.ok());
  EXPECT_TRUE(read->problems.empty());
  return read ? read->entries : std::vector<PlaybillIndexEntry>{};
}

TEST(ProgramPack, PacksSmallFilesIntoOnePackAndRewritesTheIndex) {
  test::TempFolder temp;
  // The fourth entry names the first file again (a program identical to the first).
  const auto index = MakePlaybill(temp, {100, 200, 300}, {{Name(0), 1}});
  const std::map<std::string, Bytes> before = Snapshot(temp.Path());
  const Expected<PackSummary> packed = PackProgramFiles(index);
  ASSERT_TRUE(packed.ok()) << packed.status().detail();
  EXPECT_EQ(packed->packs, 1);
  EXPECT_EQ(packed->packedFiles, 3);

  const std::map<std::string, Bytes> after = Snapshot(temp.Path());
  std::vector<std::string> names;
  for (const auto& [name, bytes] : after) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"001a.lpp", "001a0000.lpm"}));  // program files and .lp~ gone

  const std::vector<PlaybillIndexEntry> expected{{"001a0000.lpm", 0}, {"001a0000.lpm", 1}, {"001a0000.lpm", 2}, {"001a0000.lpm", 0}};
  EXPECT_EQ(IndexEntries(index), expected);
  // The header is the old one.
  EXPECT_TRUE(std::equal(before.at("001a.lpp").begin(), before.at("001a.lpp").begin() + 16, after.at("001a.lpp").begin()));

  const Bytes& pack = after.at("001a0000.lpm");
  const Expected<ProgramPackContents> read = ReadProgramPack(pack);
  ASSERT_TRUE(read.ok());
  EXPECT_TRUE(read->problems.empty());
  ASSERT_EQ(read->files.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const Bytes& original = before.at(Name(static_cast<int>(i)));
    const auto start = pack.begin() + read->files[i].offset;
    EXPECT_TRUE(std::equal(start, start + read->files[i].size, original.begin(), original.end())) << "file " << i;
  }
}

TEST(ProgramPack, LeavesAFileThatDoesNotFitUnpacked) {
  test::TempFolder temp;
  // 0 alone (1 does not fit beside it), 1 too large for any pack, 2 and 3 together.
  const auto index = MakePlaybill(temp, {1000, kPackLimitBytes, 5000, 6000});
  const Expected<PackSummary> packed = PackProgramFiles(index);
  ASSERT_TRUE(packed.ok()) << packed.status().detail();
  EXPECT_EQ(packed->packs, 1);
  EXPECT_EQ(packed->packedFiles, 2);
  const std::vector<PlaybillIndexEntry> expected{{Name(0), 0}, {Name(1), 0}, {"001a0002.lpm", 0}, {"001a0002.lpm", 1}};
  EXPECT_EQ(IndexEntries(index), expected);
  EXPECT_TRUE(std::filesystem::exists(temp / Name(0)));
  EXPECT_TRUE(std::filesystem::exists(temp / Name(1)));
  EXPECT_FALSE(std::filesystem::exists(temp / Name(2)));
  EXPECT_FALSE(std::filesystem::exists(temp / "001a0000.lpm"));
}

TEST(ProgramPack, KeepsEachPackWithinItsLimits) {
  struct Row {
    const char* name;
    std::vector<std::size_t> sizes;
    int packs;
    int packedFiles;
    std::size_t largestPack;  // files in the first pack
  };
  // A pack of two files of s bytes together is s + 4 + 12 + 16 bytes long.
  const std::size_t fits = kPackLimitBytes - 32;
  const Row rows[] = {
      {"exactly the limit", {fits / 2, fits - fits / 2}, 1, 2, 2},
      {"a byte more", {fits / 2, fits - fits / 2 + 1}, 0, 0, 0},
      {"300 files: 256 and 44", std::vector<std::size_t>(300, 10), 2, 300, 256},
      {"257 files: the last alone", std::vector<std::size_t>(257, 10), 1, 256, 256},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::TempFolder temp;
    const auto index = MakePlaybill(temp, row.sizes);
    const Bytes before = test::ReadBytes(index);
    const Expected<PackSummary> packed = PackProgramFiles(index);
    ASSERT_TRUE(packed.ok()) << packed.status().detail();
    EXPECT_EQ(packed->packs, row.packs);
    EXPECT_EQ(packed->packedFiles, row.packedFiles);
    if (row.packs == 0) {
      EXPECT_EQ(test::ReadBytes(index), before);  // nothing to pack: the index stays as it was
      continue;
    }
    const Bytes pack = test::ReadBytes(temp / "001a0000.lpm");
    EXPECT_LE(pack.size(), kPackLimitBytes);
    const Expected<ProgramPackContents> read = ReadProgramPack(pack);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->files.size(), row.largestPack);
    const std::vector<PlaybillIndexEntry> entries = IndexEntries(index);
    if (row.sizes.size() > 255) {
      EXPECT_EQ(entries[255], (PlaybillIndexEntry{"001a0000.lpm", 255}));
    }
  }
}

TEST(ProgramPack, PacksNothingWithFewerThanTwoEntries) {
  for (const std::size_t count : {std::size_t{0}, std::size_t{1}}) {
    SCOPED_TRACE(count);
    test::TempFolder temp;
    const auto index = MakePlaybill(temp, std::vector<std::size_t>(count, 100));
    const auto before = Snapshot(temp.Path());
    const Expected<PackSummary> packed = PackProgramFiles(index);
    ASSERT_TRUE(packed.ok());
    EXPECT_EQ(packed->packs, 0);
    EXPECT_EQ(Snapshot(temp.Path()), before);
  }
}

TEST(ProgramPack, ThatFailsLeavesTheUnpackedFilesAsTheyWere) {
  struct Row {
    const char* name;
    std::function<void(const test::TempFolder&)> obstruct;
  };
  const Row rows[] = {
      // The second pack cannot be written: the first one, already written, goes again.
      {"a folder in place of a pack", [](const test::TempFolder& t) { std::filesystem::create_directories(t / "001a0002.lpm" / "x"); }},
      {"a folder in place of the new index", [](const test::TempFolder& t) { std::filesystem::create_directories(t / "001a.lp~" / "x"); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::TempFolder temp;
    const auto index = MakePlaybill(temp, {600000, 300000, 600000, 300000});
    row.obstruct(temp);
    const auto before = Snapshot(temp.Path());
    const Expected<PackSummary> packed = PackProgramFiles(index);
    ASSERT_FALSE(packed.ok());
    EXPECT_EQ(packed.status().text(), kTextProgramFilesNotPacked);
    EXPECT_EQ(Snapshot(temp.Path()), before);
  }
}

TEST(ProgramPack, RefusesAnIndexItCannotFollow) {
  struct Row {
    const char* name;
    std::vector<PlaybillIndexEntry> extra;
    bool removeFile;
  };
  const Row rows[] = {
      {"a missing program file", {}, true},
      {"already packed", {{"001a0000.lpm", 0}}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::TempFolder temp;
    const auto index = MakePlaybill(temp, {10, 20}, row.extra);
    if (row.removeFile) std::filesystem::remove(temp / Name(1));
    const auto before = Snapshot(temp.Path());
    const Expected<PackSummary> packed = PackProgramFiles(index);
    ASSERT_FALSE(packed.ok());
    EXPECT_EQ(packed.status().text(), kTextProgramFilesNotPacked);
    EXPECT_EQ(Snapshot(temp.Path()), before);
  }
  test::TempFolder temp;
  EXPECT_FALSE(PackProgramFiles(temp / "missing.lpp").ok());
}

}  // namespace
}  // namespace vantorel
