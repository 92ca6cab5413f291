#pragma once
// The line records of playbill files. The current generation stores every line, and every raw
// block after a "RICHTXT" line, as a u16 little-endian length n followed by n bytes, each XORed with
// a key: the low byte of n, or 24 when that byte is 0. The older generation is plain text, lines
// ended by CR LF or LF; its raw blocks have the same scrambled form.
//
// Reading never trusts a length: a record that runs past the end of the file ends the reading, a
// line record longer than a line may be is skipped whole, and a block longer than a block may be
// keeps its first bytes while the rest is skipped, never read as lines. Each of these is told to
// the reader's warnings.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/byte_reader.h"
#include "platform/byte_writer.h"
#include "platform/status.h"

namespace vantorel {

std::uint8_t ScrambleKey(std::size_t length);

// Appends one record: u16 length, then the bytes XOR key. At most 65535 bytes are taken.
void AppendScrambledRecord(ByteWriter& out, std::span<const std::uint8_t> bytes);

class CPlaybillLineReader {
public:
  // Reads `file` from `start`: scrambled records, or plain-text lines when `scrambled` is false.
  // What is skipped or cut goes to `warnings` when given.
  CPlaybillLineReader(std::span<const std::uint8_t> file, std::size_t start, bool scrambled,
                      ReadWarnings* warnings = nullptr);

  // The next line, cut at its first CR or LF; nothing at the end of the file. Lines longer than
  // 1022 bytes are skipped; the lines returned may be empty.
  std::optional<std::string> NextLine();
  // The raw block at the current position, at most `maxBytes` of it; nothing when the file ends
  // before the block does (the reading is then at its end).
  std::optional<std::vector<std::uint8_t>> NextBlock(std::size_t maxBytes);

  bool AtEnd() const { return m_in.AtEnd(); }
  // The 1-based number of the last record or line read, for warnings ("record 12: ...").
  std::size_t Number() const { return m_number; }
  // "record 12" or "line 12": how a place in this file is named.
  std::string Place() const;

private:
  // The next record's unscrambled bytes; nothing when it is cut off by the end.
  std::optional<std::span<const std::uint8_t>> NextRecord();
  std::optional<std::string> NextPlainLine();
  void Warn(const std::string& reason);

  std::span<const std::uint8_t> m_file;
  ByteReader m_in;
  bool m_scrambled;
  ReadWarnings* m_warnings;
  std::size_t m_number = 0;
};

}  // namespace vantorel
