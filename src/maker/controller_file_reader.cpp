#include "maker/controller_file_reader.h"

#include <algorithm>
#include <cstdio>

#include "app/text_ids.h"
#include "maker/program_checksum.h"
#include "maker/program_file_writer.h"
#include "platform/byte_reader.h"
#include "platform/saturating.h"

namespace vantorel {
namespace {

constexpr std::array<std::uint8_t, 2> kVersion{0x00, 0x01};
constexpr std::array<std::uint8_t, 4> kRunScheduleMagic{0x52, 0x53, 0x01, 0x00};
constexpr std::array<std::uint8_t, 4> kRunScheduleFixed{0x00, 0x10, 0x00, 0x00};
constexpr std::size_t kRunScheduleHeaderBytes = 16;
constexpr std::size_t kRunScheduleEntryBytes = 14;

std::string Hex(unsigned value, int digits = 4) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

// Records what is wrong, by offset.
class Problems {
public:
  explicit Problems(std::vector<FileProblem>& list) : m_list(list) {}
  void Add(std::size_t offset, std::string what) { m_list.push_back({offset, std::move(what)}); }
  void Zero(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t count) {
    const auto field = bytes.subspan(offset, count);
    if (std::any_of(field.begin(), field.end(), [](std::uint8_t b) { return b != 0; })) {
      Add(offset, std::to_string(count) + (count == 1 ? " byte" : " bytes") + " that should be zero");
    }
  }
  void Version(std::span<const std::uint8_t> bytes) {
    if (bytes[2] != kVersion[0] || bytes[3] != kVersion[1]) {
      Add(2, "version " + std::to_string(bytes[2]) + "." + std::to_string(bytes[3]) + ", expected 0.1");
    }
  }
  // A file whose size is not what its counts give.
  void Size(std::size_t actual, std::size_t expected) {
    if (actual < expected) Add(actual, "the file ends after " + std::to_string(actual) + " bytes, its counts give " + std::to_string(expected));
    if (actual > expected) Add(expected, std::to_string(actual - expected) + " bytes after the end its counts give");
  }

private:
  std::vector<FileProblem>& m_list;
};

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view magic) {
  return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

Status NotA(std::string_view what, std::span<const std::uint8_t> bytes, std::size_t headerBytes) {
  if (bytes.size() < headerBytes) {
    return Status::Failure(kTextNotAControllerFile, std::string(what) + ": " + std::to_string(bytes.size()) +
                                                        " bytes, the header alone takes " + std::to_string(headerBytes));
  }
  return Status::Failure(kTextNotAControllerFile, std::string(what) + ": another magic at offset 0");
}

std::array<std::uint8_t, 2> VersionOf(std::span<const std::uint8_t> bytes) { return {bytes[2], bytes[3]}; }

// The first `count` records of `size` bytes from `offset` that fit, read by `read`.
template <typename Read>
void ReadTable(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t count, std::size_t size,
               std::size_t headerField, const char* name, Problems& problems, Read read) {
  const std::size_t available = offset <= bytes.size() ? (bytes.size() - offset) / size : 0;
  if (available < count) {
    problems.Add(headerField, std::string(name) + " of " + std::to_string(count) + " at " + std::to_string(offset) +
                                  " passes the end of the file (" + std::to_string(bytes.size()) + " bytes)");
  }
  for (std::size_t i = 0; i < std::min(count, available); ++i) {
    ByteReader in(bytes.subspan(offset + i * size, size));
    read(in, offset + i * size);
  }
}

void CheckWindows(const ProgramFileContents& file, Problems& problems) {
  std::uint32_t next = 0;  // the item record the next window starts at
  for (std::size_t i = 0; i < file.windows.size(); ++i) {
    const ProgramWindowRecord& window = file.windows[i];
    const std::size_t at = file.windowTableOffset + i * kWindowRecordBytes;
    if (window.number != i) problems.Add(at, "window " + std::to_string(i) + " is numbered " + std::to_string(window.number));
    const std::uint64_t expected = static_cast<std::uint64_t>(next) * kItemRecordBytes;
    if (window.firstItemOffset != expected) {
      problems.Add(at + 12, "window " + std::to_string(i) + " starts at item offset " + std::to_string(window.firstItemOffset) +
                                ", expected " + std::to_string(expected));
    }
    next = SaturatingAdd<std::uint32_t>(next, window.itemCount);
  }
}

// Item blocks follow the name and the background, one per item that has one, in item order.
void CheckItemBlocks(const ProgramFileContents& file, bool hasName, Problems& problems) {
  std::size_t expected = (hasName ? 1u : 0u) + (file.backgroundIndex != kNoBlock ? 1u : 0u);
  for (std::size_t i = 0; i < file.items.size(); ++i) {
    const ItemRecordBytes& record = file.items[i];
    const std::uint16_t index = ReadU16Le(std::span(record).subspan(2, 2));
    if (index == kNoBlock) continue;
    const std::size_t at = file.itemTableOffset + i * kItemRecordBytes + 2;
    if (index >= file.blocks.size()) {
      problems.Add(at, "item " + std::to_string(i) + " names block " + std::to_string(index) + ", the file has " +
                           std::to_string(file.blocks.size()));
    } else {
      if (index != expected) {
        problems.Add(at, "item " + std::to_string(i) + " names block " + std::to_string(index) + ", expected " +
                             std::to_string(expected));
      }
      if (file.blocks[index].type != record[0]) {
        problems.Add(file.blockTableOffset + index * kBlockEntryBytes + 3,
                     "block " + std::to_string(index) + " has type " + std::to_string(file.blocks[index].type) + ", its item (" +
                         std::to_string(i) + ") has code " + std::to_string(record[0]));
      }
    }
    ++expected;
  }
}

void CheckBlockPlaces(std::span<const std::uint8_t> bytes, const ProgramFileContents& file, Problems& problems) {
  std::uint64_t next = 0;  // from the start of the data area
  for (std::size_t i = 0; i < file.blocks.size(); ++i) {
    const ProgramBlockEntry& block = file.blocks[i];
    const std::size_t at = file.blockTableOffset + i * kBlockEntryBytes;
    if (block.offset != next) {
      problems.Add(at + 4, "block " + std::to_string(i) + " at " + std::to_string(block.offset) + ", expected " + std::to_string(next) +
                               (block.offset > next ? " (a gap before it)" : " (it overlaps the one before)"));
    }
    const std::uint64_t end = static_cast<std::uint64_t>(file.dataAreaOffset) + block.offset + block.length;
    if (end > bytes.size()) {
      problems.Add(at, "block " + std::to_string(i) + " (" + std::to_string(block.length) + " bytes at " +
                           std::to_string(file.dataAreaOffset + static_cast<std::uint64_t>(block.offset)) +
                           ") passes the end of the file (" + std::to_string(bytes.size()) + " bytes)");
    }
    next = static_cast<std::uint64_t>(block.offset) + block.length;
  }
  const std::uint64_t end = file.dataAreaOffset + next;
  if (end < bytes.size()) problems.Add(end, std::to_string(bytes.size() - end) + " bytes after the last block");
}

}  // namespace

std::string ProblemText(const FileProblem& problem) { return "offset " + std::to_string(problem.offset) + ": " + problem.what; }

Status FirstProblem(std::span<const FileProblem> problems) {
  if (problems.empty()) return Status::Ok();
  std::string detail = ProblemText(problems.front());
  if (problems.size() > 1) detail += " (and " + std::to_string(problems.size() - 1) + " more)";
  return Status::Failure(kTextControllerFileDamaged, detail);
}

ControllerFileKind DetectControllerFile(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= kPackTrailerBytes && StartsWith(bytes.last(kPackTrailerBytes), "lpm!")) return ControllerFileKind::kProgramPack;
  if (StartsWith(bytes, "LL")) return ControllerFileKind::kPlaybillIndex;
  if (StartsWith(bytes, "LP")) return ControllerFileKind::kProgramFile;
  if (StartsWith(bytes, "LT")) return ControllerFileKind::kProgramSchedule;
  if (StartsWith(bytes, "RS")) return ControllerFileKind::kRunSchedule;
  return ControllerFileKind::kUnknown;
}

