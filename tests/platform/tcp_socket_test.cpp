// TCP over loopback: connect limits, complete sends, short writes reported, receive time-outs
// and a peer that goes away.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/tcp_socket.h"
#include "platform/udp_socket.h"

namespace vantorel::test {
namespace {

TEST(TcpSocketTest, BytesBothWaysAndTheirEnds) {
  Expected<TcpListener> listener = TcpListener::Listen(kLoopbackIpv4, 0);
  ASSERT_TRUE(listener.ok());
  Expected<TcpSocket> client = TcpSocket::Connect(kLoopbackIpv4, listener->Port(), 1000);
  ASSERT_TRUE(client.ok()) << client.status().detail();
  Expected<TcpSocket> server = listener->Accept(1000);
  ASSERT_TRUE(server.ok());
  const std::vector<std::uint8_t> bytes(100000, 0xA5);
  std::thread sender([&] { EXPECT_TRUE(client->SendAll(bytes).ok()); });
  std::size_t received = 0;
  std::array<std::uint8_t, 4096> buffer{};
  while (received < bytes.size()) {
    const Expected<std::size_t> n = server->Receive(buffer, 1000);
    ASSERT_TRUE(n.ok()) << n.status().detail();
    received += *n;
  }
  sender.join();
  EXPECT_EQ(received, bytes.size());
  // Nothing more: a time-out; the peer closes: "closed by the peer".
  const Expected<std::size_t> none = server->Receive(buffer, 50);
  ASSERT_FALSE(none.ok());
  EXPECT_EQ(none.status().detail().find("closed"), std::string::npos);
  client->Close();
  const Expected<std::size_t> closed = server->Receive(buffer, 1000);
  ASSERT_FALSE(closed.ok());
  EXPECT_NE(closed.status().detail().find("closed by the peer"), std::string::npos);
}

TEST(TcpSocketTest, ShortWritesAreFailures) {
  Expected<TcpListener> listener = TcpListener::Listen(kLoopbackIpv4, 0);
  ASSERT_TRUE(listener.ok());
  Expected<TcpSocket> client = TcpSocket::Connect(kLoopbackIpv4, listener->Port(), 1000);
  ASSERT_TRUE(client.ok());
  Expected<TcpSocket> server = listener->Accept(1000);
  ASSERT_TRUE(server.ok());
  // The peer never reads: the send stops short when its time-out ends.
  client->SetTimeouts(200, 200);
  const std::vector<std::uint8_t> lots(64 * 1024 * 1024, 0x11);
  const Status stuck = client->SendAll(lots);
  ASSERT_FALSE(stuck.ok());
  EXPECT_NE(stuck.detail().find("bytes sent"), std::string::npos) << stuck.detail();
  // The peer is gone: sends fail (at once or after the reset comes back).
  server->Close();
  bool failed = false;
  for (int i = 0; i < 50 && !failed; ++i) {
    failed = !client->SendAll(std::vector<std::uint8_t>(1000, 1)).ok();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(failed);
}

TEST(TcpSocketTest, ConnectFailures) {
  std::uint16_t port = 0;
  {
    Expected<TcpListener> listener = TcpListener::Listen(kLoopbackIpv4, 0);
    ASSERT_TRUE(listener.ok());
    port = listener->Port();
  }
  struct Row {
    const char* name;
    std::uint32_t ipv4;
  };
  const Row rows[] = {
      {"nobody listens", kLoopbackIpv4},
      {"any address", 0},
      {"broadcast", 0xFFFFFFFF},
      {"multicast", 0xE0000001},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto start = std::chrono::steady_clock::now();
    const Expected<TcpSocket> socket = TcpSocket::Connect(row.ipv4, port, 1000);
    EXPECT_FALSE(socket.ok());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
  }
  Expected<TcpListener> listener = TcpListener::Listen(kLoopbackIpv4, 0);
  ASSERT_TRUE(listener.ok());
  const Expected<TcpSocket> none = listener->Accept(30);
  EXPECT_FALSE(none.ok()) << "nobody connects";
}

}  // namespace
}  // namespace vantorel::test
