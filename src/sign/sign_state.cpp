#include "sign/sign_state.h"

#include <charconv>
#include <ctime>
#include <optional>
#include <sstream>
#include <string_view>
#include <system_error>

#include "app/text_ids.h"
#include "comm/packet.h"
#include "platform/atomic_file.h"

namespace vantorel {
namespace {

template <typename T>
std::optional<T> ReadInteger(std::string_view text) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

template <std::size_t N>
bool ReadList(std::string_view text, std::array<std::uint8_t, N>& out) {
  std::array<std::uint8_t, N> values{};
  for (std::size_t i = 0; i < N; ++i) {
    const std::size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    const auto value = ReadInteger<unsigned>(item);
    if (!value || *value > 255 || (i + 1 < N) == (comma == std::string_view::npos)) return false;
    values[i] = static_cast<std::uint8_t>(*value);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  out = values;
  return true;
}

bool ReadHex(std::string_view text, std::vector<std::uint8_t>& out) {
  if (text.empty() || text.size() % 2 != 0 || text.size() > 256) return false;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
    if (error != std::errc() || end != text.data() + i + 2) return false;
    bytes.push_back(static_cast<std::uint8_t>(value));
  }
  out = std::move(bytes);
  return true;
}

template <typename T>
bool ReadInto(std::string_view text, T& field, std::int64_t low, std::int64_t high) {
  const auto value = ReadInteger<std::int64_t>(text);
  if (!value || *value < low || *value > high) return false;
  field = static_cast<T>(*value);
  return true;
}

template <std::size_t N>
std::string List(const std::array<std::uint8_t, N>& values) {
  std::string text;
  for (std::size_t i = 0; i < N; ++i) text += (i ? "," : "") + std::to_string(values[i]);
  return text;
}

std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

}  // namespace

std::string WriteSignState(const SignState& state) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string switches;
  for (const std::uint8_t byte : state.switches) switches += {kHex[byte >> 4], kHex[byte & 15]};
  std::ostringstream out;
  out << "clock-offset=" << state.clockOffsetSeconds << "\n"
      << "brightness=" << List(state.brightness) << "\n"
      << "power=" << List(state.power) << "\n"
      << "temperature-adjust=" << int{state.temperatureAdjust} << "\n"
      << "switches=" << switches << "\n"
      << "charset=" << int{state.charset} << "\n"
      << "ascii-sizes=" << state.asciiSizes << "\n"
      << "ext-sizes=" << state.extSizes << "\n"
      << "play=" << int{state.play} << "\n"
      << "protection-mode=" << state.protectionMode << "\n"
      << "messages=" << state.messages << "\n"
      << "restarts=" << state.restarts << "\n";
  return out.str();
}

SignState ReadSignState(const std::string& text, ReadWarnings& warnings) {
  SignState state;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  constexpr std::int64_t kCentury = 100LL * 366 * 24 * 3600;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    const std::string_view key = std::string_view(line).substr(0, equals);
    const std::string_view value = equals == std::string::npos ? std::string_view() : std::string_view(line).substr(equals + 1);
    bool read = false;
    if (key == "clock-offset") read = ReadInto(value, state.clockOffsetSeconds, -kCentury, kCentury);
    else if (key == "brightness") read = ReadList(value, state.brightness);
    else if (key == "power") read = ReadList(value, state.power);
    else if (key == "temperature-adjust") read = ReadInto(value, state.temperatureAdjust, 0, 255);
    else if (key == "switches") read = ReadHex(value, state.switches);
    else if (key == "charset") read = ReadInto(value, state.charset, 0, 255);
    else if (key == "ascii-sizes") read = ReadInto(value, state.asciiSizes, 0, 0xFFFF);
    else if (key == "ext-sizes") read = ReadInto(value, state.extSizes, 0, 0xFFFF);
    else if (key == "play") read = ReadInto(value, state.play, 0, 1);
    else if (key == "protection-mode") {
      read = ReadInto(value, state.protectionMode, kModeUnprotected, kModeKeyTextAndPassword) &&
             ProtectionLevelOfMode(state.protectionMode).has_value();
      if (!read) state.protectionMode = kModeUnprotected;
    }
    else if (key == "messages") read = ReadInto(value, state.messages, 0, 0xFFFFFFFF);
    else if (key == "restarts") read = ReadInto(value, state.restarts, 0, 0xFFFFFFFF);
    if (!read) warnings.Drop("line " + std::to_string(number) + ": " + line.substr(0, 60));
  }
  return state;
}

Expected<SignState> LoadSignState(const std::filesystem::path& folder, ReadWarnings& warnings) {
  const std::filesystem::path file = folder / kSignStateFile;
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return SignState{};
  std::string text;
  if (Status read = ReadFileStart(file, 1 << 16, text); !read) return read;
  SignState state = ReadSignState(text, warnings);
  if (!warnings.empty()) {
    const std::filesystem::path kept = file.string() + ".damaged-" + TimeStamp();
    std::filesystem::copy_file(file, kept, std::filesystem::copy_options::overwrite_existing, error);
    if (error) return Status::SystemError(error.value(), kept);
    warnings.firstReason += " (kept as " + kept.filename().string() + ")";
  }
  return state;
}

Status SaveSignState(const std::filesystem::path& folder, const SignState& state) {
  return WriteFileAtomically(folder / kSignStateFile, WriteSignState(state));
}

}  // namespace vantorel
