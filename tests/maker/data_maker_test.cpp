#include "maker/data_maker.h"

#include <gtest/gtest.h>

#include <QImage>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "maker/controller_file_names.h"
#include "maker/item_codes.h"
#include "platform/byte_reader.h"
#include "support/golden_file.h"
#include "support/record_builders.h"
#include "support/screen_builder.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

using test::I;
using test::P;
using test::W;

constexpr std::uint16_t kModelClass6 = 0x4B05;  // M5
constexpr std::uint16_t kModelClass7 = 0x4B07;  // M7

// A maker for `screen` whose work folder is a fresh temporary folder.
class DataMakerTest : public ::testing::Test {
protected:
  MakeResult MakeFor(const tagScreenInfo& screen, const PrgList& records, MakeOptions options = {},
                     const std::atomic<bool>* cancel = nullptr) {
    CDataMaker maker(m_temp / "work", m_temp / "data");
    maker.Reset();
    maker.SetScreen(screen, m_comm);
    maker.SetModel(screen.model);
    maker.SetOptions(options);
    return maker.Make(records, nullptr, cancel);
  }
  std::filesystem::path Output() const { return m_temp / "work" / "a32sd"; }
  std::vector<std::uint8_t> OutputBytes(const std::string& name) const { return test::ReadBytes(Output() / name); }
  std::string Golden(const std::string& name) const {
    const std::vector<std::uint8_t> bytes = OutputBytes(name);
    return std::string(bytes.begin(), bytes.end());
  }
  // A picture file of `width` x `height` in `colour` in the work folder.
  std::string Picture(const std::string& name, int width, int height, QRgb colour) const {
    std::filesystem::create_directories(m_temp / "work");
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const std::filesystem::path file = m_temp / "work" / name;
    EXPECT_TRUE(image.save(QString::fromStdString(file.string())));
    return file.string();
  }

  test::TempFolder m_temp;
  tagCommInfo m_comm;
};

tagScreenInfo Screen(std::uint8_t id, std::uint16_t colour = 0x01, std::uint16_t width = 48, std::uint16_t height = 48,
                     std::uint16_t model = kModelClass6) {
  return test::ScreenBuilder().Type(model == kModelClass7 ? 7 : 6).Id(id).Colour(colour).Width(width).Height(height).Model(model).Build();
}

// The program file's fields this test reads, straight from its bytes.
struct ProgramFacts {
  std::uint16_t windows = 0, blockField = 0, background = 0;
  std::uint32_t items = 0, blocks = 0;
  std::vector<std::array<std::uint8_t, 16>> records;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> blockEntries;  // code word, offset
  std::uint32_t dataOffset = 0;
};

ProgramFacts ReadFacts(std::span<const std::uint8_t> bytes) {
  ProgramFacts facts;
  ByteReader in(bytes);
  in.Skip(4);
  facts.windows = in.U16Le();
  facts.blockField = in.U16Le();
  facts.background = in.U16Le();
  in.Skip(6);
  in.Skip(4);
  const std::uint32_t itemTable = in.U32Le();
  const std::uint32_t blockTable = in.U32Le();
  facts.dataOffset = in.U32Le();
  facts.items = (blockTable - itemTable) / 16;
  facts.blocks = (facts.dataOffset - blockTable) / 8;
  ByteReader items(bytes.subspan(itemTable));
  for (std::uint32_t i = 0; i < facts.items; ++i) {
    std::array<std::uint8_t, 16> record{};
    for (auto& byte : record) byte = items.U8();
    facts.records.push_back(record);
  }
  ByteReader blocks(bytes.subspan(blockTable));
  for (std::uint32_t i = 0; i < facts.blocks; ++i) {
    const std::uint32_t code = blocks.U32Le();
    facts.blockEntries.emplace_back(code, blocks.U32Le());
  }
  EXPECT_TRUE(in.ok() && items.ok() && blocks.ok());
  return facts;
}

std::uint16_t BlockIndexOf(const std::array<std::uint8_t, 16>& record) {
  return static_cast<std::uint16_t>(record[2] | (record[3] << 8));
}

TEST_F(DataMakerTest, ScreenIdsOutsideOneTo254MakeNothing) {
  for (const std::uint8_t id : {std::uint8_t{0}, std::uint8_t{255}}) {
    SCOPED_TRACE(int{id});
    const MakeResult result = MakeFor(Screen(id), {P(), W(), I(kKindClock)});
    EXPECT_FALSE(result.made);
    EXPECT_FALSE(result.failure.ok());
    EXPECT_TRUE(result.files.empty());
    EXPECT_FALSE(std::filesystem::exists(Output()));
  }
}

