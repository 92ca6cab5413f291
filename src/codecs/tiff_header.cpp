#include "codecs/tiff_header.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/byte_reader.h"

namespace vantorel {
namespace {

constexpr std::uint16_t kTagWidth = 256;
constexpr std::uint16_t kTagHeight = 257;
constexpr std::uint16_t kTagBitsPerSample = 258;
constexpr std::uint16_t kTagSamplesPerPixel = 277;
constexpr std::uint16_t kTagRowsPerStrip = 278;
constexpr std::uint16_t kTagTileWidth = 322;
constexpr std::uint16_t kTagTileLength = 323;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;

// Reads TIFF numbers in the file's byte order.
class CTiffNumbers {
public:
  CTiffNumbers(std::span<const std::uint8_t> bytes, bool bigEndian) : m_bytes(bytes), m_bigEndian(bigEndian) {}

  std::uint16_t U16(ByteReader& in) const { return m_bigEndian ? in.U16Be() : in.U16Le(); }
  std::uint32_t U32(ByteReader& in) const { return m_bigEndian ? in.U32Be() : in.U32Le(); }

  // The largest of the `count` values of an entry whose value field is `field` (4 bytes): inline
  // when they fit, else at the offset the field holds. Nothing when they lie outside the file.
  std::optional<std::uint32_t> Largest(std::uint16_t type, std::uint32_t count, std::span<const std::uint8_t> field) const {
    const std::size_t width = type == kTypeShort ? 2 : 4;
    if (count == 0 || count > 64) return std::nullopt;
    ByteReader values(field);
    if (count * width > 4) {
      ByteReader at(field);
      ByteReader file(m_bytes);
      file.Seek(U32(at));
      values = file.Sub(count * width);
      if (!file.ok()) return std::nullopt;
    }
    std::uint32_t largest = 0;
    for (std::uint32_t i = 0; i < count; ++i) largest = std::max(largest, type == kTypeShort ? U16(values) : U32(values));
    return values.ok() ? std::optional<std::uint32_t>(largest) : std::nullopt;
  }

private:
  std::span<const std::uint8_t> m_bytes;
  bool m_bigEndian;
};

}  // namespace

Status CheckTiffHeader(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 8) return Status::Failure(kNoTextId, "damaged tiff file: no header");
  const bool bigEndian = bytes[0] == 'M';
  const CTiffNumbers numbers(bytes, bigEndian);
  ByteReader header(bytes);
  header.Skip(4);
  ByteReader directory(bytes);
  directory.Seek(numbers.U32(header));
  const std::uint16_t entries = numbers.U16(directory);
  if (!directory.ok()) return Status::Failure(kNoTextId, "damaged tiff file: no first directory");
  // A field given twice counts with its larger value: decoders differ in which one they take.
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t rowsPerStrip = 0;
  std::uint32_t tileWidth = 0;
  std::uint32_t tileLength = 0;
  std::optional<std::uint32_t> bits;
  std::optional<std::uint32_t> samples;
  for (std::uint16_t i = 0; i < entries; ++i) {
    const std::uint16_t tag = numbers.U16(directory);
    const std::uint16_t type = numbers.U16(directory);
    const std::uint32_t count = numbers.U32(directory);
    const std::span<const std::uint8_t> field = directory.Bytes(4);
    if (!directory.ok()) return Status::Failure(kNoTextId, "damaged tiff file: directory cut short");
    if (type != kTypeShort && type != kTypeLong) continue;
    if (tag != kTagWidth && tag != kTagHeight && tag != kTagBitsPerSample && tag != kTagSamplesPerPixel &&
        tag != kTagRowsPerStrip && tag != kTagTileWidth && tag != kTagTileLength) {
      continue;
    }
    const std::optional<std::uint32_t> value = numbers.Largest(type, count, field);
    if (!value) return Status::Failure(kNoTextId, "damaged tiff file: field " + std::to_string(tag) + " unreadable");
    const auto larger = [&](std::optional<std::uint32_t> kept) { return std::max(kept.value_or(0), *value); };
    if (tag == kTagWidth) width = std::max(width, *value);
    if (tag == kTagHeight) height = std::max(height, *value);
    if (tag == kTagRowsPerStrip) rowsPerStrip = std::max(rowsPerStrip, *value);
    if (tag == kTagTileWidth) tileWidth = std::max(tileWidth, *value);
    if (tag == kTagTileLength) tileLength = std::max(tileLength, *value);
    if (tag == kTagBitsPerSample) bits = larger(bits);
    if (tag == kTagSamplesPerPixel) samples = larger(samples);
  }
  const std::uint32_t bitsPerSample = bits.value_or(1);
  const std::uint32_t samplesPerPixel = samples.value_or(1);
  if (samplesPerPixel < 1 || samplesPerPixel > kMaxTiffSamplesPerPixel) {
    return Status::Failure(kNoTextId, "tiff file with " + std::to_string(samplesPerPixel) + " samples a pixel");
  }
  if (bitsPerSample < 1 || bitsPerSample > kMaxTiffBitsPerSample) {
    return Status::Failure(kNoTextId, "tiff file with " + std::to_string(bitsPerSample) + " bits a sample");
  }
  // The picture, and the largest strip or tile buffer the decoder makes from these fields: each a
  // product of two 32-bit numbers, which fits 64 bits unsigned; the bits a pixel (at most 256) are
  // compared by division so that nothing overflows.
  const std::uint64_t bitsPerPixel = static_cast<std::uint64_t>(samplesPerPixel) * bitsPerSample;
  const std::uint64_t picture = static_cast<std::uint64_t>(width) * height;
  const std::uint64_t strip = static_cast<std::uint64_t>(width) * std::min(rowsPerStrip, height);
  const std::uint64_t tile = static_cast<std::uint64_t>(tileWidth) * tileLength;
  const std::uint64_t pixels = std::max({picture, strip, tile});
  if (pixels > static_cast<std::uint64_t>(kMaxTiffDecodedBytes) * 8 / bitsPerPixel) {
    return Status::Failure(kNoTextId, "tiff file too large: " + std::to_string(width) + " x " + std::to_string(height) +
                                          " pixels of " + std::to_string(bitsPerPixel) + " bits");
  }
  return Status::Ok();
}

}  // namespace vantorel
