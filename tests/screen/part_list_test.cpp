#include "app/status_text.h"
#include "app/text_table.h"
#include "screen/part_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "screen/cross_map_library.h"
#include "screen/part_rows.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using Parts = std::vector<PartRect>;

TEST(PartListTest, Parsing) {
  const struct {
    std::string text;
    Parts parts;
  } cases[] = {
      {"p:0,0,16,16;32,0,16,16;0,32,16,16;32,32,16,16;", {{0, 0, 16, 16}, {32, 0, 16, 16}, {0, 32, 16, 16}, {32, 32, 16, 16}}},
      {"p:0,0,16,16;48,0,16,16", {{0, 0, 16, 16}, {48, 0, 16, 16}}},  // last entry ends with the text
      {"p:1,2,3;4,5,6,7;", {}},                                       // three numbers: stop at once
      {"p:1,2,3,4;5,6,7;8,9,10,11;", {{1, 2, 3, 4}}},                 // stop at the first invalid entry
      {"p:1,2,3,4,5,6,7,8;", {{1, 2, 3, 4}, {5, 6, 7, 8}}},           // "," after the fourth number ends it
      {"p: 1 , 2 ,x3,4 ;", {{1, 2, 3, 4}}},                           // other characters are skipped
      {"p:,,1,2,3,4;", {{1, 2, 3, 4}}},                               // "," before any digit does not count
      {"p:1,,2,3;", {{1, 0, 2, 3}}},
      {"p:1,2,3,;", {{1, 2, 3, 0}}},
      {"p:1,2,3,", {}},                                               // text ended without fourth digits
      {"p:1,2,3,4 ", {}},
      {"p:-5,3,2,2;", {{5, 3, 2, 2}}},                                // no signs: "-" is skipped
      {"p:65536,65537,70000,4294967297;", {{0, 1, 4464, 1}}},        // truncated to 16 bits
      {"p:40000,0,1,1;", {{-25536, 0, 1, 1}}},
      {"p:", {}},
      {"p:;1,2,3,4;", {}},
      {"P:0,0,16,16;", {}},
      {"r:1", {}},
      {"", {}},
      {"p", {}},
      {"x:1,2,3,4;", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParsePartList(c.text), c.parts) << c.text;
}

TEST(PartListTest, AtMostOneHundredRectangles) {
  std::string text = "p:";
  for (int i = 0; i < 101; ++i) text += std::to_string(i) + ",0,1,1;";
  const Parts parts = ParsePartList(text);
  ASSERT_EQ(parts.size(), 100u);
  EXPECT_EQ(parts.back().x, 99);
}

TEST(PartListTest, RotationAndCanvasFilter) {
  EXPECT_TRUE(IsRotated("r:1"));
  EXPECT_TRUE(IsRotated("rot"));
  EXPECT_FALSE(IsRotated("R:1"));
  EXPECT_FALSE(IsRotated("p:0,0,1,1;"));
  EXPECT_FALSE(IsRotated(""));
  EXPECT_EQ(CanvasParts("p:0,0,0,16;1,1,2,2;3,3,4,0;5,5,6,6;"), (Parts{{1, 1, 2, 2}, {5, 5, 6, 6}}));
}

class DefaultPartsTest : public ::testing::Test {
protected:
  test::TempFolder m_folder;
  std::filesystem::path m_file = m_folder / "default.parts";
};

TEST_F(DefaultPartsTest, FileLinesThenBuiltInRule) {
  ASSERT_TRUE(WriteFileAtomically(m_file, std::string_view("; comment\r\n"
                                                           "=96,96:24,20;16,12\r\n"
                                                           "=96,96:1,1;1,1\r\n"       // later lines lose
                                                           " =64,64:8,8;8,8\r\n"      // not at line start
                                                           "=80,40:10,10\r\n"         // incomplete
                                                           "=48,48:-1,16;16,16\r\n"   // impossible block
                                                           "=100,50:30,10;20,5")));    // no line end
  EXPECT_EQ(DefaultPartList(96, 96, m_file), "p:0,0,24,20;72,0,24,20;0,84,16,12;80,84,16,12;");
  EXPECT_EQ(DefaultPartList(100, 50, m_file), "p:0,0,30,10;70,0,30,10;0,45,20,5;80,45,20,5;");
  // Built-in rule: 16 from 33 on, 8 from 17 on, none below.
  EXPECT_EQ(DefaultPartList(64, 64, m_file), "p:0,0,16,16;48,0,16,16;0,48,16,16;48,48,16,16;");
  EXPECT_EQ(DefaultPartList(48, 48, m_file), "p:0,0,16,16;32,0,16,16;0,32,16,16;32,32,16,16;");
  EXPECT_EQ(DefaultPartList(80, 40, m_file), "p:0,0,16,16;64,0,16,16;0,24,16,16;64,24,16,16;");
  EXPECT_EQ(DefaultPartList(32, 64, m_file), "p:0,0,8,16;24,0,8,16;0,48,8,16;24,48,8,16;");
  EXPECT_EQ(DefaultPartList(17, 33, m_file), "p:0,0,8,16;9,0,8,16;0,17,8,16;9,17,8,16;");
  EXPECT_EQ(DefaultPartList(16, 64, m_file), std::nullopt);
  EXPECT_EQ(DefaultPartList(64, 8, m_file), std::nullopt);
  EXPECT_EQ(DefaultPartList(64, 64, m_file.string() + ".missing"), DefaultPartList(64, 64, m_file));
}

TEST_F(DefaultPartsTest, ShippedFile) {
  const std::filesystem::path shipped = std::filesystem::path(VANTOREL_SOURCE_DIR) / "data" / "default.parts";
  EXPECT_EQ(DefaultPartList(72, 72, shipped), "p:0,0,24,24;48,0,24,24;0,48,24,24;48,48,24,24;");
  EXPECT_EQ(DefaultPartList(24, 24, shipped), "p:0,0,8,8;16,0,8,8;0,16,8,8;16,16,8,8;");
}

TEST(PartRowsTest, RowMarking) {
  const struct {
    PartRow row;
    bool faulty;
  } cases[] = {
      {{"0", "0", "16", "16"}, false},
      {{"48", "48", "16", "16"}, false},  // touches the edges
      {{"49", "0", "16", "16"}, true},    // passes the right edge
      {{"0", "49", "16", "16"}, true},    // passes the bottom edge
      {{"0", "0", "0", "16"}, true},
      {{"0", "0", "16", "-1"}, true},
      {{"", "", "", ""}, true},
      {{"-4", "0", "4", "4"}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsFaultyPartRow(c.row, 64, 64), c.faulty) << c.row.x << "," << c.row.y << "," << c.row.width;
    EXPECT_EQ(PartRowNumberText(3, c.row, 64, 64), c.faulty ? "3*" : "3");
  }
}

TEST(PartRowsTest, EditingAndOkText) {
  std::vector<PartRow> rows = PartRowsOf("p:0,0,16,16;48,0,16,16;");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1], (PartRow{"48", "0", "16", "16"}));
  // Positions beyond 32767 are read back as written.
  EXPECT_EQ(PartRowsOf("p:40000,1,2,3;"), (std::vector<PartRow>{{"40000", "1", "2", "3"}}));
  EXPECT_EQ(ParsePartList(PartRowsText(PartRowsOf("p:40000,1,2,3;"))), ParsePartList("p:40000,1,2,3;"));
  ASSERT_TRUE(AddPartRow(rows));
  EXPECT_EQ(PartRowNumberText(3, rows[2], 64, 64), "3*");
  EXPECT_EQ(PartRowsText(rows), "p:0,0,16,16;48,0,16,16;,,,;");
  // Rows are not checked on OK; an invalid one ends the list when it is read.
  EXPECT_EQ(ParsePartList(PartRowsText(rows)).size(), 2u);
  while (rows.size() < 100) ASSERT_TRUE(AddPartRow(rows));
  EXPECT_FALSE(AddPartRow(rows));
  EXPECT_EQ(rows.size(), 100u);
  EXPECT_EQ(PartEditorSizeText(64, 48), " 64 x 48 ");
}

