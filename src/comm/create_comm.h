#pragma once
// Builds the channel a screen's connection parameters ask for:
//   0 serial line   CCommRs232 (address = screen ID, port index, baud rate, answer time-out)
//   1 GPRS DTU      CCommPending: "not available yet" (the GPRS server comes later)
//   2 network       CCommLan (address 255, IPv4 address, ID code, port, custom password, file
//                   service user and password); with sub-mode 1 the controller is found by its
//                   device ID, a lookup that comes later: CCommPending naming the lookup
//   3, 4 relay      CCommPending: "not available yet" (the relay server comes later)
//   5 and above     no channel
// Every channel gets the sub-mode and the model code. The caller owns the channel; it may open
// and close it several times. Calls may come from several threads at once (each with its own
// parameters).

#include <memory>

#include "comm/connection_params.h"
#include "comm/uni_comm.h"

namespace vantorel {

std::unique_ptr<CUniComm> CreateComm(tagCommParam& param);

}  // namespace vantorel
