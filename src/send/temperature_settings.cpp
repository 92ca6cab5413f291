#include "send/temperature_settings.h"

#include <charconv>
#include <cstdlib>

#include "app/text_format.h"
#include "app/text_ids.h"
#include "platform/byte_reader.h"

namespace vantorel {

namespace {

struct Degrees {
  const char* sign;
  int whole;
  int tenths;
};

Degrees ReadDegrees(ByteReader& in) {
  const std::uint8_t first = in.U8();
  const std::uint8_t second = in.U8();
  return {(first & 0x80) != 0 ? "-" : "", (first & 0x7F) * 16 + (second >> 4), second & 0x0F};
}

}  // namespace

Expected<std::string> TemperatureText(std::span<const std::uint8_t> answer) {
  ByteReader in(answer);
  const std::uint8_t present = in.U8();
  if (in.ok() && (present & 0x01) == 0) return std::string();
  const Degrees celsius = ReadDegrees(in);
  const Degrees fahrenheit = ReadDegrees(in);
  const std::uint8_t adjust = in.U8();
  if (!in.ok()) return Status::Failure(kTextFailed, "temperature answer: " + in.Where());
  return FormatText("%s%d.%dC ( %s%d.%dF ) [ %s%d%s ]", celsius.sign, celsius.whole, celsius.tenths, fahrenheit.sign,
                    fahrenheit.whole, fahrenheit.tenths, (adjust & 0x40) != 0 ? "-" : "+", adjust & 0x3F,
                    (adjust & 0x80) != 0 ? "F" : "C");
}

Expected<std::uint8_t> TemperatureAdjustValue(int degrees, bool fahrenheit) {
  const int size = std::abs(degrees);
  if (size > kMaxTemperatureAdjust) {
    return Status::Failure(kTextFailed, FormatText("temperature adjustment %d: -63 to 63 degrees", degrees));
  }
  return static_cast<std::uint8_t>((fahrenheit ? 0x80 : 0) | (degrees < 0 ? 0x40 : 0) | size);
}

Expected<std::uint8_t> ParseTemperatureAdjust(std::string_view text) {
  std::string_view number = text;
  bool fahrenheit = false;
  if (!number.empty() && (number.back() == 'F' || number.back() == 'f' || number.back() == 'C' || number.back() == 'c')) {
    fahrenheit = number.back() == 'F' || number.back() == 'f';
    number.remove_suffix(1);
  }
  if (number.size() > 1 && number.front() == '+' && number[1] != '-') number.remove_prefix(1);
  int degrees = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), degrees);
  if (number.empty() || error != std::errc() || end != number.data() + number.size()) {
    return Status::Failure(kTextFailed, "temperature adjustment \"" + std::string(text) + "\": a number of degrees, "
                                        "optionally followed by C or F");
  }
  return TemperatureAdjustValue(degrees, fahrenheit);
}

std::array<std::uint8_t, kTemperatureAdjustBlockSize> TemperatureAdjustBlock(std::uint8_t adjustment) {
  return {0, 4, 0, 0, adjustment, 0};
}

}  // namespace vantorel