TEST_F(DataMakerTest, AnEmptyPlaybillWritesNothingAndSucceeds) {
  const MakeResult result = MakeFor(Screen(1), {});
  EXPECT_TRUE(result.made);
  EXPECT_TRUE(result.files.empty());
}

TEST_F(DataMakerTest, AClockWithoutTextHasNoBlock) {
  const MakeResult result = MakeFor(Screen(1), {P(), W(0, 0, 48, 16), I(kKindClock)});
  ASSERT_TRUE(result.made) << result.failure.detail();
  EXPECT_EQ(result.programs, 1);
  EXPECT_EQ(result.items, 1);
  const ProgramFacts facts = ReadFacts(OutputBytes("00010000.lpb"));
  EXPECT_EQ(facts.blocks, 0u);
  EXPECT_EQ(facts.blockField, 0);
  EXPECT_EQ(facts.background, 0xFFFF);
  ASSERT_EQ(facts.records.size(), 1u);
  EXPECT_EQ(facts.records[0][0], kCodeClock);
  EXPECT_EQ(BlockIndexOf(facts.records[0]), kNoBlock);
  EXPECT_TRUE(test::MatchesGolden("maker/clock_without_text/0001.lpp", Golden("0001.lpp"), test::GoldenKind::kBinary));
  EXPECT_TRUE(test::MatchesGolden("maker/clock_without_text/00010000.lpb", Golden("00010000.lpb"), test::GoldenKind::kBinary));
}

TEST_F(DataMakerTest, ANameAndABackgroundAreTheFirstTwoBlocks) {
  tagPrgItem program = P("News");
  program.program.backgrd = Picture("back.png", 8, 8, qRgb(255, 0, 0));
  program.program.showMode = 2;
  tagPrgItem clock = I(kKindClock, "{H}:{M}");
  const MakeResult result = MakeFor(Screen(1, 0x03, 16, 16), {program, W(0, 0, 16, 8), clock});
  ASSERT_TRUE(result.made) << result.failure.detail();
  const ProgramFacts facts = ReadFacts(OutputBytes("00010000.lpb"));
  ASSERT_EQ(facts.blocks, 3u);
  EXPECT_EQ(facts.blockEntries[0].first >> 24, kCodeProgramName);
  EXPECT_EQ(facts.blockEntries[0].first & 0xFFFFFF, 5u);  // "News" and its zero
  EXPECT_EQ(facts.blockEntries[1].first >> 24, kCodePicturePages);
  EXPECT_EQ(facts.blockEntries[1].second, 5u);
  EXPECT_EQ(facts.background, 1);
  EXPECT_EQ(facts.blockField, 3);  // 2 for the background, 1 for the clock's text
  EXPECT_EQ(BlockIndexOf(facts.records[0]), 2);
  EXPECT_TRUE(test::MatchesGolden("maker/name_and_background/00010000.lpb", Golden("00010000.lpb"), test::GoldenKind::kBinary));
}

TEST_F(DataMakerTest, FilesAreNamedByTheScreenIdInHex) {
  const MakeResult result = MakeFor(Screen(26), {P("a"), W(), I(kKindClock), P("b"), W(), I(kKindClock, "x")});
  ASSERT_TRUE(result.made) << result.failure.detail();
  for (const char* name : {"001a.lpp", "001a0000.lpb", "001a0001.lpb"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(Output() / name)) << name;
  }
}

TEST_F(DataMakerTest, IdenticalProgramsShareTheFirstFile) {
  const PrgList program{P("same"), W(0, 0, 16, 16), I(kKindClock, "{H}")};
  PrgList records = program;
  records.insert(records.end(), program.begin(), program.end());
  const MakeResult result = MakeFor(Screen(1), records);
  ASSERT_TRUE(result.made);
  EXPECT_EQ(result.sharedPrograms, 1);
  EXPECT_TRUE(std::filesystem::is_regular_file(Output() / "00010001.lpb"));
  const std::vector<std::uint8_t> index = OutputBytes("0001.lpp");
  ASSERT_EQ(index.size(), 16u + 2 * 16);
  EXPECT_EQ(std::string(index.begin() + 16, index.begin() + 28), "00010000.lpb");
  EXPECT_EQ(std::string(index.begin() + 32, index.begin() + 44), "00010000.lpb");
}

