#pragma once
// The fields of a 16-byte item record, by its type code (docs/formats.md, "Item records"): what
// the inspector prints and what tests look up by name ("effect", "speed", "stay" ...). Bytes 2-3
// (block index) and 15 (border) are the same for every code; a code without a layout of its own
// gives its bytes 1 and 4-14 one by one.
//
// Pure functions, safe on any thread.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "maker/item_codes.h"

namespace vantorel {

enum class FieldStyle {
  kNumber,
  kHex,
  kColour,  // 0xRRGGBB
  kDate,    // (year x 16 + month) x 32 + day
  kTime,    // hour x 2048 + minute x 32 + second / 2
};

struct ItemField {
  std::string name;
  std::int64_t value = 0;
  FieldStyle style = FieldStyle::kNumber;
};

// "picture pages", "clock" ...; "unknown" for other codes.
const char* ItemCodeName(std::uint8_t code);
// Block type names: as the item codes, and 2 "program name".
const char* BlockTypeName(std::uint8_t type);

std::vector<ItemField> ItemRecordFields(const ItemRecordBytes& record);
// The value of field `name`, nothing when the record's code has no such field.
std::optional<std::int64_t> ItemFieldValue(const ItemRecordBytes& record, const std::string& name);
// "effect 0x0001", "colour #FF0000", "date 2025-03-09", "time 08:30:14".
std::string FieldText(const ItemField& field);

}  // namespace vantorel
