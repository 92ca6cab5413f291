// Playbill files: what is written byte for byte, what reads back, and what a damaged or foreign
// file gives.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <fstream>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/byte_writer.h"
#include "playbill/playbill_keys.h"
#include "playbill/playbill_lines.h"
#include "playbill/playbill_reader.h"
#include "playbill/playbill_writer.h"
#include "screen/controller_types.h"
#include "support/temp_folder.h"
#include "support/record_builders.h"
#include "support/screen_builder.h"

namespace vantorel {
namespace {

using test::P;
using test::ScreenBuilder;
using test::TempFolder;
using test::W;

using Bytes = std::vector<std::uint8_t>;

tagScreenInfo Screen(std::uint16_t type = kControllerClass6, std::uint16_t width = 64, std::uint16_t height = 32) {
  return ScreenBuilder().Type(type).Id(3).Name("Gate").Colour(0x77).Width(width).Height(height).Model(0x4B05).Build();
}

tagScreenInfo ScreenOf(std::uint16_t type, const char* name, std::uint16_t colour, std::uint16_t width,
                       std::uint16_t height, std::uint8_t id, std::uint16_t model, std::uint16_t fontLib) {
  return ScreenBuilder().Type(type).Name(name).Colour(colour).Width(width).Height(height).Id(id).Model(model)
      .FontLib(fontLib).Build();
}

Bytes AsBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

// The lines of a current-generation file, unscrambled; the raw block after "RICHTXT" shows as
// "<block:N>".
std::vector<std::string> LinesOf(const Bytes& file) {
  CPlaybillLineReader reader(file, kPlaybillHeaderBytes, true);
  std::vector<std::string> lines;
  while (auto line = reader.NextLine()) {
    lines.push_back(*line);
    if (*line == "RICHTXT") lines.push_back("<block:" + std::to_string(reader.NextBlock(100000)->size()) + ">");
  }
  return lines;
}

// A current-generation file of `lines`, each scrambled. A line "<block:N:HEX>" stands for a raw
// block of N bytes that starts with the bytes HEX and is zero after them.
Bytes FileOf(const std::vector<std::string>& lines) {
  ByteWriter file;
  file.Bytes(Bytes{0x03, 0x01, 0x04, 0x36, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 110, 0, 0, 0});
  for (const std::string& line : lines) {
    if (line.starts_with("<block:")) {
      const std::size_t colon = line.find(':', 7);
      Bytes block(std::stoul(line.substr(7, colon - 7)));
      const std::string hex = line.substr(colon + 1, line.size() - colon - 2);
      for (std::size_t i = 0; 2 * i < hex.size(); ++i) {
        block.at(i) = static_cast<std::uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
      }
      AppendScrambledRecord(file, block);
    } else {
      AppendScrambledRecord(file, AsBytes(line));
    }
  }
  return std::move(file).Take();
}

PrgList Decode(const Bytes& file, const tagScreenInfo* screen = nullptr, int* versionOut = nullptr,
               ReadWarnings* warningsOut = nullptr) {
  PrgList list;
  int version = 90;
  const auto result = DecodePlaybill(file, "/shows", list, version, screen);
  EXPECT_TRUE(result.ok()) << result.status().detail();
  if (versionOut) *versionOut = version;
  if (warningsOut) *warningsOut = result.value_or(ReadWarnings());
  return list;
}

Bytes Encode(const PrgList& list, const tagScreenInfo& screen = Screen(), int program = -1) {
  auto bytes = EncodePlaybill(list, screen, program, "/shows");
  EXPECT_TRUE(bytes.has_value());
  return bytes.value_or(Bytes());
}

// An item of `kind` with every field set to something other than its zero value.
tagPrgItem FullItem(std::uint16_t kind) {
  tagPrgItem record;
  record.level = kLevelItem;
  tagItemPart& item = record.item;
  item.actType = kind;
  item.showType = 0x8000 | 14;
  item.speed = 7;
  item.actTime = 65535;
  item.media = kind == kKindTimeCounter ? "Days left\r\nuntil opening" : "/media/clip 1.bmp";
  item.showMode = 0x118;
  item.logFont = {-16, 8, 900, 900, 700, 1, 1, 1, 134, 3, 2, 1, 49, "Noto Sans Mono"};
  item.fntColor = 0xFFFFFFFF;
  item.bgColor = 0x00FF00;
  item.transp = 1;
  item.negative = -1;
  item.vwAsText = 0x170;
  item.tcMode = 3;
  item.tcBase = {2024, 2, 29, 23, 59, 58};
  item.tcText = "Opening in";
  item.txt2Img = 16;
  item.timeAdj = -480;
  if (kind == kKindImageText) item.richTxt = RichTextBlock::ImageModeText("{\\rtf1 Hello}");
  if (kind == kKindCellText) item.richTxt = RichTextBlock::CellTextOf("Hi", 0x12);
  return record;
}

// Of `full`, the fields the file carries for its kind (the others read back as zero).
tagPrgItem Carried(const tagPrgItem& full) {
  const tagItemPart& f = full.item;
  const int kind = f.actType;
  tagPrgItem record;
  record.level = kLevelItem;
  tagItemPart& item = record.item;
  std::vector<ActorKey> keys(kCommonItemKeys.begin(), kCommonItemKeys.end());
  for (ActorKey key : ItemKindKeys(kind)) keys.push_back(key);
  for (ActorKey key : keys) {
    switch (key) {
      case ActorKey::ActType: item.actType = f.actType; break;
      case ActorKey::Media: item.media = kind == kKindUndefined ? "" : f.media.view(); break;
      case ActorKey::ShowType: item.showType = f.showType; break;
      case ActorKey::Speed: item.speed = f.speed; break;
      case ActorKey::ActTime: item.actTime = f.actTime; break;
      case ActorKey::ShowMode: item.showMode = f.showMode; break;
      case ActorKey::LogFont: item.logFont = f.logFont; break;
      case ActorKey::FntColor: item.fntColor = f.fntColor; break;
      case ActorKey::Negative: item.negative = f.negative; break;
      case ActorKey::VwAsText: item.vwAsText = f.vwAsText; break;
      case ActorKey::TcMode: item.tcMode = f.tcMode; break;
      case ActorKey::TcBase: item.tcBase = f.tcBase; break;
      case ActorKey::TcText: item.tcText = f.tcText; break;
      case ActorKey::RichTxt: item.richTxt = RichTextBlock::FromBytes(f.richTxt->StoredBytes(kind)); break;
      case ActorKey::Txt2Img: item.txt2Img = f.txt2Img; break;
      case ActorKey::TimeAdj: item.timeAdj = f.timeAdj; break;
      case ActorKey::Transp: item.transp = f.transp; break;
      case ActorKey::BgColor: item.bgColor = f.bgColor; break;
    }
  }
  return record;
}

TEST(PlaybillFile, EveryKindReadsBackWhatItsSectionCarries) {
  PrgList written = {P("Morning"), W(-5, -32768, 65535, 1)};
  for (std::uint16_t kind = 0; kind <= 12; ++kind) written.push_back(FullItem(kind));
  written[0].program.backgrd = "/pictures/sky.jpg";
  written[0].program.showMode = 2;
  written[0].program.dispAttr = 255;
  written[0].program.loopCnt = 9;
  written[0].program.playTime = 65535;
  written[0].program.timeSch = {0x17F, 8 * 256 + 30, 20 * 256};
  written[1].window.areaName = "Top arm";
  written[1].window.waitType = 2;
  written[1].window.border = 3;

  const PrgList read = Decode(Encode(written));
  ASSERT_EQ(read.size(), written.size());
  EXPECT_EQ(read[0], written[0]);
  EXPECT_EQ(read[1], written[1]);
  for (std::size_t i = 2; i < written.size(); ++i) {
    SCOPED_TRACE(written[i].item.actType);
    EXPECT_EQ(read[i], Carried(written[i]));
  }
}

TEST(PlaybillFile, RichTextBlocksOfBothCellSizesAndImageText) {
  // Cell size 6: two cells of six bytes and the count says 2 -> 15 bytes; cell size 3 keeps n*3+3.
  const Bytes cells6 = {2, 0, 6, 0xFF, 0, 0, 0x02, 0, 'A', 0, 0xFF, 0, 0x02, 0, 'B', 0, 0, 0, 0, 0, 0};
  const Bytes cells3 = {2, 0, 9, 0x12, 0, 'A', 0x12, 0, 'B', 0, 0, 0};
  const std::string document = "{\\rtf1\\ansi " + std::string(3000, 'x') + "}";
  const struct {
    std::uint16_t kind;
    std::optional<RichTextBlock> block;
    std::size_t stored;
  } cases[] = {
      {kKindCellText, RichTextBlock::FromBytes(cells6), 15},
      {kKindCellText, RichTextBlock::FromBytes(cells3), 9},
      {kKindImageText, RichTextBlock::ImageModeText(document), document.size() + 2 + 4},
      {kKindImageText, RichTextBlock::NewImageModeText(), 204},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    tagPrgItem item = test::I(c.kind);
    item.item.richTxt = c.block;
    const PrgList read = Decode(Encode({P(), W(), item}));
    ASSERT_EQ(read.size(), 3u);
    ASSERT_TRUE(read[2].item.richTxt.has_value());
    EXPECT_EQ(read[2].item.richTxt->HeldSize(), c.stored);
    const auto expected = c.block->StoredBytes(c.kind);
    const auto got = read[2].item.richTxt->Bytes();
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin(), got.end()));
  }
}

