#include "render/media/controller_animation.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "app/text_ids.h"
#include "platform/atomic_file.h"
#include "render/item_pages.h"
#include "render/media/laf_convert.h"
#include "render/media/media_kind.h"

namespace vantorel {
namespace {

ControllerAnimation NothingMade(Status failure) {
  ControllerAnimation result;
  result.failure = std::move(failure);
  return result;
}

std::uint32_t CodeFor(std::size_t length) {
  return (std::uint32_t{kItemDataAnimation} << 24) | (static_cast<std::uint32_t>(length) & 0xFFFFFF);
}

Status AppendLine(const std::filesystem::path& file, const std::string& line) {
  std::FILE* out = std::fopen(file.c_str(), "ab");
  if (out == nullptr) return Status::SystemError(errno, file, kTextAnimationNotWritten);
  const bool written = std::fwrite(line.data(), 1, line.size(), out) == line.size();
  const int error = errno;
  if (std::fclose(out) != 0 || !written) return Status::SystemError(written ? errno : error, file, kTextAnimationNotWritten);
  return Status::Ok();
}

}  // namespace

ControllerAnimation EmbedOrReference(const std::filesystem::path& output, const std::filesystem::path& largeFileList,
                                     int frames) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(output, error);
  if (error) return NothingMade(Status::SystemError(error.value(), output, kTextAnimationNotWritten));
  ControllerAnimation result;
  if (size <= kEmbedLimit) {
    std::string content;
    if (Status read = ReadWholeFile(output, content); !read) return NothingMade(read.WithText(kTextAnimationNotWritten));
    result.data.assign(content.begin(), content.end());
    std::filesystem::remove(output, error);
  } else {
    const std::string reference = "LAF:" + output.filename().string();
    if (Status listed = AppendLine(largeFileList, output.string() + "\n"); !listed) return NothingMade(listed);
    result.data.assign(reference.begin(), reference.end());
  }
  result.code = CodeFor(result.data.size());
  result.frames = frames;
  return result;
}

ControllerAnimation MakeControllerAnimation(const tagItemPart& item, int width, int height, std::uint16_t colourMode,
                                            const std::filesystem::path& outputPath,
                                            const std::filesystem::path& largeFileList,
                                            const std::filesystem::path& mediaFolder) {
  std::error_code error;
  std::filesystem::remove(outputPath, error);
  const std::filesystem::path media = ItemMediaPath(item.media.view(), mediaFolder);
  std::filesystem::path source = media;
  int merge = 0;
  switch (MediaKindOf(media)) {
    case kMediaVideo: merge = kMergeUpToMs; break;
    case kMediaAnimation: break;
    case kMediaFlash:
      source = FlashStandIn(media);
      if (!std::filesystem::exists(source)) return NothingMade(Status::Failure(kTextFlashWithoutAnimation, source.string()));
      break;
    case kMediaNone: return NothingMade(Status::Failure(kTextNotAMovie, media.string()));
  }
  const Expected<int> frames = ConvertToLaf(outputPath, width, height, colourMode, item.showMode, source, merge);
  if (!frames) return NothingMade(frames.status());
  return EmbedOrReference(outputPath, largeFileList, *frames);
}

}  // namespace vantorel
