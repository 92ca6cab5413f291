#include "playbill/prg_item.h"

#include <string_view>

#include "app/options.h"

namespace vantorel {

bool IsMediaFileKind(int kind) {
  return kind == kKindPicture || kind == kKindTextFile || kind == kKindDocument || kind == kKindVideo ||
         kind == kKindAnimation;
}

std::string ItemKindToken(int kind) {
  static constexpr std::string_view kTokens[] = {
      "undefined", "picture",   "text-file",  "document", "video",        "clock",
      "cell-text", "animation", "image-text", "sensor",   "time-counter", "work-counter"};
  if (kind >= 0 && kind < static_cast<int>(std::size(kTokens))) return std::string(kTokens[kind]);
  return "kind-" + std::to_string(kind);
}

ItemDefaults ItemDefaultsFromOptions(const AppOptions& options) {
  return {options.defaultTextMode, static_cast<std::uint16_t>(options.defaultEffect), options.defaultTextSize};
}

tagPrgItem NewProgramRecord() {
  tagPrgItem record;
  record.level = kLevelProgram;
  record.program.loopCnt = 1;
  record.program.timeSch = {127, 0, 0};  // every day, no time window
  return record;
}

tagPrgItem NewWindowRecord(std::int16_t left, std::int16_t top, std::uint16_t width, std::uint16_t height) {
  tagPrgItem record;
  record.level = kLevelWindow;
  record.window.left = left;
  record.window.top = top;
  record.window.width = width;
  record.window.height = height;
  record.window.waitType = 1;
  return record;
}

tagPrgItem NewItemRecord(const ItemDefaults& defaults, bool forCrossLayout) {
  tagPrgItem record;
  record.level = kLevelItem;
  tagItemPart& item = record.item;
  item.actType = defaults.textMode == 1 ? kKindImageText : kKindCellText;
  item.showType = defaults.effect;
  item.actTime = 3;
  item.media.Assign("Welcome");
  item.showMode = 2;
  item.tcBase = forCrossLayout ? std::array<std::uint16_t, 6>{2017, 1, 1, 0, 0, 0}
                               : std::array<std::uint16_t, 6>{2008, 8, 18, 0, 0, 0};
  item.txt2Img = item.actType == kKindImageText ? 16 : 0;
  item.richTxt = item.actType == kKindImageText ? RichTextBlock::NewImageModeText()
                                                : RichTextBlock::NewCellText(defaults.textSize);
  return record;
}

}  // namespace vantorel
