#include "support/virtual_sign.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vantorel::test {

namespace {

const std::filesystem::path kSignProgram = std::filesystem::path(VANTOREL_BIN_DIR) / "vantorel-sign";

}  // namespace

VirtualSign::VirtualSign(const std::filesystem::path& store, std::vector<std::string> extra) {
  m_run.arguments = {"--tcp", "127.0.0.1:0", "--serial", "--store", store.string(), "--log",
                     (store.parent_path() / (store.filename().string() + ".log")).string()};
  m_run.arguments.insert(m_run.arguments.end(), extra.begin(), extra.end());
  m_run.cancel = &m_stop;
  m_run.onOutputLine = [this](std::string_view line) {
    const std::lock_guard lock(m_mutex);
    m_lines.emplace_back(line);
    m_changed.notify_all();
  };
  m_thread = std::thread([this] { m_result = RunProgram(kSignProgram, m_run); });
  std::unique_lock lock(m_mutex);
  m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_lines.size() >= 3; });
}

VirtualSign::~VirtualSign() {
  m_stop = true;
  m_thread.join();
}

std::string VirtualSign::Line(const std::string& prefix) const {
  const std::lock_guard lock(m_mutex);
  for (const std::string& line : m_lines) {
    if (line.starts_with(prefix)) return line.substr(prefix.size());
  }
  ADD_FAILURE() << "vantorel-sign printed no \"" << prefix << "\" line";
  return {};
}

std::string VirtualSign::Port() const {
  const std::string address = Line("tcp: ");
  return address.substr(address.rfind(':') + 1);
}

std::string VirtualSign::Serial() const { return Line("serial: "); }

}  // namespace vantorel::test
