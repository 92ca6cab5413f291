#include "screen/screen_data.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <vector>
#include <string>

#include "platform/atomic_file.h"
#include "screen/controller_types.h"
#include "screen/screen_text_format.h"
#include "support/screen_builder.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

class ScreenFileTest : public ::testing::Test {
protected:
  std::filesystem::path Write(const std::string& name, const std::string& content) const {
    return m_folder.Write(name, content);
  }
  static std::string Read(const std::filesystem::path& path) { return test::ReadText(path); }

  test::TempFolder m_folder;
  const std::filesystem::path& m_dir = m_folder.Path();
};

int LoadCount(CScreenData& list, const std::filesystem::path& path, bool createDefault) {
  (void)list.Load(path, createDefault);
  return list.Count();
}

CScreenData Parse(const std::string& text) {
  CScreenData list;
  ReadScreenText(text, list);
  return list;
}

tagScreenInfo MakeScreen(std::uint16_t type, int number, std::uint16_t model = kModelM5, std::string_view name = {}) {
  return test::ScreenBuilder().Type(type).Id(static_cast<std::uint8_t>(number)).Model(model).Name(name).Build();
}

std::string Block(const std::string& keys) { return "[SCREEN]\r\n" + keys + "[/SCREEN]\r\n\r\n"; }

constexpr const char* kDefaultScreenText =
    "[SCREEN]\r\n"
    "SCRNAME=\r\n"
    "TYPE=6\r\n"
    "COLOR=119\r\n"
    "WIDTH=48\r\n"
    "HEIGHT=48\r\n"
    "NUMBER=1\r\n"
    "MODEL=19205\r\n"
    "FONTLIB=1\r\n"
    "ASCSIZEM=29\r\n"
    "EXTSIZEM=28\r\n"
    "BARSET=115200,0,0,0,0,0,0\r\n"
    "COMM=0,1000\r\n"
    "GPRSID=\r\n"
    "DOMAIN=\r\n"
    "IPADDR=192.168.1.222\r\n"
    "IDCODE=255.255.255.255\r\n"
    "IPPORT=5200\r\n"
    "USERNAME=\r\n"
    "PASSWORD=\r\n"
    "SPECIAL=p:0,0,16,16;32,0,16,16;0,32,16,16;32,32,16,16;\r\n"
    "[/SCREEN]\r\n"
    "\r\n";

TEST_F(ScreenFileTest, MissingFileCreatesTheDefaultScreenByteForByte) {
  const auto path = m_dir / "screen.cfg";
  CScreenData list;
  EXPECT_EQ(LoadCount(list, path, true), 1);
  EXPECT_EQ(Read(path), kDefaultScreenText);
  EXPECT_EQ(list.Path(), path);

  CScreenData again;
  EXPECT_EQ(LoadCount(again, path, false), 1);
  EXPECT_EQ(again.Screen(0), list.Screen(0));
  EXPECT_EQ(again.Comm(0), list.Comm(0));
}

TEST_F(ScreenFileTest, MissingFileWithoutDefaultGivesAnEmptyList) {
  CScreenData list;
  EXPECT_EQ(LoadCount(list, m_dir / "none.screens", false), 0);
  EXPECT_FALSE(std::filesystem::exists(m_dir / "none.screens"));
  EXPECT_FALSE(list.Save(m_dir / "empty.screens").ok());  // an empty list is never written
  EXPECT_FALSE(std::filesystem::exists(m_dir / "empty.screens"));
  // A folder in place of the file: the default screen in memory, the folder untouched.
  std::filesystem::create_directory(m_dir / "screen.cfg");
  EXPECT_EQ(LoadCount(list, m_dir / "screen.cfg", true), 1);
  EXPECT_TRUE(std::filesystem::is_directory(m_dir / "screen.cfg"));
}

// While alive, writes beyond `bytes` fail as on a full disk (even for root).
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &m_saved);
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_previousHandler);
  }

private:
  struct rlimit m_saved {};
  void (*m_previousHandler)(int) = nullptr;
};

TEST_F(ScreenFileTest, FailedSaveKeepsThePreviousFile) {
  const auto path = m_dir / "screen.cfg";
  CScreenData list;
  (void)list.Load(path, true);
  const std::string before = Read(path);
  list.Screen(0).scrName.Assign("a name long enough to make the file grow");
  {
    FileSizeLimit limit(before.size());
    EXPECT_FALSE(list.Save(path).ok());
    EXPECT_FALSE(list.Save(m_dir / "other.screens").ok());
  }
  EXPECT_EQ(Read(path), before);
  EXPECT_EQ(list.Path(), path);  // a failed save does not take over its path
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 1);
  EXPECT_FALSE(list.Save(m_dir / "missing-folder" / "screen.cfg").ok());
  EXPECT_FALSE(list.Save({}).ok());
}

