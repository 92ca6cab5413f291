#pragma once
// The container of a video file opened with libavformat and its chosen video stream, shared by
// ReadVideoMediaInfo and CVideoDecoder. Internal to the codecs library: FFmpeg's types stay out of
// every other header.

extern "C" {
#include <libavformat/avformat.h>
}

#include <filesystem>
#include <memory>

#include "codecs/video_media_info.h"
#include "platform/status.h"

namespace vantorel {

struct FormatContextCloser {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextCloser>;

struct OpenedVideoStream {
  FormatContextPtr container;
  int streamIndex = -1;
  VideoMediaInfo info;
};

// The text of an FFmpeg error code ("Invalid data found when processing input").
std::string AvErrorText(int code);

// Opens `file`, reads its stream information and picks its best video stream; fails for what
// ReadVideoMediaInfo refuses.
Expected<OpenedVideoStream> OpenVideoStream(const std::filesystem::path& file);

}  // namespace vantorel
