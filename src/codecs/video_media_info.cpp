#include "codecs/video_media_info.h"

#include "codecs/video_stream.h"

namespace vantorel {

Expected<VideoMediaInfo> ReadVideoMediaInfo(const std::filesystem::path& file) {
  auto opened = OpenVideoStream(file);
  if (!opened) return opened.status();
  return opened->info;
}

}  // namespace vantorel