TEST(ScreenTextTest, SixHundredBlocksGiveFiveHundredTwenty) {
  std::string text;
  for (int i = 0; i < 600; ++i) text += Block("TYPE=6\r\nNUMBER=" + std::to_string(i % 254 + 1) + "\r\n");
  const CScreenData list = Parse(text);
  EXPECT_EQ(list.Count(), 520);
  EXPECT_EQ(list.Screen(519).number, 519 % 254 + 1);
}

TEST(ScreenTextTest, BlockWithoutValidClassIsDroppedAndTheNextFillsTheSameSlot) {
  const CScreenData list = Parse(Block("TYPE=5\r\nSCRNAME=dropped\r\nWIDTH=64\r\n") +
                                 Block("TYPE=7\r\nSCRNAME=kept\r\n") +
                                 // keys after a dropped block land in the same slot, even without "[SCREEN]"
                                 "[SCREEN]\r\nTYPE=0\r\n[/SCREEN]\r\nTYPE=6\r\nSCRNAME=after\r\n[/SCREEN]\r\n");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Screen(0).scrName.str(), "kept");
  EXPECT_EQ(list.Screen(0).width, 8);  // the dropped block's width did not leak
  EXPECT_EQ(list.Screen(0).type, 7);
  EXPECT_EQ(list.Screen(1).scrName.str(), "after");
}

// One field read from a one-screen file: the key lines (besides TYPE=6) and what they give.
struct ReadCase {
  const char* lines;
  std::function<bool(const tagScreenInfo&, const tagCommInfo&)> expect;
};

