#include "maker/item_record.h"

#include <cstdlib>
#include <span>

#include "platform/byte_writer.h"
#include "render/faces/face_layout.h"

namespace vantorel {
namespace {

constexpr std::uint8_t kFaceBits = 0x70;          // VWASTEXT bits 4-6: the face of a clock or sensor
constexpr std::int32_t kLeapSecondBit = 0x100;    // VWASTEXT bit 8, carried with TIMEADJ of a clock

std::uint8_t Red(std::uint32_t colour) { return static_cast<std::uint8_t>(colour & 0xFF); }
std::uint8_t Green(std::uint32_t colour) { return static_cast<std::uint8_t>((colour >> 8) & 0xFF); }
std::uint8_t Blue(std::uint32_t colour) { return static_cast<std::uint8_t>((colour >> 16) & 0xFF); }

// Red in the top five bits, green in the middle six, blue in the low five.
std::uint16_t Rgb565(std::uint32_t colour) {
  return static_cast<std::uint16_t>(((Red(colour) >> 3) << 11) | ((Green(colour) >> 2) << 5) | (Blue(colour) >> 3));
}

// One bit for every colour that is not 0: red `redBit`, green the next bit, blue the one after.
std::uint8_t LitColours(std::uint32_t colour, std::uint8_t redBit) {
  return static_cast<std::uint8_t>((Red(colour) != 0 ? redBit : 0) | (Green(colour) != 0 ? redBit << 1 : 0) |
                                   (Blue(colour) != 0 ? redBit << 2 : 0));
}

class RecordFields {
public:
  explicit RecordFields(std::uint8_t code) { m_bytes[0] = code; }

