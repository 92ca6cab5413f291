// "inspect": what exactly a controller file holds — a playbill index, a program file, a schedule
// file, a program pack (each of its files inspected in turn) or a run schedule — field by field,
// with every problem the reader finds named by its offset. With --pages the pictures of the
// picture-pages and animation blocks are written as PNG files. The exit code is 1 when a file has
// a problem.

#include <QImage>
#include <QString>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/status_text.h"
#include "app/text_format.h"
#include "app/text_ids.h"
#include "cli_command.h"
#include "maker/block_decoders.h"
#include "maker/controller_file_reader.h"
#include "maker/item_record_fields.h"
#include "platform/atomic_file.h"
#include "platform/legacy_text.h"

namespace vantorel::cli {
namespace {

using Bytes = std::span<const std::uint8_t>;

struct InspectOptions {
  std::string file;
  std::string pages;  // folder for the PNG files, empty for none
};

// What one inspection prints and where its pictures go.
class Inspection {
public:
  Inspection(std::ostream& out, std::optional<std::filesystem::path> pages) : m_out(out), m_pages(std::move(pages)) {}

  void File(Bytes bytes, const std::string& prefix = {});
  int ProblemCount() const { return m_problems; }

private:
  void Line(const std::string& text) { m_out << m_indent << text << '\n'; }
  void Problems(const std::vector<FileProblem>& problems) {
    for (const FileProblem& problem : problems) Line("problem: " + ProblemText(problem));
    m_problems += static_cast<int>(problems.size());
  }
  void Problem(std::size_t offset, const std::string& what) { Problems({{offset, what}}); }
  void Refused(const Status& status) {
    Line("problem: " + StatusMessage(status));
    ++m_problems;
  }

  void Index(Bytes bytes);
  void Program(Bytes bytes, const std::string& prefix);
  void Block(Bytes file, const ProgramFileContents& program, std::size_t index, const std::string& prefix);
  std::string PicturesOf(const std::vector<QImage>& pictures, std::size_t block, const std::string& prefix);
  void Schedule(Bytes bytes);
  void Pack(Bytes bytes);
  void RunSchedule(Bytes bytes);

