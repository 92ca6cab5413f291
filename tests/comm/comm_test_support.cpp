#include "comm_test_support.h"

namespace vantorel::test {

std::vector<Link> AllLinks() {
  return {
      {0, 7, 0, "", "1", "", "serial line, screen 7"},
      {0, 255, 0, "", "1", "", "GPRS DTU"},
      {1, 255, 0x12345678, "", "1", "", "network unprotected"},
      {1, 255, 0xCAFEF00D, "Kx9#q", "2", "", "network with key text"},
      {1, 255, 0x00000001, "Kx9#q", "32770", "pass5678", "network with key text and password"},
      {2, 255, 0, "000123456789", "1", "", "relay server over network"},
      {3, 255, 0, "98765", "1", "", "relay server with GPRS"},
  };
}

std::unique_ptr<KvlinkContext> ContextFor(const Link& link) {
  auto ctx = KVLINK_CreateContext(link.kind, link.address, link.idCode);
  EXPECT_EQ(KVLINK_CommData_SetParam(*ctx, 1, link.param1), 0);
  EXPECT_EQ(KVLINK_CommData_SetParam(*ctx, 2, link.mode), 0);
  EXPECT_EQ(KVLINK_CommData_SetParam(*ctx, 3, link.password), 0);
  return ctx;
}

SignIdentity SignFor(const Link& link) {
  SignIdentity sign;
  sign.kind = link.kind;
  sign.address = link.address == 255 ? 1 : link.address;
  sign.idCode = link.idCode;
  if (link.kind == 2 || link.kind == 3) sign.deviceId = link.param1;
  if (link.kind == 1) sign.keyText = link.param1;
  sign.protectionMode = link.kind == 1 ? std::stoi(link.mode) : 1;
  sign.password = link.password;
  return sign;
}

}  // namespace vantorel::test
