#pragma once
// The connection parameters of one screen: what a channel (CreateComm, create_comm.h) is built
// from. Made from the screen definition each time a channel is needed; the caller owns it, and
// CreateComm may write a resolved address back into it.

#include <cstdint>
#include <string>

#include "screen/screen_data.h"

namespace vantorel {

// The file-service account of class 7 controllers on the network.
inline constexpr const char* kFileServiceUser = "root";
inline constexpr const char* kFileServicePassword = "QrVsK274";

struct tagCommParam {
  std::uint32_t modelCode = 0;        // MODEL of the screen record
  std::uint8_t screenId = 0;          // NUMBER
  std::uint8_t commType = 0;          // 0 serial, 1 GPRS DTU, 2 network, 3 relay server over network,
                                      // 4 relay server with GPRS on board
  std::uint8_t subMode = 0;           // COMM, number after the point (1: address found by name)
  std::uint8_t portIndex = 0;         // 0 = COM1
  std::int32_t baudRate = 115200;     // BARSET
  std::int32_t timeoutMs = 1000;      // answer time-out, COMM
  std::string relayHost;              // DOMAIN
  std::uint32_t ipv4 = 0;             // IPADDR, host order; may be replaced by a resolved address
  std::uint32_t idCode = 0;           // IDCODE
  std::uint16_t port = 5200;          // IPPORT
  std::string customPassword;         // empty when made from a screen (the caller may give it)
  std::string deviceId;               // GPRSID
  std::string relayUser;              // USERNAME
  std::string relayPassword;          // PASSWORD
  std::string fileServiceUser;        // "root" for controller class 7, else empty
  std::string fileServicePassword;    // "QrVsK274" for controller class 7, else empty

  friend bool operator==(const tagCommParam&, const tagCommParam&) = default;
};

tagCommParam ConnectionParamsFor(const tagScreenInfo& screen, const tagCommInfo& comm);

}  // namespace vantorel
