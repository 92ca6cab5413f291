#include "render/faces/face_page.h"

#include <cstdio>

#include "app/text_ids.h"
#include "render/faces/analog_clock.h"
#include "render/faces/clock_text.h"
#include "render/faces/counter_text.h"
#include "render/faces/face_layout.h"

namespace vantorel {
namespace {

constexpr std::int32_t kBlinkColon = 1 << 8;  // VWASTEXT bit 8

DateTime DateTimeOfBase(const std::array<std::uint16_t, 6>& base) {
  return {base[0], base[1], base[2], base[3], base[4], base[5]};
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (const char c : text) {
    if (c == '\n') {
      lines.emplace_back();
    } else if (c != '\r') {
      lines.back() += c;
    }
  }
  return lines;
}

std::string SensorText(const tagItemPart& item) {
  const std::string prefix(item.media.view());
  char value[32];
  switch (item.showMode) {
    case 1: std::snprintf(value, sizeof value, "%d\u00B0F", 68); break;
    case 2: std::snprintf(value, sizeof value, "%d%%RH", 60); break;
    default: std::snprintf(value, sizeof value, "%d\u00B0C", 20); break;
  }
  return prefix + value;
}

WorkCounterSettings WorkCounterOf(const tagItemPart& item) {
  WorkCounterSettings settings;
  settings.start = DateTimeOfBase(item.tcBase);
  settings.workingDays = static_cast<std::uint8_t>(item.showMode & 0x7F);
  settings.hoursPerDay = item.showMode >> 8;
  settings.countHours = (item.tcMode & 0xFF) != 0;
  settings.workStartHour = (item.txt2Img & 0xFF) / 8;
  return settings;
}

}  // namespace

bool IsFaceKind(std::uint16_t kind) {
  return kind == kKindClock || kind == kKindSensor || kind == kKindTimeCounter || kind == kKindWorkCounter;
}

bool FaceChangesWithTime(std::uint16_t kind) { return IsFaceKind(kind) && kind != kKindWorkCounter; }

std::vector<std::string> FaceLines(const tagItemPart& item, const DateTime& now, int codePage) {
  switch (item.actType) {
    case kKindClock:
      return ClockText(AddMinutes(now, item.timeAdj), item.media.view(), item.showMode, codePage);
    case kKindSensor:
      return {SensorText(item)};
    case kKindTimeCounter:
      return SplitLines(CounterText(DateTimeOfBase(item.tcBase), now, item.media.view(), (item.tcMode & 1) != 0));
    case kKindWorkCounter:
      return {std::to_string(item.timeAdj + WorkCount(WorkCounterOf(item), now))};
    default:
      return {};
  }
}

Expected<CLedBitmap> RenderFacePage(const tagItemPart& item, QSize windowSize, const CDotFont* font,
                                    std::uint16_t colourMode, const DateTime& now) {
  if (font == nullptr) return Status::Failure(kTextNoFontLibrary, ItemKindToken(item.actType));
  CLedBitmap bitmap(windowSize.width(), windowSize.height(), colourMode);
  if (bitmap.IsEmpty()) return bitmap;
  bitmap.Fill(0);
  FaceTextStyle text;
  text.style = FaceFontStyle(item.logFont.height, item.vwAsText);
  text.colour = item.fntColor & 0xFFFFFF;
  const bool blinks = item.actType == kKindClock || item.actType == kKindTimeCounter;
  text.blankColons = blinks && (item.vwAsText & kBlinkColon) != 0 && now.second % 2 == 1;
  const DateTime shown = item.actType == kKindClock ? AddMinutes(now, item.timeAdj) : now;
  DrawCentredLines(bitmap, *font, FaceLines(item, now, font->GetCodePage()), text);
  if (item.actType == kKindClock) {
    if ((item.showMode & clock_style::kDial) != 0) DrawDial(bitmap);
    if ((item.showMode & clock_style::kHands) != 0) DrawHands(bitmap, shown);
  }
  return bitmap;
}

}  // namespace vantorel
