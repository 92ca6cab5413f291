#include "screen/comm_types.h"

#include <array>
#include <charconv>

#include "app/text_format.h"
#include "screen/controller_types.h"

namespace vantorel {
namespace {

constexpr std::array<CommType, 5> kCommTypes = {{
    {kCommSerial, "RS232/485", 202},
    {kCommNetwork, "Network", 203},
    {kCommServerNet, "OvServer(Net)", 204},
    {kCommServerGprs, "OvServer(GPRS)", 209},
    {kCommGprsDtu, "GPRS DTU", 210},
}};

std::string AddressText(const std::string& host, std::uint16_t port, std::string_view bracketed) {
  return FormatText("%s : %d [%.*s]", host.c_str(), port, static_cast<int>(bracketed.size()), bracketed.data());
}

}  // namespace

std::span<const CommType> CommTypes() { return kCommTypes; }

const CommType* FindCommType(std::uint8_t value) {
  for (const CommType& type : kCommTypes) {
    if (type.value == value) return &type;
  }
  return nullptr;
}

std::string CommTypeListText(std::uint8_t value) {
  const CommType* type = FindCommType(value);
  return type ? type->listText : "";
}

std::uint8_t InitialSubMode(std::uint8_t commType, std::uint16_t controllerClass) {
  return (commType == kCommNetwork && controllerClass == kControllerClass7) ? 1 : 0;
}

std::string CommParameterText(const tagCommInfo& comm) {
  switch (comm.commType) {
    case kCommSerial:
      return FormatText("COM%d: %d,%s,8,1", comm.portIndex + 1, comm.baudRate, "N");
    case kCommGprsDtu:
      return comm.gprsId.str();
    case kCommNetwork:
      if (comm.subMode == 1) return comm.gprsId.str();
      return AddressText(FormatDottedQuad(comm.ipAddr), comm.ipPort, FormatDottedQuad(comm.idCode));
    case kCommServerNet:
    case kCommServerGprs:
      return AddressText(comm.subMode == 1 ? comm.domain.str() : FormatDottedQuad(comm.ipAddr), comm.ipPort,
                         comm.gprsId.view());
    default:
      return {};
  }
}

std::string FormatDottedQuad(std::uint32_t address) {
  return FormatText("%u.%u.%u.%u", (address >> 24) & 0xFFu, (address >> 16) & 0xFFu, (address >> 8) & 0xFFu,
                    address & 0xFFu);
}

std::optional<std::uint32_t> ParseDottedQuad(std::string_view text) {
  std::uint32_t address = 0;
  const char* pos = text.data();
  const char* const end = text.data() + text.size();
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (pos == end || *pos != '.') return std::nullopt;
      ++pos;
    }
    unsigned value = 0;
    const auto [next, error] = std::from_chars(pos, end, value);
    if (error != std::errc() || next == pos || next - pos > 3 || value > 255) return std::nullopt;
    address = (address << 8) | value;
    pos = next;
  }
  if (pos != end) return std::nullopt;
  return address;
}

}  // namespace vantorel