Expected<PlaybillIndexContents> ReadPlaybillIndex(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kPlaybillIndexHeaderBytes || !StartsWith(bytes, "LL")) {
    return NotA("playbill index", bytes, kPlaybillIndexHeaderBytes);
  }
  PlaybillIndexContents index;
  Problems problems(index.problems);
  ByteReader in(bytes);
  in.Skip(2);
  index.version = VersionOf(bytes);
  in.Skip(2);
  problems.Version(bytes);
  index.programCount = in.U16Le();
  index.header.width = in.U16Le();
  index.header.height = in.U16Le();
  index.header.colourMode = in.U8();
  index.header.rotation = in.U8();
  problems.Zero(bytes, 12, 4);
  ReadTable(bytes, kPlaybillIndexHeaderBytes, index.programCount, kPlaybillIndexEntryBytes, 4, "the program list",
            problems, [&](ByteReader& entry, std::size_t at) {
              const auto name = entry.Bytes(kIndexFileNameChars);
              const auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
              index.entries.push_back({std::string(name.begin(), end), entry.U8()});
              problems.Zero(bytes, at + 13, 3);
            });
  if (index.entries.size() == index.programCount) {
    problems.Size(bytes.size(), kPlaybillIndexHeaderBytes + kPlaybillIndexEntryBytes * index.programCount);
  }
  return index;
}