TEST(PlaybillFile, OverlongTextsAreCutToTheirFields) {
  tagPrgItem program = P(std::string(100, 'p'));
  tagPrgItem item = test::I(kKindPicture, "/" + std::string(400, 'm'));
  item.item.tcText = std::string(300, 't');
  EXPECT_EQ(program.program.prgName.size(), 64u);
  const PrgList read = Decode(Encode({program, W(), item}));
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[0].program.prgName.str(), std::string(64, 'p'));
  EXPECT_EQ(read[2].item.media.size(), 261u);

  // Lines of a hand-made file longer than the fields are cut on reading too.
  const PrgList handMade = Decode(FileOf({"[PROGRAM]", "PRGNAME=" + std::string(500, 'q'), "[/PROGRAM]", "[AREA]",
                                          "AREANAME=" + std::string(90, 'a'), "[/AREA]", "[ACTOR]", "ACTTYPE=5",
                                          "TCTEXT=" + std::string(200, 'c'), "[/ACTOR]"}));
  ASSERT_EQ(handMade.size(), 3u);
  EXPECT_EQ(handMade[0].program.prgName.size(), 64u);
  EXPECT_EQ(handMade[1].window.areaName.size(), 64u);
  EXPECT_EQ(handMade[2].item.tcText.size(), 119u);
}

