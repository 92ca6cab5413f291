#include "comm/probe.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "comm/kvlink.h"
#include "platform/udp_socket.h"

namespace vantorel {
namespace {

std::string Field(std::string_view text) {
  std::string field(text);
  std::replace_if(field.begin(), field.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return field;
}

std::string Hex(unsigned value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  do {
    hex.insert(hex.begin(), kDigits[value & 0x0F]);
    value >>= 4;
  } while (value != 0);
  return hex;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Leading hexadecimal digits after blanks, held at 0xFFFF.
std::uint16_t ReadHex(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  unsigned value = 0;
  for (const char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) break;
    value = std::min(value * 16 + static_cast<unsigned>(digit), 0xFFFFu);
  }
  return static_cast<std::uint16_t>(value);
}

bool StartsWithTag(std::string_view field) {
  if (field.size() < 5) return false;
  for (std::size_t i = 0; i < kProbeAnswerTag.size(); ++i) {
    const char a = field[i] >= 'a' && field[i] <= 'z' ? static_cast<char>(field[i] - 'a' + 'A') : field[i];
    if (a != kProbeAnswerTag[i]) return false;
  }
  return true;
}

}  // namespace

bool IsProbeRequest(std::span<const std::uint8_t> datagram) {
  return datagram.size() == kProbeRequest.size() && std::equal(datagram.begin(), datagram.end(), kProbeRequest.begin());
}

std::string MakeProbeLine(const ProbeInfo& info) {
  return std::string(kProbeAnswerTag) + Field(info.name) + '\t' + Field(info.keyText) + '\t' + Field(info.model) +
         '\t' + Hex(info.options) + '\t' + Hex(info.mode) + "\r\n";
}

std::optional<ProbeInfo> ReadProbeLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  if (fields.size() < 2 || !StartsWithTag(fields[0])) return std::nullopt;
  ProbeInfo info;
  info.name = std::string(fields[0].substr(kProbeAnswerTag.size()));
  info.keyText = std::string(fields[1]);
  if (fields.size() >= 3) info.model = std::string(fields[2]);
  if (fields.size() >= 5) {
    info.options = ReadHex(fields[3]);
    info.mode = ReadHex(fields[4]);
  }
  return info;
}

int KVLINK_GetInfo(std::uint32_t ipv4HostOrder, std::span<char> out, std::uint16_t port, int timeoutMs) {
  if (!IsUnicastIpv4(ipv4HostOrder)) return -1;
  if (port == 0) port = kProbePort;
  if (timeoutMs <= 0) timeoutMs = kProbeTimeoutMs;
  Expected<UdpSocket> socket = UdpSocket::Bind(0, 0);
  if (!socket) return -1;
  const std::span<const std::uint8_t> request(reinterpret_cast<const std::uint8_t*>(kProbeRequest.data()),
                                              kProbeRequest.size());
  if (!socket->SendTo(ipv4HostOrder, port, request).ok()) return -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::vector<std::uint8_t> buffer(2048);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return 0;
    const Expected<Datagram> datagram = socket->Receive(buffer, static_cast<int>(left.count()));
    if (!datagram) return -1;
    if (datagram->size == 0) continue;
    if (datagram->ipv4 != ipv4HostOrder || datagram->port != port) continue;  // not the controller asked
    std::string_view line(reinterpret_cast<const char*>(buffer.data()), datagram->size);
    line = line.substr(0, line.find_first_of("\r\n"));
    if (line.empty()) continue;
    const std::size_t length = std::min(line.size(), out.empty() ? 0 : out.size() - 1);
    std::copy_n(line.begin(), length, out.begin());
    if (length < out.size()) out[length] = '\0';
    return static_cast<int>(length);
  }
}

}  // namespace vantorel
