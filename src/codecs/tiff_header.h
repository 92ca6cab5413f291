#pragma once
// What the first directory of a TIFF file asks a decoder to allocate, checked before the file is
// handed to one: a file may claim thousands of samples a pixel or 64-bit samples, and the TIFF
// library sizes its buffers from those fields, not from the picture's width and height alone.

#include <cstdint>
#include <span>

#include "platform/status.h"

namespace vantorel {

inline constexpr int kMaxTiffSamplesPerPixel = 8;
inline constexpr int kMaxTiffBitsPerSample = 32;
inline constexpr std::int64_t kMaxTiffDecodedBytes = 512LL * 1024 * 1024;

// Fails with the cause when the first directory cannot be read or asks for more samples a pixel,
// bits a sample or decoded bytes (of the picture, a strip or a tile) than the limits above. Fields the directory lacks take TIFF's
// defaults (one sample of one bit).
Status CheckTiffHeader(std::span<const std::uint8_t> bytes);

}  // namespace vantorel
