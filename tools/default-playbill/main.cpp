// Makes "default.ldt", the playbill a new document of the default screen (the 48 x 48 cross)
// starts with: two programs on the cross, each with green arms around a middle bar that shows
// first a clock, then "Welcome" scrolling through.
//
// usage: vantorel-default-playbill OUTPUT

#include <cstdint>
#include <iostream>
#include <string_view>
#include <vector>

#include "playbill/cross_layout.h"
#include "playbill/playbill_writer.h"
#include "playbill/prg_item.h"
#include "screen/screen_data.h"

namespace {

using namespace vantorel;

constexpr std::uint32_t kGreen = 0x00FF00;          // red is the low byte
constexpr std::uint8_t kGreenCell16 = 0x20 | 2;    // cell style: green, 16 dots
constexpr std::uint16_t kEffectInstant = 0;
constexpr std::uint16_t kEffectScrollLeftContinuously = 14;
constexpr std::uint16_t kClockHourMinute24 = 0x08 | 0x10 | 0x100;
constexpr std::int32_t kBlinkingColon = 0x100;
constexpr int kCrossLayout = 1;  // top arm, middle bar, bottom arm

tagPrgItem CrossItem(std::uint16_t kind) {
  tagPrgItem record;
  record.level = kLevelItem;
  record.item.actType = kind;
  record.item.showType = kEffectInstant;
  record.item.actTime = 10;
  record.item.showMode = 2;
  record.item.tcBase = {2017, 1, 1, 0, 0, 0};
  return record;
}

// "Text mode" cells of `text` in green, 16 dots high (cell size 3), then the terminating cell.
tagPrgItem GreenText(std::string_view text) {
  tagPrgItem record = CrossItem(kKindCellText);
  record.item.media = text;
  record.item.bgColor = text.empty() ? kGreen : 0;
  record.item.richTxt = RichTextBlock::CellTextOf(text, kGreenCell16);
  return record;
}

tagPrgItem GreenClock() {
  tagPrgItem record = CrossItem(kKindClock);
  record.item.showMode = kClockHourMinute24;
  record.item.logFont.height = 16;
  record.item.fntColor = kGreen;
  record.item.vwAsText = kBlinkingColon;
  return record;
}

// A cross of three windows: green arms above and below a bar holding `bar`.
void AddCrossProgram(PrgList& list, std::string_view name, tagPrgItem bar, const tagScreenInfo& screen) {
  tagPrgItem program = NewProgramRecord();
  program.program.prgName = name;
  list.push_back(program);
  const std::vector<WindowRect> windows = LayoutWindows(kCrossLayout, screen.width, screen.height);
  for (std::size_t w = 0; w < windows.size(); ++w) {
    const WindowRect& rect = windows[w];
    list.push_back(NewWindowRecord(rect.left, rect.top, rect.width, rect.height));
    list.push_back(w == 1 ? bar : GreenText(""));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: vantorel-default-playbill OUTPUT\n";
    return 2;
  }
  CScreenData screens;
  screens.MakeDefault();
  const tagScreenInfo& screen = screens.Screen(0);

  PrgList list;
  AddCrossProgram(list, "Clock", GreenClock(), screen);
  tagPrgItem welcome = GreenText("Welcome");
  welcome.item.showType = kEffectScrollLeftContinuously;
  welcome.item.speed = 2;
  AddCrossProgram(list, "Welcome", welcome, screen);

  if (const Status written = WritePlaybill(argv[1], list, screen); !written) {
    std::cerr << "vantorel-default-playbill: cannot write " << argv[1] << ": " << written.detail() << '\n';
    return 1;
  }
  return 0;
}