TEST(PlaybillFile, HeaderAndScrambledLinesByteForByte) {
  tagPrgItem item = test::I(kKindPicture, "/x.bmp");
  item.item.actTime = 3;
  const Bytes file = Encode({P(), W(), item});
  const Bytes header = {0x03, 0x01, 0x04, 0x36, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 110, 0, 0, 0};
  ASSERT_GT(file.size(), header.size());
  EXPECT_TRUE(std::equal(header.begin(), header.end(), file.begin()));

  // "ACTTIME=3" is nine bytes: 09 00, then each byte XOR 0x09.
  Bytes actTime = {0x09, 0x00};
  for (char c : std::string("ACTTIME=3")) actTime.push_back(static_cast<std::uint8_t>(c ^ 0x09));
  EXPECT_NE(std::search(file.begin(), file.end(), actTime.begin(), actTime.end()), file.end());

  // The key is the low byte of the length, 24 when that byte is 0.
  for (std::size_t length : {256u, 512u, 1u, 255u}) {
    ByteWriter writer;
    AppendScrambledRecord(writer, Bytes(length, 'A'));
    const Bytes& record = writer.View();
    ASSERT_EQ(record.size(), length + 2);
    EXPECT_EQ(record[0], length & 0xFF);
    EXPECT_EQ(record[1], length >> 8);
    const std::uint8_t key = (length & 0xFF) == 0 ? 24 : static_cast<std::uint8_t>(length & 0xFF);
    EXPECT_EQ(record[2], 'A' ^ key) << length;
  }
}

TEST(PlaybillFile, WriterKeyOrderAndSelection) {
  tagPrgItem clock = test::I(kKindClock, "Now");
  clock.item.logFont.faceName = "Fixed Sys";
  tagPrgItem text = test::I(kKindImageText, "Hi");
  text.item.richTxt = RichTextBlock::ImageModeText("{x}");
  const std::vector<std::string> lines = LinesOf(Encode({P("A"), W(-2, 3, 16, 8), clock, text}));
  const std::vector<std::string> expected = {
      "[SCREEN]", "SCRNAME=Gate", "TYPE=6", "COLOR=119", "WIDTH=64", "HEIGHT=32", "NUMBER=3", "MODEL=19205",
      "FONTLIB=1", "ASCSIZEM=29", "EXTSIZEM=28", "[/SCREEN]",
      "[PROGRAM]", "PRGNAME=A", "BACKGRD=", "SHOWMODE=0", "PLAYTIME=0", "LOOPCNT=1", "DISPATTR=0",
      "TIMESCH=127 0 0", "[/PROGRAM]",
      "[AREA]", "AREANAME=", "LEFT=-2", "TOP=3", "WIDTH=16", "HEIGHT=8", "WAITTYPE=1", "BORDER=0", "[/AREA]",
      "[ACTOR]", "ACTTYPE=5", "MEDIA=Now", "SHOWTYPE=0", "SPEED=0", "ACTTIME=0", "TRANSP=0", "SHOWMODE=0",
      "LOGFONT=0 0 0 0 0 0 0 0 0 0 0 0 0 Fixed Sys", "FNTCOLOR=0", "TCMODE=0", "TCBASE=0 0 0 0 0 0", "TCTEXT=",
      "TIMEADJ=0", "VWASTEXT=0", "[/ACTOR]",
      "[ACTOR]", "ACTTYPE=8", "MEDIA=Hi", "SHOWTYPE=0", "SPEED=0", "ACTTIME=0", "TRANSP=0", "RICHTXT",
      "<block:9>",  // L = 5 ("{x}" CR LF) and the four bytes of L
      "TXT2IMG=0", "VWASTEXT=0", "BGCOLOR=0", "[/ACTOR]"};
  EXPECT_EQ(lines, expected);
}