Expected<ProgramFileContents> ReadProgramFile(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kProgramHeaderBytes || !StartsWith(bytes, "LP")) return NotA("program file", bytes, kProgramHeaderBytes);
  ProgramFileContents file;
  Problems problems(file.problems);
  ByteReader in(bytes);
  in.Skip(2);
  file.version = VersionOf(bytes);
  problems.Version(bytes);
  in.Skip(2);
  file.windowCount = in.U16Le();
  file.blockCountField = in.U16Le();
  file.backgroundIndex = in.U16Le();
  in.Skip(2);
  problems.Zero(bytes, 10, 2);
  file.loopCount = in.U16Le();
  file.playTime = in.U16Le();
  file.windowTableOffset = in.U32Le();
  file.itemTableOffset = in.U32Le();
  file.blockTableOffset = in.U32Le();
  file.dataAreaOffset = in.U32Le();
  in.Skip(8);
  problems.Zero(bytes, 32, 8);
  file.screenWidth = in.U16Le();
  file.screenHeight = in.U16Le();
  file.colourMode = in.U8();
  in.Skip(1);
  problems.Zero(bytes, 45, 1);
  file.storedChecksum = in.U16Le();

  // The tables, where the header puts them.
  const auto expectOffset = [&problems](std::size_t field, const char* name, std::uint64_t actual, std::uint64_t expected) {
    if (actual != expected) {
      problems.Add(field, std::string(name) + " at " + std::to_string(actual) + ", the counts give " + std::to_string(expected));
    }
  };
  expectOffset(16, "window table", file.windowTableOffset, kProgramHeaderBytes);
  expectOffset(20, "item table", file.itemTableOffset, kProgramHeaderBytes + kWindowRecordBytes * file.windowCount);
  if (file.windowCount > kMaxProgramWindows) {
    problems.Add(4, std::to_string(file.windowCount) + " windows, the header has room for " + std::to_string(kMaxProgramWindows));
  }
  ReadTable(bytes, file.windowTableOffset, file.windowCount, kWindowRecordBytes, 16, "the window table", problems,
            [&](ByteReader& record, std::size_t) {
              ProgramWindowRecord window;
              window.number = record.U8();
              window.waitType = record.U8();
              window.left = record.I16Le();
              window.top = record.I16Le();
              window.width = record.U16Le();
              window.height = record.U16Le();
              window.itemCount = record.U16Le();
              window.firstItemOffset = record.U32Le();
              file.windows.push_back(window);
            });
  CheckWindows(file, problems);

  std::uint64_t itemCount = 0;
  for (const ProgramWindowRecord& window : file.windows) itemCount += window.itemCount;
  expectOffset(24, "block table", file.blockTableOffset, file.itemTableOffset + kItemRecordBytes * itemCount);
  ReadTable(bytes, file.itemTableOffset, static_cast<std::size_t>(itemCount), kItemRecordBytes, 20, "the item table", problems,
            [&](ByteReader& record, std::size_t) {
              ItemRecordBytes item{};
              const auto raw = record.Bytes(kItemRecordBytes);
              std::copy(raw.begin(), raw.end(), item.begin());
              file.items.push_back(item);
            });

  // The block table holds every block; the data area starts right after it.
  std::size_t blockCount = 0;
  if (file.dataAreaOffset >= file.blockTableOffset) blockCount = (file.dataAreaOffset - file.blockTableOffset) / kBlockEntryBytes;
  if (file.dataAreaOffset < file.blockTableOffset || (file.dataAreaOffset - file.blockTableOffset) % kBlockEntryBytes != 0) {
    problems.Add(28, "data area at " + std::to_string(file.dataAreaOffset) + ", not block table offset " +
                         std::to_string(file.blockTableOffset) + " + 8 x a number of blocks");
  }
  // Entries that cannot lie in the file are not looked for.
  blockCount = std::min(blockCount, bytes.size() / kBlockEntryBytes + 1);
  ReadTable(bytes, file.blockTableOffset, blockCount, kBlockEntryBytes, 24, "the block table", problems,
            [&](ByteReader& entry, std::size_t) {
              const std::uint32_t typeAndLength = entry.U32Le();
              const std::uint32_t offset = entry.U32Le();
              file.blocks.push_back({static_cast<std::uint8_t>(typeAndLength >> 24), typeAndLength & kMaxBlockLength, offset});
            });

  std::size_t itemBlocks = 0;
  for (const ItemRecordBytes& item : file.items) itemBlocks += ReadU16Le(std::span(item).subspan(2, 2)) != kNoBlock ? 1 : 0;
  const bool hasBackground = file.backgroundIndex != kNoBlock;
  const bool hasName = !file.blocks.empty() && file.blocks[0].type == kCodeProgramName;
  const std::size_t expectedField = (hasBackground ? 2 : 0) + itemBlocks;
  if (file.blockCountField != expectedField) {
    problems.Add(6, "block count field " + std::to_string(file.blockCountField) + ", the items and background give " +
                        std::to_string(expectedField));
  }
  const std::size_t expectedBlocks = (hasName ? 1 : 0) + (hasBackground ? 1 : 0) + itemBlocks;
  if (file.blocks.size() != expectedBlocks) {
    problems.Add(28, std::to_string(file.blocks.size()) + " blocks between the block table and the data area, the counts give " +
                         std::to_string(expectedBlocks));
  }
  if (hasBackground) {
    const std::size_t expected = hasName ? 1 : 0;
    if (file.backgroundIndex != expected) {
      problems.Add(8, "background block " + std::to_string(file.backgroundIndex) + ", expected " + std::to_string(expected));
    } else if (file.backgroundIndex >= file.blocks.size() || file.blocks[file.backgroundIndex].type != kCodePicturePages) {
      problems.Add(8, "background block " + std::to_string(file.backgroundIndex) + " is no picture-pages block");
    }
  }
  CheckItemBlocks(file, hasName, problems);
  if (file.dataAreaOffset > bytes.size()) {
    problems.Add(28, "data area at " + std::to_string(file.dataAreaOffset) + ", past the end of the file (" +
                         std::to_string(bytes.size()) + " bytes)");
  } else {
    CheckBlockPlaces(bytes, file, problems);
  }
  if (hasName) {
    const auto name = ProgramBlockBytes(bytes, file, 0);
    if (name.empty() || name.back() != 0) {
      problems.Add(file.dataAreaOffset + static_cast<std::size_t>(file.blocks[0].offset), "the program name has no terminating zero");
    }
  }

  static constexpr std::array<std::uint8_t, 2> kZero{};
  std::uint16_t crc = ProgramChecksum(bytes.first(kChecksumOffset));
  crc = ProgramChecksum(kZero, crc);
  file.computedChecksum = ProgramChecksum(bytes.subspan(kChecksumOffset + 2), crc);
  if (!file.ChecksumOk()) {
    problems.Add(kChecksumOffset, "checksum " + Hex(file.storedChecksum) + ", the bytes give " + Hex(file.computedChecksum));
  }
  std::stable_sort(file.problems.begin(), file.problems.end(),
                   [](const FileProblem& a, const FileProblem& b) { return a.offset < b.offset; });
  return file;
}

