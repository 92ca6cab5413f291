#pragma once
// The virtual sign as a running controller: TCP listeners on the addresses it is given (and
// nothing else), the UDP network probe answered on the same port numbers (unicast, to the
// sender only), and a pseudo-terminal standing in for its serial line. One poll loop serves them
// all; each TCP connection carries whole packets (their length from bytes 4-5), the serial line
// carries frames.
//
//   auto server = SignServer::Start(options, log);     // binds, opens the pseudo-terminal
//   print server->Addresses(), server->SerialPath();
//   server->Run();                                    // until Stop (or SIGINT/SIGTERM in main)
//
// Run belongs to one thread; Stop may be called from any thread (and from a signal handler
// through the wake-up pipe). The state is saved after every change and once more when Run ends.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/pseudo_terminal.h"
#include "platform/sign_io.h"
#include "platform/status.h"
#include "platform/tcp_socket.h"
#include "platform/udp_socket.h"
#include "sign/request_log.h"
#include "sign/sign_engine.h"
#include "sign/sign_faults.h"
#include "sign/sign_operations.h"
#include "sign/sign_options.h"

namespace vantorel {

class SignServer {
public:
  static Expected<std::unique_ptr<SignServer>> Start(const SignOptions& options, RequestLog& log);
  ~SignServer();

  // The addresses listened on, with the ports the system chose for port 0.
  const std::vector<TcpAddress>& Addresses() const { return m_addresses; }
  // The pseudo-terminal's slave path ("/dev/pts/N"); empty without --serial.
  std::string SerialPath() const;
  const std::filesystem::path& StoreFolder() const { return m_storeFolder; }
  const WakePipe& Wake() const { return m_wake; }

  // Serves until Stop; saves the state at the end.
  Status Run();
  void Stop() const { m_wake.Wake(); }

private:
  struct Client {
    TcpSocket socket;
    std::string peer;
    std::vector<std::uint8_t> pending;
    std::uint64_t sent = 0;
  };
  struct Listener {
    TcpListener tcp;
    UdpSocket udp;
    TcpAddress address;
  };

  SignServer(const SignOptions& options, RequestLog& log, SignState state, std::filesystem::path store, WakePipe wake);
  Status Bind();
  void Accept(Listener& listener);
  void AnswerProbe(Listener& listener);
  // False when the connection is to be closed.
  bool Serve(Client& client);
  bool SendAll(Client& client, const SignExchange& exchange);
  void ServeSerial();

  SignOptions m_options;
  RequestLog& m_log;
  std::filesystem::path m_storeFolder;
  SignOperations m_operations;
  SignFaults m_faults;
  SignEngine m_engine;
  WakePipe m_wake;
  std::vector<Listener> m_listeners;
  std::vector<TcpAddress> m_addresses;
  std::vector<std::unique_ptr<Client>> m_clients;
  std::unique_ptr<PseudoTerminal> m_serial;
  std::unique_ptr<SerialFrameDecoder> m_frames;
  std::uint64_t m_serialSent = 0;
};

}  // namespace vantorel
