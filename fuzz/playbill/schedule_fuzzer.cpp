// Schedule files (".rsh") come from users and other machines. Whatever they hold, the schedule
// keeps only whole entries of its program count (saying what it dropped), follows program changes
// without leaving that shape, can always be stored, and its stored and controller forms stay
// consistent.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "playbill/play_schedule.h"

namespace {

using namespace vantorel;

void CheckEntries(const CPlaySchedule& schedule) {
  if (schedule.ProgramCount() < 0 || schedule.ProgramCount() > CPlaySchedule::kMaxCount) std::abort();
  const std::size_t length = kEntryFixedChars + static_cast<std::size_t>(schedule.ProgramCount());
  for (const std::string& entry : schedule.Entries()) {
    if (entry.size() != length || entry[0] != '1') std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CPlaySchedule schedule;
  const ReadWarnings warnings = schedule.ReadScheduleText(text);
  CheckEntries(schedule);
  if (warnings.empty() != warnings.firstReason.empty()) std::abort();

  // Whatever was read can be stored whole, and the stored form reads back as it was, without a
  // warning.
  const auto stored = schedule.ScheduleText();
  if (!stored) std::abort();
  if (*stored) {
    CPlaySchedule again;
    if (!again.ReadScheduleText(**stored).empty()) std::abort();
    if (again.Entries() != schedule.Entries() || again.ProgramCount() != schedule.ProgramCount()) std::abort();
  }

  // The controller form: header, then 14 bytes and the program bits per entry it counts.
  if (const auto form = schedule.ControllerScheduleBytes()) {
    const std::size_t bits = (static_cast<std::size_t>(schedule.ProgramCount()) + 7) / 8;
    const std::size_t entries = static_cast<std::size_t>((*form)[6] << 8 | (*form)[7]);
    if (form->size() != 16 + entries * (14 + bits) || entries > schedule.Entries().size()) std::abort();
  }

  // Program changes driven by the input's first bytes.
  for (std::size_t i = 0; i < size && i < 16; ++i) {
    const int position = data[i] % 8;
    switch (data[i] >> 6) {
      case 0: schedule.InsertProgram(position, (data[i] & 8) != 0); break;
      case 1: schedule.RemoveProgram(position); break;
      default: schedule.SwapProgram(position, (data[i] & 8) != 0); break;
    }
    CheckEntries(schedule);
  }
  if (!schedule.ScheduleText()) std::abort();
  return 0;
}
