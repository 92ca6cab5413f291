// The sign's parts on their own: the command line, the clock offset, the state file, name
// patterns, and what SignOperations answers to requests outside the happy path.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app/text_ids.h"
#include "comm/operations.h"
#include "sign/sign_clock.h"
#include "sign/sign_operations.h"
#include "sign/sign_options.h"
#include "sign/sign_state.h"
#include "sign/sign_store.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SignOptions, ReadsEveryOptionAndRefusesWhatIsNotAnExplicitAddress) {
  struct Row {
    const char* name;
    std::vector<std::string> arguments;
    TextId failure;   // kNoTextId: accepted
  };
  const Row rows[] = {
      {"loopback", {"--tcp", "127.0.0.1:5200"}, kNoTextId},
      {"serial only", {"--serial"}, kNoTextId},
      {"nothing to listen on", {"--id", "3"}, kTextSignNoChannel},
      {"any address", {"--tcp", "0.0.0.0:5200"}, kTextSignAddressRefused},
      {"broadcast", {"--tcp", "255.255.255.255:5200"}, kTextSignAddressRefused},
      {"multicast", {"--tcp", "224.0.0.1:5200"}, kTextSignAddressRefused},
      {"a host name", {"--tcp", "localhost:5200"}, kTextSignAddressRefused},
      {"no port", {"--tcp", "127.0.0.1"}, kTextSignAddressRefused},
      {"port too large", {"--tcp", "127.0.0.1:65536"}, kTextSignAddressRefused},
      {"short address", {"--tcp", "127.1:5200"}, kTextSignAddressRefused},
      {"unknown option", {"--serial", "--baud", "9600"}, kTextSignUnknownOption},
      {"value missing", {"--serial", "--id"}, kTextSignBadValue},
      {"screen ID 0", {"--serial", "--id", "0"}, kTextSignBadValue},
      {"screen ID 255", {"--serial", "--id", "255"}, kTextSignBadValue},
      {"password of 7", {"--serial", "--password", "1234567"}, kTextSignBadValue},
      {"password of 9", {"--serial", "--password", "123456789"}, kTextSignBadValue},
      {"mode 3", {"--serial", "--protect-mode", "3"}, kTextSignBadValue},
      {"probability above 1", {"--serial", "--drop", "1.5"}, kTextSignBadValue},
      {"probability not a number", {"--serial", "--corrupt", "often"}, kTextSignBadValue},
      {"unknown model", {"--serial", "--model", "Korvan-Q9"}, kTextSignBadValue},
      {"firmware of 5 numbers", {"--serial", "--firmware", "1.2-3.4-5"}, kTextSignBadValue},
      {"firmware number 16", {"--serial", "--firmware", "1.16-3.4-5.6"}, kTextSignBadValue},
      {"key with a tab", {"--serial", "--key", "a\tb"}, kTextSignBadValue},
      {"disconnect after 0", {"--serial", "--disconnect-after", "0"}, kTextSignBadValue},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<SignOptions> options = ParseSignOptions(row.arguments);
    EXPECT_EQ(options.ok(), row.failure == kNoTextId);
    if (!options) {
      EXPECT_EQ(options.status().text(), row.failure) << options.status().detail();
    }
  }
}

TEST(SignOptions, IdentityFollowsTheModelUnlessGiven) {
  const auto m7 = ParseSignOptions({"--serial", "--model", "korvan-m7", "--id", "9", "--id-code", "10.0.0.2",
                                    "--version", "2.3", "--version2", "0x8045"});
  ASSERT_TRUE(m7.ok());
  EXPECT_EQ(m7->controllerClass, 7);
  EXPECT_EQ(m7->kindCode, 0x72);
  EXPECT_EQ(m7->screenId, 9);
  EXPECT_EQ(m7->idCode, 0x0A000002u);
  EXPECT_EQ(m7->versionWord1, 0x0203);
  EXPECT_EQ(m7->versionWord2, 0x8045);
  const auto kind = ParseSignOptions({"--serial", "--model", "0x4B05", "--kind", "0x31", "--id-code", "4660"});
  ASSERT_TRUE(kind.ok());
  EXPECT_EQ(kind->controllerClass, 6);
  EXPECT_EQ(kind->kindCode, 0x31);
  EXPECT_EQ(kind->idCode, 4660u);
  const auto defaults = ParseSignOptions({"--serial"});
  ASSERT_TRUE(defaults.ok());
  EXPECT_EQ(defaults->idCode, 0xFFFFFFFFu);
  EXPECT_EQ(defaults->screenId, 1);
}

