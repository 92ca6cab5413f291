#include "playbill/display_names.h"

#include "app/text_format.h"
#include "app/text_table.h"
#include "platform/legacy_text.h"
#include "playbill/prg_list.h"

namespace vantorel {
namespace {

constexpr std::uint16_t kShowModeHumidity = 0x2;

std::string OrText(std::string_view text, int textId) {
  return text.empty() ? LoadText(textId) : std::string(text);
}

std::string ItemName(const tagItemPart& item) {
  const std::string_view media = item.media.view();
  switch (item.actType) {
    case kKindUndefined:
      return LoadText(kTextUndefined);
    case kKindClock:
      return OrText(media, kTextClock);
    case kKindCellText:
      return OrText(item.richTxt ? ToUtf8(item.richTxt->CellText()) : std::string(), kTextText);
    case kKindImageText:
      return OrText(media, kTextText);
    case kKindSensor:
      return OrText(media, (item.showMode & kShowModeHumidity) ? kTextHumidity : kTextTemperature);
    case kKindTimeCounter:
      return OrText(media, kTextTimeCounter);
    case kKindWorkCounter:
      return OrText(media, kTextWorkCounter);
    default:
      return IsMediaFileKind(item.actType) ? std::string(FileNamePart(media)) : OrText(media, kTextUndefined);
  }
}

std::string Numbered(std::string_view name, int textId, int number) {
  return FormatText("%s[%d]", OrText(name, textId).c_str(), number);
}

}  // namespace

std::string_view FileNamePart(std::string_view path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string RecordDisplayName(const PrgList& list, int index) {
  if (index < 0 || index >= RecordCount(list)) return {};
  const tagPrgItem& record = list[static_cast<std::size_t>(index)];
  if (record.IsProgram()) {
    return Numbered(record.program.prgName, kTextProgram, CountLevel(list, 0, index, kLevelProgram) + 1);
  }
  if (record.IsWindow()) {
    const int program = ProgramRecordOf(list, index);
    const int window = CountLevel(list, program < 0 ? 0 : program, index, kLevelWindow);
    return Numbered(record.window.areaName, kTextWindow, window % 16 + 1);
  }
  if (record.IsItem()) return ItemName(record.item);
  return {};
}

}  // namespace vantorel
