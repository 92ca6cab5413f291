#include "sign/sign_server.h"

#include <algorithm>

#include "comm/probe.h"
#include "platform/descriptor_wait.h"
#include "screen/controller_types.h"

namespace vantorel {
namespace {

constexpr std::size_t kReadSize = 4096;
constexpr std::size_t kSerialCapacity = 2 * kPacketMaxSize;   // an escaped frame of the largest packet
constexpr int kPortTries = 20;

constexpr int kWriteTimeoutMs = 5000;

std::string AddressText(std::uint32_t ipv4, std::uint16_t port) { return DottedEndpoint(ipv4, port); }

}  // namespace

Expected<std::unique_ptr<SignServer>> SignServer::Start(const SignOptions& options, RequestLog& log) {
  std::filesystem::path store = options.store;
  if (store.empty()) {
    Expected<std::filesystem::path> folder = DefaultStoreFolder(options);
    if (!folder) return folder.status();
    store = *folder;
  }
  const SignStore files(store);
  if (Status prepared = files.Prepare(); !prepared) return prepared;
  ReadWarnings warnings;
  Expected<SignState> state = LoadSignState(store, warnings);
  if (!state) return state.status();
  if (!warnings.empty()) {
    log.Note("state file: " + std::to_string(warnings.dropped) + " lines not read, first " + warnings.firstReason);
  }
  if (options.protectMode) state->protectionMode = *options.protectMode;
  if (options.charset) state->charset = *options.charset;
  if (options.asciiSizes) state->asciiSizes = *options.asciiSizes;
  if (options.extSizes) state->extSizes = *options.extSizes;
  Expected<WakePipe> wake = WakePipe::Make();
  if (!wake) return wake.status();
  std::unique_ptr<SignServer> server(new SignServer(options, log, std::move(*state), store, std::move(*wake)));
  if (Status saved = server->m_operations.Save(); !saved) return saved;
  if (Status bound = server->Bind(); !bound) return bound;
  return server;
}

SignServer::SignServer(const SignOptions& options, RequestLog& log, SignState state, std::filesystem::path store,
                       WakePipe wake)
    : m_options(options),
      m_log(log),
      m_storeFolder(store),
      m_operations(m_options, std::move(state), SignStore(store)),
      m_faults(m_options.faults),
      m_engine(m_options, m_operations, m_faults, m_log),
      m_wake(std::move(wake)) {}

SignServer::~SignServer() = default;

Status SignServer::Bind() {
  for (const TcpAddress& wanted : m_options.tcp) {
    // Port 0: the TCP port the system picks must also be free for UDP; a few tries find one.
    Status last;
    bool bound = false;
    for (int attempt = 0; attempt < (wanted.port == 0 ? kPortTries : 1) && !bound; ++attempt) {
      Expected<TcpListener> tcp = TcpListener::Listen(wanted.ipv4, wanted.port);
      if (!tcp) return tcp.status();
      const std::uint16_t port = tcp->Port();
      Expected<UdpSocket> udp = UdpSocket::Bind(wanted.ipv4, port);
      if (!udp) {
        last = udp.status();
        continue;
      }
      m_listeners.push_back(Listener{std::move(*tcp), std::move(*udp), TcpAddress{wanted.ipv4, port}});
      m_addresses.push_back(TcpAddress{wanted.ipv4, port});
      bound = true;
    }
    if (!bound) return last;
  }
  if (m_options.serial) {
    Expected<PseudoTerminal> terminal = PseudoTerminal::Open();
    if (!terminal) return terminal.status();
    m_serial = std::make_unique<PseudoTerminal>(std::move(*terminal));
    m_frames = std::make_unique<SerialFrameDecoder>(kSerialCapacity);
  }
  std::string where;
  for (const TcpAddress& address : m_addresses) where += " tcp " + AddressText(address.ipv4, address.port);
  if (m_serial) where += " serial " + m_serial->DevicePath();
  m_log.Note("sign started:" + where + ", store " + m_storeFolder.string());
  return Status::Ok();
}

std::string SignServer::SerialPath() const { return m_serial ? m_serial->DevicePath() : std::string(); }

Status SignServer::Run() {
  std::vector<int> fds;
  std::vector<bool> ready;
  while (true) {
    fds.clear();
    fds.push_back(m_wake.Descriptor());
    for (const Listener& listener : m_listeners) {
      fds.push_back(listener.tcp.Descriptor());
      fds.push_back(listener.udp.Descriptor());
    }
    if (m_serial) fds.push_back(m_serial->Descriptor());
    for (const auto& client : m_clients) fds.push_back(client->socket.Descriptor());
    if (Status waited = WaitReadable(fds, -1, ready); !waited) return waited;
    if (ready[0]) break;
    std::size_t at = 1;
    for (Listener& listener : m_listeners) {
      if (ready[at++]) Accept(listener);
      if (ready[at++]) AnswerProbe(listener);
    }
    if (m_serial && ready[at++]) ServeSerial();
    // Clients accepted in this round are not in `ready` yet.
    const std::size_t polled = fds.size() - at;
    std::vector<std::unique_ptr<Client>> kept;
    for (std::size_t i = 0; i < m_clients.size(); ++i) {
      if (i < polled && ready[at + i] && !Serve(*m_clients[i])) {
        m_log.Note("tcp " + m_clients[i]->peer + " closed");
        continue;
      }
      kept.push_back(std::move(m_clients[i]));
    }
    m_clients = std::move(kept);
  }
  m_wake.Drain();
  m_log.Note("sign stopped");
  return m_operations.Save();
}

void SignServer::Accept(Listener& listener) {
  Expected<TcpSocket> socket = listener.tcp.Accept(0);
  if (!socket) return;
  socket->SetTimeouts(kWriteTimeoutMs, kWriteTimeoutMs);
  const std::string peer = PeerEndpoint(socket->Descriptor());
  m_log.Note("tcp " + peer + " connected to " + AddressText(listener.address.ipv4, listener.address.port));
  m_clients.push_back(std::make_unique<Client>(Client{std::move(*socket), peer, {}, 0}));
}

void SignServer::AnswerProbe(Listener& listener) {
  std::uint8_t buffer[512];
  const Expected<Datagram> datagram = listener.udp.Receive(buffer, 0);
  if (!datagram || datagram->size == 0) return;
  const std::span<const std::uint8_t> bytes(buffer, datagram->size);
  const std::string transport = "udp " + AddressText(datagram->ipv4, datagram->port);
  if (!IsProbeRequest(bytes)) {
    m_log.Log(transport, "probe", bytes, "refused: not a probe");
    return;
  }
  ProbeInfo info;
  info.name = m_options.name;
  info.keyText = m_options.keyText;
  info.model = ModelName(m_options.model);
  info.options = m_options.protectOptions;
  info.mode = static_cast<std::uint16_t>(m_operations.ProtectionMode());
  const std::string line = MakeProbeLine(info);
  const Status sent = listener.udp.SendTo(datagram->ipv4, datagram->port,
                                          std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()));
  m_log.Log(transport, "probe", bytes, sent ? std::string("answered") : "not answered: " + sent.detail());
}