TEST(PlaybillFile, ProgramIndexWritesOneProgram) {
  const PrgList list = {P("A"), W(), test::I(), P("B"), W(), test::I(), test::I()};
  const struct {
    int index;
    std::size_t records;
    const char* name;
  } cases[] = {{-1, 7, "A"}, {0, 3, "A"}, {1, 4, "B"}, {5, 3, "A"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    const PrgList read = Decode(Encode(list, Screen(), c.index));
    ASSERT_EQ(read.size(), c.records);
    EXPECT_EQ(read[0].program.prgName.str(), c.name);
  }
}

TEST(PlaybillFile, NothingIsWrittenForOtherClassesOrWithoutProgram) {
  TempFolder temp;
  const auto file = temp / "show.lpl";
  ASSERT_TRUE(WritePlaybill(file, {P("Old"), W(), test::I()}, Screen()));
  std::string before;
  ASSERT_TRUE(ReadWholeFile(file, before));
  EXPECT_FALSE(WritePlaybill(file, {}, Screen()));
  EXPECT_FALSE(WritePlaybill(file, {W(), test::I()}, Screen()));
  EXPECT_FALSE(WritePlaybill(file, {P("New"), W(), test::I()}, Screen(1)));
  std::string after;
  ASSERT_TRUE(ReadWholeFile(file, after));
  EXPECT_EQ(after, before) << "a refused write leaves the previous playbill";
  EXPECT_FALSE(WritePlaybill(temp / "other.lpl", {P()}, Screen(0)));
  EXPECT_FALSE(std::filesystem::exists(temp / "other.lpl"));
}

TEST(PlaybillFile, RelativeMediaPathsFollowTheFile) {
  TempFolder temp;
  std::filesystem::create_directories(temp / "shows" / "media");
  std::filesystem::create_directories(temp / "moved");
  const std::string folder = (temp / "shows").string();
  tagPrgItem picture = test::I(kKindPicture, folder + "/media/pic.bmp");
  tagPrgItem outside = test::I(kKindVideo, "/elsewhere/clip.avi");
  tagPrgItem text = test::I(kKindImageText, folder + "/media/not a path");
  tagPrgItem program = P();
  program.program.backgrd = folder + "/sky.jpg";
  const auto file = temp / "shows" / "show.lpl";
  ASSERT_TRUE(WritePlaybill(file, {program, W(), picture, outside, text}, Screen()));

  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(file, bytes));
  const std::vector<std::string> lines = LinesOf(Bytes(bytes.begin(), bytes.end()));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "MEDIA=.\\media/pic.bmp"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "BACKGRD=.\\sky.jpg"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "MEDIA=/elsewhere/clip.avi"), lines.end());

  // Read from where it lies now.
  std::filesystem::copy_file(file, temp / "moved" / "show.lpl");
  PrgList list;
  int version = 110;
  ASSERT_TRUE(ReadPlaybill(temp / "moved" / "show.lpl", list, version).ok());
  ASSERT_EQ(list.size(), 5u);
  const std::string moved = (temp / "moved").string();
  EXPECT_EQ(list[0].program.backgrd.str(), moved + "/sky.jpg");
  EXPECT_EQ(list[2].item.media.str(), moved + "/media/pic.bmp");
  EXPECT_EQ(list[3].item.media.str(), "/elsewhere/clip.avi");
  EXPECT_EQ(list[4].item.media.str(), folder + "/media/not a path") << "texts are no paths";
}

TEST(PlaybillFile, StoredValuesFromWindowsAndTextKinds) {
  const PrgList read = Decode(FileOf({"[PROGRAM]", "BACKGRD=..\\pics\\sky.jpg", "[/PROGRAM]", "[AREA]", "[/AREA]",
                                      "[ACTOR]", "ACTTYPE=1", "MEDIA=.\\media\\pic.bmp", "[/ACTOR]",
                                      "[ACTOR]", "ACTTYPE=8", "MEDIA=...and more", "[/ACTOR]",
                                      "[ACTOR]", "ACTTYPE=10", "MEDIA=First\t\tSecond", "[/ACTOR]",
                                      "[ACTOR]", "MEDIA=before the kind", "ACTTYPE=2", "[/ACTOR]",
                                      "[ACTOR]", "ACTTYPE=1", "MEDIA=C:\\Shows\\pic.bmp", "[/ACTOR]"}));
  ASSERT_EQ(read.size(), 7u);
  EXPECT_EQ(read[0].program.backgrd.str(), "/shows/pics/sky.jpg");
  EXPECT_EQ(read[2].item.media.str(), "/shows/media/pic.bmp");
  EXPECT_EQ(read[3].item.media.str(), "...and more");
  EXPECT_EQ(read[4].item.media.str(), "First\r\nSecond");
  EXPECT_EQ(read[5].item.media.str(), "") << "MEDIA needs the kind before it";
  EXPECT_EQ(read[6].item.media.str(), "C:\\Shows\\pic.bmp");
}

