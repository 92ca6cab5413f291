#include "maker/playbill_index_file.h"

#include <algorithm>

#include "app/text_ids.h"
#include "platform/atomic_file.h"
#include "platform/byte_writer.h"

namespace vantorel {

std::vector<std::uint8_t> PlaybillIndexBytes(const PlaybillIndexHeader& header, std::span<const PlaybillIndexEntry> entries) {
  const std::size_t count = std::min<std::size_t>(entries.size(), 0xFFFF);
  ByteWriter out(kPlaybillIndexHeaderBytes + kPlaybillIndexEntryBytes * count);
  out.Text("LL");
  out.U8(0x00);
  out.U8(0x01);
  out.U16Le(static_cast<std::uint16_t>(count));
  out.U16Le(header.width);
  out.U16Le(header.height);
  out.U8(header.colourMode);
  out.U8(header.rotation);
  out.Fill(4);
  for (const PlaybillIndexEntry& entry : entries.first(count)) {
    const std::string_view name = std::string_view(entry.fileName).substr(0, kIndexFileNameChars);
    out.Text(name);
    out.Fill(kIndexFileNameChars - name.size());
    out.U8(entry.windowsOrPosition);
    out.Fill(3);
  }
  return std::move(out).Take();
}

Status WritePlaybillIndex(const std::filesystem::path& file, const PlaybillIndexHeader& header,
                          std::span<const PlaybillIndexEntry> entries) {
  if (entries.size() > 0xFFFF) {
    return Status::Failure(kTextPlaybillIndexNotWritten, std::to_string(entries.size()) + " programs, at most 65535");
  }
  for (const PlaybillIndexEntry& entry : entries) {
    if (entry.fileName.size() != kIndexFileNameChars) {
      return Status::Failure(kTextPlaybillIndexNotWritten, "the file name \"" + entry.fileName + "\" is not 12 characters");
    }
  }
  return WriteFileAtomically(file, PlaybillIndexBytes(header, entries)).WithText(kTextPlaybillIndexNotWritten);
}

}  // namespace vantorel
