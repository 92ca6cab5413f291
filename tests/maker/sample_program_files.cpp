#include "sample_program_files.h"

#include <gtest/gtest.h>

#include "maker/block_decoders.h"
#include "maker/program_checksum.h"
#include "platform/byte_writer.h"
#include "support/test_files.h"

namespace vantorel::test {

ItemRecordBytes Record(std::uint8_t code, std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
  ItemRecordBytes record{};
  record[0] = code;
  for (const auto& [at, value] : bytes) record[at] = value;
  return record;
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> TextBlock(std::string_view text) {
  std::vector<std::uint8_t> block = Bytes(text);
  block.push_back(0);
  return block;
}

std::vector<std::uint8_t> PicturePagesBlock(std::uint16_t width, std::uint16_t height, std::uint8_t colourMode, int pages) {
  ByteWriter out;
  out.U16Le(width);
  out.U16Le(height);
  for (int plane = 0; plane < 3; ++plane) out.U16Le((colourMode & (1 << plane)) != 0 ? static_cast<std::uint16_t>(pages) : 0);
  const bool grey = (colourMode & 0x70) != 0;
  for (int page = 0; page < pages; ++page) {
    for (int plane = 0; plane < 3; ++plane) {
      if ((colourMode & (1 << plane)) == 0) continue;
      for (int y = 0; y < height; ++y) {
        std::vector<std::uint8_t> row(grey ? width : (width + 7) / 8, 0);
        for (int x = 0; x < width; ++x) {
          const bool lit = (x + 2 * y + page + plane) % 3 == 0;
          if (grey) row[static_cast<std::size_t>(x)] = lit ? static_cast<std::uint8_t>((x + y + page) * 37) : 0;
          else if (lit) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.Bytes(row);
      }
    }
  }
  return std::move(out).Take();
}

ProgramFileHeader SampleHeader() { return {1, 30, 64, 32, 0x03}; }

std::vector<std::uint8_t> WriteClockOnlyProgram(const std::filesystem::path& file) {
  auto writer = CProgramFileWriter::Begin(file, SampleHeader());
  EXPECT_TRUE(writer.ok());
  EXPECT_TRUE(writer->AddWindow({0, 0, 0, 64, 32, 2}));
  EXPECT_TRUE(writer->AddItem(Record(kCodeClock, {{4, 0x01}, {5, 0x02}, {6, 0x03}, {7, 0xFF}, {10, 10}})));
  EXPECT_TRUE(writer->Finish().ok());
  return ReadBytes(file);
}

std::vector<std::uint8_t> WriteFullProgram(const std::filesystem::path& file) {
  auto writer = CProgramFileWriter::Begin(file, SampleHeader());
  EXPECT_TRUE(writer.ok());
  EXPECT_TRUE(writer->AddNameBlock(Bytes("News")));
  EXPECT_TRUE(writer->AddBackgroundBlock(PicturePagesBlock(64, 32, 0x03, 1)));
  EXPECT_TRUE(writer->AddWindow({1, 0, 0, 32, 16, 0}));
  EXPECT_TRUE(writer->AddItem(Record(kCodePicturePages, {{4, 0x01}, {6, 4}, {8, 3}}), PicturePagesBlock(32, 16, 0x03, 2)));
  EXPECT_TRUE(writer->AddItem(Record(kCodeClock, {{7, 0xFF}})));
  EXPECT_TRUE(writer->AddWindow({0, -3, 16, 13, 16, 5}));
  EXPECT_TRUE(writer->AddItem(Record(kCodeClock, {{8, 0xFF}, {10, 5}}), TextBlock("%H:%M")));
  EXPECT_TRUE(writer->Finish().ok());
  return ReadBytes(file);
}

std::vector<std::uint8_t> Reseal(std::vector<std::uint8_t> file) {
  if (file.size() < 48) return file;
  file[46] = 0;
  file[47] = 0;
  StoreU16Le(std::span(file).subspan(46, 2), ProgramChecksum(file));
  return file;
}

}  // namespace vantorel::test
