#pragma once
// The header of an extended-ASCII font file (".ovf"). Numbers are big-endian:
//   0  "OVWM"   4  glyph range (1 = 224 glyphs for codes 32..255, else 96 for codes 32..127)
//   16 non-zero for a font   18 N, offset of the face record
//   N  face name (16 bytes, zero-padded)   N+16 size mask   N+18 one block per present size
// A block is the width table (one byte per glyph) followed by the glyphs of that size.

#include <cstdint>
#include <span>
#include <string>

#include "platform/status.h"

namespace vantorel {

inline constexpr std::size_t kOvfMinimumSize = 904;
inline constexpr std::size_t kOvfHeaderSize = 22;
// The face name is read only when it starts within the first bytes of the file.
inline constexpr std::uint32_t kOvfMaxNameOffset = 94;

struct OvfFaceRecord {
  bool hasMagic = false;
  bool isFont = false;         // the value at 16 is non-zero
  int glyphCount = 96;
  std::uint32_t faceOffset = 0;  // N
  std::uint16_t sizeMask = 0;
  std::string name;            // up to 16 bytes, converted to UTF-8
};

// Reads the header and the face record at N of a whole file. A failure (kTextFontFileDamaged)
// gives the offset when the header or the face record (name and size mask) does not lie inside the
// file.
Expected<OvfFaceRecord> ParseOvfFaceRecord(std::span<const std::uint8_t> file);

// The face record of a file that a library can use: at least 904 bytes, the magic, non-zero at 16,
// a size mask with a size among bits 0-7, and the first block's width table inside the file. A
// failure says which of these the file lacks.
Expected<OvfFaceRecord> UsableOvfFace(std::span<const std::uint8_t> file);

}  // namespace vantorel