TEST(PlaybillFile, FaceNamesWithBlanksAndLegacyTexts) {
  const PrgList read = Decode(FileOf({"[PROGRAM]", "PRGNAME=\xB3\xBF\xBC\xE4", "[/PROGRAM]", "[AREA]", "[/AREA]",
                                      "[ACTOR]", "ACTTYPE=2", "LOGFONT=-12 0 0 0 400 0 0 0 134 3 2 1 2 Courier New Bold",
                                      "[/ACTOR]", "[ACTOR]", "ACTTYPE=2", "LOGFONT=-12 0 x", "[/ACTOR]"}));
  ASSERT_EQ(read.size(), 4u);
  EXPECT_EQ(read[0].program.prgName.str(), "\xE6\x99\xA8\xE9\x97\xB4") << "GB2312 text read as UTF-8";
  const tagLogFont& font = read[2].item.logFont;
  EXPECT_EQ(font.height, -12);
  EXPECT_EQ(font.weight, 400);
  EXPECT_EQ(font.charSet, 134);
  EXPECT_EQ(font.pitchAndFamily, 2);
  EXPECT_EQ(font.faceName.str(), "Courier New Bold");
  EXPECT_EQ(read[3].item.logFont.height, -12);
  EXPECT_EQ(read[3].item.logFont.faceName.str(), "") << "a face name follows thirteen numbers only";
}

TEST(PlaybillFile, PlainTextGenerationAndItsVersion) {
  const std::string clock = "[ACTOR]\r\nACTTYPE=5\r\nMEDIA=\xCA\xB1\xD6\xD3.Lobby\r\n[/ACTOR]\r\n";
  const std::string body = "[PROGRAM]\r\nPRGNAME=Old\r\n[/PROGRAM]\r\n[AREA]\r\nWIDTH=32\n[/AREA]\n" + clock;
  const struct {
    std::string head;
    int version;
    std::string media;
  } cases[] = {
      {"[PRGLIST]\r\nVERSION=1.00\r\n[/PRGLIST]\r\n", 100, "Lobby"},
      {"[prglist]\r\nversion=0.9\r\n[/PrgList]\r\n", 100, "Lobby"},
      {"[PRGLIST]\r\nVERSION=1.5\r\n[/PRGLIST]\r\n", 105, "\xE6\x97\xB6\xE9\x92\x9F.Lobby"},
      {"[PRGLIST]\r\nVERSION=1.10\r\n[/PRGLIST]\r\n", 110, "\xE6\x97\xB6\xE9\x92\x9F.Lobby"},
      {"VERSION=1.00\r\n", 90, "Lobby"},  // outside the header block: the caller's version stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.head);
    int version = 0;
    const PrgList read = Decode(AsBytes(c.head + body), nullptr, &version);
    EXPECT_EQ(version, c.version);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].program.prgName.str(), "Old");
    EXPECT_EQ(read[1].window.width, 32);
    EXPECT_EQ(read[2].item.media.str(), c.media);
  }
  // A current-generation file keeps the prefix, and its version is at least 110.
  Bytes file = FileOf({"[PROGRAM]", "[/PROGRAM]", "[AREA]", "[/AREA]", "[ACTOR]", "ACTTYPE=5", "MEDIA=\xCA\xB1\xD6\xD3.Lobby", "[/ACTOR]"});
  file[16] = 100;
  int version = 0;
  const PrgList current = Decode(file, nullptr, &version);
  EXPECT_EQ(version, 110);
  EXPECT_EQ(current.at(2).item.media.str(), "\xE6\x97\xB6\xE9\x92\x9F.Lobby");
}

TEST(PlaybillFile, ScreensOfOtherClassesKeepOneWindowAndOneItemPerProgram) {
  const PrgList list = {P("A"), W(0, 0), test::I(), test::I(), W(1, 1), test::I(), P("B"), W(2, 2), test::I(), test::I()};
  const Bytes file = Encode(list);
  const tagScreenInfo classOne = Screen(1);
  const PrgList limited = Decode(file, &classOne);
  ASSERT_EQ(limited.size(), 6u);
  EXPECT_TRUE(limited[0].IsProgram());
  EXPECT_EQ(limited[1].window.left, 0);
  EXPECT_TRUE(limited[2].IsItem());
  EXPECT_EQ(limited[3].program.prgName.str(), "B");
  EXPECT_EQ(limited[4].window.left, 2);
  EXPECT_TRUE(limited[5].IsItem());
  const tagScreenInfo classSeven = Screen(kControllerClass7);
  EXPECT_EQ(Decode(file, &classSeven).size(), list.size());
}

