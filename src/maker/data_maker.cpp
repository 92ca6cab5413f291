#include "maker/data_maker.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "app/app_folders.h"
#include "app/status_text.h"
#include "app/text_format.h"
#include "app/text_ids.h"
#include "maker/controller_file_names.h"
#include "maker/item_conversion.h"
#include "maker/playbill_index_file.h"
#include "maker/program_file_writer.h"
#include "maker/program_pack.h"
#include "maker/program_schedule_file.h"
#include "platform/md5_digest.h"
#include "playbill/playbill_paths.h"
#include "playbill/playbill_reader.h"
#include "render/font_library.h"
#include "render/media/conversion_log.h"
#include "screen/controller_types.h"
#include "screen/part_list.h"

namespace vantorel {
namespace {

constexpr std::uint16_t kScheduledProgram = 0x100;  // bit 8 of the first TIMESCH value

// Files of an earlier run that would be sent with the new ones if they stayed: the index, the
// schedule file and the external file list.
Status RemoveStaleFiles(const ConversionContext& context) {
  for (const std::string& name : {PlaybillIndexName(context.screenId), ProgramScheduleName(context.screenId),
                                  ExternalFileListName(context.screenId)}) {
    const std::filesystem::path file = context.outputFolder / name;
    std::error_code error;
    std::filesystem::remove(file, error);
    if (error) return Status::SystemError(error.value(), file);
  }
  return Status::Ok();
}

Status MakeFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder, error)) {
    return Status::Failure(kTextCannotCreateWorkFolder, folder.string()).WithTitle(kTextError);
  }
  return Status::Ok();
}

// The lines of the external file list, when there is one.
std::vector<std::filesystem::path> ListedFiles(const std::filesystem::path& list) {
  std::vector<std::filesystem::path> files;
  std::ifstream in(list, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) files.emplace_back(line);
  }
  return files;
}

std::string ItemStep(int program, int window, int item, std::uint16_t kind) {
  return FormatText("program %d, window %d, item %d: %s", program + 1, window + 1, item + 1, ItemKindToken(kind).c_str());
}

// One run of Make: the walk over the record list with the program being written.
class CMakeRun {
public:
  CMakeRun(const ConversionContext& context, const MakeOptions& options, CConversionLog& log, CMakeObserver* observer,
           const std::atomic<bool>* cancel)
      : m_context(context),
        m_converter(context, options, context.outputFolder / ExternalFileListName(context.screenId), log, observer, cancel),
        m_observer(observer),
        m_cancel(cancel) {}

  Status Walk(const PrgList& records, MakeResult& result) {
    const int total = static_cast<int>(std::count_if(records.begin(), records.end(), [](const tagPrgItem& r) { return r.IsItem(); }));
    int done = 0;
    for (const tagPrgItem& record : records) {
      if (m_cancel != nullptr && m_cancel->load()) return Status::Failure(kTextMakeCancelled);
      if (record.IsProgram()) {
        if (Status finished = FinishProgram(result); !finished) return finished;
        if (Status started = StartProgram(record.program, result); !started) return started;
      } else if (record.IsWindow()) {
        if (Status added = AddWindow(record.window, result); !added) return added;
      } else if (record.IsItem()) {
        if (m_observer != nullptr) {
          m_observer->Progress(done, total, ItemStep(m_programNumber, m_writer ? m_writer->WindowCount() - 1 : 0, m_itemInWindow, record.item.actType));
        }
        if (Status added = AddItem(record.item, result); !added) return added;
        ++done;
      }
    }
    if (Status finished = FinishProgram(result); !finished) return finished;
    if (m_observer != nullptr) m_observer->Progress(total, total, {});
    for (Status& note : m_converter.TakeNotes()) result.notes.push_back(std::move(note));
    result.madeMedia = m_converter.MadeMedia();
    return Status::Ok();
  }

  const std::vector<PlaybillIndexEntry>& IndexEntries() const { return m_entries; }
  const std::vector<ProgramScheduleRecord>& ScheduleRecords() const { return m_schedule; }

private:
  Status StartProgram(const tagProgramPart& program, MakeResult& result) {
    ++m_programNumber;
    m_windowsLeftOut = false;
    m_windowOpen = false;
    m_fileName = ProgramFileName(m_context.screenId, m_programNumber);
    const ProgramFileHeader header{program.loopCnt, program.playTime, m_context.width, m_context.height,
                                   static_cast<std::uint8_t>(m_context.colourMode)};
    Expected<CProgramFileWriter> writer = CProgramFileWriter::Begin(m_context.outputFolder / m_fileName, header);
    if (!writer) return writer.status();
    m_writer.emplace(std::move(*writer));
    if (!program.prgName.empty()) {
      const std::vector<std::uint8_t> name = m_converter.ProgramName(program.prgName.str());
      if (Status added = m_writer->AddNameBlock(name); !added) return added;
    }
    if (!program.backgrd.empty()) {
      Expected<std::vector<std::uint8_t>> background = m_converter.Background(program);
      if (!background) {
        result.notes.push_back(background.status().WithContext(FormatText("program %d, background", m_programNumber + 1)));
      } else if (Status added = m_writer->AddBackgroundBlock(*background); !added) {
        result.notes.push_back(added.WithContext(FormatText("program %d, background", m_programNumber + 1)));
      }
    }
    if ((program.timeSch[0] & kScheduledProgram) != 0) {
      m_schedule.push_back(ProgramScheduleRecord{static_cast<std::uint16_t>(m_programNumber), program.timeSch});
    }
    return Status::Ok();
  }