TEST_F(DefaultPartsTest, ImportExportAndDefaultRows) {
  const std::vector<PartRow> rows = {{"0", "0", "8", "8"}, {"56", "0", "8", "8"}};
  EXPECT_TRUE(ExportPartRows(m_file, rows).ok());
  auto imported = ImportPartRows(m_file);
  ASSERT_TRUE(imported.ok());
  EXPECT_EQ(*imported, rows);

  ASSERT_TRUE(WriteFileAtomically(m_file, std::string_view("r:1\np:0,0,1,1;\n")));
  imported = ImportPartRows(m_file);  // only the first line counts
  ASSERT_FALSE(imported.ok());
  EXPECT_EQ(StatusMessage(imported.status()), "None");
  EXPECT_EQ(LoadText(imported.status().title()), "Prompt");

  // A file that cannot be read says "Failed" and why.
  const std::filesystem::path missing = m_file.string() + ".missing";
  imported = ImportPartRows(missing);
  ASSERT_FALSE(imported.ok());
  EXPECT_EQ(imported.status().text(), kTextFailed);
  EXPECT_NE(StatusMessage(imported.status()).find(missing.string()), std::string::npos);
  imported = ImportPartRows(m_file.parent_path());  // a folder is not a part list file
  ASSERT_FALSE(imported.ok());
  EXPECT_EQ(imported.status().text(), kTextFailed);
  EXPECT_EQ(DefaultPartList(64, 64, m_file.parent_path()), DefaultPartList(64, 64, missing));
  const Status failed = ExportPartRows(m_file.parent_path() / "no-such-folder" / "x.txt", rows);
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.text(), kTextFailed);

  const auto none = DefaultPartRows(16, 16, m_file);
  ASSERT_FALSE(none.ok());
  EXPECT_EQ(none.status().text(), kTextNone);
  ASSERT_TRUE(DefaultPartRows(64, 64, m_file).ok());
  EXPECT_EQ(DefaultPartRows(64, 64, m_file)->size(), 4u);
}

