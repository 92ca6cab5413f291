#pragma once
// The data maker: turns the playbill of one screen into the files its controller plays — the
// playbill index, one program file per program, the schedule file when a program carries a time
// schedule, the list of external files and the media they name — in the output folder.
//
// Used in this order for each screen: Reset, SetScreen, SetModel, LoadPlaybill (or a record list
// of the caller's), Make. Make blocks: run it on a worker thread; it reports through its observer
// on that thread. One CDataMaker belongs to one thread; several makers may run at once on
// different threads (each run's temporary files have names of their own), but not for the same
// output folder and screen.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "maker/conversion_context.h"
#include "maker/make_observer.h"
#include "platform/status.h"
#include "playbill/prg_item.h"
#include "screen/screen_data.h"

namespace vantorel {

struct MakeOptions {
  bool packProgramFiles = false;   // the option "Pack Program Files"
  bool removeFontSmooth = false;   // the option "Remove font smooth"
};

struct MakeResult {
  bool made = false;              // the files were written (Make's 1); false: `failure` says why
  Status failure;                 // kTextCannotMakeData with the cause, or the folder refusal
  std::vector<Status> notes;      // what the files leave out or change: items, windows, characters
  std::vector<std::filesystem::path> files;  // every file written into the output folder, in order
  std::vector<std::filesystem::path> externalFiles;  // the files the external file list names
  std::vector<std::filesystem::path> madeMedia;      // converted videos that travel with the files
  int programs = 0;
  int sharedPrograms = 0;         // programs whose index entry names an earlier identical file
  int items = 0;                  // item records written
  int leftOut = 0;                // items left out
  int packs = 0;                  // program packs made
  std::uint64_t bytes = 0;        // bytes of `files`
  std::chrono::milliseconds time{0};
};

class CDataMaker {
public:
  // Makes for playbills whose media lie in (or are relative to) `workFolder`; temporary and
  // rescaled files go to `dataFolder`.
  CDataMaker(std::filesystem::path workFolder, std::filesystem::path dataFolder);

  // Forgets the screen, the model and the media made by the previous run.
  void Reset();
  // Screen ID, size, colour mode, rotation flag and font code page.
  void SetScreen(const tagScreenInfo& screen, const tagCommInfo& comm);
  // The model: its controller class, and the output folder ("a32sd" in the work folder).
  void SetModel(std::uint16_t model);
  // Another output folder than the default one (after SetModel).
  void SetOutputFolder(std::filesystem::path folder);
  void SetOptions(const MakeOptions& options) { m_options = options; }

  // The playbill of the screen set (its file in the work folder), as the flat record list.
  Expected<PrgList> LoadPlaybill(const tagScreenInfo& screen) const;

  // Converts `records`. An empty list writes nothing and succeeds. Fails (made = false) for a
  // screen ID outside 1..254, an output folder that cannot be made, a file that cannot be
  // written, and a cancelled run; a failed run leaves no index behind to be sent.
  // A set `cancel` stops the run between items and during video conversions.
  MakeResult Make(const PrgList& records, CMakeObserver* observer = nullptr, const std::atomic<bool>* cancel = nullptr);

  const ConversionContext& Context() const { return m_context; }
  const std::vector<std::filesystem::path>& MadeMedia() const { return m_madeMedia; }

private:
  std::filesystem::path m_dataFolder;
  ConversionContext m_context;
  MakeOptions m_options;
  std::vector<std::filesystem::path> m_madeMedia;
};

}  // namespace vantorel