std::span<const std::uint8_t> ProgramBlockBytes(std::span<const std::uint8_t> file, const ProgramFileContents& contents,
                                                std::size_t index) {
  if (index >= contents.blocks.size()) return {};
  const ProgramBlockEntry& block = contents.blocks[index];
  const std::uint64_t start = static_cast<std::uint64_t>(contents.dataAreaOffset) + block.offset;
  if (start > file.size() || block.length > file.size() - start) return {};
  return file.subspan(static_cast<std::size_t>(start), block.length);
}

Expected<ProgramScheduleContents> ReadProgramSchedule(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kScheduleHeaderBytes || !StartsWith(bytes, "LT")) return NotA("schedule file", bytes, kScheduleHeaderBytes);
  ProgramScheduleContents schedule;
  Problems problems(schedule.problems);
  schedule.version = VersionOf(bytes);
  problems.Version(bytes);
  schedule.recordCount = ReadU16Le(bytes.subspan(4, 2));
  problems.Zero(bytes, 6, 1);
  ReadTable(bytes, kScheduleHeaderBytes, schedule.recordCount, kScheduleRecordBytes, 4, "the records", problems,
            [&](ByteReader& in, std::size_t at) {
              ProgramScheduleRecord record;
              record.program = in.U16Le();
              record.timeSch[0] = in.U8();
              in.Skip(1);
              problems.Zero(bytes, at + 3, 1);
              record.timeSch[1] = in.U16Le();
              record.timeSch[2] = in.U8();
              schedule.records.push_back(record);
            });
  if (schedule.records.size() == schedule.recordCount) {
    problems.Size(bytes.size(), kScheduleHeaderBytes + kScheduleRecordBytes * schedule.recordCount);
  }
  return schedule;
}