TEST(CrossMapLibrary, TheMapFilesOfASignSizeWithTheirPictures) {
  const test::TempFolder program;
  const std::filesystem::path folder = CrossMapFolder(program.Path(), 64, 32);
  EXPECT_EQ(folder, program / "Config" / "CrossMap" / "64x32");
  EXPECT_TRUE(CrossMapFiles(folder).empty());  // no folder: no files
  program.Write("Config/CrossMap/64x32/west.map", "w");
  program.Write("Config/CrossMap/64x32/EAST.MAP", "e");
  program.Write("Config/CrossMap/64x32/east.jpg", "picture");
  program.Write("Config/CrossMap/64x32/readme.txt", "text");
  program.Write("Config/CrossMap/64x32/old.map.bak", "backup");
  program.Write("Config/CrossMap/64x32/folder.map/inside.map", "in a folder");
  program.Write("Config/CrossMap/64x64/other.map", "another size");
  EXPECT_EQ(CrossMapFiles(folder), (std::vector<std::filesystem::path>{folder / "EAST.MAP", folder / "west.map"}));
  EXPECT_EQ(CrossMapPicture(folder / "west.map"), folder / "west.jpg");
  EXPECT_EQ(CrossMapTitle("Gate[2]", 64, 32, "COM1: 115200,N,8,1"), "Gate[2], 64 x 32, COM1: 115200,N,8,1");
}

}  // namespace
}  // namespace vantorel
