#include "maker/program_checksum.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/text_ids.h"

namespace vantorel {
namespace {

constexpr std::array<std::uint16_t, 256> MakeTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000u) != 0 ? (crc << 1) ^ 0x1021u : crc << 1;
    table[i] = static_cast<std::uint16_t>(crc);
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> kTable = MakeTable();
static_assert(kTable[1] == 0x1021 && kTable[2] == 0x2042);

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::uint16_t ProgramChecksum(std::span<const std::uint8_t> bytes, std::uint16_t crc) {
  for (const std::uint8_t byte : bytes) crc = static_cast<std::uint16_t>((crc >> 8) ^ kTable[(crc ^ byte) & 0xFFu]);
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
