// The network probe against a real responder on 127.0.0.1.

#include "comm/probe.h"

#include <gtest/gtest.h>

#include <thread>

#include "comm/kvlink.h"
#include "platform/udp_socket.h"

namespace vantorel {
namespace {

// Answers the first datagram that comes within two seconds with `answer` (nothing when it is
// empty); `asked` says whether that datagram was a probe.
class Responder {
public:
  explicit Responder(std::string answer) : m_socket(UdpSocket::Bind(kLoopbackIpv4, 0).value()) {
    m_port = m_socket.Port();
    m_thread = std::thread([this, answer = std::move(answer)] {
      std::uint8_t buffer[64] = {};
      const Expected<Datagram> got = m_socket.Receive(buffer, 2000);
      if (!got || got->size == 0) return;
      m_asked = IsProbeRequest(std::span(buffer, got->size));
      if (answer.empty()) return;
      const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(answer.data()), answer.size());
      (void)m_socket.SendTo(got->ipv4, got->port, bytes);
    });
  }
  ~Responder() {
    if (m_thread.joinable()) m_thread.join();
  }
  std::uint16_t Port() const { return m_port; }
  // Waits for the responder; whether a probe came.
  bool Finish() {
    m_thread.join();
    return m_asked;
  }

private:
  UdpSocket m_socket;
  std::uint16_t m_port = 0;
  bool m_asked = false;
  std::thread m_thread;
};

TEST(Probe, GetsTheAnswerLineOfAControllerOnLoopback) {
  struct Row {
    const char* name;
    std::string answer;
    std::size_t capacity;
    int result;
    std::string line;
  };
  const std::string full = "KV~:Sign one\tKx9#q\tKorvan-N5A\t3\t8002";
  const Row rows[] = {
      {"a whole line", full + "\r\n", 512, static_cast<int>(full.size()), full},
      {"without a line end", full, 512, static_cast<int>(full.size()), full},
      {"cut to the buffer", full + "\r\n", 9, 8, "KV~:Sign"},
      {"a line without the tag comes back as it is", "hello\tworld\r\n", 512, 11, "hello\tworld"},
      {"no answer", "", 512, 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Responder responder(row.answer);
    std::vector<char> out(row.capacity, 'x');
    const int timeout = row.answer.empty() ? 200 : 2000;
    EXPECT_EQ(KVLINK_GetInfo(kLoopbackIpv4, out, responder.Port(), timeout), row.result);
    EXPECT_TRUE(responder.Finish());
    if (row.result > 0) {
      EXPECT_EQ(std::string(out.data()), row.line);
    }
  }
}

TEST(Probe, NeverSendsToABroadcastOrMulticastAddress) {
  std::vector<char> out(512);
  for (const std::uint32_t address : {0xFFFFFFFFu, 0u, 0xE0000001u, 0xEFFFFFFAu}) {
    SCOPED_TRACE(address);
    EXPECT_EQ(KVLINK_GetInfo(address, out, 5200, 100), -1);
  }
  EXPECT_FALSE(IsUnicastIpv4(0xFFFFFFFFu));
  EXPECT_TRUE(IsUnicastIpv4(kLoopbackIpv4));
}

TEST(Probe, ReadsTheFieldsTheNetworkChannelTakes) {
  struct Row {
    const char* name;
    std::string_view line;
    bool taken;
    std::string key;
    std::uint16_t options, mode;
  };
  const Row rows[] = {
      {"five fields", "KV~:Sign\tKx9#q\tKorvan-N5A\t3\t8002\r\n", true, "Kx9#q", 3, 0x8002},
      {"lower case tag", "kv~:Sign\tkey\tM\ta\tb", true, "key", 10, 11},
      {"two fields", "KV~:S\tkey", true, "key", 1, 1},
      {"four fields", "KV~:S\tkey\tmodel\t3", true, "key", 1, 1},
      {"empty key", "KV~:S\t\tmodel\t0\t1", true, "", 0, 1},
      {"no hexadecimal digits", "KV~:S\tk\tm\tzz\t2x", true, "k", 0, 2},
      {"a huge number", "KV~:S\tk\tm\tFFFFFFFFF\t1", true, "k", 0xFFFF, 1},
      {"one field", "KV~:Sign", false, "", 0, 0},
      {"first field too short", "KV~:\tkey", false, "", 0, 0},
      {"no tag", "hello\tworld", false, "", 0, 0},
      {"tag later", "x KV~:S\tkey", false, "", 0, 0},
      {"nothing", "", false, "", 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::optional<ProbeInfo> info = ReadProbeLine(row.line);
    ASSERT_EQ(info.has_value(), row.taken);
    if (!row.taken) continue;
    EXPECT_EQ(info->keyText, row.key);
    EXPECT_EQ(info->options, row.options);
    EXPECT_EQ(info->mode, row.mode);
  }
}

TEST(Probe, AControllersLineReadsBackAsItsInfo) {
  const ProbeInfo info{"Hall\tA", "k\r", "Korvan-N5A", 3, 0x8002};
  const std::string line = MakeProbeLine(info);
  EXPECT_EQ(line, "KV~:Hall A\tk \tKorvan-N5A\t3\t8002\r\n");
  const std::optional<ProbeInfo> read = ReadProbeLine(line);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->name, "Hall A");
  EXPECT_EQ(read->model, "Korvan-N5A");
  EXPECT_EQ(read->options, 3);
  EXPECT_EQ(read->mode, 0x8002);
}

}  // namespace
}  // namespace vantorel