  Status AddWindow(const tagWindowPart& window, MakeResult& result) {
    m_windowOpen = false;
    if (!m_writer) return Status::Ok();  // a window before any program belongs to none
    if (m_writer->WindowCount() >= kMaxProgramWindows) {
      if (!m_windowsLeftOut) {
        result.notes.push_back(Status::Failure(kTextWindowsLeftOut, std::to_string(kMaxProgramWindows))
                                   .WithContext(FormatText("program %d", m_programNumber + 1)));
        m_windowsLeftOut = true;
      }
      return Status::Ok();
    }
    const ProgramWindow stored{window.waitType, window.left, window.top, window.width, window.height, window.border};
    if (Status added = m_writer->AddWindow(stored); !added) return added;
    m_windowOpen = true;
    m_windowSize = QSize(window.width, window.height);
    m_itemInWindow = 0;
    return Status::Ok();
  }

  Status AddItem(const tagItemPart& item, MakeResult& result) {
    if (!m_writer || !m_windowOpen) return Status::Ok();  // an item outside a window, or of a window left out
    const int window = m_writer->WindowCount() - 1;
    const std::string where = ItemStep(m_programNumber, window, m_itemInWindow, item.actType);
    ++m_itemInWindow;
    const ItemTarget target{m_programNumber, window, m_writer->BlockCount(), m_windowSize};
    Expected<ConvertedItem> converted = m_converter.Convert(item, target);
    if (!converted) {
      if (m_cancel != nullptr && m_cancel->load()) return Status::Failure(kTextMakeCancelled);
      ++result.leftOut;
      result.notes.push_back(converted.status().WithContext(where));
      return Status::Ok();
    }
    const Status added = converted->hasBlock ? m_writer->AddItem(converted->record, converted->block)
                                             : m_writer->AddItem(converted->record);
    if (!added) {
      // The writer refuses a block it cannot describe (too long, too many): the item is left out.
      ++result.leftOut;
      result.notes.push_back(added.WithContext(where));
      return Status::Ok();
    }
    ++result.items;
    return Status::Ok();
  }

  Status FinishProgram(MakeResult& result) {
    if (!m_writer) return Status::Ok();
    const int windows = m_writer->WindowCount();
    const Expected<WrittenProgramFile> written = m_writer->Finish();
    m_writer.reset();
    const std::filesystem::path file = m_context.outputFolder / m_fileName;
    if (!written) return written.status();
    const Expected<std::string> digest = Md5HexOfFile(file);
    if (!digest) return digest.status();
    result.files.push_back(file);
    std::string named = m_fileName;
    const auto same = std::find_if(m_digests.begin(), m_digests.end(), [&](const auto& entry) { return entry.second == *digest; });
    if (same != m_digests.end()) {
      named = same->first;
      ++result.sharedPrograms;
    } else {
      m_digests.emplace_back(m_fileName, *digest);
    }
    m_entries.push_back(PlaybillIndexEntry{named, static_cast<std::uint8_t>(windows)});
    ++result.programs;
    return Status::Ok();
  }

  const ConversionContext& m_context;
  CItemConverter m_converter;
  CMakeObserver* m_observer;
  const std::atomic<bool>* m_cancel;
  std::optional<CProgramFileWriter> m_writer;
  std::string m_fileName;
  int m_programNumber = -1;
  bool m_windowOpen = false;
  bool m_windowsLeftOut = false;
  QSize m_windowSize;
  int m_itemInWindow = 0;
  std::vector<std::pair<std::string, std::string>> m_digests;  // program file name, MD5
  std::vector<PlaybillIndexEntry> m_entries;
  std::vector<ProgramScheduleRecord> m_schedule;
};

// Packs the program files of `index`; the files made then replace the packed ones in `result`.
// A pack that cannot be made leaves the files unpacked, as they were.
void PackFiles(const std::filesystem::path& index, MakeResult& result) {
  const Expected<PackSummary> packed = PackProgramFiles(index);
  if (!packed) {
    result.notes.push_back(packed.status());
    return;
  }
  result.packs = packed->packs;
  if (packed->packs == 0) return;
  std::vector<std::filesystem::path> files;
  for (const std::filesystem::path& file : result.files) {
    std::error_code error;
    std::filesystem::path pack = file;
    pack.replace_extension(".lpm");
    if (file.extension() == ".lpb" && std::filesystem::is_regular_file(pack, error)) files.push_back(pack);
    if (std::filesystem::is_regular_file(file, error)) files.push_back(file);
  }
  result.files = std::move(files);
}