TEST(PlaybillFile, RecordsOutOfPlaceAreDropped) {
  const PrgList read = Decode(FileOf({"[ACTOR]", "ACTTYPE=1", "[/ACTOR]",     // item before any window
                                      "[AREA]", "LEFT=1", "[/AREA]",          // window before any program
                                      "[ACTOR]", "ACTTYPE=2", "[/ACTOR]",     // item of that window
                                      "[PROGRAM]", "PRGNAME=A", "[/PROGRAM]",
                                      "[ACTOR]", "ACTTYPE=3", "[/ACTOR]",     // item right after a program
                                      "[AREA]", "LEFT=2", "[/AREA]",
                                      "[ACTOR]", "ACTTYPE=4", "[/ACTOR]",
                                      "[PROGRAM]", "PRGNAME=B",               // never closed: dropped
                                      "[PROGRAM]", "PRGNAME=C", "[/PROGRAM]",
                                      "[ACTOR]", "ACTTYPE=5"}));               // open at the end
  ASSERT_EQ(read.size(), 4u);
  EXPECT_EQ(read[0].program.prgName.str(), "A");
  EXPECT_EQ(read[1].window.left, 2);
  EXPECT_EQ(read[2].item.actType, 4);
  EXPECT_EQ(read[3].program.prgName.str(), "C");
}

TEST(PlaybillFile, DamagedRichTextBlocksAndLongRecords) {
  const std::vector<std::string> head = {"[PROGRAM]", "[/PROGRAM]", "[AREA]", "[/AREA]"};
  const auto decode = [&head](std::vector<std::string> lines) {
    lines.insert(lines.begin(), head.begin(), head.end());
    return Decode(FileOf(lines));
  };
  // Cells: count 2, size byte 9 (not 6: cells of 3 bytes) -> 9 bytes declared.
  PrgList read = decode({"[ACTOR]", "ACTTYPE=6", "RICHTXT", "<block:9:020009>", "BGCOLOR=5", "[/ACTOR]"});
  ASSERT_EQ(read.size(), 3u);
  ASSERT_TRUE(read[2].item.richTxt.has_value());
  EXPECT_EQ(read[2].item.richTxt->HeldSize(), 9u);
  EXPECT_EQ(read[2].item.bgColor, 5u);

  // The block's own header claims more than the file holds: the item keeps no block.
  read = decode({"[ACTOR]", "ACTTYPE=8", "RICHTXT", "<block:8:05000000>", "TXT2IMG=16", "[/ACTOR]"});
  ASSERT_EQ(read.size(), 3u);
  EXPECT_FALSE(read[2].item.richTxt.has_value()) << "L + 4 = 9 bytes are not there";
  EXPECT_EQ(read[2].item.txt2Img, 16);

  // A block longer than a block may be keeps its first 16394 bytes; what follows it is read on.
  read = decode({"[ACTOR]", "ACTTYPE=6", "RICHTXT", "<block:20000:100006>", "BGCOLOR=7", "[/ACTOR]", "[ACTOR]", "ACTTYPE=1", "[/ACTOR]"});
  ASSERT_EQ(read.size(), 4u);
  ASSERT_TRUE(read[2].item.richTxt.has_value()) << "16 cells of 6 bytes fit in what is kept";
  EXPECT_EQ(read[2].item.richTxt->HeldSize(), RichTextBlock::kMaxBytes);
  EXPECT_EQ(read[2].item.bgColor, 7u);
  EXPECT_EQ(read[3].item.actType, 1);

  // A block on an item that owns none is dropped; a line of more than 1022 bytes is skipped whole.
  read = decode({"[ACTOR]", "ACTTYPE=1", "RICHTXT", "<block:9:020009>", "MEDIA=/a.bmp" + std::string(1100, 'x'), "SPEED=4", "[/ACTOR]"});
  ASSERT_EQ(read.size(), 3u);
  EXPECT_FALSE(read[2].item.richTxt.has_value());
  EXPECT_EQ(read[2].item.media.str(), "");
  EXPECT_EQ(read[2].item.speed, 4);

  // A block cut off by the end of the file: the item is never closed.
  Bytes file = FileOf({"[PROGRAM]", "[/PROGRAM]", "[AREA]", "[/AREA]", "[ACTOR]", "ACTTYPE=6", "RICHTXT", "<block:300:>", "[/ACTOR]"});
  file.resize(file.size() - 20);
  EXPECT_EQ(Decode(file).size(), 2u);
}