  std::ostream& m_out;
  std::optional<std::filesystem::path> m_pages;
  std::string m_indent;
  int m_problems = 0;
};

std::string Text(std::string_view bytes) { return "\"" + ToUtf8(bytes) + "\""; }

std::string Version(const std::array<std::uint8_t, 2>& version) { return FormatText("%u.%u", version[0], version[1]); }

void Inspection::File(Bytes bytes, const std::string& prefix) {
  switch (DetectControllerFile(bytes)) {
    case ControllerFileKind::kPlaybillIndex: Index(bytes); break;
    case ControllerFileKind::kProgramFile: Program(bytes, prefix); break;
    case ControllerFileKind::kProgramSchedule: Schedule(bytes); break;
    case ControllerFileKind::kProgramPack: Pack(bytes); break;
    case ControllerFileKind::kRunSchedule: RunSchedule(bytes); break;
    case ControllerFileKind::kUnknown:
      Refused(Status::Failure(kTextNotAControllerFile, "no magic of a controller file (LL, LP, LT, RS or an \"lpm!\" trailer)"));
      break;
  }
}

void Inspection::Index(Bytes bytes) {
  const Expected<PlaybillIndexContents> index = ReadPlaybillIndex(bytes);
  if (!index) return Refused(index.status());
  Line(FormatText("playbill index, %zu bytes", bytes.size()));
  Line(FormatText("  version %s, programs %u, screen %ux%u, colour mode 0x%02X, rotated %u", Version(index->version).c_str(),
                  index->programCount, index->header.width, index->header.height, index->header.colourMode, index->header.rotation));
  for (std::size_t i = 0; i < index->entries.size(); ++i) {
    const PlaybillIndexEntry& entry = index->entries[i];
    Line(FormatText("program %zu: %s, windows or position in the pack %u", i, Text(entry.fileName).c_str(), entry.windowsOrPosition));
  }
  Problems(index->problems);
}

void Inspection::Program(Bytes bytes, const std::string& prefix) {
  const Expected<ProgramFileContents> program = ReadProgramFile(bytes);
  if (!program) return Refused(program.status());
  const ProgramFileContents& p = *program;
  Line(FormatText("program file, %zu bytes", bytes.size()));
  Line(FormatText("  version %s, loop count %u, play time %u, screen %ux%u, colour mode 0x%02X", Version(p.version).c_str(), p.loopCount,
                  p.playTime, p.screenWidth, p.screenHeight, p.colourMode));
  Line(FormatText("  windows %u, block count field %u, background %s", p.windowCount, p.blockCountField,
                  p.backgroundIndex == kNoBlock ? "none" : FormatText("block %u", p.backgroundIndex).c_str()));
  Line(FormatText("  window table at %u, item table at %u, block table at %u, data area at %u", p.windowTableOffset,
                  p.itemTableOffset, p.blockTableOffset, p.dataAreaOffset));
  Line(p.ChecksumOk() ? FormatText("  checksum 0x%04X ok", p.storedChecksum)
                      : FormatText("  checksum 0x%04X stored, the bytes give 0x%04X", p.storedChecksum, p.computedChecksum));
  std::size_t item = 0;
  for (std::size_t w = 0; w < p.windows.size(); ++w) {
    const ProgramWindowRecord& window = p.windows[w];
    Line(FormatText("window %zu: number %u, wait type %u, left %d, top %d, width %u, height %u, items %u from item offset %u", w,
                    window.number, window.waitType, window.left, window.top, window.width, window.height, window.itemCount,
                    window.firstItemOffset));
    for (std::size_t i = 0; i < window.itemCount && item < p.items.size(); ++i, ++item) {
      std::string fields;
      for (const ItemField& field : ItemRecordFields(p.items[item])) {
        if (field.name == "code") continue;
        if (field.name == "block" && field.value == kNoBlock) {
          fields += ", block none";
          continue;
        }
        fields += ", " + FieldText(field);
      }
      Line(FormatText("  item %zu: code %u %s%s", item, p.items[item][0], ItemCodeName(p.items[item][0]), fields.c_str()));
    }
  }
  for (std::size_t b = 0; b < p.blocks.size(); ++b) Block(bytes, p, b, prefix);
  Problems(p.problems);
}

std::string Inspection::PicturesOf(const std::vector<QImage>& pictures, std::size_t block, const std::string& prefix) {
  if (!m_pages) return {};
  std::string written;
  for (std::size_t k = 0; k < pictures.size(); ++k) {
    const std::filesystem::path file = *m_pages / FormatText("%sblock-%zu-page-%zu.png", prefix.c_str(), block, k + 1);
    if (!pictures[k].save(QString::fromStdString(file.string()), "PNG")) throw CliError("cannot write " + file.string());
    written += "\n" + m_indent + "  " + file.string();
  }
  return written;
}

void Inspection::Block(Bytes file, const ProgramFileContents& program, std::size_t index, const std::string& prefix) {
  const ProgramBlockEntry& entry = program.blocks[index];
  const Bytes block = ProgramBlockBytes(file, program, index);
  std::string head = FormatText("block %zu: type %u %s, %u bytes at %u (file offset %llu)", index, entry.type, BlockTypeName(entry.type),
                                entry.length, entry.offset,
                                static_cast<unsigned long long>(program.dataAreaOffset) + entry.offset);
  if (block.empty() && entry.length != 0) return Line(head + ": outside the file");
  const std::size_t at = program.dataAreaOffset + static_cast<std::size_t>(entry.offset);
  const std::string_view chars(reinterpret_cast<const char*>(block.data()), block.size());
  const auto failed = [&](const Status& status) {
    Line(head);
    Problem(at, FormatText("block %zu: %s", index, status.detail().c_str()));
  };
  switch (entry.type) {
    case kCodePicturePages: {
      const Expected<PicturePages> pages = DecodePicturePages(block, program.colourMode);
      if (!pages) return failed(pages.status());
      return Line(head + FormatText(": %ux%u, pages red %u green %u blue %u", pages->width, pages->height, pages->planePages[0],
                                    pages->planePages[1], pages->planePages[2]) +
                  PicturesOf(pages->pages, index, prefix));
    }
    case kCodeAnimationFrames: {
      const Expected<std::vector<DecodedFrame>> frames = DecodeAnimationFrames(block);
      if (!frames) return failed(frames.status());
      std::string list;
      std::vector<QImage> pictures;
      for (const DecodedFrame& frame : *frames) {
        list += FormatText("%s%dx%d %d ms", list.empty() ? "" : ", ", frame.picture.width(), frame.picture.height(), frame.delayMs);
        pictures.push_back(frame.picture);
      }
      return Line(head + FormatText(": %zu frames", frames->size()) + (list.empty() ? "" : " (" + list + ")") +
                  PicturesOf(pictures, index, prefix));
    }
    case kCodeCellText: {
      const Expected<DecodedCellText> cells = DecodeCellText(block);
      if (!cells) return failed(cells.status());
      std::string text;
      for (const TextCell& cell : cells->cells) {
        if (cell.character > 0xFF) text += static_cast<char>(cell.character >> 8);
        text += static_cast<char>(cell.character & 0xFF);
      }
      return Line(head + FormatText(": form %u, %zu cells: ", cells->form, cells->cells.size()) + Text(text));
    }
    case kCodeProgramName:
    case kCodeClock:
    case kCodeSensor:
    case kCodeTimeCounter:
    case kCodeWorkCounter:
    case kCodeVideoFile: {
      const std::optional<std::string> text = TerminatedText(block);
      if (!text) return failed(Status::Failure(kTextControllerFileDamaged, "a text without its terminating zero"));
      return Line(head + ": " + Text(*text));
    }
    case kCodeGifAnimation:
    case kCodePictureFile: return Line(head + (chars.starts_with("GIF8") ? ": a GIF file" : ": not a GIF file"));
    case kCodeVideoAnimation:
      if (chars.starts_with("LAF:")) {
        const std::optional<std::string> text = TerminatedText(block);
        return Line(head + ": " + (text ? Text(*text) : "a reference without its terminating zero"));
      }
      return Line(head + ": an animation file");
    default: return Line(head);
  }
}

void Inspection::Schedule(Bytes bytes) {
  const Expected<ProgramScheduleContents> schedule = ReadProgramSchedule(bytes);
  if (!schedule) return Refused(schedule.status());
  Line(FormatText("schedule file, %zu bytes", bytes.size()));
  Line(FormatText("  version %s, records %u", Version(schedule->version).c_str(), schedule->recordCount));
  for (std::size_t i = 0; i < schedule->records.size(); ++i) {
    const ProgramScheduleRecord& record = schedule->records[i];
    Line(FormatText("record %zu: program %u, time schedule 0x%02X 0x%04X 0x%02X", i, record.program, record.timeSch[0], record.timeSch[1],
                    record.timeSch[2]));
  }
  Problems(schedule->problems);
}

void Inspection::Pack(Bytes bytes) {
  const Expected<ProgramPackContents> pack = ReadProgramPack(bytes);
  if (!pack) return Refused(pack.status());
  Line(FormatText("program pack, %zu bytes, %u files, \"idx4\" at %u", bytes.size(), pack->fileCount, pack->indexOffset));
  Problems(pack->problems);
  for (std::size_t i = 0; i < pack->files.size(); ++i) {
    const PackedFile& file = pack->files[i];
    Line(FormatText("file %zu: %u bytes at %u", i, file.size, file.offset));
    const std::string indent = m_indent;
    m_indent += "  ";
    File(bytes.subspan(file.offset, file.size), FormatText("file-%zu-", i));
    m_indent = indent;
  }
}

void Inspection::RunSchedule(Bytes bytes) {
  const Expected<RunScheduleContents> schedule = ReadRunSchedule(bytes);
  if (!schedule) return Refused(schedule.status());
  Line(FormatText("run schedule, %zu bytes", bytes.size()));
  Line(FormatText("  programs %u, entries %u, attribute 0x%02X, program bytes %u", schedule->programCount, schedule->entryCount,
                  schedule->attribute, schedule->programBytes));
  for (std::size_t i = 0; i < schedule->entries.size(); ++i) {
    const RunScheduleEntry& e = schedule->entries[i];
    std::string programs;
    for (std::size_t j = 0; j < e.programs.size(); ++j) {
      if (e.programs[j] == '1') programs += (programs.empty() ? "" : ", ") + std::to_string(j + 1);
    }
    Line(FormatText("entry %zu: type %d, weekdays 0x%02X, %02u-%02u-%02u to %02u-%02u-%02u, %02u:%02u:%02u to %02u:%02u:%02u, programs %s",
                    i, e.Type(), e.weekdayMask, e.startDate[0], e.startDate[1], e.startDate[2], e.endDate[0], e.endDate[1], e.endDate[2],
                    e.startTime[0], e.startTime[1], e.startTime[2], e.endTime[0], e.endTime[1], e.endTime[2],
                    programs.empty() ? "none" : programs.c_str()));
  }
  Problems(schedule->problems);
}

void Inspect(const InspectOptions& options) {
  std::string content;
  if (Status read = ReadWholeFile(options.file, content); !read) throw CliError(StatusMessage(read));
  std::optional<std::filesystem::path> pages;
  if (!options.pages.empty()) {
    pages = std::filesystem::path(options.pages);
    std::error_code error;
    std::filesystem::create_directories(*pages, error);
    if (error) throw CliError(FormatText("cannot make the folder %s: %s", options.pages.c_str(), error.message().c_str()));
  }
  std::cout << options.file << ": ";
  Inspection inspection(std::cout, pages);
  inspection.File({reinterpret_cast<const std::uint8_t*>(content.data()), content.size()});
  std::cout.flush();
  if (inspection.ProblemCount() > 0) {
    throw CliError(FormatText("%s: %d problem%s", options.file.c_str(), inspection.ProblemCount(), inspection.ProblemCount() == 1 ? "" : "s"));
  }
}

const CliCommandGroup kInspectCommand(
    70, "inspect", "Show every field of a controller file (.lpp, .lpb, .lpt, .lpm, .rsf) and what is wrong in it",
    [](CLI::App& group, CliContext&) {
      group.require_subcommand(0);  // a command of its own, without subcommands
      auto options = std::make_shared<InspectOptions>();
      group.add_option("FILE", options->file, "The controller file")->required();
      group.add_option("--pages", options->pages, "Folder for the pictures of picture and animation blocks: block-<n>-page-<k>.png");
      group.callback([options] { Inspect(*options); });
    });

}  // namespace
}  // namespace vantorel::cli
