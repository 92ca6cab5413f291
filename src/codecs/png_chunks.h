#pragma once
// A PNG file is a signature and a chain of chunks (length, type, data, CRC). libpng trusts a
// chunk's length and spends long on one that claims gigabytes the file does not hold; we hand it
// only the chunks that are really there.

#include <cstdint>
#include <span>

namespace vantorel {

// `bytes` up to the end of the last whole chunk (through IEND when it is there); the signature
// alone when no chunk is whole, all of `bytes` when they are no PNG file.
std::span<const std::uint8_t> WholePngChunks(std::span<const std::uint8_t> bytes);

}  // namespace vantorel
