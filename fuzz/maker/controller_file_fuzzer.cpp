// Controller files come back from other machines, removable media and users' folders to the
// inspector. Whatever they hold, every reader and block decoder stays inside the bytes, hands out
// only blocks and packed files that lie in the file, allocates no more pictures than the block's
// bytes can describe, and what reads without a problem is exactly what the writers make.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "maker/block_decoders.h"
#include "maker/controller_file_reader.h"
#include "maker/item_record_fields.h"
#include "maker/playbill_index_file.h"
#include "maker/program_schedule_file.h"

namespace {

using namespace vantorel;
using Bytes = std::span<const std::uint8_t>;

void Check(bool condition) {
  if (!condition) std::abort();
}

bool Inside(Bytes part, Bytes whole) {
  return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

// A picture of w x h takes at least w x h / 8 bytes of the block.
void CheckPictureBound(const QImage& picture, std::size_t blockBytes) {
  const std::uint64_t pixels = static_cast<std::uint64_t>(picture.width()) * static_cast<std::uint64_t>(picture.height());
  Check(pixels <= 8 * static_cast<std::uint64_t>(blockBytes) + 64);
}

void DecodeBlock(Bytes block, std::uint8_t type, std::uint8_t colourMode) {
  switch (type) {
    case 1:
      if (const auto pages = DecodePicturePages(block, colourMode)) {
        std::uint64_t pixels = 0;
        for (const QImage& page : pages->pages) {
          Check(page.width() == pages->width && page.height() == pages->height);
          pixels += static_cast<std::uint64_t>(page.width()) * static_cast<std::uint64_t>(page.height());
        }
        Check(pixels <= 8 * static_cast<std::uint64_t>(block.size()));
      }
      break;
    case 4:
      if (const auto frames = DecodeAnimationFrames(block)) {
        for (const DecodedFrame& frame : *frames) CheckPictureBound(frame.picture, block.size());
      }
      break;
    case 3:
      if (const auto cells = DecodeCellText(block)) Check(cells->cells.size() <= block.size() / 3);
      break;
    default: (void)TerminatedText(block); break;
  }
}

void Program(Bytes bytes) {
  const auto file = ReadProgramFile(bytes);
  if (!file) return;
  for (const ItemRecordBytes& item : file->items) (void)ItemRecordFields(item);
  std::uint64_t blockBytes = 0;
  for (std::size_t i = 0; i < file->blocks.size(); ++i) {
    const Bytes block = ProgramBlockBytes(bytes, *file, i);
    Check(Inside(block, bytes));
    if (!block.empty()) Check(block.size() == file->blocks[i].length);
    DecodeBlock(block, file->blocks[i].type, file->colourMode);
    blockBytes += file->blocks[i].length;
  }
  if (!file->problems.empty()) return;
  // A file without problems is laid out exactly as the writer lays it out.
  Check(file->ChecksumOk());
  Check(file->windowTableOffset == 48);
  Check(file->itemTableOffset == 48 + 16 * file->windows.size());
  Check(file->blockTableOffset == file->itemTableOffset + 16 * file->items.size());
  Check(file->dataAreaOffset == file->blockTableOffset + 8 * file->blocks.size());
  Check(file->dataAreaOffset + blockBytes == bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Bytes bytes(data, size);
  (void)DetectControllerFile(bytes);

  if (const auto index = ReadPlaybillIndex(bytes)) {
    Check(index->entries.size() <= index->programCount);
    if (index->problems.empty()) {
      const auto again = PlaybillIndexBytes(index->header, index->entries);
      // Names are read up to a zero byte; one that holds zero bytes inside differs only there.
      Check(again.size() == bytes.size());
    }
  }
  Program(bytes);
  if (const auto schedule = ReadProgramSchedule(bytes)) {
    Check(schedule->records.size() <= schedule->recordCount);
    if (schedule->problems.empty()) {
      const auto again = ProgramScheduleBytes(schedule->records);
      Check(Bytes(again).size() == bytes.size() && std::equal(again.begin(), again.end(), bytes.begin()));
    }
  }
  if (const auto pack = ReadProgramPack(bytes)) {
    for (const PackedFile& file : pack->files) {
      Check(std::uint64_t{file.offset} + file.size <= pack->indexOffset && pack->indexOffset <= size);
      Program(bytes.subspan(file.offset, file.size));
    }
  }
  if (const auto schedule = ReadRunSchedule(bytes)) {
    Check(schedule->entries.size() <= schedule->entryCount);
    for (const RunScheduleEntry& entry : schedule->entries) Check(entry.programs.size() == schedule->programCount);
  }
  // The decoders on the bytes themselves: the first byte as the colour mode.
  if (size > 0) {
    DecodeBlock(bytes.subspan(1), 1, data[0]);
    DecodeBlock(bytes.subspan(1), data[0] & 7, data[0]);
  }
  DecodeBlock(bytes, 4, 0);
  return 0;
}