bool SignServer::Serve(Client& client) {
  std::uint8_t buffer[kReadSize];
  // Called when poll says the socket is readable: data, or the peer's end (a failure).
  const Expected<std::size_t> got = client.socket.Receive(buffer, 0);
  if (!got) return false;
  client.pending.insert(client.pending.end(), buffer, buffer + *got);
  while (true) {
    const auto total = PacketTotalLength(client.pending);
    if (!total || client.pending.size() < *total) return true;
    const std::vector<std::uint8_t> packet(client.pending.begin(), client.pending.begin() + static_cast<std::ptrdiff_t>(*total));
    client.pending.erase(client.pending.begin(), client.pending.begin() + static_cast<std::ptrdiff_t>(*total));
    const SignExchange exchange = m_engine.Respond(kKindNetwork, packet, "tcp " + client.peer);
    if (!SendAll(client, exchange)) return false;
  }
}

bool SignServer::SendAll(Client& client, const SignExchange& exchange) {
  for (const std::vector<std::uint8_t>& answer : exchange.answers) {
    const std::size_t allowed = m_faults.Allowed(client.sent, answer.size());
    if (!client.socket.SendAll(std::span(answer).first(allowed))) return false;
    client.sent += allowed;
    if (allowed < answer.size()) {
      m_log.Note("tcp " + client.peer + " disconnected after " + std::to_string(client.sent) + " answer bytes");
      return false;
    }
  }
  return true;
}

void SignServer::ServeSerial() {
  std::uint8_t buffer[kReadSize];
  const Expected<std::size_t> got = m_serial->Read(buffer, 0);
  if (!got || *got == 0) return;
  std::span<const std::uint8_t> rest(buffer, *got);
  const std::string transport = "serial " + m_serial->DevicePath();
  while (!rest.empty()) {
    std::size_t consumed = 0;
    const SerialFrameDecoder::State state = m_frames->Feed(rest, consumed);
    rest = rest.subspan(std::min(rest.size(), std::max<std::size_t>(consumed, state == SerialFrameDecoder::State::kError ? 1 : 0)));
    if (state == SerialFrameDecoder::State::kNeedMore) break;
    if (state == SerialFrameDecoder::State::kError) {
      m_log.Note(transport + " bad frame: " + std::string(FrameErrorName(m_frames->Error())));
      continue;
    }
    const std::vector<std::uint8_t> body(m_frames->Body().begin(), m_frames->Body().end());
    const SignExchange exchange = m_engine.Respond(kKindSerial, body, transport);
    for (const std::vector<std::uint8_t>& answer : exchange.answers) {
      // A serial line cannot be hung up: past the limit the sign just stops answering.
      const std::size_t allowed = m_faults.Allowed(m_serialSent, answer.size());
      if (!m_serial->Write(std::span(answer).first(allowed), kWriteTimeoutMs)) {
        m_log.Note(transport + " write failed");
      }
      m_serialSent += allowed;
    }
  }
}

}  // namespace vantorel