TEST(ScreenTextTest, ReadingRules) {
  const std::string longName(70, 'n');
  const ReadCase cases[] = {
      {"WIDTH=130\r\n", [](auto& s, auto&) { return s.width == 128; }},
      {"WIDTH=6\r\n", [](auto& s, auto&) { return s.width == 8; }},
      {"WIDTH=9\r\n", [](auto& s, auto&) { return s.width == 8; }},
      {"WIDTH=12\r\n", [](auto& s, auto&) { return s.width == 12; }},
      {"WIDTH=abc\r\n", [](auto& s, auto&) { return s.width == 8; }},
      {"WIDTH=-4\r\n", [](auto& s, auto&) { return s.width == 65532; }},  // 16-bit field
      {"HEIGHT=0\r\n", [](auto& s, auto&) { return s.height == 1; }},
      {"HEIGHT=5\r\n", [](auto& s, auto&) { return s.height == 5; }},
      {"NUMBER=255\r\n", [](auto& s, auto&) { return s.number == 1; }},
      {"NUMBER=256\r\n", [](auto& s, auto&) { return s.number == 1; }},
      {"NUMBER=254\r\n", [](auto& s, auto&) { return s.number == 254; }},
      {"MODEL=1234\r\n", [](auto& s, auto&) { return s.model == kModelM5; }},
      {"MODEL=14880\r\n", [](auto& s, auto&) { return s.model == kModelN5A; }},
      {"COLOR=115\r\n", [](auto& s, auto&) { return s.color == 0x73; }},
      {"", [](auto& s, auto& c) {  // every missing key keeps its reset value
         return s.fontLib == 1 && s.ascSizeM == 29 && s.extSizeM == 28 && s.width == 8 && s.height == 1 &&
                s.number == 1 && s.model == kModelM5 && c == tagCommInfo();
       }},
      {"FONTLIB=3\r\nASCSIZEM=7\r\nEXTSIZEM=0\r\n",
       [](auto& s, auto&) { return s.fontLib == 3 && s.ascSizeM == 7 && s.extSizeM == 0; }},
      {"COMM=2.1,300\r\n", [](auto&, auto& c) { return c.commType == 2 && c.subMode == 1 && c.timeout == 500; }},
      {"COMM=0\r\n", [](auto&, auto& c) { return c.commType == 0 && c.subMode == 0 && c.timeout == 1000; }},
      {"COMM=3,0\r\n", [](auto&, auto& c) { return c.commType == 3 && c.timeout == 1000; }},
      {"COMM=1,-7\r\n", [](auto&, auto& c) { return c.commType == 1 && c.timeout == 500; }},
      {"COMM=4.1,2500\r\n", [](auto&, auto& c) { return c.commType == 4 && c.subMode == 1 && c.timeout == 2500; }},
      {"COMM=2.,700\r\n", [](auto&, auto& c) { return c.commType == 2 && c.subMode == 0 && c.timeout == 700; }},
      {"BARSET=9600,0,0,0,0,3,0\r\n", [](auto&, auto& c) { return c.baudRate == 9600 && c.portIndex == 3; }},
      {"BARSET=57600\r\n", [](auto&, auto& c) { return c.baudRate == 57600 && c.portIndex == 0; }},
      {"BARSET=19200,1,2,3,4,98\r\n", [](auto&, auto& c) { return c.baudRate == 19200 && c.portIndex == 98; }},
      {"IPADDR=10.0.0.7\r\nIDCODE=1.2.3.4\r\n",
       [](auto&, auto& c) { return c.ipAddr == 0x0A000007u && c.idCode == 0x01020304u; }},
      {"IPADDR=garbage\r\nIDCODE=7.8\r\n", [](auto&, auto& c) { return c.ipAddr == 0u && c.idCode == 0x07080000u; }},
      {"IPPORT=5201\r\n", [](auto&, auto& c) { return c.ipPort == 5201; }},
      {"SCRNAMEX=prefix match\r\n", [](auto& s, auto&) { return s.scrName.view() == "prefix match"; }},
      {"SCRNAME =  spaced out  \r\n", [](auto& s, auto&) { return s.scrName.view() == "spaced out"; }},
      {"   WIDTH=16   \r\n", [](auto& s, auto&) { return s.width == 16; }},
      {"width=16\r\n", [](auto& s, auto&) { return s.width == 8; }},  // keys are case-sensitive
      {"SCRNAME\r\n", [](auto& s, auto&) { return s.scrName.empty(); }},
      {"SCRNAME=a=b\r\n", [](auto& s, auto&) { return s.scrName.view() == "a=b"; }},
      {"COMMENT=3\r\n", [](auto&, auto& c) { return c.commType == 3; }},  // "COMM" begins the line
      {"GPRSID=0123456789012345678901234567890123456789\r\n",
       [](auto&, auto& c) { return c.gprsId.view() == "012345678901234567890123456789"; }},
      {"DOMAIN=server.example\r\nUSERNAME=user\r\nPASSWORD=secret\r\n",
       [](auto&, auto& c) { return c.domain.view() == "server.example" && c.userName.view() == "user" && c.password.view() == "secret"; }},
      {"SPECIAL=r:1\r\n", [](auto&, auto& c) { return c.special == "r:1"; }},
      {"SCRNAME=\xC4\xFE\xCF\xC4\r\n", [](auto& s, auto&) { return s.scrName.view() == "\xE5\xAE\x81\xE5\xA4\x8F"; }},
      {"SCRNAME=first\r\nSCRNAME=second\r\n", [](auto& s, auto&) { return s.scrName.view() == "second"; }},
      {"[SCREEN]\r\nWIDTH=20\r\n", [](auto& s, auto&) { return s.width == 20; }},  // a second opening is ignored
  };
  for (const ReadCase& c : cases) {
    const CScreenData list = Parse(Block(std::string("TYPE=6\r\n") + c.lines));
    ASSERT_EQ(list.Count(), 1) << c.lines;
    EXPECT_TRUE(c.expect(list.Screen(0), list.Comm(0))) << c.lines;
  }
  const CScreenData named = Parse(Block("TYPE=6\r\nSCRNAME=" + longName + "\r\nDOMAIN=" + longName + "\r\n"));
  EXPECT_EQ(named.Screen(0).scrName.size(), 64u);
  EXPECT_EQ(named.Comm(0).domain.size(), 63u);
}

TEST(ScreenTextTest, DamagedFilesGiveWhatWasComplete) {
  EXPECT_EQ(Parse("").Count(), 0);
  EXPECT_EQ(Parse(std::string("\0\xFF\xFE[SCREEN\n", 11)).Count(), 0);
  EXPECT_EQ(Parse("[SCREEN]\r\nTYPE=6\r\nWIDTH=64").Count(), 0);  // truncated before the end of the block
  EXPECT_EQ(Parse("TYPE=6\r\n[/SCREEN]\r\n").Count(), 0);        // keys outside a block
  const CScreenData twoThenCut = Parse(Block("TYPE=6\r\n") + "\n[SCREEN]\nTYPE=7\n[/SCREEN]\n[SCREEN]\nTYPE=6\n");
  EXPECT_EQ(twoThenCut.Count(), 2);  // LF-only line ends are read too
}

