#include "send/version_text.h"

#include <array>

#include "app/text_format.h"
#include "app/text_ids.h"
#include "platform/byte_reader.h"

namespace vantorel {

namespace {

struct VersionBytes {
  bool nibbleForm = false;
  std::array<int, 12> nibbles{};  // high and low nibble of bytes 2-7 in order
  std::array<int, 6> low{};       // low nibble of bytes 2-7
};

Expected<VersionBytes> ReadVersionBytes(std::span<const std::uint8_t> answer) {
  ByteReader in(answer);
  in.Skip(1);  // controller kind
  VersionBytes version;
  version.nibbleForm = in.U8() == kVersionNibbleForm;
  for (std::size_t i = 0; i < version.low.size(); ++i) {
    const std::uint8_t byte = in.U8();
    version.nibbles[2 * i] = byte >> 4;
    version.nibbles[2 * i + 1] = byte & 0x0F;
    version.low[i] = byte & 0x0F;
  }
  if (!in.ok()) return Status::Failure(kTextFailed, "version answer: " + in.Where());
  return version;
}

}  // namespace

Expected<std::string> VersionNumbers(std::span<const std::uint8_t> answer) {
  const Expected<VersionBytes> read = ReadVersionBytes(answer);
  if (!read) return read.status();
  const auto& n = read->nibbles;
  const auto& l = read->low;
  if (read->nibbleForm) {
    return FormatText("%d.%d.%d.%d-%d.%d.%d.%d-%d.%d.%d.%d", n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7], n[8],
                      n[9], n[10], n[11]);
  }
  return FormatText("%d.%d-%d.%d-%d.%d", l[0], l[1], l[2], l[3], l[4], l[5]);
}

Expected<std::string> VersionText(std::span<const std::uint8_t> answer) {
  Expected<std::string> numbers = VersionNumbers(answer);
  if (!numbers) return numbers.status();
  return "\n\n" + *numbers;
}

Expected<std::string> VersionInformationText(std::span<const std::uint8_t> answer, const std::string& title) {
  const Expected<VersionBytes> read = ReadVersionBytes(answer);
  if (!read) return read.status();
  const auto& n = read->nibbles;
  const auto& l = read->low;
  if (read->nibbleForm) {
    return FormatText("%s:\nBIOS:\t%d.%d.%d.%d\nLOGIC:\t%d.%d.%d.%d\nAPP:\t%d.%d.%d.%d", title.c_str(), n[0], n[1],
                      n[2], n[3], n[4], n[5], n[6], n[7], n[8], n[9], n[10], n[11]);
  }
  return FormatText("(%s: %d.%d-%d.%d-%d.%d)  ", title.c_str(), l[0], l[1], l[2], l[3], l[4], l[5]);
}

}  // namespace vantorel