// Removes the media folder when nothing lies in it.
void RemoveEmptyFolder(const std::filesystem::path& folder) {
  std::error_code error;
  if (std::filesystem::is_directory(folder, error) && std::filesystem::is_empty(folder, error)) {
    std::filesystem::remove(folder, error);
  }
}

}  // namespace

CDataMaker::CDataMaker(std::filesystem::path workFolder, std::filesystem::path dataFolder)
    : m_dataFolder(std::move(dataFolder)) {
  m_context.workFolder = std::move(workFolder);
}

void CDataMaker::Reset() {
  std::filesystem::path workFolder = std::move(m_context.workFolder);
  m_context = ConversionContext{};
  m_context.workFolder = std::move(workFolder);
  m_madeMedia.clear();
}

void CDataMaker::SetScreen(const tagScreenInfo& screen, const tagCommInfo& comm) {
  m_context.screenId = screen.number;
  m_context.width = screen.width;
  m_context.height = screen.height;
  m_context.colourMode = screen.color;
  m_context.rotation = IsRotated(comm.special) ? 1 : 0;
  m_context.codePage = FontCodePageOf(screen);
}

void CDataMaker::SetModel(std::uint16_t model) {
  m_context.model = model;
  m_context.controllerClass = ControllerClassOf(model);
  m_context.outputFolder = m_context.workFolder / kOutputFolderName;
}

void CDataMaker::SetOutputFolder(std::filesystem::path folder) { m_context.outputFolder = std::move(folder); }

Expected<PrgList> CDataMaker::LoadPlaybill(const tagScreenInfo& screen) const {
  const std::filesystem::path file = PlaybillPathFor(screen, m_context.workFolder);
  if (file.empty()) return Status::Failure(kTextCannotMakeData, m_context.workFolder.string());
  PrgList list;
  int version = 0;
  const Expected<ReadWarnings> read = ReadPlaybill(file, list, version, &screen);
  if (!read) return read.status();
  return list;
}

MakeResult CDataMaker::Make(const PrgList& records, CMakeObserver* observer, const std::atomic<bool>* cancel) {
  const auto started = std::chrono::steady_clock::now();
  MakeResult result;
  const auto finish = [&](Status failure) {
    result.made = failure.ok();
    if (!failure) {
      result.failure = failure.text() == kTextCannotCreateWorkFolder
                           ? failure
                           : Status::Failure(kTextCannotMakeData, StatusMessage(failure)).WithTitle(kTextError);
    }
    result.time = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    for (const auto& file : result.files) {
      std::error_code error;
      const auto size = std::filesystem::file_size(file, error);
      if (!error) result.bytes += size;
    }
    m_madeMedia = result.madeMedia;
    return result;
  };
  m_madeMedia.clear();
  if (m_context.screenId == 0 || m_context.screenId > 254) {
    return finish(Status::Failure(kTextScreenIdOutOfRange, std::to_string(m_context.screenId)));
  }
  if (Status made = MakeFolder(m_context.workFolder); !made) return finish(made);
  if (Status made = MakeFolder(m_context.outputFolder); !made) return finish(made);
  if (records.empty()) return finish(Status::Ok());
  if (Status removed = RemoveStaleFiles(m_context); !removed) return finish(removed);

  const std::filesystem::path mediaFolder = ScreenMediaFolder(m_context.workFolder, m_context.screenId);
  Expected<CConversionLog> loaded = CConversionLog::Load(mediaFolder);
  // A record file that cannot be read is left as it is: this run converts without it and saves nothing.
  const bool logReadable = loaded.ok();
  if (!logReadable) result.notes.push_back(loaded.status());
  CConversionLog log = logReadable ? std::move(*loaded) : CConversionLog(mediaFolder);

  CMakeRun run(m_context, m_options, log, observer, cancel);
  const Status walked = run.Walk(records, result);
  if (logReadable) {
    if (Status saved = log.Save(); !saved) result.notes.push_back(saved);
  }
  RemoveEmptyFolder(mediaFolder);
  if (!walked) return finish(walked);

  const std::filesystem::path index = m_context.outputFolder / PlaybillIndexName(m_context.screenId);
  const PlaybillIndexHeader header{m_context.width, m_context.height, static_cast<std::uint8_t>(m_context.colourMode),
                                   m_context.rotation};
  if (Status written = WritePlaybillIndex(index, header, run.IndexEntries()); !written) return finish(written);
  result.files.insert(result.files.begin(), index);
  if (!run.ScheduleRecords().empty()) {
    const std::filesystem::path schedule = m_context.outputFolder / ProgramScheduleName(m_context.screenId);
    if (Status written = WriteProgramSchedule(schedule, run.ScheduleRecords()); !written) {
      std::error_code error;
      std::filesystem::remove(index, error);
      return finish(written);
    }
    result.files.push_back(schedule);
  }
  const std::filesystem::path list = m_context.outputFolder / ExternalFileListName(m_context.screenId);
  result.externalFiles = ListedFiles(list);
  if (!result.externalFiles.empty()) result.files.push_back(list);
  if (m_options.packProgramFiles) PackFiles(index, result);
  return finish(Status::Ok());
}

}  // namespace vantorel
