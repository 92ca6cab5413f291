#include "render/ovf_header.h"

#include <algorithm>

#include "app/text_ids.h"
#include "platform/byte_reader.h"
#include "platform/legacy_text.h"

namespace vantorel {
namespace {

Status Damaged(const std::string& why) { return Status::Failure(kTextFontFileDamaged, why); }

}  // namespace

Expected<OvfFaceRecord> ParseOvfFaceRecord(std::span<const std::uint8_t> file) {
  ByteReader in(file);
  OvfFaceRecord record;
  const auto magic = in.Bytes(4);
  const std::uint8_t range = in.U8();
  in.Skip(11);
  record.isFont = in.U16Be() != 0;
  record.faceOffset = in.U32Be();
  if (!in.ok()) return Damaged("header: " + in.Where());
  record.hasMagic = std::equal(magic.begin(), magic.end(), "OVWM");
  record.glyphCount = range == 1 ? 224 : 96;

  // The name and the size mask must lie inside the file.
  ByteReader face(file);
  face.Seek(record.faceOffset);
  const auto name = face.Bytes(16);
  record.sizeMask = face.U16Be();
  if (!face.ok()) return Damaged("face record: " + face.Where());
  const auto nameEnd = std::find(name.begin(), name.end(), std::uint8_t{0});
  record.name = ToUtf8(std::string(name.begin(), nameEnd));
  return record;
}

Expected<OvfFaceRecord> UsableOvfFace(std::span<const std::uint8_t> file) {
  if (file.size() < kOvfMinimumSize) {
    return Damaged(std::to_string(file.size()) + " bytes, fewer than " + std::to_string(kOvfMinimumSize));
  }
  auto record = ParseOvfFaceRecord(file);
  if (!record) return record;
  if (!record->hasMagic) return Damaged("no \"OVWM\" at offset 0");
  if (!record->isFont) return Damaged("zero at offset 16");
  if ((record->sizeMask & 0xFF) == 0) return Damaged("no size in the mask at offset " + std::to_string(record->faceOffset + 16));
  const std::uint64_t firstBlockEnd =
      std::uint64_t{record->faceOffset} + 18 + static_cast<std::uint64_t>(record->glyphCount);
  if (firstBlockEnd > file.size()) return Damaged("width table past the end, offset " + std::to_string(firstBlockEnd));
  return record;
}

}  // namespace vantorel
