#include "render/ovf_header.h"

#include <algorithm>
#include <cstring>

#include "platform/legacy_text.h"

namespace vantorel {
namespace {

std::uint32_t BigEndian32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return (static_cast<std::uint32_t>(bytes[offset]) << 24) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 16) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 8) | bytes[offset + 3];
}

std::uint16_t BigEndian16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

}  // namespace

std::optional<OvfFaceRecord> ParseOvfFaceRecord(std::span<const std::uint8_t> file) {
  if (file.size() < kOvfHeaderSize) return std::nullopt;
  OvfFaceRecord record;
  record.hasMagic = std::memcmp(file.data(), "OVWM", 4) == 0;
  record.glyphCount = file[4] == 1 ? 224 : 96;
  record.isFont = BigEndian16(file, 16) != 0;
  record.faceOffset = BigEndian32(file, 18);
  // The name and the size mask must lie inside the file.
  if (record.faceOffset > file.size() || file.size() - record.faceOffset < 18) return std::nullopt;
  const auto name = file.subspan(record.faceOffset, 16);
  const auto nameEnd = std::find(name.begin(), name.end(), std::uint8_t{0});
  record.name = ToUtf8(std::string(name.begin(), nameEnd));
  record.sizeMask = BigEndian16(file, record.faceOffset + 16);
  return record;
}

std::optional<OvfFaceRecord> UsableOvfFace(std::span<const std::uint8_t> file) {
  if (file.size() < kOvfMinimumSize) return std::nullopt;
  auto record = ParseOvfFaceRecord(file);
  if (!record || !record->hasMagic || !record->isFont || (record->sizeMask & 0xFF) == 0) return std::nullopt;
  const std::uint64_t firstBlockEnd = std::uint64_t{record->faceOffset} + 18 + static_cast<std::uint64_t>(record->glyphCount);
  if (firstBlockEnd > file.size()) return std::nullopt;
  return record;
}

}  // namespace vantorel
