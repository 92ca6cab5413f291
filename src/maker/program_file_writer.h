#pragma once
// Writes one program file (IIII PPPP ".lpb", magic "LP"): the 48-byte header, the window table,
// the item records, the block table and the data blocks, then the checksum at offset 46
// (docs/formats.md, "Program files").
//
//   auto writer = CProgramFileWriter::Begin(folder / ProgramFileName(id, 0), header);
//   writer->AddNameBlock(nameBytes);           // block 0 when the program has a name
//   writer->AddBackgroundBlock(pages);         // the next block when it has a background
//   writer->AddWindow(window);
//   writer->AddItem(clockRecord);              // no block: index 0xFFFF
//   writer->AddItem(pagesRecord, pageBytes);   // with its block
//   const Expected<WrittenProgramFile> written = writer->Finish();
//
// The blocks of a large program never lie in memory together: each goes to a spill file beside
// the target as it is added (a name of this writer's own, platform/unique_file.h), and Finish
// copies them behind the tables. Finish writes beside the target too and renames the finished
// file over it, so a program file is either whole, with its checksum, or not there at all.
//
// Refusals (failures that change nothing): a 12th window (the header leaves room for 11), an item
// before any window, a name that is not the first block, a background after an item block or a
// second one, a block longer than 0xFFFFFF bytes (the 24-bit length field), a 65536th block (its
// index would be the "no block" 0xFFFF) or one that makes the header's block count field pass
// 0xFFFF, a window of more than 65535 items.
//
// A writer belongs to one thread at a time; writers of different files may run at once.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "maker/item_codes.h"
#include "platform/status.h"

namespace vantorel {

inline constexpr std::uint32_t kMaxBlockLength = 0xFFFFFF;  // the 24-bit length field
inline constexpr int kMaxProgramWindows = 11;               // room in the header's fixed space
inline constexpr std::size_t kProgramHeaderBytes = 48;
inline constexpr std::size_t kWindowRecordBytes = 16;
inline constexpr std::size_t kItemRecordBytes = 16;
inline constexpr std::size_t kBlockEntryBytes = 8;
inline constexpr std::size_t kChecksumOffset = 46;

struct ProgramFileHeader {
  std::uint16_t loopCount = 0;  // "LOOPCNT"
  std::uint16_t playTime = 0;   // "PLAYTIME"
  std::uint16_t screenWidth = 0;
  std::uint16_t screenHeight = 0;
  std::uint8_t colourMode = 0;
};

struct ProgramWindow {
  std::uint8_t waitType = 0;  // "WAITTYPE"
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t border = 0;    // "BORDER": byte 15 of every item record of the window
};

struct WrittenProgramFile {
  std::uint64_t bytes = 0;
  std::uint16_t checksum = 0;
};

class CProgramFileWriter {
public:
  // Nothing is created yet; the folder of `file` must exist.
  static Expected<CProgramFileWriter> Begin(const std::filesystem::path& file, const ProgramFileHeader& header);

  CProgramFileWriter(CProgramFileWriter&&) noexcept;
  CProgramFileWriter& operator=(CProgramFileWriter&&) noexcept;
  CProgramFileWriter(const CProgramFileWriter&) = delete;
  CProgramFileWriter& operator=(const CProgramFileWriter&) = delete;
  // Removes the spill file; a writer that did not finish leaves no program file behind.
  ~CProgramFileWriter();

  // Block type 2: the name and a terminating zero byte. Only as the first block.
  Status AddNameBlock(std::span<const std::uint8_t> nameBytesWithoutTerminator);
  // Block type 1: the background's picture pages. The header's background index becomes its block
  // index and its block count field starts at 2. Before any item block, once.
  Status AddBackgroundBlock(std::span<const std::uint8_t> picturePages);
  // A window of the program, numbered from 0 in the order added.
  Status AddWindow(const ProgramWindow& window);
  // An item record of the current (last added) window. Bytes 2-3 (the block index) and 15 (the
  // window's border) are filled in here. With data, the block (of type record[0]) takes the next
  // block index and the header's block count field grows by one.
  Status AddItem(const ItemRecordBytes& record);
  Status AddItem(const ItemRecordBytes& record, std::span<const std::uint8_t> blockData);

  // Writes the file in one pass (the header's offsets computed from the counts), closes it, reads
  // it back for the checksum in 102400-byte pieces and patches bytes 46-47. A failure (cannot
  // create, write or read back) leaves no file under the target's name and says why. The writer
  // is used up either way.
  Expected<WrittenProgramFile> Finish();

  int WindowCount() const;
  int ItemCount() const;
  // Every block of the block table (name, background and item blocks).
  int BlockCount() const;

private:
  struct State;
  explicit CProgramFileWriter(std::unique_ptr<State> state);
  Status AddBlock(std::uint8_t type, std::span<const std::uint8_t> first, std::span<const std::uint8_t> second);

  std::unique_ptr<State> m_state;
};

}  // namespace vantorel
