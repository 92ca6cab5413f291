#include "maker/program_checksum.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/text_ids.h"
#include "platform/crc1021_table.h"

namespace vantorel {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Eight bytes a step ("slicing by eight"): table k gives what a byte does to the sum when k more
// bytes follow it. The table is a linear function of its index, so the eight lookups of a step
// XOR together into the eight single steps.
using SliceTables = std::array<std::array<std::uint16_t, 256>, 8>;

constexpr SliceTables MakeSliceTables() {
  SliceTables tables{};
  tables[0] = kCrc1021Table;
  for (std::size_t k = 1; k < tables.size(); ++k) {
    for (std::size_t i = 0; i < 256; ++i) {
      const std::uint16_t previous = tables[k - 1][i];
      tables[k][i] = static_cast<std::uint16_t>((previous >> 8) ^ kCrc1021Table[previous & 0xFFu]);
    }
  }
  return tables;
}

constexpr SliceTables kSlices = MakeSliceTables();

std::uint16_t OneByte(std::uint16_t crc, std::uint8_t byte) {
  return static_cast<std::uint16_t>((crc >> 8) ^ kCrc1021Table[(crc ^ byte) & 0xFFu]);
}

}  // namespace

// The most-significant-first table with the least-significant-first update: program files have
// always been summed so.
std::uint16_t ProgramChecksum(std::span<const std::uint8_t> bytes, std::uint16_t crc) {
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    const std::uint8_t* b = bytes.data() + i;
    crc = static_cast<std::uint16_t>(kSlices[7][(crc ^ b[0]) & 0xFFu] ^ kSlices[6][((crc >> 8) ^ b[1]) & 0xFFu] ^
                                     kSlices[5][b[2]] ^ kSlices[4][b[3]] ^ kSlices[3][b[4]] ^ kSlices[2][b[5]] ^
                                     kSlices[1][b[6]] ^ kSlices[0][b[7]]);
  }
  for (; i < bytes.size(); ++i) crc = OneByte(crc, bytes[i]);
  return crc;
}

Expected<std::uint16_t> ChecksumOfFile(const std::filesystem::path& file) {
  const std::unique_ptr<std::FILE, FileCloser> in(std::fopen(file.c_str(), "rb"));
  if (!in) return Status::SystemError(errno, file, kTextChecksumNotRead);
  std::vector<std::uint8_t> piece(kChecksumPieceBytes);
  std::uint16_t crc = 0;
  for (;;) {
    const std::size_t got = std::fread(piece.data(), 1, piece.size(), in.get());
    crc = ProgramChecksum(std::span(piece).first(got), crc);
    if (got < piece.size()) break;
  }
  if (std::ferror(in.get()) != 0) return Status::SystemError(errno != 0 ? errno : EIO, file, kTextChecksumNotRead);
  return crc;
}

}  // namespace vantorel
