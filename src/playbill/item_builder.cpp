#include "playbill/item_builder.h"

#include <algorithm>
#include <ctime>

#include "playbill/play_coverage.h"

namespace vantorel {
namespace {

constexpr std::uint16_t kClockHourMinute24 = 0x08 | 0x10 | 0x100;
constexpr std::uint16_t kDayBits = 0x7F;

bool DrawsOwnText(std::uint16_t kind) {
  return kind == kKindTextFile || kind == kKindClock || kind == kKindSensor || kind == kKindTimeCounter ||
         kind == kKindWorkCounter;
}

// 00:00:00 on the first day of the computer's current month (local time; read, never set).
std::array<std::uint16_t, 6> FirstOfThisMonth() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {static_cast<std::uint16_t>(local.tm_year + 1900), static_cast<std::uint16_t>(local.tm_mon + 1), 1, 0, 0, 0};
}

}  // namespace

std::uint32_t StoredColour(std::uint32_t rgb) { return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16); }

std::uint8_t CellStyleOf(std::uint32_t colour, int fontHeight) {
  int style = RichTextBlock::SizeIndexOf(fontHeight);
  if (colour & 0x0000FF) style |= 0x10;
  if (colour & 0x00FF00) style |= 0x20;
  if (colour & 0xFF0000) style |= 0x40;
  return static_cast<std::uint8_t>(style);
}

void StartItemKind(tagItemPart& item, std::uint16_t kind) {
  item.actType = kind;
  item.txt2Img = kind == kKindImageText ? 16 : 0;
  if (kind != kKindCellText && kind != kKindImageText) {
    item.richTxt.reset();
    item.media.clear();
  }
  if (DrawsOwnText(kind)) {
    item.logFont.height = kDefaultFontHeight;
    item.fntColor = kStoredRed;
  }
  // A picture, video or animation keeps its placement; a display mode word of another kind (a
  // clock's style) is no placement and becomes the default one.
  const bool placed = kind == kKindPicture || kind == kKindVideo || kind == kKindAnimation;
  if (placed && item.showMode > kLastPlacementMode) item.showMode = kDefaultPlacementMode;
  if (kind == kKindClock) item.showMode = kClockHourMinute24;
  if (kind == kKindSensor || kind == kKindTimeCounter || kind == kKindWorkCounter) item.showMode = 0;
  if (kind == kKindTimeCounter) {
    item.media = std::string(kDefaultCounterTemplate);
    item.tcBase = FirstOfThisMonth();
  }
  if (kind == kKindWorkCounter) {
    // Monday to Friday, 8 hours from 8:00, counted from the first of this month.
    item.showMode = kDefaultWorkWeek;
    item.txt2Img = kDefaultWorkStartHour * 8;
    item.tcBase = FirstOfThisMonth();
  }
}

Status SetItemText(tagItemPart& item, std::string_view text, std::uint32_t colour, int fontHeight) {
  std::optional<RichTextBlock> block;
  if (item.actType == kKindCellText) {
    if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
      return Status::Failure(kNoTextId, "Text mode cells take ASCII characters only");
    }
    block = RichTextBlock::CellTextOf(text, CellStyleOf(colour, fontHeight));
  } else if (item.actType == kKindImageText) {
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    if (firstLine.size() > decltype(item.media)::kMaxBytes) {
      return Status::Failure(kNoTextId, "the first line is too long for the item's text");
    }
    block = RichTextBlock::ImageModeText(RichTextBlock::ImageModeDocument(text, colour));
    if (block) item.media = std::string(firstLine);
  } else {
    return Status::Failure(kNoTextId, "only formatted-text items hold a text block");
  }
  if (!block) return Status::Failure(kNoTextId, "the text is too long for an item");
  item.richTxt = std::move(block);
  return Status::Ok();
}

std::uint16_t TimeOfDay(int hour, int minute) { return static_cast<std::uint16_t>(hour * 256 + minute); }

void SetPlayDays(tagProgramPart& program, std::uint8_t days) {
  auto& flags = program.timeSch[0];
  flags = static_cast<std::uint16_t>((flags & ~kDayBits) | (days & kDayBits));
}

std::uint8_t PlayDays(const tagProgramPart& program) { return static_cast<std::uint8_t>(program.timeSch[0] & kDayBits); }

void SetTimeWindow(tagProgramPart& program, std::uint16_t start, std::uint16_t end) {
  program.timeSch[1] = start;
  program.timeSch[2] = end;
  program.timeSch[0] = static_cast<std::uint16_t>(program.timeSch[0] | kTimeWindowFlag);
}

void ClearTimeWindow(tagProgramPart& program) {
  program.timeSch[0] = static_cast<std::uint16_t>(program.timeSch[0] & ~kTimeWindowFlag);
}

bool HasTimeWindow(const tagProgramPart& program) { return (program.timeSch[0] & kTimeWindowFlag) != 0; }

std::optional<std::uint8_t> DayMaskOfDigits(std::string_view digits) {
  std::uint8_t days = 0;
  for (char c : digits) {
    if (c < '0' || c > '6') return std::nullopt;
    days = static_cast<std::uint8_t>(days | (1u << (c - '0')));
  }
  return days;
}

}  // namespace vantorel
