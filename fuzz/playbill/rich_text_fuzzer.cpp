// Rich-text blocks come from playbill files: whatever their headers claim, sizes and walks must
// stay inside the held bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "playbill/display_names.h"
#include "playbill/prg_item.h"
#include "playbill/rich_text_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  const auto block = RichTextBlock::FromBytes(std::span<const std::uint8_t>(data, size));
  if (!block) return 0;
  if (block->HeldSize() > RichTextBlock::kMaxBytes) std::abort();
  for (int kind : {kKindCellText, kKindImageText, kKindPicture}) {
    const auto stored = block->StoredBytes(kind);
    if (stored.size() > block->HeldSize()) std::abort();
    volatile std::uint8_t sink = 0;
    for (std::uint8_t byte : stored) sink = static_cast<std::uint8_t>(sink ^ byte);
  }
  tagPrgItem item;
  item.level = kLevelItem;
  item.item.actType = kKindCellText;
  item.item.richTxt = block;
  (void)RecordDisplayName(PrgList{tagPrgItem{}, item}, 1);
  return 0;
}
