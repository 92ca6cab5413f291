#pragma once
// A channel whose other end is the controller side of the protocol in this process: every request
// is read with DecodeRequest and answered with EncodeAnswer from a table of answers per
// operation. An operation without an entry gets no answer (a controller that stays silent).
// What happened (opens, closes, requests) is kept in a log the test owns, so it outlives the
// channel the operation deletes.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "comm/connection_params.h"
#include "comm/packet.h"
#include "comm/uni_comm.h"

namespace vantorel::test {

struct ControllerAnswer {
  std::uint8_t status = 0;
  std::vector<std::uint8_t> data;
};

struct ChannelLog {
  bool opens = true;                                // what Open returns
  std::map<std::uint8_t, ControllerAnswer> answers;  // by operation code
  std::vector<PacketFields> requests;               // in order
  int openCount = 0;                                // now
  int opened = 0;                                   // in all
  int created = 0;
};

class AnsweringChannel : public CUniComm {
public:
  explicit AnsweringChannel(ChannelLog& log);
  bool Open() override;
  void Close() override;
  std::string GetErrorText() const override { return "Failed to reach the test controller"; }
  bool Send(std::span<const std::uint8_t> bytes) override;
  int Receive(std::span<std::uint8_t> buffer) override;

private:
  ChannelLog& m_log;
  std::vector<std::uint8_t> m_pending;
};

// A channel maker for ChannelOptions that makes AnsweringChannels on `log`.
std::function<std::unique_ptr<CUniComm>(tagCommParam&)> AnsweringChannels(ChannelLog& log);

}  // namespace vantorel::test