Expected<ProgramPackContents> ReadProgramPack(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kPackTrailerBytes || !StartsWith(bytes.last(kPackTrailerBytes), "lpm!")) {
    if (bytes.size() < kPackTrailerBytes) return NotA("program pack", bytes, kPackTrailerBytes);
    return Status::Failure(kTextNotAControllerFile, "program pack: no \"lpm!\" at offset " + std::to_string(bytes.size() - kPackTrailerBytes));
  }
  ProgramPackContents pack;
  Problems problems(pack.problems);
  const std::size_t trailer = bytes.size() - kPackTrailerBytes;
  ByteReader in(bytes.subspan(trailer + 4));
  pack.indexOffset = in.U32Le();
  pack.fileCount = in.U16Le();
  problems.Zero(bytes, trailer + 10, 6);

  const std::uint64_t tableEnd = static_cast<std::uint64_t>(pack.indexOffset) + 4 + 4 * (static_cast<std::uint64_t>(pack.fileCount) + 1);
  if (tableEnd != trailer) {
    problems.Add(trailer + 4, "\"idx4\" at " + std::to_string(pack.indexOffset) + " with " + std::to_string(pack.fileCount) +
                                  " files ends at " + std::to_string(tableEnd) + ", the trailer starts at " + std::to_string(trailer));
  }
  if (pack.indexOffset > trailer || trailer - pack.indexOffset < 4 || !StartsWith(bytes.subspan(pack.indexOffset), "idx4")) {
    problems.Add(trailer + 4, "no \"idx4\" at " + std::to_string(pack.indexOffset));
    return pack;
  }
  // The offsets that lie before the trailer: one per file, then the offset of "idx4".
  const std::size_t tableStart = pack.indexOffset + 4;
  const std::size_t available = (trailer - tableStart) / 4;
  const std::size_t wanted = static_cast<std::size_t>(pack.fileCount) + 1;
  std::vector<std::uint32_t> offsets;
  ByteReader table(bytes.subspan(tableStart, std::min(available, wanted) * 4));
  while (!table.AtEnd()) offsets.push_back(table.U32Le());
  if (offsets.size() < wanted) return pack;  // already named by the table's end
  if (offsets.front() != 0) problems.Add(tableStart, "the first file at " + std::to_string(offsets.front()) + ", expected 0");
  if (offsets.back() != pack.indexOffset) {
    problems.Add(tableStart + 4 * pack.fileCount, "the table ends with " + std::to_string(offsets.back()) + ", the offset of \"idx4\" is " +
                                                      std::to_string(pack.indexOffset));
  }
  for (std::size_t i = 0; i < pack.fileCount; ++i) {
    const std::uint32_t start = offsets[i];
    const std::uint32_t end = offsets[i + 1];
    if (end < start || end > pack.indexOffset) {
      problems.Add(tableStart + 4 * (i + 1), "file " + std::to_string(i) + " from " + std::to_string(start) + " to " + std::to_string(end) +
                                                 " does not lie before \"idx4\"");
      continue;
    }
    pack.files.push_back({start, end - start});
  }
  return pack;
}