TEST(PlaybillFile, DamageIsToldInTheWarnings) {
  const std::vector<std::string> head = {"[PROGRAM]", "[/PROGRAM]", "[AREA]", "[/AREA]"};
  Bytes cutOff = FileOf(head);
  cutOff.insert(cutOff.end(), {40, 0, 'x'});  // a record of 40 bytes with 1 left in the file
  const struct {
    const char* name;
    Bytes file;
    std::size_t dropped;
    std::string firstReason;
  } cases[] = {
      {"sound file", FileOf({"[PROGRAM]", "[/PROGRAM]", "[AREA]", "[/AREA]", "[ACTOR]", "ACTTYPE=1", "[/ACTOR]"}), 0, ""},
      {"line over 1022 bytes", FileOf({"[PROGRAM]", "PRGNAME=" + std::string(1020, 'n'), "[/PROGRAM]"}), 1,
       "record 2: over 1022 bytes"},
      {"record cut off", cutOff, 1, "record 5: cut off by the end of the file at offset 60"},
      {"item before any window", FileOf({"[PROGRAM]", "[/PROGRAM]", "[ACTOR]", "[/ACTOR]"}), 1,
       "record 3: section out of order (an item outside a window)"},
      {"window before any program", FileOf({"[AREA]", "[/AREA]", "[ACTOR]", "[/ACTOR]", "[PROGRAM]", "[/PROGRAM]"}), 1,
       "record 1: section out of order (a window before any program)"},
      {"sections not closed", FileOf({"[PROGRAM]", "PRGNAME=B", "[PROGRAM]", "[/PROGRAM]", "[AREA]"}), 2,
       "record 1: section not closed"},
      {"block shorter than declared", FileOf({"[PROGRAM]", "[/PROGRAM]", "[AREA]", "[/AREA]", "[ACTOR]", "ACTTYPE=8",
                                              "RICHTXT", "<block:8:05000000>", "[/ACTOR]"}),
       1, "record 5: rich-text block of 8 bytes, its header declares 9"},
      {"block on a picture item", FileOf({"[PROGRAM]", "[/PROGRAM]", "[AREA]", "[/AREA]", "[ACTOR]", "ACTTYPE=1",
                                          "RICHTXT", "<block:9:020009>", "[/ACTOR]"}),
       1, "record 5: rich-text block on an item of kind 1"},
      {"block over 16394 bytes", FileOf({"[PROGRAM]", "[/PROGRAM]", "[AREA]", "[/AREA]", "[ACTOR]", "ACTTYPE=6",
                                         "RICHTXT", "<block:20000:100006>", "[/ACTOR]"}),
       1, "record 8: block of 20000 bytes cut to 16394"},
      {"plain-text line over 1022 bytes", AsBytes("[PROGRAM]\r\nPRGNAME=" + std::string(1100, 'n') + "\r\n[/PROGRAM]\r\n"),
       1, "line 2: over 1022 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ReadWarnings warnings;
    Decode(c.file, nullptr, nullptr, &warnings);
    EXPECT_EQ(warnings.dropped, c.dropped);
    EXPECT_EQ(warnings.firstReason, c.firstReason);
  }
  // Windows and items left out by the rule of a screen's class are no damage.
  const tagScreenInfo classOne = Screen(1);
  ReadWarnings warnings;
  Decode(Encode({P(), W(), test::I(), test::I(), W(), test::I()}), &classOne, nullptr, &warnings);
  EXPECT_TRUE(warnings.empty()) << warnings.firstReason;
}

TEST(PlaybillFile, HugeVersionNumbersAreHeldAtTheLimit) {
  // The whole number times 100 would overflow a 32-bit int; the version is held at its limit.
  const struct {
    const char* name;
    std::string value;
    int version;
  } cases[] = {
      {"many digits", "1888888888888888888888888888888888888.00", std::numeric_limits<int>::max()},
      {"just over the limit", "21474837.00", std::numeric_limits<int>::max()},
      {"limit plus a fraction", "21474836.99", std::numeric_limits<int>::max()},
      {"negative", "-1888888888888888888.5", 100},
      {"ordinary", "1.10", 110},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int version = 0;
    const std::string file = "[PRGLIST]\r\nVERSION=" + c.value + "\r\n[/PRGLIST]\r\n[PROGRAM]\r\n[/PROGRAM]\r\n";
    EXPECT_EQ(Decode(AsBytes(file), nullptr, &version).size(), 1u);
    EXPECT_EQ(version, c.version);
  }
}

TEST(PlaybillFile, TruncatedFilesLoadWhatIsSound) {
  PrgList list = {P("A"), W(), FullItem(kKindImageText), P("B"), W(), FullItem(kKindClock)};
  const Bytes file = Encode(list);
  // The offsets where a record ends.
  std::set<std::size_t> cleanCuts = {kPlaybillHeaderBytes};
  for (std::size_t at = kPlaybillHeaderBytes; at < file.size();) {
    at += 2 + (file[at] | (std::size_t{file[at + 1]} << 8));
    cleanCuts.insert(at);
  }
  std::size_t previous = 0;
  for (std::size_t size = 0; size <= file.size(); ++size) {
    PrgList read;
    int version = 110;
    const auto result = DecodePlaybill(std::span(file).first(size), "/shows", read, version);
    if (size < kPlaybillHeaderBytes) {
      ASSERT_FALSE(result.ok());
      EXPECT_EQ(result.status().detail(), "file too short for its header (" + std::to_string(size) + " bytes)");
      EXPECT_TRUE(read.empty());
      continue;
    }
    ASSERT_TRUE(result.ok());
    // A file cut right after a closing line looks whole; any other cut tells what it lost.
    const std::vector<std::string> whole = LinesOf(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size)));
    const bool atBoundary = cleanCuts.contains(size);
    EXPECT_EQ(result->empty(), atBoundary && (whole.empty() || whole.back().starts_with("[/"))) << size;
    EXPECT_GE(read.size(), previous) << size;
    previous = read.size();
  }
  EXPECT_EQ(previous, list.size());
}

