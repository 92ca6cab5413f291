#include "maker/item_record_fields.h"

#include <cstdio>
#include <string>

namespace vantorel {
namespace {

class Fields {
public:
  explicit Fields(const ItemRecordBytes& record) : m_record(record) {}

  void Byte(const std::string& name, std::size_t at, FieldStyle style = FieldStyle::kNumber) { Add(name, m_record[at], style); }
  void U16(const char* name, std::size_t at, FieldStyle style = FieldStyle::kNumber) {
    Add(name, m_record[at] | m_record[at + 1] << 8, style);
  }
  // High byte first.
  void U16Be(const char* name, std::size_t at) { Add(name, m_record[at] << 8 | m_record[at + 1]); }
  void Colour(const char* name, std::size_t at) {
    Add(name, m_record[at] << 16 | m_record[at + 1] << 8 | m_record[at + 2], FieldStyle::kColour);
  }
  void Add(const std::string& name, std::int64_t value, FieldStyle style = FieldStyle::kNumber) { m_fields.push_back({name, value, style}); }
  std::uint8_t At(std::size_t at) const { return m_record[at]; }
  std::vector<ItemField> Take() && { return std::move(m_fields); }

private:
  const ItemRecordBytes& m_record;
  std::vector<ItemField> m_fields;
};

// A clock's or work counter's font byte: the font code in the low bits, "VWASTEXT" bits 4-6 above.
void FontAndStyle(Fields& fields, std::size_t at) {
  fields.Add("font code", fields.At(at) & 0x0F);
  fields.Add("style bits", fields.At(at) & 0x70, FieldStyle::kHex);
}

// Picture pages, cell text and picture files share their first bytes.
void Shown(Fields& fields) {
  fields.Byte("transparent", 1);
  fields.U16("effect", 4, FieldStyle::kHex);
  fields.U16("speed", 6);
  fields.U16("stay", 8);
}

}  // namespace

const char* ItemCodeName(std::uint8_t code) {
  switch (code) {
    case kCodePicturePages: return "picture pages";
    case kCodeCellText: return "formatted text";
    case kCodeAnimationFrames: return "animation frames";
    case kCodeClock: return "clock";
    case kCodeSensor: return "temperature/humidity";
    case kCodeGifAnimation: return "animation as GIF file";
    case kCodePictureFile: return "picture file";
    case kCodeTimeCounter: return "time counter";
    case kCodeVideoAnimation: return "video as animation file";
    case kCodeWorkCounter: return "work counter";
    case kCodeVideoFile: return "video file";
    default: return "unknown";
  }
}

const char* BlockTypeName(std::uint8_t type) { return type == kCodeProgramName ? "program name" : ItemCodeName(type); }

std::vector<ItemField> ItemRecordFields(const ItemRecordBytes& record) {
  Fields fields(record);
  fields.Byte("code", 0);
  fields.U16("block", 2);
  switch (record[0]) {
    case kCodePicturePages:
      Shown(fields);
      fields.Colour("background", 11);
      break;
    case kCodeCellText:
      Shown(fields);
      fields.Add("text-to-image bits 28-30", record[10] >> 4 & 7);
      fields.Add("six-byte cells", record[10] >> 7);
      fields.Colour("background", 11);
      fields.Byte("text-to-image bits 16-23", 14, FieldStyle::kHex);
      break;
    case kCodeAnimationFrames:
      fields.U16("frames", 4);
      fields.U16("stay", 6);
      break;
    case kCodeClock: {
      fields.U16Be("show mode", 4);
      FontAndStyle(fields, 6);
      fields.Colour("colour", 7);
      fields.U16("stay", 10);
      const int seconds = (record[12] & 0x3F) + record[13] * 60;
      fields.Add("time adjust", (record[12] & 0x80) != 0 ? -seconds : seconds);
      fields.Add("style bit 8", record[12] >> 6 & 1);
      break;
    }
    case kCodeSensor:
      fields.Byte("transparent", 1);
      fields.Byte("show mode", 4);
      FontAndStyle(fields, 6);
      fields.Colour("colour", 7);
      fields.U16("stay", 10);
      break;
    case kCodeGifAnimation:
      fields.U16("frames", 4);
      fields.U16("stay", 6);
      fields.U16("width", 8);
      fields.U16("height", 10);
      fields.Add("show mode", record[12] & 0x0F);
      fields.Add("negative", record[12] >> 7);
      break;
    case kCodePictureFile: {
      Shown(fields);
      const unsigned rgb565 = record[13] | record[14] << 8;
      fields.Add("background", (rgb565 >> 11 & 0x1F) << 19 | (rgb565 >> 5 & 0x3F) << 10 | (rgb565 & 0x1F) << 3, FieldStyle::kColour);
      fields.U16("background 5-6-5", 13, FieldStyle::kHex);
      break;
    }
    case kCodeTimeCounter:
      fields.Byte("transparent", 1);
      fields.U16("time", 4, FieldStyle::kTime);
      FontAndStyle(fields, 6);
      fields.Byte("colour bits", 7);
      fields.Byte("fixed 5", 8);
      fields.Byte("counter mode", 9);
      fields.U16("stay", 10);
      fields.Add("date", record[12] | record[13] << 8 | record[14] << 16, FieldStyle::kDate);
      break;
    case kCodeVideoAnimation:
      fields.U16("frames", 4);
      fields.U16("stay", 6);
      fields.U16("width", 8);
      fields.U16("height", 10);
      fields.Byte("show mode", 12);
      break;
    case kCodeWorkCounter:
      fields.Byte("counter mode", 1);
      fields.U16Be("show mode", 4);
      fields.Add("font code", record[6] & 0x0F);
      fields.Add("colour bits", record[6] >> 4 & 7);
      fields.U16("time adjust", 7);
      fields.Byte("text-to-image low byte", 9);
      fields.U16("stay", 10);
      fields.Add("date", record[14] | record[13] << 8 | record[12] << 16, FieldStyle::kDate);
      break;
    case kCodeVideoFile:
      fields.Byte("show mode", 5);
      fields.U16("stay", 6);
      break;
    default:
      for (std::size_t at = 1; at <= 14; ++at) {
        if (at != 2 && at != 3) fields.Byte("byte " + std::to_string(at), at, FieldStyle::kHex);
      }
      break;
  }
  fields.Byte("border", 15);
  return std::move(fields).Take();
}

std::optional<std::int64_t> ItemFieldValue(const ItemRecordBytes& record, const std::string& name) {
  for (const ItemField& field : ItemRecordFields(record)) {
    if (field.name == name) return field.value;
  }
  return std::nullopt;
}

std::string FieldText(const ItemField& field) {
  char text[64];
  const auto value = field.value;
  switch (field.style) {
    case FieldStyle::kNumber: std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value)); break;
    case FieldStyle::kHex: std::snprintf(text, sizeof text, "0x%04llX", static_cast<unsigned long long>(value)); break;
    case FieldStyle::kColour: std::snprintf(text, sizeof text, "#%06llX", static_cast<unsigned long long>(value)); break;
    case FieldStyle::kDate:
      std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld", static_cast<long long>(value >> 9), static_cast<long long>(value >> 5 & 15),
                    static_cast<long long>(value & 31));
      break;
    case FieldStyle::kTime:
      std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(value >> 11), static_cast<long long>(value >> 5 & 63),
                    static_cast<long long>((value & 31) * 2));
      break;
  }
  return field.name + " " + text;
}

}  // namespace vantorel
