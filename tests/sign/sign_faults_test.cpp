// The faults a sign injects: each option does what it says, and a seed repeats a run.

#include <gtest/gtest.h>

#include <array>
#include <chrono>

#include "sign/sign_faults.h"
#include "sign_test_support.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

using test::Bytes;
using test::SignLink;

TEST(SignFaults, ASeedRepeatsTheSameDrawsAndProbabilitiesHold) {
  SignFaultOptions options;
  options.drop = 0.5;
  options.corrupt = 0.5;
  options.seed = 42;
  SignFaults first(options), second(options);
  int drops = 0;
  for (int i = 0; i < 400; ++i) {
    const bool dropped = first.Drop();
    EXPECT_EQ(dropped, second.Drop());
    drops += dropped ? 1 : 0;
    Bytes a(20, 0x11), b(20, 0x11);
    EXPECT_EQ(first.Corrupt(a), second.Corrupt(b));
    EXPECT_EQ(a, b);
    int changed = 0;
    for (const std::uint8_t byte : a) changed += byte != 0x11 ? 1 : 0;
    EXPECT_LE(changed, 1);   // one byte at most
  }
  EXPECT_GT(drops, 140);
  EXPECT_LT(drops, 260);
  options.seed = 43;
  SignFaults other(options);
  int same = 0;
  SignFaults again(SignFaultOptions{0.5, 0.5, 0, 0, 42});
  for (int i = 0; i < 64; ++i) same += other.Drop() == again.Drop() ? 1 : 0;
  EXPECT_LT(same, 64);
}

TEST(SignFaults, TheDisconnectLimitCountsAnswerBytes) {
  struct Row {
    std::uint64_t limit, sent;
    std::size_t size, allowed;
  };
  const Row rows[] = {{0, 1000, 30, 30}, {10, 0, 30, 10}, {10, 4, 6, 6}, {10, 4, 7, 6}, {10, 10, 5, 0}, {10, 11, 5, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.limit) + "/" + std::to_string(row.sent));
    SignFaultOptions options;
    options.disconnectAfter = row.limit;
    EXPECT_EQ(SignFaults(options).Allowed(row.sent, row.size), row.allowed);
  }
}

class SignFaultTest : public ::testing::Test {
protected:
  SignOptions Options(SignFaultOptions faults) {
    SignOptions options = test::TestSignOptions(m_temp.Path());
    options.faults = faults;
    return options;
  }
  test::TempFolder m_temp;
};

TEST_F(SignFaultTest, ThreadEachFaultOptionDoesWhatItSays) {
  struct Row {
    const char* name;
    SignFaultOptions faults;
    bool serial;
    int answered;     // an answer came: 1, none: 0, either: -1 (a flipped length or frame end)
    bool parses;      // and the Parse function takes it
    bool closed;      // the sign closed the connection
    int atLeastMs;
  };
  const Row rows[] = {
      {"no fault", {}, false, 1, true, false, 0},
      {"drop every request", {1.0, 0, 0, 0, 1}, false, 0, false, false, 0},
      {"drop every request on the line", {1.0, 0, 0, 0, 1}, true, 0, false, false, 0},
      {"corrupt every answer", {0, 1.0, 0, 0, 1}, false, -1, false, false, 0},
      {"corrupt every answer on the line", {0, 1.0, 0, 0, 7}, true, -1, false, false, 0},
      {"delay", {0, 0, 300, 0, 1}, false, 1, true, false, 300},
      {"delay on the line", {0, 0, 300, 0, 1}, true, 1, true, false, 300},
      {"disconnect mid-answer", {0, 0, 0, 10, 1}, false, 0, false, true, 0},
      {"disconnect after a whole answer", {0, 0, 0, 22, 1}, false, 1, true, false, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::RunningSign sign(Options(row.faults));
    ASSERT_TRUE(sign.ok());
    const auto link = row.serial ? SignLink::Serial(sign.SerialPath()) : SignLink::Tcp(sign.Port());
    ASSERT_NE(link, nullptr);
    const auto ctx = link->Context();
    const auto start = std::chrono::steady_clock::now();
    const Bytes answer = link->Ask(*ctx, KVLINK_MakeReadClockData, 1000);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    std::array<std::uint8_t, 7> clock{};
    if (row.answered >= 0) {
      EXPECT_EQ(!answer.empty(), row.answered == 1);
    }
    EXPECT_EQ(!answer.empty() && KVLINK_ParseReadClockRet(*ctx, answer, clock) == 7, row.parses);
    EXPECT_EQ(link->Closed(), row.closed);
    EXPECT_GE(elapsed, row.atLeastMs);
  }
}

TEST_F(SignFaultTest, ThreadAConnectionPastItsLimitIsClosedAndANewOneStartsAgain) {
  // A read clock answer has 22 bytes: the second answer crosses 30.
  test::RunningSign sign(Options({0, 0, 0, 30, 1}));
  ASSERT_TRUE(sign.ok());
  for (int connection = 0; connection < 2; ++connection) {
    SCOPED_TRACE(connection);
    const auto link = SignLink::Tcp(sign.Port());
    const auto first = link->Context();
    EXPECT_EQ(link->Ask(*first, KVLINK_MakeReadClockData).size(), 22u);
    const auto second = link->Context();
    EXPECT_TRUE(link->Ask(*second, KVLINK_MakeReadClockData).empty());
    EXPECT_TRUE(link->Closed());
  }
}

}  // namespace
}  // namespace vantorel
