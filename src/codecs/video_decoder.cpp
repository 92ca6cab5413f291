#include "codecs/video_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/mathematics.h>
#include <libavutil/mem.h>
#include <libavutil/version.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <string>

#include "codecs/video_stream.h"

namespace vantorel {
namespace {

struct CodecContextFree {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFree {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFree {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ScalerFree {
  void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};

std::int64_t TimestampOf(const AVFrame* frame) {
  return frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp : frame->pts;
}

std::int64_t FrameDuration(const AVFrame* frame) {
#if LIBAVUTIL_VERSION_MAJOR >= 58
  return frame->duration;
#else
  return frame->pkt_duration;
#endif
}

}  // namespace

struct CVideoDecoder::Impl {
  OpenedVideoStream opened;
  AVRational timeBase{1, 1};
  std::int64_t start = 0;
  std::unique_ptr<AVCodecContext, CodecContextFree> codec;
  std::unique_ptr<AVPacket, PacketFree> packet{av_packet_alloc()};
  std::unique_ptr<AVFrame, FrameFree> current{av_frame_alloc()};
  std::unique_ptr<AVFrame, FrameFree> next{av_frame_alloc()};
  std::unique_ptr<SwsContext, ScalerFree> scaler;
  bool haveNext = false;
  bool flushing = false;  // the end of the file was reached and the decoder told so
  std::int64_t position = 0;
  int interval = 0;

  Status Failed(const std::string& why) const {
    return Status::Failure(kNoTextId, std::string(opened.container->url) + ": " + why);
  }

  // 1: a frame decoded into `out`; 0: the stream has ended; negative: FFmpeg's error. A damaged
  // packet (a cut or broken file) is passed over: the frames around it still decode.
  int Decode(AVFrame* out) {
    for (;;) {
      int result = avcodec_receive_frame(codec.get(), out);
      if (result == 0) return 1;
      if (result == AVERROR_EOF) return 0;
      if (result != AVERROR(EAGAIN)) return result;
      if (flushing) return 0;
      if (av_read_frame(opened.container.get(), packet.get()) < 0) {
        avcodec_send_packet(codec.get(), nullptr);
        flushing = true;
        continue;
      }
      if (packet->stream_index != opened.streamIndex) {
        av_packet_unref(packet.get());
        continue;
      }
      result = avcodec_send_packet(codec.get(), packet.get());
      av_packet_unref(packet.get());
      if (result < 0 && result != AVERROR(EAGAIN) && result != AVERROR_INVALIDDATA) return result;
    }
  }

  Status FillNext() {
    if (haveNext) return Status::Ok();
    const int decoded = Decode(next.get());
    if (decoded < 0) return Failed("frame " + std::to_string(position + 1) + ": " + AvErrorText(decoded));
    haveNext = decoded == 1;
    return Status::Ok();
  }

  // The frame index a timestamp stands for; -1 when the frame carries none.
  std::int64_t IndexOf(const AVFrame* frame) const {
    const std::int64_t timestamp = TimestampOf(frame);
    if (timestamp == AV_NOPTS_VALUE) return -1;
    const AVRational perFrame{opened.info.frameRateDen, opened.info.frameRateNum};
    return av_rescale_q_rnd(timestamp - start, timeBase, perFrame, AV_ROUND_NEAR_INF);
  }

  int IntervalOf(const AVFrame* frame, const AVFrame* following) const {
    const std::int64_t here = TimestampOf(frame);
    std::int64_t ticks = 0;
    if (following != nullptr && here != AV_NOPTS_VALUE && TimestampOf(following) != AV_NOPTS_VALUE) {
      ticks = TimestampOf(following) - here;
    }
    if (ticks <= 0) ticks = FrameDuration(frame);
    std::int64_t ms = ticks > 0 ? av_rescale_q_rnd(ticks, timeBase, AVRational{1, 1000}, AV_ROUND_NEAR_INF) : 0;
    if (ms <= 0) {
      ms = av_rescale_rnd(1000, opened.info.frameRateDen, opened.info.frameRateNum, AV_ROUND_NEAR_INF);
    }
    return static_cast<int>(std::clamp<std::int64_t>(ms, 1, 3'600'000));
  }

  Status Rewind(std::int64_t timestamp) {
    if (av_seek_frame(opened.container.get(), opened.streamIndex, timestamp, AVSEEK_FLAG_BACKWARD) < 0 &&
        av_seek_frame(opened.container.get(), -1, 0, AVSEEK_FLAG_BYTE) < 0) {
      return Failed("the video cannot be searched");
    }
    avcodec_flush_buffers(codec.get());
    av_frame_unref(next.get());
    haveNext = false;
    flushing = false;
    return Status::Ok();
  }

