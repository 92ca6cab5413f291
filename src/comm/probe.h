#pragma once
// The network probe: the program asks a controller who it is with the UDP datagram "KV?:", and
// the controller answers one line of tab-separated fields:
//
//   KV~:<name> \t <key text> \t <model> \t <options in hex> \t <mode in hex> \r\n
//
// Both sides use these (KVLINK_GetInfo in kvlink.h sends the probe). Nothing here keeps state.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantorel {

inline constexpr std::string_view kProbeRequest = "KV?:";
inline constexpr std::string_view kProbeAnswerTag = "KV~:";
inline constexpr std::uint16_t kProbePort = 5200;
inline constexpr int kProbeTimeoutMs = 1000;

bool IsProbeRequest(std::span<const std::uint8_t> datagram);

struct ProbeInfo {
  std::string name;
  std::string keyText;
  std::string model;
  std::uint16_t options = 1;   // bit 0: switch protection off at close; bit 1: on at open
  std::uint16_t mode = 1;      // 1, 2 or 0x8002
};

// The answer line of a controller, with its line end. Tabs and line ends in the texts become
// blanks.
std::string MakeProbeLine(const ProbeInfo& info);

// Reads an answer line the way the network channel takes it: at least two fields and a first
// field of at least five characters starting with "KV~:" (case ignored), else nothing. Field 2
// is the key text; with five fields or more, fields 4 and 5 are the options and the mode in
// hexadecimal (1 when there are fewer fields; a field without hexadecimal digits gives 0, a
// value above 0xFFFF gives 0xFFFF). A line end at the end is left out.
std::optional<ProbeInfo> ReadProbeLine(std::string_view line);

}  // namespace vantorel