  void U8(std::size_t at, std::uint8_t value) { m_bytes[at] = value; }
  void U16(std::size_t at, std::uint16_t value) { StoreU16Le(std::span(m_bytes).subspan(at, 2), value); }
  void Rgb(std::size_t at, std::uint32_t colour) {
    m_bytes[at] = Red(colour);
    m_bytes[at + 1] = Green(colour);
    m_bytes[at + 2] = Blue(colour);
  }
  // TRANSP, effect, SPEED and ACTTIME at bytes 1 and 4-9: the layout of every picture record.
  void PictureTiming(const tagItemPart& item) {
    U8(1, item.transp);
    U16(4, EffectCode(item.showType));
    U16(6, item.speed);
    U16(8, item.actTime);
  }
  // The frame count and ACTTIME at bytes 4-7 and, with `size`, the picture's size at bytes 8-11:
  // the layout of every animation record.
  void Frames(const tagItemPart& item, const ItemRecordExtras& extras, bool size) {
    U16(4, extras.frames);
    U16(6, item.actTime);
    if (!size) return;
    U16(8, extras.pictureWidth);
    U16(10, extras.pictureHeight);
  }
  ItemRecordBytes Bytes() const { return m_bytes; }

private:
  ItemRecordBytes m_bytes{};
};

std::uint8_t FaceFontCode(const tagItemPart& item) {
  return static_cast<std::uint8_t>(FontCodeOf(item.logFont) | (item.vwAsText & kFaceBits));
}

}  // namespace

int FontCodeOfDotHeight(int dotHeight) {
  static constexpr int kLowestHeights[] = {56, 48, 40, 32, 24, 16, 12};  // codes 7 down to 1
  int code = 7;
  for (int lowest : kLowestHeights) {
    if (dotHeight >= lowest) return code;
    --code;
  }
  return 0;
}

int FontCodeOf(const tagLogFont& font) { return FontCodeOfDotHeight(PointsOfFontHeight(font.height)); }

std::uint16_t EffectCode(std::uint16_t showType) { return (showType & 0x8000) != 0 ? 0x8000 : showType; }

std::uint32_t PackedDate(const std::array<std::uint16_t, 6>& tcBase) {
  return (std::uint32_t{tcBase[0]} * 16 + tcBase[1]) * 32 + tcBase[2];
}

std::uint16_t PackedTime(const std::array<std::uint16_t, 6>& tcBase) {
  return static_cast<std::uint16_t>(tcBase[3] * 2048 + tcBase[4] * 32 + tcBase[5] / 2);
}

ItemRecordBytes MakeItemRecord(std::uint8_t code, const tagItemPart& item, const ItemRecordExtras& extras) {
  RecordFields record(code);
  switch (code) {
    case kCodePicturePages:
      record.PictureTiming(item);
      record.Rgb(11, item.bgColor);
      break;
    case kCodeCellText:
      record.PictureTiming(item);
      record.U8(10, static_cast<std::uint8_t>((((item.txt2Img >> 28) & 7) << 4) | (extras.sixByteCells ? 0x80 : 0)));
      record.Rgb(11, item.bgColor);
      record.U8(14, static_cast<std::uint8_t>((item.txt2Img >> 16) & 0xFF));
      break;
    case kCodeAnimationFrames:
      record.Frames(item, extras, false);
      break;
    case kCodeClock: {
      const std::int64_t shift = item.timeAdj;
      const std::int64_t magnitude = shift < 0 ? -shift : shift;
      record.U8(4, static_cast<std::uint8_t>(item.showMode >> 8));
      record.U8(5, static_cast<std::uint8_t>(item.showMode & 0xFF));
      record.U8(6, FaceFontCode(item));
      record.Rgb(7, item.fntColor);
      record.U16(10, item.actTime);
      record.U8(12, static_cast<std::uint8_t>((magnitude % 60) | (shift < 0 ? 0x80 : 0) |
                                              ((item.vwAsText & kLeapSecondBit) != 0 ? 0x40 : 0)));
      record.U8(13, static_cast<std::uint8_t>((magnitude / 60) & 0xFF));
      break;
    }
    case kCodeSensor:
      record.U8(1, item.transp);
      record.U8(4, static_cast<std::uint8_t>(item.showMode & 0xFF));
      record.U8(6, FaceFontCode(item));
      record.Rgb(7, item.fntColor);
      record.U16(10, item.actTime);
      break;
    case kCodeGifAnimation:
      record.Frames(item, extras, true);
      record.U8(12, static_cast<std::uint8_t>((item.showMode & 0x0F) | (item.negative != 0 ? 0x80 : 0)));
      break;
    case kCodePictureFile:
      record.PictureTiming(item);
      record.U16(13, Rgb565(item.bgColor));
      break;
    case kCodeTimeCounter: {
      const std::uint32_t date = PackedDate(item.tcBase);
      record.U8(1, item.transp);
      record.U16(4, PackedTime(item.tcBase));
      record.U8(6, FaceFontCode(item));
      record.U8(7, LitColours(item.fntColor, 0x01));
      record.U8(8, 5);
      record.U8(9, item.tcMode);
      record.U16(10, item.actTime);
      record.U8(12, static_cast<std::uint8_t>(date & 0xFF));
      record.U8(13, static_cast<std::uint8_t>((date >> 8) & 0xFF));
      record.U8(14, static_cast<std::uint8_t>((date >> 16) & 0xFF));
      break;
    }
    case kCodeVideoAnimation:
      record.Frames(item, extras, true);
      record.U8(12, static_cast<std::uint8_t>(item.showMode & 0xFF));
      break;
    case kCodeWorkCounter: {
      const std::uint32_t date = PackedDate(item.tcBase);
      record.U8(1, item.tcMode);
      record.U8(4, static_cast<std::uint8_t>(item.showMode >> 8));
      record.U8(5, static_cast<std::uint8_t>(item.showMode & 0xFF));
      record.U8(6, static_cast<std::uint8_t>((FontCodeOf(item.logFont) & 0x0F) | LitColours(item.fntColor, 0x10)));
      record.U16(7, static_cast<std::uint16_t>(static_cast<std::uint32_t>(item.timeAdj) & 0xFFFF));
      record.U8(9, static_cast<std::uint8_t>(item.txt2Img & 0xFF));
      record.U16(10, item.actTime);
      record.U8(12, static_cast<std::uint8_t>((date >> 16) & 0xFF));
      record.U8(13, static_cast<std::uint8_t>((date >> 8) & 0xFF));
      record.U8(14, static_cast<std::uint8_t>(date & 0xFF));
      break;
    }
    case kCodeVideoFile:
      record.U8(5, static_cast<std::uint8_t>(item.showMode & 0xFF));
      record.U16(6, item.actTime);
      break;
    default: break;
  }
  return record.Bytes();
}

}  // namespace vantorel
