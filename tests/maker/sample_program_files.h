#pragma once
// Small program files of the kinds the data maker writes, made with CProgramFileWriter, and the
// blocks they carry; shared by the tests of the writers, the reader and the inspector.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "maker/program_file_writer.h"

namespace vantorel::test {

// Bytes 0 (code) and the given (offset, value) pairs; the rest zero.
ItemRecordBytes Record(std::uint8_t code, std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes = {});
std::vector<std::uint8_t> Bytes(std::string_view text);
// The text and its terminating zero, as clock and counter blocks hold it.
std::vector<std::uint8_t> TextBlock(std::string_view text);
// Picture pages of `pages` pages for `colourMode`: pixel (x, y) of page p is lit in plane c (0 red,
// 1 green, 2 blue), or has the grey value (x + y + p) * 37 there, when (x + 2y + p + c) % 3 == 0.
std::vector<std::uint8_t> PicturePagesBlock(std::uint16_t width, std::uint16_t height, std::uint8_t colourMode, int pages);

// A 64x32 screen of colour mode 0x03 (red and green, one bit a pixel).
ProgramFileHeader SampleHeader();

// No name, no background, one window with a clock item whose text is empty (no block).
std::vector<std::uint8_t> WriteClockOnlyProgram(const std::filesystem::path& file);
// Name "News", a background (block 1), two windows: a picture-pages item with its block, a clock
// without block, and a clock with its text "%H:%M".
std::vector<std::uint8_t> WriteFullProgram(const std::filesystem::path& file);

// The same bytes with the checksum at offset 46 made right again.
std::vector<std::uint8_t> Reseal(std::vector<std::uint8_t> file);

}  // namespace vantorel::test
