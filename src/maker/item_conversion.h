#pragma once
// One item of a playbill as the controller gets it: its 16-byte item record and, for most kinds,
// its data block — pre-drawn picture pages for the screen's planes, a GIF file, formatted text,
// animation frames, a face's text, or an animation or video file (embedded, or named and listed
// for sending).
//
// Which form an item takes depends on its kind, the screen's colour mode and controller model:
//   picture, text file, image-mode text   GIF file (code 8) on full colour with VWASTEXT set,
//                                         else picture pages (code 1)
//   office document                       GIF file on full colour, else picture pages
//   video                                 the video file (code 16, "VDF:") on class-7 controllers,
//                                         else an animation file (code 11, embedded or "LAF:")
//   clock, temperature, time counter,     their text (codes 5, 6, 9, 13)
//   work counter
//   text-mode text                        its cells (code 3)
//   animation                             the GIF file itself (code 7) where the controller plays
//                                         256-grey GIFs, else frame by frame (code 4)
//
// A CItemConverter belongs to one run (one thread); it keeps the run's video conversion log.

#include <QSize>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "maker/conversion_context.h"
#include "maker/data_maker.h"
#include "maker/item_codes.h"
#include "maker/make_observer.h"
#include "platform/status.h"
#include "playbill/prg_item.h"
#include "render/media/conversion_log.h"

namespace vantorel {

// Where an item goes.
struct ItemTarget {
  int program = 0;      // program number in this run, from 0
  int window = 0;       // window number in its program, from 0
  int blockIndex = 0;   // the index the item's block gets
  QSize size;           // the window's width and height
};

struct ConvertedItem {
  ItemRecordBytes record{};
  bool hasBlock = false;
  std::vector<std::uint8_t> block;
};

class CItemConverter {
public:
  // `externalList` is the run's external file list (IIII.log in the output folder).
  CItemConverter(const ConversionContext& context, const MakeOptions& options, std::filesystem::path externalList,
                 CConversionLog& videoLog, CMakeObserver* observer, const std::atomic<bool>* cancel);

  // The item's record and block; a failure (with its cause) leaves the item out.
  Expected<ConvertedItem> Convert(const tagItemPart& item, const ItemTarget& target);
  // A program's name block (at most 50 characters, without its terminating zero).
  std::vector<std::uint8_t> ProgramName(std::string_view name);
  // A program's background: one picture page of the whole screen by the program's SHOWMODE.
  Expected<std::vector<std::uint8_t>> Background(const tagProgramPart& program);

  // What the run should be told once: characters the sign's fonts cannot show, videos sent
  // unconverted for want of the converter.
  std::vector<Status> TakeNotes();
  const std::vector<std::filesystem::path>& MadeMedia() const { return m_madeMedia; }

private:
  Expected<ConvertedItem> PicturePages(const tagItemPart& item, QSize window);
  Expected<ConvertedItem> PictureFile(const tagItemPart& item, QSize window, bool reversed);
  Expected<ConvertedItem> FaceText(const tagItemPart& item, std::uint8_t code);
  Expected<ConvertedItem> CellText(const tagItemPart& item);
  Expected<ConvertedItem> AnimationFrames(const tagItemPart& item, QSize window);
  Expected<ConvertedItem> GifAnimation(const tagItemPart& item, QSize window);
  Expected<ConvertedItem> VideoAnimation(const tagItemPart& item, const ItemTarget& target);
  Expected<ConvertedItem> VideoFile(const tagItemPart& item, QSize window);
  bool PassesGifAnimations() const;

  const ConversionContext& m_context;
  MakeOptions m_options;
  std::filesystem::path m_externalList;
  CConversionLog& m_videoLog;
  CMakeObserver* m_observer;
  const std::atomic<bool>* m_cancel;
  int m_replacedCharacters = 0;
  bool m_noConverterSaid = false;
  std::vector<Status> m_notes;
  std::vector<std::filesystem::path> m_madeMedia;
};

}  // namespace vantorel