TEST(ScreenTextTest, EveryFieldSurvivesSaveAndLoad) {
  CScreenData list;
  tagScreenInfo screen;
  screen.type = 7;
  screen.number = 200;
  screen.scrName.Assign("Gate \xE5\xAE\x81");
  screen.color = 0x71;
  screen.width = 192;
  screen.height = 96;
  screen.model = kModelM7;
  screen.fontLib = 5;
  screen.ascSizeM = 3;
  screen.extSizeM = 4;
  tagCommInfo comm;
  comm.commType = 3;
  comm.subMode = 1;
  comm.portIndex = 7;
  comm.baudRate = 9600;
  comm.timeout = 3000;
  comm.gprsId.Assign("device-7");
  comm.domain.Assign("relay.example");
  comm.ipAddr = 0x7F000001;
  comm.idCode = 0x01020304;
  comm.ipPort = 1883;
  comm.userName.Assign("user");
  comm.password.Assign("pass word");
  comm.special = "p:0,0,64,32;128,0,64,32;";
  ASSERT_TRUE(list.Append(screen, comm));
  tagScreenInfo second = MakeScreen(6, 2, kModelM1);
  second.width = 64;
  second.height = 32;
  ASSERT_TRUE(list.Append(second, tagCommInfo()));

  const std::string text = WriteScreenText(list);
  EXPECT_NE(text.find("BARSET=9600,0,0,0,0,7,0\r\nCOMM=3.1,3000\r\n"), std::string::npos);
  EXPECT_NE(text.find("IPADDR=127.0.0.1\r\nIDCODE=1.2.3.4\r\n"), std::string::npos);
  EXPECT_EQ(text.find("SPECIAL=\r\n"), std::string::npos);  // an empty special string is not written

  const CScreenData back = Parse(text);
  ASSERT_EQ(back.Count(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(back.Screen(i), list.Screen(i));
    EXPECT_EQ(back.Comm(i), list.Comm(i));
  }
}

TEST(ScreenTextTest, LineBreaksInsideTextsCannotBreakTheFile) {
  CScreenData list;
  list.MakeDefault();
  list.Screen(0).scrName.Assign("two\r\nlines\n[/SCREEN]");
  list.Comm(0).special = "r:1\n[SCREEN]";
  const CScreenData back = Parse(WriteScreenText(list));
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(back.Screen(0).scrName.str(), "two  lines [/SCREEN]");
  EXPECT_EQ(back.Comm(0).special, "r:1 [SCREEN]");
}

TEST_F(ScreenFileTest, LoadReplacesWhatTheListHeld) {
  CScreenData list;
  list.MakeDefault();
  list.MakeDefault();  // only on an empty list
  EXPECT_EQ(list.Count(), 1);
  const auto path = Write("one.screens", Block("TYPE=7\r\nNUMBER=9\r\n"));
  EXPECT_EQ(LoadCount(list, path, true), 1);
  EXPECT_EQ(list.Screen(0).number, 9);
  EXPECT_EQ(list.Screen(1), tagScreenInfo());
  EXPECT_EQ(list.Comm(1), tagCommInfo());
  // A file that holds no screen is replaced by the default screen only when asked.
  const auto garbage = Write("garbage.cfg", "\x01\x02 not a screen list");
  EXPECT_EQ(LoadCount(list, garbage, false), 0);
  EXPECT_EQ(Read(garbage), "\x01\x02 not a screen list");
  EXPECT_EQ(LoadCount(list, garbage, true), 1);
  EXPECT_EQ(Read(garbage), kDefaultScreenText);
}

CScreenData ListWithIds(std::initializer_list<int> ids) {
  CScreenData list;
  for (const int id : ids) {
    tagScreenInfo screen;
    screen.type = 6;
    screen.number = static_cast<std::uint8_t>(id);
    tagCommInfo comm;
    comm.special = "id " + std::to_string(id);
    list.Append(screen, comm);
  }
  return list;
}

std::vector<int> Ids(const CScreenData& list) {
  std::vector<int> ids;
  for (int i = 0; i < list.Count(); ++i) {
    ids.push_back(list.Screen(i).number);
    EXPECT_EQ(list.Comm(i).special, "id " + std::to_string(list.Screen(i).number));  // records move in pairs
  }
  return ids;
}

TEST(ScreenListTest, RemoveAndMove) {
  CScreenData list = ListWithIds({1, 2, 3, 4});
  EXPECT_FALSE(list.MoveUp(0));
  EXPECT_FALSE(list.MoveDown(3));
  EXPECT_FALSE(list.MoveUp(4));
  EXPECT_FALSE(list.MoveDown(-1));
  EXPECT_FALSE(list.RemoveAt(4));
  EXPECT_FALSE(list.RemoveAt(-1));
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 3, 4}));

  EXPECT_TRUE(list.MoveUp(3));
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 4, 3}));
  EXPECT_TRUE(list.MoveDown(0));
  EXPECT_EQ(Ids(list), (std::vector<int>{2, 1, 4, 3}));
  EXPECT_TRUE(list.RemoveAt(1));
  EXPECT_EQ(Ids(list), (std::vector<int>{2, 4, 3}));
  EXPECT_EQ(list.Screen(3), tagScreenInfo());  // the freed slot is reset
  EXPECT_EQ(list.Comm(3), tagCommInfo());

  CScreenConfig config;
  config.CopyFrom(list, false);
  CScreenData& asBase = config;
  EXPECT_TRUE(asBase.RemoveAt(2));
  EXPECT_EQ(Ids(config), (std::vector<int>{2, 4}));
}

