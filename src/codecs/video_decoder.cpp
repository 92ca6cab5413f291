#include "codecs/video_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/mathematics.h>
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
#include <libavutil/pixdesc.h>
#include <libavutil/version.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <array>
#include <string>
#include <vector>

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
    av_frame_unref(current.get());
    av_frame_unref(next.get());
    haveNext = false;
    flushing = false;
    return Status::Ok();
  }

  // Converts `height` rows of `source` (planes and strides of the frame's pixel format and width)
  // to RGB at width x height, into a picture that owns its buffer.
  Expected<QImage> Convert(const std::uint8_t* const source[4], const int strides[4], AVPixelFormat format,
                           int sourceWidth, int sourceHeight, int width, int height, int flags) {
    scaler.reset(sws_getCachedContext(scaler.release(), sourceWidth, sourceHeight, format, width, height,
                                      AV_PIX_FMT_RGB24, flags, nullptr, nullptr, nullptr));
    if (!scaler) return Failed("no conversion of the frames to RGB");
    // swscale writes whole blocks of pixels and may run past the end of a row: the rows are
    // padded to 64 bytes and a spare row follows the last, in a buffer the picture then owns.
    const int stride = (3 * width + 63) / 64 * 64;
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(static_cast<std::size_t>(stride) * (static_cast<std::size_t>(height) + 1)));
    if (buffer == nullptr) return Failed("no memory for a frame of " + std::to_string(width) + " x " + std::to_string(height));
    std::uint8_t* planes[4] = {buffer, nullptr, nullptr, nullptr};
    const int outStrides[4] = {stride, 0, 0, 0};
    sws_scale(scaler.get(), source, strides, 0, sourceHeight, planes, outStrides);
    return QImage(buffer, width, height, stride, QImage::Format_RGB888, [](void* data) { av_free(data); }, buffer);
  }

  Status CheckCurrent() const {
    if (current->buf[0] == nullptr) return Failed("no frame decoded");
    if (current->width <= 0 || current->height <= 0) return Failed("a frame of size 0");
    return Status::Ok();
  }

  Expected<QImage> Picture(int width, int height, int flags) {
    if (Status checked = CheckCurrent(); !checked) return checked;
    if (width <= 0 || height <= 0) {
      width = current->width;
      height = current->height;
    }
    return Convert(current->data, current->linesize, static_cast<AVPixelFormat>(current->format), current->width,
                   current->height, width, height, flags);
  }

  // Rows `rows` of the frame at its own size: the rows (and the chroma rows they use) are gathered
  // into a small frame of the same pixel format, each luma row repeated for every row that shares
  // its chroma row, and only that is converted. swscale converts a frame of its own size row by
  // row, so the rows come out as in the whole frame, for a fraction of the work.
  Expected<QImage> PictureRows(std::span<const int> rows) {
    if (Status checked = CheckCurrent(); !checked) return checked;
    for (const int row : rows) {
      if (row < 0 || row >= current->height) return Failed("no row " + std::to_string(row) + " in the frame");
    }
    const auto format = static_cast<AVPixelFormat>(current->format);
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    const int planeCount = av_pix_fmt_count_planes(format);
    bool gather = descriptor != nullptr && planeCount > 0 &&
                  (descriptor->flags & (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM)) == 0;
    for (int plane = 0; gather && plane < planeCount; ++plane) gather = current->linesize[plane] > 0;
    // A frame whose size is not a whole number of chroma samples has its chroma spread over the
    // rows by another ratio than the gathered rows would: it is converted whole.
    gather = gather && current->height % (1 << descriptor->log2_chroma_h) == 0 &&
             current->width % (1 << descriptor->log2_chroma_w) == 0;
    const int width = current->width;
    const auto count = static_cast<int>(rows.size());
    if (!gather || count == 0) {
      auto whole = Picture(0, 0, SWS_POINT);
      if (!whole) return whole;
      QImage picked(width, std::max(count, 1), QImage::Format_RGB888);
      for (int j = 0; j < count; ++j) std::copy_n(whole->constScanLine(rows[static_cast<std::size_t>(j)]), 3 * width, picked.scanLine(j));
      return count == 0 ? QImage() : picked;
    }
    const int shift = descriptor->log2_chroma_h;
    const int group = 1 << shift;  // luma rows sharing one chroma row
    // A single row is gathered twice: swscale treats a picture one row high as a case of its own.
    const std::vector<int> twice = count == 1 ? std::vector<int>{rows[0], rows[0]} : std::vector<int>{};
    if (count == 1) rows = twice;
    const auto gatheredCount = static_cast<int>(rows.size());
    const std::uint8_t* planes[4] = {};
    int strides[4] = {};
    for (int plane = 0; plane < planeCount; ++plane) {
      const bool chroma = (plane == 1 || plane == 2) && (descriptor->flags & AV_PIX_FMT_FLAG_RGB) == 0;
      const int bytes = std::min(current->linesize[plane], av_image_get_linesize(format, width, plane));
      const int stride = (bytes + 63) / 64 * 64;
      const std::size_t needed = static_cast<std::size_t>(stride) * static_cast<std::size_t>(gatheredCount * group + 1);
      std::vector<std::uint8_t>& buffer = gathered[static_cast<std::size_t>(plane)];
      if (buffer.size() < needed) buffer.resize(needed);
      for (int j = 0; j < gatheredCount; ++j) {
        const int row = rows[static_cast<std::size_t>(j)];
        if (chroma) {
          std::copy_n(current->data[plane] + static_cast<std::ptrdiff_t>(row >> shift) * current->linesize[plane], bytes,
                      buffer.data() + static_cast<std::ptrdiff_t>(j) * stride);
        } else {
          for (int copy = 0; copy < group; ++copy) {
            std::copy_n(current->data[plane] + static_cast<std::ptrdiff_t>(row) * current->linesize[plane], bytes,
                        buffer.data() + static_cast<std::ptrdiff_t>(j * group + copy) * stride);
          }
        }
      }
      planes[plane] = buffer.data();
      strides[plane] = stride;
    }
    auto converted = Convert(planes, strides, format, width, gatheredCount * group, width, gatheredCount * group, SWS_POINT);
    if (!converted || (group == 1 && count == gatheredCount)) return converted;
    QImage picked(width, count, QImage::Format_RGB888);
    for (int j = 0; j < count; ++j) std::copy_n(converted->constScanLine(j * group), 3 * width, picked.scanLine(j));
    return picked;
  }

  // 1: the next frame is now the current one; 0: the stream had ended (the last frame stays).
  Expected<bool> Advance() {
    if (const Status filled = FillNext(); !filled) return filled;
    if (!haveNext) return false;
    av_frame_unref(current.get());
    av_frame_move_ref(current.get(), next.get());
    haveNext = false;
    if (const Status filled = FillNext(); !filled) return filled;
    interval = IntervalOf(current.get(), haveNext ? next.get() : nullptr);
    ++position;
    return true;
  }

  Expected<QImage> Next(int width, int height, int flags) {
    const Expected<bool> advanced = Advance();
    if (!advanced) return advanced.status();
    if (!*advanced) return QImage();
    return Picture(width, height, flags);
  }

  std::array<std::vector<std::uint8_t>, 4> gathered;  // the rows PictureRows converts
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

Expected<QImage> CVideoDecoder::NextFrame() { return m_impl->Next(0, 0, SWS_POINT); }

Expected<QImage> CVideoDecoder::NextFrame(int width, int height) {
  if (width < 1 || height < 1) {
    return m_impl->Failed("frames cannot be scaled to " + std::to_string(width) + " x " + std::to_string(height));
  }
  return m_impl->Next(width, height, SWS_POINT);
}

Expected<bool> CVideoDecoder::Advance() { return m_impl->Advance(); }

Expected<QImage> CVideoDecoder::CurrentFrame() { return m_impl->Picture(0, 0, SWS_POINT); }

Expected<QImage> CVideoDecoder::CurrentFrame(int width, int height) {
  if (width < 1 || height < 1) {
    return m_impl->Failed("frames cannot be scaled to " + std::to_string(width) + " x " + std::to_string(height));
  }
  return m_impl->Picture(width, height, SWS_POINT);
}

Expected<QImage> CVideoDecoder::CurrentRows(std::span<const int> rows) { return m_impl->PictureRows(rows); }

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
