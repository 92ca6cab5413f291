#include "playbill/fxt_file.h"

#include <algorithm>
#include <vector>

#include "app/text_ids.h"
#include "platform/atomic_file.h"
#include "platform/byte_reader.h"
#include "platform/byte_writer.h"
#include "platform/legacy_text.h"

namespace vantorel {
namespace {

constexpr std::size_t kVersionBytes = 7;
constexpr std::size_t kHeaderBytes = 3;  // u16 count, u8 cell size

std::size_t CellBytesOf(std::uint8_t cellSizeByte) { return cellSizeByte == 6 ? 6 : 3; }

}  // namespace

Expected<RichTextBlock> ReadFxtFile(const std::filesystem::path& file, std::size_t bufferSize) {
  // The largest cell size bounds what is read; the version says how much of it counts.
  std::string content;
  const std::size_t mostBytes = kVersionBytes + RichTextBlock::CellCapacity(bufferSize, 3) * 3;
  if (Status read = ReadFileStart(file, mostBytes, content); !read) return read.WithText(kTextFxtOpenError);
  const std::string_view version = std::string_view(content).substr(0, kVersionBytes);
  std::size_t cellBytes = 0;
  if (version == kFxtVersion3) cellBytes = 3;
  if (version == kFxtVersion6) cellBytes = 6;
  if (cellBytes == 0) return Status::Failure(kTextFxtFormatIncorrect, file.string());
  if (bufferSize < kHeaderBytes + cellBytes) {
    return Status::Failure(kNoTextId, "an item buffer of " + std::to_string(bufferSize) + " bytes holds no cell");
  }

  const std::size_t available = (content.size() - kVersionBytes) / cellBytes;
  const std::size_t count = std::min(available, RichTextBlock::CellCapacity(bufferSize, cellBytes));
  ByteWriter out(kHeaderBytes + (count + 1) * cellBytes);
  out.U16Le(static_cast<std::uint16_t>(count));
  out.U8(static_cast<std::uint8_t>(cellBytes));
  out.Text(std::string_view(content).substr(kVersionBytes, count * cellBytes));
  out.Fill(cellBytes);  // the terminating cell
  std::optional<RichTextBlock> block = RichTextBlock::FromBytes(out.View());
  if (!block) return Status::Failure(kTextFxtOpenError, file.string() + ": out of memory");
  return std::move(*block);
}

Status WriteFxtFile(const std::filesystem::path& file, const RichTextBlock& block) {
  const std::span<const std::uint8_t> bytes = block.Bytes();
  if (bytes.size() < kHeaderBytes) return Status::Failure(kTextFxtNoText, file.string());
  ByteReader in(bytes);
  const std::size_t declared = in.U16Le();
  const std::size_t cellBytes = CellBytesOf(in.U8());
  const std::size_t held = (bytes.size() - kHeaderBytes) / cellBytes;
  std::size_t count = 0;
  // The lead and trail bytes are the last two of a cell in both sizes; code 0 ends the text.
  while (count < std::min(declared, held)) {
    const std::size_t code = kHeaderBytes + count * cellBytes + cellBytes - 2;
    if (bytes[code] == 0 && bytes[code + 1] == 0) break;
    ++count;
  }
  if (count == 0) return Status::Failure(kTextFxtNoText, file.string());

  ByteWriter out(kVersionBytes + count * cellBytes);
  out.Text(cellBytes == 6 ? kFxtVersion6 : kFxtVersion3);
  out.Bytes(bytes.subspan(kHeaderBytes, count * cellBytes));
  return WriteFileAtomically(file, out.View()).WithText(kTextFxtCreateError);
}

Expected<std::string> ReadEditorTextFile(const std::filesystem::path& file) {
  std::string content;
  if (Status read = ReadFileStart(file, kEditorTextFileBytes, content); !read) return read.WithText(kTextFxtOpenError);
  if (!IsValidUtf8(content)) {
    // A UTF-8 character cut at the limit: the text up to it is still UTF-8.
    for (std::size_t cut = 1; cut <= 3 && cut < content.size(); ++cut) {
      const std::string_view whole = std::string_view(content).substr(0, content.size() - cut);
      if (IsValidUtf8(whole)) return std::string(whole);
    }
  }
  return ToUtf8(content);
}

}  // namespace vantorel
