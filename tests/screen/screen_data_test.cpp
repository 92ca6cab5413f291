#include "screen/screen_data.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "screen/controller_types.h"
#include "screen/screen_text_format.h"

namespace vantorel {
namespace {

class ScreenFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = std::filesystem::temp_directory_path() /
            ("vantorel-screen-" + std::to_string(::getpid()) + "-" + info->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::filesystem::path Write(const std::string& name, const std::string& content) {
    const auto path = m_dir / name;
    EXPECT_TRUE(WriteFileAtomically(path, content));
    return path;
  }
  static std::string Read(const std::filesystem::path& path) {
    std::string content;
    EXPECT_TRUE(ReadWholeFile(path, content));
    return content;
  }

  std::filesystem::path m_dir;
};

CScreenData Parse(const std::string& text) {
  CScreenData list;
  ReadScreenText(text, list);
  return list;
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
  EXPECT_EQ(list.Load(path, true), 1);
  EXPECT_EQ(Read(path), kDefaultScreenText);
  EXPECT_EQ(list.Path(), path);

  CScreenData again;
  EXPECT_EQ(again.Load(path, false), 1);
  EXPECT_EQ(again.Screen(0), list.Screen(0));
  EXPECT_EQ(again.Comm(0), list.Comm(0));
}

TEST_F(ScreenFileTest, MissingFileWithoutDefaultGivesAnEmptyList) {
  CScreenData list;
  EXPECT_EQ(list.Load(m_dir / "none.screens", false), 0);
  EXPECT_FALSE(std::filesystem::exists(m_dir / "none.screens"));
  EXPECT_FALSE(list.Save(m_dir / "empty.screens"));  // an empty list is never written
  EXPECT_FALSE(std::filesystem::exists(m_dir / "empty.screens"));
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
  list.Load(path, true);
  const std::string before = Read(path);
  list.Screen(0).scrName.Assign("a name long enough to make the file grow");
  {
    FileSizeLimit limit(before.size());
    EXPECT_FALSE(list.Save(path));
    EXPECT_FALSE(list.Save(m_dir / "other.screens"));
  }
  EXPECT_EQ(Read(path), before);
  EXPECT_EQ(list.Path(), path);  // a failed save does not take over its path
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 1);
  EXPECT_FALSE(list.Save(m_dir / "missing-folder" / "screen.cfg"));
  EXPECT_FALSE(list.Save({}));
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

}  // namespace
}  // namespace vantorel