TEST_F(DataMakerTest, PicturePlanesFollowTheColourMode) {
  struct Row {
    std::uint16_t colour;
    int width;
    std::uint32_t blockLength;  // 10-byte header and one page of the present planes
  };
  const Row rows[] = {
      {0x01, 13, 10 + 4 * 2},          // one 1-bit plane, 13 pixels in 2 bytes a row
      {0x03, 16, 10 + 2 * 4 * 2},      // red and green
      {0x77, 16, 10 + 3 * 4 * 16},     // full colour without VWASTEXT: 256 grey levels a plane
      {0x71, 8, 10 + 4 * 8},           // grey red
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.colour);
    tagPrgItem picture = I(kKindPicture, Picture("p.png", 4, 4, qRgb(255, 255, 255)));
    const MakeResult result = MakeFor(Screen(2, row.colour, 32, 32), {P(), W(0, 0, static_cast<std::uint16_t>(row.width), 4), picture});
    ASSERT_TRUE(result.made) << result.failure.detail();
    ASSERT_EQ(result.items, 1) << (result.notes.empty() ? "" : result.notes[0].detail());
    const ProgramFacts facts = ReadFacts(OutputBytes("00020000.lpb"));
    ASSERT_EQ(facts.blocks, 1u);
    EXPECT_EQ(facts.blockEntries[0].first, (std::uint32_t{kCodePicturePages} << 24) | row.blockLength);
  }
}

TEST_F(DataMakerTest, FullColourWithVwAsTextGivesAGifFile) {
  tagPrgItem picture = I(kKindPicture, Picture("p.png", 4, 4, qRgb(0, 0, 255)));
  picture.item.vwAsText = 1;
  const MakeResult result = MakeFor(Screen(3, 0x77, 32, 32), {P(), W(0, 0, 8, 8), picture});
  ASSERT_TRUE(result.made);
  const std::vector<std::uint8_t> bytes = OutputBytes("00030000.lpb");
  const ProgramFacts facts = ReadFacts(bytes);
  ASSERT_EQ(facts.records.size(), 1u);
  EXPECT_EQ(facts.records[0][0], kCodePictureFile);
  ASSERT_EQ(facts.blocks, 1u);
  const std::size_t start = facts.dataOffset + facts.blockEntries[0].second;
  EXPECT_EQ(std::string(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.begin() + static_cast<std::ptrdiff_t>(start) + 3), "GIF");
}

TEST_F(DataMakerTest, StaleFilesOfAnEarlierRunAreRemoved) {
  std::filesystem::create_directories(Output());
  for (const char* name : {"0001.lpt", "0001.log", "0001.lpp"}) test::WriteText(Output() / name, "old");
  const MakeResult result = MakeFor(Screen(1), {P(), W(), I(kKindClock)});
  ASSERT_TRUE(result.made);
  EXPECT_FALSE(std::filesystem::exists(Output() / "0001.lpt"));
  EXPECT_FALSE(std::filesystem::exists(Output() / "0001.log"));
  EXPECT_NE(test::ReadText(Output() / "0001.lpp"), "old");
}

TEST_F(DataMakerTest, AProgramFileThatCannotBeWrittenFailsTheRun) {
  std::filesystem::create_directories(Output() / "00010000.lpb");  // a folder where the file goes
  const MakeResult result = MakeFor(Screen(1), {P(), W(), I(kKindClock, "x")});
  EXPECT_FALSE(result.made);
  EXPECT_EQ(result.failure.text(), kTextCannotMakeData);
  EXPECT_FALSE(std::filesystem::exists(Output() / "0001.lpp"));
}

TEST_F(DataMakerTest, AnOutputFolderThatCannotBeMadeIsSaid) {
  std::filesystem::create_directories(m_temp / "work");
  test::WriteText(m_temp / "work" / "a32sd", "a file in the way");
  const MakeResult result = MakeFor(Screen(1), {P(), W(), I(kKindClock)});
  EXPECT_FALSE(result.made);
  EXPECT_EQ(result.failure.text(), kTextCannotCreateWorkFolder);
  EXPECT_EQ(result.failure.title(), kTextError);
}