TEST(SignOptions, FirmwareTextGivesTheVersionBytesOfEitherForm) {
  struct Row {
    const char* text;
    std::uint8_t format;
    Bytes bytes;
  };
  const Row rows[] = {
      {"1.2.3.4-2.1.0.3-4.5.0.6", 98, {0x12, 0x34, 0x21, 0x03, 0x45, 0x06}},
      {"15.15.15.15-0.0.0.0-0.0.0.1", 98, {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01}},
      {"1.2-3.4-5.6", 0, {1, 2, 3, 4, 5, 6}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const auto options = ParseSignOptions({"--serial", "--firmware", row.text});
    ASSERT_TRUE(options.ok());
    EXPECT_EQ(options->firmware.format, row.format);
    EXPECT_EQ(Bytes(std::begin(options->firmware.bytes), std::end(options->firmware.bytes)), row.bytes);
  }
}

TEST(SignOptions, TheDefaultStoreIsAFolderOfTheStateHomePerChannel) {
  const char* savedState = std::getenv("XDG_STATE_HOME");
  const char* savedHome = std::getenv("HOME");
  const std::string keepState = savedState ? savedState : "", keepHome = savedHome ? savedHome : "";
  struct Row {
    const char* name;
    const char* state;   // null: unset
    std::vector<std::string> arguments;
    std::string folder;  // empty: no folder
  };
  const Row rows[] = {
      {"state home", "/s", {"--tcp", "127.0.0.1:5200"}, "/s/vantorel-sign/tcp-5200"},
      {"first address", "/s", {"--tcp", "127.0.0.1:5300", "--tcp", "127.0.0.2:5200"}, "/s/vantorel-sign/tcp-5300"},
      {"serial only", "/s", {"--serial", "--id", "4"}, "/s/vantorel-sign/serial-4"},
      {"empty state home", "", {"--serial"}, "/h/.local/state/vantorel-sign/serial-1"},
      {"no state home", nullptr, {"--serial"}, "/h/.local/state/vantorel-sign/serial-1"},
  };
  ::setenv("HOME", "/h", 1);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.state != nullptr) {
      ::setenv("XDG_STATE_HOME", row.state, 1);
    } else {
      ::unsetenv("XDG_STATE_HOME");
    }
    const auto options = ParseSignOptions(row.arguments);
    ASSERT_TRUE(options.ok());
    const auto folder = DefaultStoreFolder(*options);
    ASSERT_TRUE(folder.ok());
    EXPECT_EQ(folder->string(), row.folder);
  }
  ::unsetenv("HOME");
  ::unsetenv("XDG_STATE_HOME");
  const auto options = ParseSignOptions({"--serial"});
  EXPECT_EQ(DefaultStoreFolder(*options).status().text(), kTextSignNoStoreFolder);
  if (savedState) ::setenv("XDG_STATE_HOME", keepState.c_str(), 1);
  if (savedHome) ::setenv("HOME", keepHome.c_str(), 1);
}

