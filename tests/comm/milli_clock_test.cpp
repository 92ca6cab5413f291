#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "comm/milli_clock.h"

namespace vantorel::test {
namespace {

TEST(MilliClockTest, AdvancesWithTheSteadyClock) {
  MilliClock::Start();
  const std::int64_t before = MilliClock::Now();
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const std::int64_t after = MilliClock::Now();
  const auto slept =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(after % MilliClock::kPeriodMs, 0);
  EXPECT_GE(after - before, 100 - 2 * MilliClock::kPeriodMs);
  EXPECT_LE(after - before, slept + 2 * MilliClock::kPeriodMs);
}

TEST(MilliClockTest, Deadlines) {
  const Deadline never;
  EXPECT_FALSE(never.IsSet());
  EXPECT_FALSE(never.Expired()) << "a deadline never set never expires";
  EXPECT_EQ(never.RemainingMs(), -1);
  EXPECT_TRUE(Deadline::After(0).Expired());
  EXPECT_TRUE(Deadline::After(-5).Expired());
  const Deadline soon = Deadline::After(60);
  EXPECT_FALSE(soon.Expired());
  EXPECT_GT(soon.RemainingMs(), 40);
  std::this_thread::sleep_for(std::chrono::milliseconds(90));
  EXPECT_TRUE(soon.Expired());
  EXPECT_EQ(soon.RemainingMs(), 0);
}

TEST(MilliClockTest, ReadFromThreads) {
  std::atomic<bool> backwards{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      std::int64_t last = MilliClock::Now();
      for (int i = 0; i < 2000; ++i) {
        const std::int64_t now = MilliClock::Now();
        if (now < last) backwards = true;
        last = now;
        if (i % 200 == 0) (void)Deadline::After(10).Expired();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_FALSE(backwards);
}

}  // namespace
}  // namespace vantorel::test
