#include "comm/milli_clock.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace vantorel {
namespace {

std::atomic<std::int64_t> g_total{0};
std::once_flag g_started;

void Tick() {
  const auto start = std::chrono::steady_clock::now();
  for (std::int64_t ticks = 1;; ++ticks) {
    std::this_thread::sleep_until(start + std::chrono::milliseconds(ticks * MilliClock::kPeriodMs));
    g_total.fetch_add(MilliClock::kPeriodMs, std::memory_order_relaxed);
  }
}

}  // namespace

void MilliClock::Start() {
  // The thread runs for the rest of the process; it holds nothing that needs an orderly end.
  std::call_once(g_started, [] { std::thread(Tick).detach(); });
}

std::int64_t MilliClock::Now() {
  Start();
  return g_total.load(std::memory_order_relaxed);
}

Deadline Deadline::After(std::int64_t waitMs) {
  Deadline deadline;
  deadline.m_set = true;
  deadline.m_at = MilliClock::Now() + waitMs;
  return deadline;
}

bool Deadline::Expired() const { return m_set && m_at - MilliClock::Now() < 1; }

std::int64_t Deadline::RemainingMs() const {
  if (!m_set) return -1;
  const std::int64_t left = m_at - MilliClock::Now();
  return left < 0 ? 0 : left;
}

}  // namespace vantorel
