#pragma once
// A channel that cannot be opened in this version: the GPRS DTU and the relay server transports,
// and network screens whose controller is found by name (sub-mode 1), which needs the device
// finder's name lookup. CreateComm gives this channel so that the caller's usual path (Open
// fails, GetErrorText says why) tells the user what is missing instead of "Failed".
//
// A channel is used by one thread at a time.

#include <string>

#include "comm/uni_comm.h"

namespace vantorel {

class CCommPending : public CUniComm {
public:
  // `kind`: the channel kind the screen asks for; `address`: 255. `text`/`detail`: the failure
  // GetErrorText shows.
  CCommPending(std::uint8_t kind, TextId text, std::string detail);

  bool Open() override;
  void Close() override {}
  std::string GetErrorText() const override;
  bool Send(std::span<const std::uint8_t> bytes) override;
  int Receive(std::span<std::uint8_t> buffer) override;
  // The relay server's sizes and pauses, so that the channel reports what its kind will.
  int BlockSize() const override;
  int PacketSize() const override;
  int PacketPause() const override;

private:
  Status m_why;
};

}  // namespace vantorel
