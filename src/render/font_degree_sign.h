#pragma once
// The degree sign that every ASCII-capable library draws for code 127: a small ring in the upper
// left part of the half-width cell, built in at all eight sizes.

#include <cstdint>
#include <span>

namespace vantorel {

// Writes the degree-sign glyph of `sizeIndex` (half-width rows) into `glyph`; returns its byte count.
int DegreeSignGlyph(int sizeIndex, std::span<std::uint8_t> glyph);

}  // namespace vantorel