Expected<RunScheduleContents> ReadRunSchedule(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kRunScheduleHeaderBytes || !StartsWith(bytes, "RS")) return NotA("run schedule", bytes, kRunScheduleHeaderBytes);
  RunScheduleContents schedule;
  Problems problems(schedule.problems);
  if (!std::equal(kRunScheduleMagic.begin(), kRunScheduleMagic.end(), bytes.begin())) problems.Add(2, "version bytes other than 01 00");
  ByteReader in(bytes.subspan(4));
  schedule.programCount = in.U16Be();
  schedule.entryCount = in.U16Be();
  if (!std::equal(kRunScheduleFixed.begin(), kRunScheduleFixed.end(), bytes.begin() + 8)) problems.Add(8, "other bytes than 00 10 00 00");
  in.Skip(4);
  schedule.attribute = in.U8();
  schedule.programBytes = in.U8();
  problems.Zero(bytes, 14, 2);
  const std::size_t programBytes = (static_cast<std::size_t>(schedule.programCount) + 7) / 8;
  if (schedule.programBytes != (programBytes & 0xFF)) {
    problems.Add(13, std::to_string(schedule.programBytes) + " bytes of program bits, " + std::to_string(schedule.programCount) +
                         " programs take " + std::to_string(programBytes));
  }
  ReadTable(bytes, kRunScheduleHeaderBytes, schedule.entryCount, kRunScheduleEntryBytes + programBytes, 6, "the entries", problems,
            [&](ByteReader& record, std::size_t at) {
              RunScheduleEntry entry;
              entry.typeByte = record.U8();
              if ((entry.typeByte & 0x0F) != 1) problems.Add(at, "entry type byte " + Hex(entry.typeByte, 2) + ", not type x 16 + 1");
              entry.weekdayMask = record.U8();
              for (auto* part : {&entry.startDate, &entry.endDate, &entry.startTime, &entry.endTime}) {
                for (std::uint8_t& value : *part) value = record.U8();
              }
              const auto bits = record.Bytes(programBytes);
              entry.programs.reserve(schedule.programCount);
              for (std::size_t j = 0; j < schedule.programCount; ++j) {
                entry.programs += (bits[j / 8] & (0x80u >> (j % 8))) != 0 ? '1' : '0';
              }
              schedule.entries.push_back(std::move(entry));
            });
  if (schedule.entries.size() == schedule.entryCount) {
    problems.Size(bytes.size(), kRunScheduleHeaderBytes + (kRunScheduleEntryBytes + programBytes) * schedule.entryCount);
  }
  return schedule;
}

}  // namespace vantorel
