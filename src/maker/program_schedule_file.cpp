#include "maker/program_schedule_file.h"

#include <algorithm>
#include <string>

#include "app/text_ids.h"
#include "platform/atomic_file.h"
#include "platform/byte_writer.h"

namespace vantorel {

std::vector<std::uint8_t> ProgramScheduleBytes(std::span<const ProgramScheduleRecord> records) {
  const std::size_t count = std::min<std::size_t>(records.size(), 0xFFFF);
  ByteWriter out(kScheduleHeaderBytes + kScheduleRecordBytes * count);
  out.Text("LT");
  out.U8(0x00);
  out.U8(0x01);
  out.U16Le(static_cast<std::uint16_t>(count));
  out.U8(0);
  for (const ProgramScheduleRecord& record : records.first(count)) {
    out.U16Le(record.program);
    out.U8(static_cast<std::uint8_t>(record.timeSch[0] & 0xFF));
    out.U8(0);
    out.U16Le(record.timeSch[1]);
    out.U8(static_cast<std::uint8_t>(record.timeSch[2] & 0xFF));
  }
  return std::move(out).Take();
}

Status WriteProgramSchedule(const std::filesystem::path& file, std::span<const ProgramScheduleRecord> records) {
  if (records.size() > 0xFFFF) {
    return Status::Failure(kTextScheduleFileNotWritten, std::to_string(records.size()) + " records, at most 65535");
  }
  return WriteFileAtomically(file, ProgramScheduleBytes(records)).WithText(kTextScheduleFileNotWritten);
}

}  // namespace vantorel
