// The record file of converted videos lies in a folder users copy between machines and edit by
// hand. Reading it must never crash, and every record it gives must be written back to a line
// that reads as the same record.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "render/media/conversion_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ReadWarnings warnings;
  const auto records = ParseConversionRecords(text, warnings);
  if (!records.empty() && warnings.dropped > 0 && warnings.firstReason.empty()) __builtin_trap();
  for (const VideoConversionRecord& record : records) {
    ReadWarnings again;
    const auto back = ParseConversionRecords(ConversionRecordLine(record) + "\r\n", again);
    if (back.size() != 1 || !(back[0] == record) || !again.empty()) __builtin_trap();
    if (record.width <= 0 || record.height <= 0 || record.sourceDigest.size() > kMaxRecordDigestLength) __builtin_trap();
  }
  return 0;
}
