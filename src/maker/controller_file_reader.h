#pragma once
// Reads every controller file back into plain structs: the playbill index (".lpp"), program files
// (".lpb"), the schedule file (".lpt"), program packs (".lpm") and the run schedule (".rsf"). It
// is independent of the writers and is what the inspector, the tests and the fuzz target use to
// see what exactly a file holds.
//
// Every reader is lenient: it reads whatever fits and lists what is wrong in `problems`, each
// naming the offset in the file ("offset 24: block table at 112, the counts give 96"). It fails
// only when the bytes are not that kind of file at all (too short for the header, another magic).
// FirstProblem turns the list into a failure. No reader ever reads outside the bytes given.
//
// Pure functions, safe on any thread.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "maker/item_codes.h"
#include "maker/playbill_index_file.h"
#include "maker/program_schedule_file.h"
#include "platform/status.h"

namespace vantorel {

struct FileProblem {
  std::size_t offset = 0;  // in the file
  std::string what;
};

// "offset 24: block table at 112, the counts give 96".
std::string ProblemText(const FileProblem& problem);
// Success without problems; otherwise kTextControllerFileDamaged naming the first one and how
// many more there are.
Status FirstProblem(std::span<const FileProblem> problems);

enum class ControllerFileKind { kUnknown, kPlaybillIndex, kProgramFile, kProgramSchedule, kProgramPack, kRunSchedule };

// By the magic: "LL", "LP", "LT", "RS" at the start, or the "lpm!" trailer of a pack (checked
// first: a pack starts with the magic of its first program file).
ControllerFileKind DetectControllerFile(std::span<const std::uint8_t> bytes);

// --- Playbill index ---

struct PlaybillIndexContents {
  std::array<std::uint8_t, 2> version{};
  std::uint16_t programCount = 0;
  PlaybillIndexHeader header;
  std::vector<PlaybillIndexEntry> entries;  // the name as stored, up to the first zero byte
  std::vector<FileProblem> problems;
};

Expected<PlaybillIndexContents> ReadPlaybillIndex(std::span<const std::uint8_t> bytes);

// --- Program file ---

struct ProgramWindowRecord {
  std::uint8_t number = 0;
  std::uint8_t waitType = 0;
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint16_t itemCount = 0;
  std::uint32_t firstItemOffset = 0;  // from the start of the item table
};

struct ProgramBlockEntry {
  std::uint8_t type = 0;
  std::uint32_t length = 0;
  std::uint32_t offset = 0;  // from the start of the data area
};

struct ProgramFileContents {
  std::array<std::uint8_t, 2> version{};
  std::uint16_t windowCount = 0;
  std::uint16_t blockCountField = 0;  // 2 with a background, plus 1 per item block
  std::uint16_t backgroundIndex = kNoBlock;
  std::uint16_t loopCount = 0;
  std::uint16_t playTime = 0;
  std::uint32_t windowTableOffset = 0;
  std::uint32_t itemTableOffset = 0;
  std::uint32_t blockTableOffset = 0;
  std::uint32_t dataAreaOffset = 0;
  std::uint16_t screenWidth = 0;
  std::uint16_t screenHeight = 0;
  std::uint8_t colourMode = 0;
  std::uint16_t storedChecksum = 0;
  std::uint16_t computedChecksum = 0;  // of the bytes with offsets 46-47 taken as zero

  std::vector<ProgramWindowRecord> windows;
  std::vector<ItemRecordBytes> items;  // the records of all windows, in file order
  std::vector<ProgramBlockEntry> blocks;
  std::vector<FileProblem> problems;

  bool ChecksumOk() const { return storedChecksum == computedChecksum; }
};

// Checks: magic and version, zero fields, every table offset against what the counts give, the
// window numbers and item ranges, the header's block count field and background index, every
// item's block index (in range, in item order, of the item's type), blocks inside the file and
// back to back without gaps up to its end, the name's terminator and the checksum.
Expected<ProgramFileContents> ReadProgramFile(std::span<const std::uint8_t> bytes);

// The bytes of block `index` of a file read by ReadProgramFile; empty when the block does not lie
// inside the file.
std::span<const std::uint8_t> ProgramBlockBytes(std::span<const std::uint8_t> file, const ProgramFileContents& contents,
                                                std::size_t index);

// --- Schedule file ---

struct ProgramScheduleContents {
  std::array<std::uint8_t, 2> version{};
  std::uint16_t recordCount = 0;
  std::vector<ProgramScheduleRecord> records;
  std::vector<FileProblem> problems;
};

Expected<ProgramScheduleContents> ReadProgramSchedule(std::span<const std::uint8_t> bytes);

// --- Program pack ---

struct PackedFile {
  std::uint32_t offset = 0;  // from the start of the pack
  std::uint32_t size = 0;
};

struct ProgramPackContents {
  std::uint32_t indexOffset = 0;  // of "idx4"
  std::uint16_t fileCount = 0;
  std::vector<PackedFile> files;  // those whose bytes lie before "idx4"
  std::vector<FileProblem> problems;
};

inline constexpr std::size_t kPackTrailerBytes = 16;

Expected<ProgramPackContents> ReadProgramPack(std::span<const std::uint8_t> bytes);

// --- Run schedule (".rsf", big-endian) ---

struct RunScheduleEntry {
  std::uint8_t typeByte = 0;  // type * 16 + 1
  std::uint8_t weekdayMask = 0;
  std::array<std::uint8_t, 3> startDate{};  // year modulo 100, month, day
  std::array<std::uint8_t, 3> endDate{};
  std::array<std::uint8_t, 3> startTime{};  // hour, minute, second
  std::array<std::uint8_t, 3> endTime{};
  std::string programs;  // "1" or "0" per program

  int Type() const { return typeByte >> 4; }
};

struct RunScheduleContents {
  std::uint16_t programCount = 0;
  std::uint16_t entryCount = 0;
  std::uint8_t attribute = 0;
  std::uint8_t programBytes = 0;  // as stored: (program count + 7) / 8
  std::vector<RunScheduleEntry> entries;
  std::vector<FileProblem> problems;
};

Expected<RunScheduleContents> ReadRunSchedule(std::span<const std::uint8_t> bytes);

}  // namespace vantorel
