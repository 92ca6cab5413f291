#pragma once
// What a virtual sign remembers between runs, and its state file "state.txt" in the store folder:
// one "name=value" line per field, numbers in decimal, byte blocks as hexadecimal pairs.
//
//   clock-offset=-3600           seconds the sign's clock is ahead of this computer's local time
//   brightness=16,16,...,16      24 hourly values
//   power=255,255,255,255        on hour, on minute, off hour, off minute
//   temperature-adjust=66        byte 5 of the temperature answer
//   switches=0000...             the software switch block
//   charset=1  ascii-sizes=63  ext-sizes=15   the fonts it holds
//   play=0                       0 playing, 1 held
//   protection-mode=1            1, 2 or 32770
//   messages=3  restarts=1       counts of instant messages received and restarts asked
//
// Reading is lenient: a line that does not read keeps its field's default and is named in the
// warnings. Plain data, owned by one thread.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/status.h"

namespace vantorel {

struct SignState {
  std::int64_t clockOffsetSeconds = 0;
  std::array<std::uint8_t, 24> brightness{16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16,
                                          16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16};
  std::array<std::uint8_t, 4> power{0xFF, 0xFF, 0xFF, 0xFF};
  std::uint8_t temperatureAdjust = 0;
  std::vector<std::uint8_t> switches = std::vector<std::uint8_t>(16, 0);
  std::uint8_t charset = 1;
  std::uint16_t asciiSizes = 0x003F;
  std::uint16_t extSizes = 0x000F;
  std::uint8_t play = 0;
  int protectionMode = 1;
  std::uint32_t messages = 0;
  std::uint32_t restarts = 0;

  friend bool operator==(const SignState&, const SignState&) = default;
};

inline constexpr const char* kSignStateFile = "state.txt";

std::string WriteSignState(const SignState& state);
SignState ReadSignState(const std::string& text, ReadWarnings& warnings);

// The state in `folder` (defaults when the file is not there yet). A file that is there but
// does not read fully is kept beside itself as "state.txt.damaged-<YYYYMMDD-HHMMSS>" and the
// warnings say so.
Expected<SignState> LoadSignState(const std::filesystem::path& folder, ReadWarnings& warnings);
Status SaveSignState(const std::filesystem::path& folder, const SignState& state);

}  // namespace vantorel
