#include "comm/create_comm.h"

#include "app/text_ids.h"
#include "comm/comm_lan.h"
#include "comm/comm_pending.h"
#include "comm/comm_rs232.h"

namespace vantorel {

std::unique_ptr<CUniComm> CreateComm(tagCommParam& param) {
  std::unique_ptr<CUniComm> channel;
  switch (param.commType) {
    case kChannelSerial:
      channel = std::make_unique<CCommRs232>(param.screenId, param.portIndex, param.baudRate, param.timeoutMs);
      break;
    case kChannelGprsDtu:
      channel = std::make_unique<CCommPending>(kChannelGprsDtu, kTextChannelNotAvailable, "GPRS DTU");
      break;
    case kChannelNetwork:
      if (param.subMode == 1) {
        // The device ID names the controller: "@name" for the finder's name lookup, else a
        // search of the local network by name. Neither exists yet.
        const bool lookup = !param.deviceId.empty() && param.deviceId.front() == '@';
        const std::size_t at = param.deviceId.find_first_not_of('@');
        const std::string name = at == std::string::npos ? std::string() : param.deviceId.substr(at);
        channel = std::make_unique<CCommPending>(
            kChannelNetwork, lookup ? kTextNameLookupNotAvailable : kTextDeviceSearchNotAvailable, name);
      } else {
        channel = std::make_unique<CCommLan>(param.ipv4, param.idCode, param.port, param.customPassword,
                                             param.fileServiceUser, param.fileServicePassword);
      }
      break;
    case kChannelRelayNetwork:
    case kChannelRelayGprs:
      channel = std::make_unique<CCommPending>(param.commType, kTextChannelNotAvailable,
                                               param.commType == kChannelRelayNetwork
                                                   ? "relay server (controller on the network)"
                                                   : "relay server (GPRS on the controller board)");
      break;
    default:
      return nullptr;
  }
  channel->SetSubMode(param.subMode);
  channel->SetModelCode(param.modelCode);
  return channel;
}

}  // namespace vantorel