TEST(PlaybillFile, UnreadableFiles) {
  TempFolder temp;
  PrgList list = {P()};
  int version = 110;
  const auto missing = ReadPlaybill(temp / "missing.ldt", list, version);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.status().detail(), "No such file or directory \u2014 " + (temp / "missing.ldt").string());
  EXPECT_TRUE(list.empty());
  std::ofstream(temp / "short.ldt") << "[PROGRAM]";
  const auto shortFile = ReadPlaybill(temp / "short.ldt", list, version);
  ASSERT_FALSE(shortFile.ok());
  EXPECT_EQ(shortFile.status().detail(), "file too short for its header (9 bytes) \u2014 " + (temp / "short.ldt").string());
  const auto folder = ReadPlaybill(temp.Path(), list, version);
  ASSERT_FALSE(folder.ok()) << "a folder is no playbill";
  EXPECT_NE(folder.status().detail().find("Is a directory"), std::string::npos);
  tagScreenInfo screen;
  EXPECT_FALSE(ReadPlaybillScreen(temp / "short.ldt", screen));
  EXPECT_FALSE(ReadPlaybillScreen(temp / "missing.ldt", screen));
}

TEST(PlaybillFile, TheScreenAFileWasWrittenFor) {
  const struct {
    std::vector<std::string> lines;
    tagScreenInfo expected;
  } cases[] = {
      {{"[SCREEN]", "SCRNAME=Gate", "TYPE=7", "COLOR=3", "WIDTH=98", "HEIGHT=0", "NUMBER=255", "MODEL=4", "[/SCREEN]"},
       ScreenOf(7, "Gate", 3, 96, 1, 1, 0x4B05, 1)},
      {{"[PROGRAM]", "[/PROGRAM]", "[SCREEN]", "TYPE=6", "WIDTH=64", "HEIGHT=64", "NUMBER=2", "MODEL=19205",
        "FONTLIB=3", "[/SCREEN]", "[SCREEN]", "TYPE=7", "[/SCREEN]"},
       ScreenOf(6, "", 0, 64, 64, 2, 0x4B05, 3)},
      // Another controller class is kept as the file names it, so a refusal can show its size.
      {{"[SCREEN]", "TYPE=3", "WIDTH=64", "HEIGHT=32", "[/SCREEN]"}, ScreenOf(3, "", 0, 64, 32, 1, 0x4B05, 1)},
      {{"[PROGRAM]", "[/PROGRAM]"}, tagScreenInfo()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines[1]);
    tagScreenInfo screen = Screen();
    ASSERT_TRUE(DecodePlaybillScreen(FileOf(c.lines), screen));
    EXPECT_EQ(screen, c.expected);
  }
  // Written and read back.
  tagScreenInfo screen;
  ASSERT_TRUE(DecodePlaybillScreen(Encode({P(), W(), test::I()}, Screen(kControllerClass7, 128, 64)), screen));
  EXPECT_EQ(screen, Screen(kControllerClass7, 128, 64));
}

// A disk that fills up half-way through the new playbill: the file size limit makes the write
// fail as a full disk would, whoever runs the test.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &m_saved);
    m_handler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_saved);
    ::signal(SIGXFSZ, m_handler);
  }

private:
  rlimit m_saved{};
  sighandler_t m_handler;
};

TEST(PlaybillFile, AFailedSaveLeavesThePreviousPlaybill) {
  TempFolder temp;
  const auto file = temp / "av0003.ldt";
  const PrgList good = {P("Good"), W(), test::I(kKindPicture, "/a.bmp")};
  ASSERT_TRUE(WritePlaybill(file, good, Screen()));

  PrgList large = {P("Large"), W()};
  for (int i = 0; i < 200; ++i) large.push_back(FullItem(kKindImageText));
  {
    FileSizeLimit limit(1000);
    const Status full = WritePlaybill(file, large, Screen());
    EXPECT_FALSE(full.ok()) << "the disk filled up";
    EXPECT_NE(full.detail().find(file.string()), std::string::npos) << full.detail();
  }
  // A folder standing where the playbill should go cannot be replaced either.
  std::filesystem::create_directories(temp / "blocked.ldt");
  EXPECT_FALSE(WritePlaybill(temp / "blocked.ldt", good, Screen()));

  PrgList read;
  int version = 110;
  ASSERT_TRUE(ReadPlaybill(file, read, version).ok());
  ASSERT_EQ(read.size(), good.size());
  EXPECT_EQ(read[0].program.prgName.str(), "Good");
  for (const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".av0003")) << "no temporary file is left";
  }
}

}  // namespace
}  // namespace vantorel
