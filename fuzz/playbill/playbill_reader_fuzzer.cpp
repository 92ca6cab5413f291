// Playbill files come from users and other machines, in two generations (scrambled records and
// plain text). Whatever they hold, the reader must stay inside the file, keep the list's structure
// and give records that the writer stores and the reader takes back unchanged in number and kind.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "playbill/playbill_keys.h"
#include "playbill/playbill_reader.h"
#include "playbill/playbill_writer.h"
#include "screen/controller_types.h"

namespace {

using namespace vantorel;

// Programs first, windows inside programs, items inside windows; blocks within their bounds.
void CheckStructure(const PrgList& list, bool firstOnly) {
  int windowsOfProgram = 0;
  int itemsOfWindow = 0;
  bool inWindow = false;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const tagPrgItem& record = list[i];
    if (i == 0 && !record.IsProgram()) std::abort();
    if (record.IsProgram()) {
      windowsOfProgram = 0;
      inWindow = false;
    } else if (record.IsWindow()) {
      ++windowsOfProgram;
      itemsOfWindow = 0;
      inWindow = true;
      if (firstOnly && windowsOfProgram > 1) std::abort();
    } else if (record.IsItem()) {
      ++itemsOfWindow;
      if (!inWindow || (firstOnly && itemsOfWindow > 1)) std::abort();
      const auto& block = record.item.richTxt;
      if (block) {
        if (block->HeldSize() > RichTextBlock::kMaxBytes) std::abort();
        const auto declared = block->DeclaredSize(record.item.actType);
        if (!declared || *declared > block->HeldSize()) std::abort();
      }
    } else {
      std::abort();
    }
  }
}

tagScreenInfo ScreenOfClass(std::uint16_t type) {
  tagScreenInfo screen;
  screen.type = type;
  screen.number = 1;
  screen.width = 64;
  screen.height = 64;
  return screen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const tagScreenInfo sign = ScreenOfClass(kControllerClass6);
  const tagScreenInfo other = ScreenOfClass(1);
  for (const tagScreenInfo* screen : {&sign, &other}) {
    PrgList list;
    int version = 110;
    const auto result = DecodePlaybill(bytes, "/shows", list, version, screen);
    if (!result.ok() && !list.empty()) std::abort();
    // Only a file too short for its header is unreadable; a damaged one says what it dropped.
    if (result.ok() != (size >= kPlaybillHeaderBytes)) std::abort();
    if (result.ok() && result->dropped > 0 && result->firstReason.empty()) std::abort();
    CheckStructure(list, screen == &other);

    const auto written = EncodePlaybill(list, sign, -1, "/shows");
    if (!written) continue;
    PrgList again;
    const auto reread = DecodePlaybill(*written, "/shows", again, version, &sign);
    // What the writer stores reads back whole: nothing of it is damaged.
    if (!reread.ok() || !reread->empty() || again.size() != list.size()) std::abort();
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (again[i].level != list[i].level || again[i].item.actType != list[i].item.actType) std::abort();
    }
  }
  tagScreenInfo screen;
  (void)DecodePlaybillScreen(bytes, screen);
  return 0;
}