TEST(ScreenListTest, AppendStopsAtTheCapacity) {
  CScreenData list;
  for (int i = 0; i < CScreenData::kMaxScreens; ++i) ASSERT_TRUE(list.Append(tagScreenInfo(), tagCommInfo()));
  EXPECT_FALSE(list.Append(tagScreenInfo(), tagCommInfo()));
  EXPECT_EQ(list.Count(), CScreenData::kMaxScreens);
}

TEST(ScreenListTest, CopyFromTakesThePathOnlyWhenAsked) {
  const CScreenData source = ListWithIds({5, 6});
  CScreenData withPath, withoutPath;
  const CScreenData loaded = [] {
    CScreenData list;
    (void)list.Load("/nonexistent/screen.cfg", false);
    return list;
  }();
  withPath.CopyFrom(loaded, true);
  withoutPath.CopyFrom(loaded, false);
  EXPECT_EQ(withPath.Path(), "/nonexistent/screen.cfg");
  EXPECT_TRUE(withoutPath.Path().empty());
  withoutPath.CopyFrom(source, false);
  EXPECT_EQ(Ids(withoutPath), (std::vector<int>{5, 6}));
  // Copying a shorter list leaves no stale screen behind.
  CScreenData target = ListWithIds({1, 2, 3});
  target.CopyFrom(source, false);
  EXPECT_EQ(target.Count(), 2);
  EXPECT_EQ(target.Screen(2), tagScreenInfo());
}

TEST(ScreenListTest, NextFreeId) {
  const struct {
    std::initializer_list<int> ids;
    int current;
    int expected;
  } cases[] = {
      {{1}, 1, 2},
      {{1, 5}, 5, 6},
      {{254}, 254, 1},
      {{1, 254}, 254, 2},       // 1 is taken: the lowest free ID
      {{1, 2, 3, 254}, 254, 4},
      {{1, 2, 4}, 1, 3},        // 2 is taken
      {{7}, 253, 254},
      {{}, 0, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ListWithIds(c.ids).NextFreeId(c.current), c.expected) << c.current;
  }
  CScreenData full;
  for (int id = 1; id <= 254; ++id) full.Append(MakeScreen(6, id), {});
  EXPECT_EQ(full.NextFreeId(10), 11);  // every ID taken: the proposal stands, OK refuses it later
}

TEST(ScreenListTest, DisplayName) {
  CScreenData list;
  list.Append(MakeScreen(6, 3, kModelM5, "Hall"), {});
  list.Append(MakeScreen(7, 4, kModelM7), {});
  list.Append(MakeScreen(6, 5, 1), {});
  list.Append(MakeScreen(2, 6), {});
  list.Append(MakeScreen(0, 7, kModelM5, "Old"), {});
  EXPECT_EQ(list.DisplayName(0), "Hall[3]");
  EXPECT_EQ(list.DisplayName(1), "Korvan-M7[4]");
  EXPECT_EQ(list.DisplayName(2), "Unknow[5]");
  EXPECT_EQ(list.DisplayName(3), "LED screen<6>");
  EXPECT_EQ(list.DisplayName(4), "Old<7>");
  EXPECT_EQ(list.DisplayName(5), "");
}

}  // namespace
}  // namespace vantorel
