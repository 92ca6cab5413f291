#include "comm/connection_params.h"

#include "screen/controller_types.h"

namespace vantorel {

tagCommParam ConnectionParamsFor(const tagScreenInfo& screen, const tagCommInfo& comm) {
  tagCommParam param;
  param.modelCode = screen.model;
  param.screenId = screen.number;
  param.commType = comm.commType;
  param.subMode = comm.subMode;
  param.portIndex = comm.portIndex;
  param.baudRate = comm.baudRate;
  param.timeoutMs = comm.timeout;
  param.relayHost = comm.domain.str();
  param.ipv4 = comm.ipAddr;
  param.idCode = comm.idCode;
  param.port = comm.ipPort;
  param.deviceId = comm.gprsId.str();
  param.relayUser = comm.userName.str();
  param.relayPassword = comm.password.str();
  if (screen.type == kControllerClass7) {
    param.fileServiceUser = kFileServiceUser;
    param.fileServicePassword = kFileServicePassword;
  }
  return param;
}

}  // namespace vantorel
