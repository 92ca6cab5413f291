#include "maker/item_conversion.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>

#include "app/text_format.h"
#include "app/text_ids.h"
#include "maker/cell_text_block.h"
#include "maker/controller_text.h"
#include "maker/item_record.h"
#include "maker/picture_file_block.h"
#include "maker/picture_pages.h"
#include "render/item_pages.h"
#include "render/media/controller_animation.h"
#include "render/media/item_frames.h"
#include "render/media/video_conversion_plan.h"
#include "render/media/video_converter.h"
#include "screen/controller_types.h"

namespace vantorel {
namespace {

constexpr std::size_t kFaceTextCharacters = 255;  // the text of a clock or counter block
constexpr std::size_t kFileNameCharacters = 255;  // a media file's name after "VDF:"
constexpr std::size_t kProgramNameCharacters = 50;

std::string LowerExtension(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

// The videos a class-7 controller plays as they are.
bool IsControllerVideo(const std::filesystem::path& file) {
  static constexpr std::array<std::string_view, 5> kExtensions{".avi", ".mpg", ".mpeg", ".wmv", ".mp4"};
  const std::string extension = LowerExtension(file);
  return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

ConvertedItem WithBlock(ItemRecordBytes record, std::vector<std::uint8_t> block) {
  ConvertedItem converted;
  converted.record = record;
  converted.hasBlock = true;
  converted.block = std::move(block);
  return converted;
}

// "text" and its terminating zero.
std::vector<std::uint8_t> Terminated(std::vector<std::uint8_t> bytes) {
  bytes.push_back(0);
  return bytes;
}

Status AppendLine(const std::filesystem::path& list, const std::filesystem::path& file) {
  std::ofstream out(list, std::ios::binary | std::ios::app);
  out << file.string() << '\n';
  out.flush();
  if (!out) return Status::SystemError(errno, list);
  return Status::Ok();
}

}  // namespace

CItemConverter::CItemConverter(const ConversionContext& context, const MakeOptions& options,
                               std::filesystem::path externalList, CConversionLog& videoLog, CMakeObserver* observer,
                               const std::atomic<bool>* cancel)
    : m_context(context),
      m_options(options),
      m_externalList(std::move(externalList)),
      m_videoLog(videoLog),
      m_observer(observer),
      m_cancel(cancel) {}

Expected<ConvertedItem> CItemConverter::Convert(const tagItemPart& item, const ItemTarget& target) {
  const bool asPictureFile = m_context.IsFullColour() && item.vwAsText != 0;
  switch (item.actType) {
    case kKindPicture:
      return asPictureFile ? PictureFile(item, target.size, false) : PicturePages(item, target.size);
    case kKindTextFile:
    case kKindImageText:
      return asPictureFile ? PictureFile(item, target.size, ReversesPages(item.showType)) : PicturePages(item, target.size);
    case kKindDocument:
      return m_context.IsFullColour() ? PictureFile(item, target.size, ReversesPages(item.showType))
                                      : PicturePages(item, target.size);
    case kKindVideo:
      if (m_context.controllerClass == kControllerClass7 && IsControllerVideo(item.media.str())) {
        return VideoFile(item, target.size);
      }
      return VideoAnimation(item, target);
    case kKindClock:
      return FaceText(item, kCodeClock);
    case kKindCellText:
      return CellText(item);
    case kKindAnimation:
      return PassesGifAnimations() && LowerExtension(item.media.str()) == ".gif" ? GifAnimation(item, target.size)
                                                                                 : AnimationFrames(item, target.size);
    case kKindSensor:
      return FaceText(item, kCodeSensor);
    case kKindTimeCounter:
      return FaceText(item, kCodeTimeCounter);
    case kKindWorkCounter:
      return FaceText(item, kCodeWorkCounter);
    default:
      return Status::Failure(kTextItemKindNotMade, ItemKindToken(item.actType));
  }
}

bool CItemConverter::PassesGifAnimations() const {
  const bool model = m_context.model == kModelN3A || m_context.model == kModelN5A || m_context.model == kModelM5 ||
                     m_context.controllerClass == kControllerClass7;
  return model && (m_context.colourMode & 0x70) == 0x70;
}

Expected<ConvertedItem> CItemConverter::PicturePages(const tagItemPart& item, QSize window) {
  const ItemRenderSettings settings{m_context.colourMode, m_context.workFolder, nullptr, m_options.removeFontSmooth, {}};
  const Expected<std::vector<CLedBitmap>> pages = RenderItemPages(item, window, settings);
  if (!pages) return pages.status();
  if (pages->empty()) return Status::Failure(kTextItemHasNoPages);
  CPicturePagesBlock block(window.width(), window.height(), m_context.colourMode);
  for (const CLedBitmap& page : *pages) {
    if (Status added = block.AddPage(page); !added) return added;
  }
  return WithBlock(MakeItemRecord(kCodePicturePages, item), std::move(block).TakeBytes());
}

Expected<ConvertedItem> CItemConverter::PictureFile(const tagItemPart& item, QSize window, bool reversed) {
  const ItemRenderSettings settings{m_context.colourMode, m_context.workFolder, nullptr, m_options.removeFontSmooth, {}};
  const Expected<std::vector<CLedBitmap>> pages = RenderItemPages(item, window, settings);
  if (!pages) return pages.status();
  if (pages->empty()) return Status::Failure(kTextItemHasNoPages);
  Expected<std::vector<std::uint8_t>> gif = PictureFileOfPages(*pages, reversed);
  if (!gif) return gif.status();
  return WithBlock(MakeItemRecord(kCodePictureFile, item), std::move(*gif));
}

Expected<ConvertedItem> CItemConverter::FaceText(const tagItemPart& item, std::uint8_t code) {
  ControllerText text = EncodeControllerText(item.media.str(), m_context.codePage, kFaceTextCharacters);
  m_replacedCharacters += text.replaced;
  if (text.bytes.empty()) {
    ConvertedItem converted;
    converted.record = MakeItemRecord(code, item);
    return converted;
  }
  return WithBlock(MakeItemRecord(code, item), Terminated(std::move(text.bytes)));
}

Expected<ConvertedItem> CItemConverter::CellText(const tagItemPart& item) {
  std::optional<CellTextBlock> cells;
  if (item.richTxt) cells = MakeCellTextBlock(*item.richTxt);
  if (!cells) {
    // A text without cells (the editor shows none either) is a record without a block.
    ConvertedItem converted;
    converted.record = MakeItemRecord(kCodeCellText, item);
    return converted;
  }
  ItemRecordExtras extras;
  extras.sixByteCells = cells->sixByte;
  return WithBlock(MakeItemRecord(kCodeCellText, item, extras), std::move(cells->bytes));
}

Expected<ConvertedItem> CItemConverter::AnimationFrames(const tagItemPart& item, QSize window) {
  const ItemRenderSettings settings{m_context.colourMode, m_context.workFolder, nullptr, m_options.removeFontSmooth, {}};
  CAnimationFramesBlock block(window.width(), window.height(), m_context.colourMode);
  int frames = 0;
  Status added;
  const Status drawn = ForEachItemFrame(item, window, settings, [&](const CLedBitmap& frame, int delayMs) {
    ++frames;
    added = block.AddFrame(frame, delayMs);
    return added.ok() && !(m_cancel != nullptr && m_cancel->load());
  });
  if (!drawn) return drawn;
  if (!added) return added;
  if (frames == 0) return Status::Failure(kTextNoMovieFrames, item.media.str());
  ItemRecordExtras extras;
  extras.frames = static_cast<std::uint16_t>(std::min(frames, 0xFFFF));
  return WithBlock(MakeItemRecord(kCodeAnimationFrames, item, extras), std::move(block).TakeBytes());
}

Expected<ConvertedItem> CItemConverter::GifAnimation(const tagItemPart& item, QSize window) {
  Expected<GifAnimationBlock> gif =
      GifAnimationFile(ItemMediaPath(item.media.str(), m_context.workFolder), window.width(), window.height(), item.showMode);
  if (!gif) return gif.status();
  ItemRecordExtras extras;
  extras.frames = static_cast<std::uint16_t>(std::clamp(gif->frames, 0, 0xFFFF));
  extras.pictureWidth = static_cast<std::uint16_t>(std::clamp(gif->width, 0, 0xFFFF));
  extras.pictureHeight = static_cast<std::uint16_t>(std::clamp(gif->height, 0, 0xFFFF));
  return WithBlock(MakeItemRecord(kCodeGifAnimation, item, extras), std::move(gif->bytes));
}

Expected<ConvertedItem> CItemConverter::VideoAnimation(const tagItemPart& item, const ItemTarget& target) {
  const std::filesystem::path output =
      m_context.outputFolder / FormatText("v%03d%02d%02d.laf", target.program, target.window, target.blockIndex);
  ControllerAnimation animation = MakeControllerAnimation(item, target.size.width(), target.size.height(),
                                                          m_context.colourMode, output, m_externalList, m_context.workFolder);
  if (animation.frames < 0) return animation.failure;
  ItemRecordExtras extras;
  extras.frames = static_cast<std::uint16_t>(std::min(animation.frames, 0xFFFF));
  extras.pictureWidth = static_cast<std::uint16_t>(target.size.width());
  extras.pictureHeight = static_cast<std::uint16_t>(target.size.height());
  return WithBlock(MakeItemRecord(kCodeVideoAnimation, item, extras), std::move(animation.data));
}

Expected<ConvertedItem> CItemConverter::VideoFile(const tagItemPart& item, QSize window) {
  const std::filesystem::path source = ItemMediaPath(item.media.str(), m_context.workFolder);
  const VideoConversionRequest request{source, window.width(), window.height(), item.showMode, m_videoLog.Folder()};
  const Expected<VideoConversionPlan> plan = PlanVideoConversion(request, m_videoLog);
  if (!plan) return plan.status();
  std::filesystem::path video = source;
  switch (plan->kind) {
    case VideoPlanKind::kNone:
      // The source plays as it is: it fits the window, is a converted file itself, or there is no
      // converter (said once a run).
      if (plan->reason == kTextVideoSourceMissing) return Status::Failure(kTextVideoSourceMissing, source.string());
      if (plan->reason == kTextNoVideoConverter && !m_noConverterSaid) {
        m_noConverterSaid = true;
        m_notes.push_back(Status::Failure(kTextVideosSentUnconverted));
      }
      break;
    case VideoPlanKind::kReuse:
      video = plan->output;
      break;
    case VideoPlanKind::kConvert: {
      std::error_code error;
      std::filesystem::create_directories(m_videoLog.Folder(), error);
      if (error) return Status::SystemError(error.value(), m_videoLog.Folder());
      VideoConversionJob job{request, *plan, m_cancel,
                             [this](int percent) {
                               if (m_observer != nullptr) m_observer->MediaProgress(percent);
                             },
                             {}};
      Expected<std::filesystem::path> converted = ConvertVideo(job, m_videoLog);
      if (!converted) return converted.status();
      video = *converted;
      break;
    }
  }
  if (Status listed = AppendLine(m_externalList, video); !listed) return listed;
  m_madeMedia.push_back(video);
  ControllerText name = EncodeControllerText(video.filename().string(), m_context.codePage, kFileNameCharacters);
  std::vector<std::uint8_t> block{'V', 'D', 'F', ':'};
  block.insert(block.end(), name.bytes.begin(), name.bytes.end());
  return WithBlock(MakeItemRecord(kCodeVideoFile, item), Terminated(std::move(block)));
}

std::vector<std::uint8_t> CItemConverter::ProgramName(std::string_view name) {
  ControllerText text = EncodeControllerText(name, m_context.codePage, kProgramNameCharacters);
  m_replacedCharacters += text.replaced;
  return std::move(text.bytes);
}

Expected<std::vector<std::uint8_t>> CItemConverter::Background(const tagProgramPart& program) {
  const Expected<CLedBitmap> picture =
      RenderProgramBackground(program, m_context.ScreenSize(), m_context.colourMode, m_context.workFolder);
  if (!picture) return picture.status();
  CPicturePagesBlock block(m_context.width, m_context.height, m_context.colourMode);
  if (Status added = block.AddPage(*picture); !added) return added;
  return std::move(block).TakeBytes();
}

std::vector<Status> CItemConverter::TakeNotes() {
  if (m_replacedCharacters > 0) {
    m_notes.push_back(Status::Failure(kTextCharactersReplaced, std::to_string(m_replacedCharacters)));
    m_replacedCharacters = 0;
  }
  return std::exchange(m_notes, {});
}

}  // namespace vantorel
