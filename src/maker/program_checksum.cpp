#include "maker/program_checksum.h"

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

}  // namespace

// The most-significant-first table with the least-significant-first update: program files have
// always been summed so.
std::uint16_t ProgramChecksum(std::span<const std::uint8_t> bytes, std::uint16_t crc) {
  for (const std::uint8_t byte : bytes) crc = static_cast<std::uint16_t>((crc >> 8) ^ kCrc1021Table[(crc ^ byte) & 0xFFu]);
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
