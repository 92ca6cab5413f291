#include "platform/udp_socket.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

TEST(UdpSocket, CarriesADatagramOverLoopbackAndNamesItsSender) {
  UdpSocket receiver = UdpSocket::Bind(kLoopbackIpv4, 0).value();
  UdpSocket sender = UdpSocket::Bind(kLoopbackIpv4, 0).value();
  ASSERT_NE(receiver.Port(), 0);
  const std::uint8_t bytes[] = {'K', 'V', '?', ':', 0, 0xFF};
  ASSERT_TRUE(sender.SendTo(kLoopbackIpv4, receiver.Port(), bytes).ok());
  std::uint8_t buffer[4] = {};
  const Expected<Datagram> got = receiver.Receive(buffer, 2000);
  ASSERT_TRUE(got);
  EXPECT_EQ(got->size, 4u);  // cut to the buffer
  EXPECT_EQ(got->ipv4, kLoopbackIpv4);
  EXPECT_EQ(got->port, sender.Port());
  EXPECT_EQ(buffer[3], ':');
}

TEST(UdpSocket, ATimeOutIsNoDatagramAndOtherAddressesThanOneAreRefused) {
  UdpSocket socket = UdpSocket::Bind(kLoopbackIpv4, 0).value();
  std::uint8_t buffer[8] = {};
  const Expected<Datagram> got = socket.Receive(buffer, 50);
  ASSERT_TRUE(got);
  EXPECT_EQ(got->size, 0u);
  for (const std::uint32_t address : {0xFFFFFFFFu, 0u, 0xE0000001u}) {
    SCOPED_TRACE(address);
    EXPECT_FALSE(IsUnicastIpv4(address));
    EXPECT_FALSE(socket.SendTo(address, 5200, buffer).ok());
  }
  EXPECT_TRUE(IsUnicastIpv4(0xC0A80001u));
}

}  // namespace
}  // namespace vantorel