TEST(SignClock, AnOffsetShowsTheClockItWasSetTo) {
  const std::time_t now = 1'800'000'000;   // a fixed computer time
  struct Row {
    const char* name;
    Bytes block;
    bool taken;
  };
  const Row rows[] = {
      {"a Tuesday in 2031", {9, 8, 7, 2, 6, 5, 31}, true},
      {"new year's eve 2099, a Thursday", {59, 59, 23, 4, 31, 12, 99}, true},
      {"leap day 2028", {0, 0, 12, 2, 29, 2, 28}, true},
      {"no leap day 2027", {0, 0, 12, 0, 29, 2, 27}, false},
      {"second 60", {60, 0, 0, 0, 1, 1, 30}, false},
      {"hour 24", {0, 0, 24, 0, 1, 1, 30}, false},
      {"month 13", {0, 0, 0, 0, 1, 13, 30}, false},
      {"day 0", {0, 0, 0, 0, 0, 1, 30}, false},
      {"day of week 7", {0, 0, 0, 7, 1, 1, 30}, false},
      {"year 100", {0, 0, 0, 0, 1, 1, 100}, false},
      {"six bytes", {0, 0, 0, 0, 1, 1}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto offset = SignClockOffset(row.block, now);
    ASSERT_EQ(offset.has_value(), row.taken);
    if (!offset) continue;
    const auto shown = SignClockBlock(*offset, now);
    EXPECT_EQ(Bytes(shown.begin(), shown.end()), row.block);
    // Ten seconds later the sign is ten seconds on.
    const auto later = SignClockBlock(*offset, now + 10);
    EXPECT_EQ((later[0] + 60 - shown[0]) % 60, 10);
  }
  const auto unset = SignClockBlock(0, now);
  EXPECT_EQ(SignClockOffset(unset, now), std::optional<std::int64_t>(0));
}

TEST(SignState, WrittenStateReadsBackAndDamagedLinesKeepTheirDefaults) {
  SignState state;
  state.clockOffsetSeconds = -86'400 * 400;
  state.brightness[5] = 255;
  state.power = {6, 0, 23, 59};
  state.temperatureAdjust = 0xC3;
  state.switches = {0xAB, 0x00, 0x7F};
  state.charset = 3;
  state.asciiSizes = 0xFFFF;
  state.play = 1;
  state.protectionMode = 32770;
  state.messages = 12;
  state.restarts = 4;
  ReadWarnings none;
  EXPECT_EQ(ReadSignState(WriteSignState(state), none), state);
  EXPECT_TRUE(none.empty());

  struct Row {
    const char* name;
    std::string line;
  };
  const Row rows[] = {
      {"brightness of 23 hours", "brightness=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23"},
      {"brightness of 25 hours", "brightness=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25"},
      {"power value 256", "power=256,0,0,0"},
      {"odd hexadecimal", "switches=abc"},
      {"not hexadecimal", "switches=zz"},
      {"protection mode 3", "protection-mode=3"},
      {"offset beyond a century", "clock-offset=99999999999"},
      {"play 2", "play=2"},
      {"unknown name", "colour=red"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ReadWarnings warnings;
    const SignState read = ReadSignState("charset=9\n" + row.line + "\r\nrestarts=2\n", warnings);
    EXPECT_EQ(warnings.dropped, 1u);
    EXPECT_NE(warnings.firstReason.find("line 2"), std::string::npos) << warnings.firstReason;
    SignState expected;
    expected.charset = 9;
    expected.restarts = 2;
    EXPECT_EQ(read, expected);
  }
}

TEST(SignState, ADamagedFileIsKeptBesideItself) {
  test::TempFolder temp;
  temp.Write("state.txt", "brightness=1\nmessages=3\n");
  ReadWarnings warnings;
  const Expected<SignState> state = LoadSignState(temp.Path(), warnings);
  ASSERT_TRUE(state.ok());
  EXPECT_EQ(state->messages, 3u);
  EXPECT_EQ(warnings.dropped, 1u);
  int kept = 0;
  for (const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
    kept += entry.path().filename().string().starts_with("state.txt.damaged-") ? 1 : 0;
  }
  EXPECT_EQ(kept, 1);
  ReadWarnings fresh;
  EXPECT_EQ(*LoadSignState(temp / "missing", fresh), SignState{});
}

TEST(SignStore, PatternsMatchWithoutLetterCase) {
  struct Row {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Row rows[] = {
      {"*.*", "playbill.lpp", true},   {"*.*", "README", false},      {"*", "README", true},
      {"?.txt", "a.TXT", true},        {"?.txt", "ab.txt", false},    {"*.LPP", "x.lpp", true},
      {"a*b*c", "aXbYc", true},        {"a*b*c", "aXbYd", false},     {"", "", true},
      {"", "a", false},                {"**", "", true},              {"a?", "a", false},
      {"*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.pattern) + " / " + row.name);
    EXPECT_EQ(MatchesPattern(row.pattern, row.name), row.matches);
  }
}

// A sign without a store folder, its clock fixed.
class SignOperationsTest : public ::testing::Test {
protected:
  SignOperationsTest() : m_ops(Options(), SignState{}, SignStore({}), [] { return std::time_t{1'800'000'000}; }) {}

  static SignOptions Options() {
    auto options = ParseSignOptions({"--serial"});
    return options.value_or(SignOptions{});
  }
  SignAnswer Ask(Op op, Bytes data) {
    PacketFields request;
    request.operation = Code(op);
    request.data = std::move(data);
    const SignReply reply = m_ops.Handle(request);
    EXPECT_EQ(reply.answers.size(), 1u);
    return reply.answers.empty() ? SignAnswer{} : reply.answers.front();
  }

  SignOperations m_ops;
};

TEST_F(SignOperationsTest, RequestsOutsideTheirRangeAreAnsweredWithTheirStatus) {
  struct Row {
    const char* name;
    Op op;
    Bytes data;
    std::uint8_t status;
  };
  const Row rows[] = {
      {"clock of six bytes", Op::kSetClock, {0, 0, 0, 0, 1, 1}, kStatusBadData},
      {"clock with minute 60", Op::kSetClock, {0, 60, 0, 0, 1, 1, 30}, kStatusBadData},
      {"adjustment with byte 1 not 4", Op::kWriteTemperatureAdjust, {0, 3, 0, 0, 2, 0}, kStatusBadData},
      {"adjustment with byte 5 set", Op::kWriteTemperatureAdjust, {0, 4, 0, 0, 2, 1}, kStatusBadData},
      {"brightness of 23", Op::kWriteBrightness, Bytes(23, 1), kStatusBadData},
      {"power of 5", Op::kWritePowerSchedule, {1, 2, 3, 4, 5}, kStatusBadData},
      {"power of any values", Op::kWritePowerSchedule, {99, 99, 0, 0}, kStatusDone},
      {"empty switch block", Op::kWriteSoftwareSwitchInfo, {}, kStatusBadData},
      {"message piece without bytes", Op::kSendInstantMessage, {17, 0, 0}, kStatusBadData},
      {"message piece flag 2", Op::kSendInstantMessage, {2, 0, 0, 119}, kStatusBadData},
      {"message piece out of order", Op::kSendInstantMessage, {1, 5, 0, 119}, kStatusOutOfOrder},
      {"message block with a bad sum", Op::kSendInstantMessage, [] {
         Bytes piece{17, 0, 0};
         piece.resize(3 + 22, 0);
         piece[3] = 119, piece[4 + 1] = 1;   // sum 1, bytes 3-21 all 0
         return piece;
       }(), kStatusBadData},
      {"format of storage 2", Op::kFormatStorage, {2}, kStatusBadData},
      {"free space of storage 0", Op::kGetFreeSpace, {0}, kStatusBadData},
      {"listing of storage 2", Op::kGetDirentry, {2}, kStatusBadData},
      {"read back of 0 bytes", Op::kReadFile, {0, 0, 0, 0, 0, 0, 'a'}, kStatusBadData},
      {"read back without a store", Op::kReadFile, {0, 0, 0, 0, 1, 0, 'a'}, kStatusFileError},
      {"block without an open file", Op::kWriteBlock, {0, 0, 0, 0, 1}, kStatusFileError},
      {"close without an open file", Op::kCloseFile, {0, 0, 0, 0}, kStatusFileError},
      {"open a file in a folder", Op::kOpenFile, {1, 0, 0, 0, 0, 'a', '/', 'b'}, kStatusBadData},
      {"open a file larger than the storage", Op::kOpenFile, {0, 0, 0, 0x10, 0, 'a'}, kStatusNoSpace},
      {"protection block too short", Op::kAuthorise, Bytes(38, 0), kStatusBadData},
      {"protection block of zeros", Op::kAuthorise, Bytes(39, 0), kStatusNotPermitted},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(int{Ask(row.op, row.data).status}, int{row.status});
  }
  PacketFields unknown;
  unknown.operation = 0x7F;
  EXPECT_EQ(m_ops.Handle(unknown).answers.at(0).status, kStatusUnknownOperation);
}

TEST_F(SignOperationsTest, BasicWriteBlocksMustFollowEachOther) {
  EXPECT_EQ(Ask(Op::kOpenFile, {4, 0, 0, 0, 0, 'f'}).data, Bytes{1});
  EXPECT_EQ(Ask(Op::kWriteBlock, {1, 0, 0, 0, 'x'}).status, kStatusOutOfOrder);
  EXPECT_EQ(Ask(Op::kWriteBlock, {0, 0, 0, 0, 'a', 'b', 'c', 'd', 'e'}).status, kStatusBadData);   // beyond its size
  EXPECT_EQ(Ask(Op::kWriteBlock, {0, 0, 0, 0, 'a', 'b'}).data, (Bytes{2, 0, 0, 0}));
  EXPECT_EQ(Ask(Op::kCloseFile, {2, 0, 0, 0}).status, kStatusOutOfOrder);
  EXPECT_EQ(Ask(Op::kWriteBlock, {2, 0, 0, 0, 'c', 'd'}).data, (Bytes{4, 0, 0, 0}));
  EXPECT_EQ(Ask(Op::kCloseFile, {4, 0, 0, 0}).data, Bytes{1});
  EXPECT_EQ(Ask(Op::kCloseFile, {4, 0, 0, 0}).status, kStatusFileError);   // closed already
}

TEST_F(SignOperationsTest, AMessageStartsAgainAtOffsetZeroAndIsCountedWhenWhole) {
  const std::string text = "Hi";
  Bytes block(22 + text.size(), 0);
  std::copy(text.begin(), text.end(), block.begin() + 22);
  block[0] = 119, block[3] = 2, block[21] = 2;
  block[2] = 4;   // sum of bytes 3-21: 2 + 2
  Bytes first{1, 0, 0};
  first.insert(first.end(), block.begin(), block.begin() + 10);
  EXPECT_EQ(Ask(Op::kSendInstantMessage, first).status, kStatusDone);
  EXPECT_EQ(Ask(Op::kSendInstantMessage, first).status, kStatusDone);   // offset 0 again: a new message
  Bytes last{17, 10, 0};
  last.insert(last.end(), block.begin() + 10, block.end());
  EXPECT_EQ(Ask(Op::kSendInstantMessage, last).status, kStatusDone);
  EXPECT_EQ(m_ops.State().messages, 1u);
  EXPECT_EQ(Ask(Op::kSendInstantMessage, last).status, kStatusOutOfOrder);   // nothing to go on from
}

TEST_F(SignOperationsTest, TemperatureWithoutASensorIsAllZeros) {
  SignOptions options = Options();
  options.temperatureTenths.reset();
  SignOperations ops(options, SignState{}, SignStore({}));
  PacketFields request;
  request.operation = Code(Op::kReadTemperature);
  request.data = {3};
  EXPECT_EQ(ops.Handle(request).answers.at(0).data, Bytes(6, 0));
  // Below zero: -3.5 C is 25.7 F.
  options.temperatureTenths = -35;
  SignOperations cold(options, SignState{}, SignStore({}));
  EXPECT_EQ(cold.Handle(request).answers.at(0).data, (Bytes{1, 0x80, 0x35, 0x01, 0x97, 0x00}));
}

TEST_F(SignOperationsTest, AnEmptyStorageListsInOneAnswerOfNoEntries) {
  PacketFields request;
  request.operation = Code(Op::kGetDirentry);
  request.data = {1};
  const SignReply reply = m_ops.Handle(request);
  ASSERT_EQ(reply.answers.size(), 1u);
  EXPECT_EQ(reply.answers[0].data, (Bytes{0, 0}));
}

}  // namespace
}  // namespace vantorel
