#include "codecs/png_chunks.h"

#include <cstring>

#include "platform/byte_reader.h"

namespace vantorel {

std::span<const std::uint8_t> WholePngChunks(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t kSignature = 8;
  if (bytes.size() < kSignature || std::memcmp(bytes.data(), "\x89PNG\r\n\x1A\n", kSignature) != 0) return bytes;
  ByteReader in(bytes);
  in.Skip(kSignature);
  std::size_t end = kSignature;
  while (in.Remaining() >= 12) {
    const std::uint32_t length = in.U32Be();
    const auto type = in.Bytes(4);
    if (length > in.Remaining() || in.Remaining() - length < 4) break;
    in.Skip(length + 4);
    end = in.Offset();
    if (std::memcmp(type.data(), "IEND", 4) == 0) break;
  }
  return bytes.first(end);
}

}  // namespace vantorel