TEST_F(DataMakerTest, AScheduledProgramGetsAScheduleRecord) {
  tagPrgItem first = P("a");
  tagPrgItem second = P("b");
  second.program.timeSch = {0x017F, 0x0800, 0x1130};
  const MakeResult result = MakeFor(Screen(1), {first, W(), I(kKindClock), second, W(), I(kKindClock, "y")});
  ASSERT_TRUE(result.made);
  const std::vector<std::uint8_t> bytes = OutputBytes("0001.lpt");
  const std::vector<std::uint8_t> expected{'L', 'T', 0, 1, 1, 0, 0, 1, 0, 0x7F, 0, 0x00, 0x08, 0x30};
  EXPECT_EQ(bytes, expected);
}

TEST_F(DataMakerTest, WindowsBeyondElevenAreLeftOutAndSaid) {
  PrgList records{P()};
  for (int i = 0; i < 13; ++i) {
    records.push_back(W(0, 0, 8, 8));
    records.push_back(I(kKindClock, "t"));
  }
  const MakeResult result = MakeFor(Screen(1), records);
  ASSERT_TRUE(result.made);
  EXPECT_EQ(result.items, 11);
  EXPECT_EQ(ReadFacts(OutputBytes("00010000.lpb")).windows, 11);
  ASSERT_FALSE(result.notes.empty());
  EXPECT_EQ(result.notes[0].text(), kTextWindowsLeftOut);
  EXPECT_EQ(OutputBytes("0001.lpp")[16 + 12], 11);
}

TEST_F(DataMakerTest, ItemsThatCannotBeMadeAreLeftOutWithTheirCause) {
  const MakeResult result =
      MakeFor(Screen(1), {P(), W(), I(kKindPicture, "/nowhere/missing.png"), I(0x77), I(kKindClock, "x")});
  ASSERT_TRUE(result.made);
  EXPECT_EQ(result.items, 1);
  EXPECT_EQ(result.leftOut, 2);
  ASSERT_EQ(result.notes.size(), 2u);
  EXPECT_NE(result.notes[0].detail().find("program 1, window 1, item 1"), std::string::npos) << result.notes[0].detail();
  EXPECT_EQ(result.notes[1].text(), kTextItemKindNotMade);
}

TEST_F(DataMakerTest, TextTheFontsCannotHoldBecomesQuestionMarks) {
  tagScreenInfo screen = Screen(1);
  screen.fontLib = 0;  // ASCII
  const MakeResult result = MakeFor(screen, {P("Café"), W(), I(kKindClock, "Zeit €")});
  ASSERT_TRUE(result.made);
  ASSERT_FALSE(result.notes.empty());
  EXPECT_EQ(result.notes.back().text(), kTextCharactersReplaced);
  EXPECT_EQ(result.notes.back().detail(), "2");
  const std::vector<std::uint8_t> bytes = OutputBytes("00010000.lpb");
  const ProgramFacts facts = ReadFacts(bytes);
  const std::string name(bytes.begin() + facts.dataOffset, bytes.begin() + facts.dataOffset + 5);
  EXPECT_EQ(name, std::string("Caf?\0", 5));
}

TEST_F(DataMakerTest, PackingJoinsSmallProgramFiles) {
  const PrgList records{P("a"), W(), I(kKindClock, "1"), P("b"), W(), I(kKindClock, "2"), P("c"), W(), I(kKindClock, "3")};
  const MakeResult result = MakeFor(Screen(1), records, MakeOptions{true, false});
  ASSERT_TRUE(result.made);
  EXPECT_EQ(result.packs, 1);
  EXPECT_TRUE(std::filesystem::is_regular_file(Output() / "00010000.lpm"));
  EXPECT_FALSE(std::filesystem::exists(Output() / "00010001.lpb"));
  const std::vector<std::uint8_t> index = OutputBytes("0001.lpp");
  ASSERT_EQ(index.size(), 16u + 3 * 16);
  for (int entry = 0; entry < 3; ++entry) {
    const auto at = index.begin() + 16 + 16 * entry;
    EXPECT_EQ(std::string(at, at + 12), "00010000.lpm");
    EXPECT_EQ(at[12], entry);
  }
  for (const auto& file : result.files) EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
}

TEST_F(DataMakerTest, ACancelledRunLeavesNoIndex) {
  std::atomic<bool> cancel{true};
  const MakeResult result = MakeFor(Screen(1), {P(), W(), I(kKindClock)}, {}, &cancel);
  EXPECT_FALSE(result.made);
  EXPECT_FALSE(std::filesystem::exists(Output() / "0001.lpp"));
}

}  // namespace
}  // namespace vantorel
