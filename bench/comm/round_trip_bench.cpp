// Round trips of a short operation (read the clock: 15 bytes out and 22 back on the network, two
// more each way for the serial frame) between
// the program's own channels and the virtual sign running in this process: over loopback TCP,
// and over the sign's pseudo-terminal at 115,200 baud. A pseudo-terminal does not pace bytes at
// the baud rate, so the serial figure says what the channel and the sign add themselves; the
// counter "link_share" gives the bytes a second the round trips move as a share of what a real
// 115,200-baud line carries (11,520 bytes/s).

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <memory>
#include <thread>

#include "comm/connection_params.h"
#include "comm/create_comm.h"
#include "comm/serial_port_table.h"
#include "comm/uni_comm.h"
#include "platform/udp_socket.h"
#include "screen/controller_types.h"
#include "sign/request_log.h"
#include "sign/sign_options.h"
#include "sign/sign_server.h"

namespace vantorel {
namespace {

constexpr double kSerialLinkBytesPerSecond = 11520.0;

// A sign on 127.0.0.1 (a free port) and a pseudo-terminal, serving on a thread of its own.
class BenchSign {
public:
  BenchSign() : m_store(std::filesystem::temp_directory_path() / "vantorel-round-trip-bench") {
    const Expected<SignOptions> options = ParseSignOptions({"--tcp", "127.0.0.1:0", "--serial", "--store", m_store.string()});
    if (!options) return;
    Expected<std::unique_ptr<SignServer>> server = SignServer::Start(*options, m_log);
    if (!server) return;
    m_server = std::move(*server);
    m_thread = std::thread([this] { static_cast<void>(m_server->Run()); });
  }
  ~BenchSign() {
    if (m_thread.joinable()) {
      m_server->Stop();
      m_thread.join();
    }
    std::error_code error;
    std::filesystem::remove_all(m_store, error);
  }
  bool ok() const { return m_server != nullptr; }
  std::uint16_t Port() const { return m_server->Addresses().front().port; }
  std::string SerialPath() const { return m_server->SerialPath(); }

private:
  std::filesystem::path m_store;
  RequestLog m_log{nullptr};
  std::unique_ptr<SignServer> m_server;
  std::thread m_thread;
};

// The request and answer bytes of one clock read on the wire (docs/protocol.md, "Examples").
constexpr int kNetworkRoundTripBytes = 15 + 22;
constexpr int kSerialRoundTripBytes = 17 + 24;

void RoundTrips(benchmark::State& state, tagCommParam param, int roundTripBytes) {
  std::unique_ptr<CUniComm> comm = CreateComm(param);
  if (!comm || !comm->Open()) {
    state.SkipWithError("the channel does not open");
    return;
  }
  std::array<std::uint8_t, 100> clock{};
  for (auto _ : state) {
    if (!comm->ReadClock(clock)) {
      state.SkipWithError("a clock read failed");
      break;
    }
  }
  comm->Close();
  state.SetItemsProcessed(state.iterations());
  state.counters["bytes_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * roundTripBytes, benchmark::Counter::kIsRate);
}

void BM_ReadClockOverLoopbackTcp(benchmark::State& state) {
  BenchSign sign;
  if (!sign.ok()) return state.SkipWithError("the sign does not start");
  tagCommParam param;
  param.modelCode = kModelM5;  // no probe: the M models are not asked
  param.commType = 2;
  param.ipv4 = kLoopbackIpv4;
  param.port = sign.Port();
  param.idCode = 0xFFFFFFFF;
  RoundTrips(state, param, kNetworkRoundTripBytes);
}
BENCHMARK(BM_ReadClockOverLoopbackTcp)->UseRealTime();

void BM_ReadClockOverPseudoTerminal115200(benchmark::State& state) {
  BenchSign sign;
  if (!sign.ok()) return state.SkipWithError("the sign does not start");
  SetSerialDevicePath(0, sign.SerialPath());
  tagCommParam param;
  param.modelCode = kModelM5;
  param.commType = 0;
  param.screenId = 1;
  param.portIndex = 0;
  param.baudRate = 115200;
  param.timeoutMs = 1000;
  RoundTrips(state, param, kSerialRoundTripBytes);
  SetSerialDevicePath(0, {});
  state.counters["link_share"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kSerialRoundTripBytes / kSerialLinkBytesPerSecond,
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadClockOverPseudoTerminal115200)->UseRealTime();

}  // namespace
}  // namespace vantorel