  Expected<QImage> Picture(const AVFrame* frame, int width, int height, int flags) {
    if (frame->width <= 0 || frame->height <= 0) return Failed("a frame of size 0");
    scaler.reset(sws_getCachedContext(scaler.release(), frame->width, frame->height,
                                      static_cast<AVPixelFormat>(frame->format), width, height, AV_PIX_FMT_RGB24,
                                      flags, nullptr, nullptr, nullptr));
    if (!scaler) return Failed("no conversion of the frames to RGB");
    // swscale writes whole blocks of pixels and may run past the end of a row: the rows are
    // padded to 64 bytes and a spare row follows the last, in a buffer the picture then owns.
    const int stride = (3 * width + 63) / 64 * 64;
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(static_cast<std::size_t>(stride) * (static_cast<std::size_t>(height) + 1)));
    if (buffer == nullptr) return Failed("no memory for a frame of " + std::to_string(width) + " x " + std::to_string(height));
    std::uint8_t* planes[4] = {buffer, nullptr, nullptr, nullptr};
    const int strides[4] = {stride, 0, 0, 0};
    sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
    return QImage(buffer, width, height, stride, QImage::Format_RGB888, [](void* data) { av_free(data); }, buffer);
  }

  Expected<QImage> Next(int width, int height, int flags) {
    if (const Status filled = FillNext(); !filled) return filled;
    if (!haveNext) return QImage();
    av_frame_unref(current.get());
    av_frame_move_ref(current.get(), next.get());
    haveNext = false;
    if (const Status filled = FillNext(); !filled) return filled;
    interval = IntervalOf(current.get(), haveNext ? next.get() : nullptr);
    ++position;
    if (width <= 0 || height <= 0) {
      width = current->width;
      height = current->height;
    }
    auto picture = Picture(current.get(), width, height, flags);
    av_frame_unref(current.get());
    return picture;
  }
};

CVideoDecoder::CVideoDecoder(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
CVideoDecoder::CVideoDecoder(CVideoDecoder&&) noexcept = default;
CVideoDecoder& CVideoDecoder::operator=(CVideoDecoder&&) noexcept = default;
CVideoDecoder::~CVideoDecoder() = default;

Expected<CVideoDecoder> CVideoDecoder::Open(const std::filesystem::path& file) {
  auto opened = OpenVideoStream(file);
  if (!opened) return opened.status();
  auto impl = std::make_unique<Impl>();
  impl->opened = std::move(*opened);
  const AVStream* stream = impl->opened.container->streams[impl->opened.streamIndex];
  impl->timeBase = stream->time_base.num > 0 && stream->time_base.den > 0 ? stream->time_base : AVRational{1, AV_TIME_BASE};
  impl->start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
  const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
  if (decoder == nullptr) return impl->Failed(std::string("no decoder for ") + avcodec_get_name(stream->codecpar->codec_id));
  impl->codec.reset(avcodec_alloc_context3(decoder));
  if (!impl->codec || !impl->packet || !impl->current || !impl->next) return impl->Failed("no memory for the decoder");
  if (const int copied = avcodec_parameters_to_context(impl->codec.get(), stream->codecpar); copied < 0) {
    return impl->Failed(AvErrorText(copied));
  }
  impl->codec->pkt_timebase = stream->time_base;
  impl->codec->thread_count = 0;  // as many as the machine has
  if (const int started = avcodec_open2(impl->codec.get(), decoder, nullptr); started < 0) {
    return impl->Failed(std::string(decoder->name) + ": " + AvErrorText(started));
  }
  return CVideoDecoder(std::move(impl));
}

const VideoMediaInfo& CVideoDecoder::Info() const { return m_impl->opened.info; }

Expected<QImage> CVideoDecoder::NextFrame() { return m_impl->Next(0, 0, SWS_BILINEAR); }

Expected<QImage> CVideoDecoder::NextFrame(int width, int height) {
  if (width < 1 || height < 1) {
    return m_impl->Failed("frames cannot be scaled to " + std::to_string(width) + " x " + std::to_string(height));
  }
  return m_impl->Next(width, height, SWS_POINT);
}

int CVideoDecoder::Interval() const { return m_impl->interval; }

std::int64_t CVideoDecoder::Position() const { return m_impl->position; }

Status CVideoDecoder::Seek(std::int64_t frame) {
  Impl& impl = *m_impl;
  if (frame < 0 || frame >= FrameCount()) {
    return impl.Failed("no frame " + std::to_string(frame + 1) + " of " + std::to_string(FrameCount()));
  }
  const AVRational perFrame{Info().frameRateDen, Info().frameRateNum};
  const std::int64_t wanted = impl.start + av_rescale_q(frame, perFrame, impl.timeBase);
  if (const Status rewound = impl.Rewind(wanted); !rewound) return rewound;
  bool fromStart = false;
  for (;;) {
    if (const Status filled = impl.FillNext(); !filled) return filled;
    if (!impl.haveNext) return impl.Failed("frame " + std::to_string(frame + 1) + " is past the end of the video");
    const std::int64_t index = impl.IndexOf(impl.next.get());
    if (index > frame && !fromStart) {
      // The key frame found lies after the frame asked for: decode from the beginning instead.
      fromStart = true;
      if (const Status rewound = impl.Rewind(impl.start); !rewound) return rewound;
      continue;
    }
    if (index < 0 || index >= frame) break;
    av_frame_unref(impl.next.get());
    impl.haveNext = false;
  }
  impl.position = frame;
  return Status::Ok();
}

}  // namespace vantorel
