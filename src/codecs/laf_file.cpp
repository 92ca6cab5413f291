#include "codecs/laf_file.h"

#include <QPainter>
#include <zlib.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "platform/atomic_file.h"
#include "platform/byte_reader.h"
#include "platform/byte_writer.h"

namespace vantorel {
namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'V', 'L', 'A', 'F'};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kFrameCountOffset = 14;
constexpr std::size_t kFileTypeOffset = 12;
constexpr int kMaxDuration = 3'600'000;  // an hour a frame

Status Unreadable(std::string detail) { return Status::Failure(kNoTextId, std::move(detail)); }

// The channels a colour mode stores, in file order.
std::vector<int> PlaneChannels(std::uint16_t colourMode) {
  std::vector<int> channels;
  for (int channel = 0; channel < 3; ++channel) {
    if ((colourMode >> channel) & 1) channels.push_back(channel);
  }
  if (channels.empty()) channels = {0, 1, 2};
  return channels;
}

std::size_t PlanesSize(const LafInfo& info) {
  return static_cast<std::size_t>(LafPlaneCount(info.colourMode)) * static_cast<std::size_t>(info.width) *
         static_cast<std::size_t>(info.height);
}

// The planes of `picture` (RGB888), a byte a pixel, one channel after the other.
std::vector<std::uint8_t> Planes(const QImage& picture, std::uint16_t colourMode) {
  const std::vector<int> channels = PlaneChannels(colourMode);
  const auto pixels = static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height());
  std::vector<std::uint8_t> planes(channels.size() * pixels);
  for (int y = 0; y < picture.height(); ++y) {
    const std::uint8_t* row = picture.constScanLine(y);
    for (int x = 0; x < picture.width(); ++x) {
      const auto at = static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width()) + static_cast<std::size_t>(x);
      for (std::size_t c = 0; c < channels.size(); ++c) planes[c * pixels + at] = row[3 * x + channels[c]];
    }
  }
  return planes;
}

}  // namespace

int LafPlaneCount(std::uint16_t colourMode) { return static_cast<int>(PlaneChannels(colourMode).size()); }

// --- Reading ---------------------------------------------------------------------------------------

bool StartsAsLafFile(std::span<const std::uint8_t> start) {
  return start.size() >= kMagic.size() && std::equal(kMagic.begin(), kMagic.end(), start.begin());
}

Status CLafReader::Load(const std::filesystem::path& file) {
  std::string content;
  if (const Status read = ReadWholeFile(file, content); !read) return read;
  return LoadBytes(std::vector<std::uint8_t>(content.begin(), content.end()));
}

Status CLafReader::LoadBytes(std::vector<std::uint8_t> bytes) {
  m_bytes.clear();
  m_frames.clear();
  m_info = {};
  ByteReader in(bytes);
  if (!StartsAsLafFile(bytes)) return Unreadable("not an animation file");
  in.Skip(kMagic.size());
  const std::uint16_t version = in.U16Le();
  LafInfo info;
  info.width = in.U16Le();
  info.height = in.U16Le();
  info.colourMode = in.U16Le();
  info.fileType = in.U16Le();
  const std::uint32_t count = in.U32Le();
  in.Skip(2);
  if (!in.ok()) return Unreadable("header: " + in.Where());
  if (version != kVersion) return Unreadable("version " + std::to_string(version) + " is not known");
  if (info.width < 1 || info.height < 1 || info.width > kLafMaxSide || info.height > kLafMaxSide) {
    return Unreadable("size " + std::to_string(info.width) + " x " + std::to_string(info.height));
  }
  // Every frame takes at least its 8-byte record: a count the file cannot hold is refused first.
  if (count > in.Remaining() / 8) return Unreadable(std::to_string(count) + " frames do not fit the file");
  std::vector<FrameEntry> frames;
  frames.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    FrameEntry frame;
    const std::uint32_t duration = in.U32Le();
    frame.size = in.U32Le();
    frame.offset = in.Offset();
    in.Skip(frame.size);
    if (!in.ok()) return Unreadable("frame " + std::to_string(i + 1) + ": " + in.Where());
    if (duration > kMaxDuration) return Unreadable("frame " + std::to_string(i + 1) + ": duration " + std::to_string(duration));
    frame.duration = static_cast<int>(duration);
    frames.push_back(frame);
  }
  if (!in.AtEnd()) return Unreadable(std::to_string(in.Remaining()) + " bytes after the last frame");
  info.frameCount = static_cast<int>(count);
  m_bytes = std::move(bytes);
  m_frames = std::move(frames);
  m_info = info;
  return Status::Ok();
}

Expected<LafFrame> CLafReader::GetFrameImage(int index) const {
  if (index < 0 || index >= m_info.frameCount) return Unreadable("no frame " + std::to_string(index + 1));
  const FrameEntry& entry = m_frames[static_cast<std::size_t>(index)];
  const std::size_t wanted = PlanesSize(m_info);
  // zlib packs at most about 1032 bytes into one: a frame that claims more is refused before its
  // planes are allocated.
  if (wanted > entry.size * 1032 + 64) {
    return Unreadable("frame " + std::to_string(index + 1) + ": " + std::to_string(entry.size) +
                      " bytes cannot hold its planes");
  }
  std::vector<std::uint8_t> planes(wanted);
  uLongf made = static_cast<uLongf>(wanted);
  if (uncompress(planes.data(), &made, m_bytes.data() + entry.offset, static_cast<uLong>(entry.size)) != Z_OK ||
      made != wanted) {
    return Unreadable("frame " + std::to_string(index + 1) + ": the picture does not decode to its planes");
  }
  QImage picture(m_info.width, m_info.height, QImage::Format_RGB888);
  picture.fill(Qt::black);
  const std::vector<int> channels = PlaneChannels(m_info.colourMode);
  const auto pixels = static_cast<std::size_t>(m_info.width) * static_cast<std::size_t>(m_info.height);
  for (int y = 0; y < m_info.height; ++y) {
    std::uint8_t* row = picture.scanLine(y);
    for (int x = 0; x < m_info.width; ++x) {
      const auto at = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_info.width) + static_cast<std::size_t>(x);
      for (std::size_t c = 0; c < channels.size(); ++c) row[3 * x + channels[c]] = planes[c * pixels + at];
    }
  }
  return LafFrame{std::move(picture), entry.duration};
}

// --- Writing ---------------------------------------------------------------------------------------

CLafFile::CLafFile(CLafFile&& other) noexcept { *this = std::move(other); }

CLafFile& CLafFile::operator=(CLafFile&& other) noexcept {
  if (this == &other) return *this;
  Abandon();
  m_path = std::move(other.m_path);
  m_temporary = std::move(other.m_temporary);
  m_out = std::exchange(other.m_out, nullptr);
  m_width = other.m_width;
  m_height = other.m_height;
  m_colourMode = other.m_colourMode;
  m_fileType = other.m_fileType;
  m_frameCount = other.m_frameCount;
  m_frame = std::move(other.m_frame);
  m_duration = other.m_duration;
  m_framePending = other.m_framePending;
  return *this;
}

CLafFile::~CLafFile() { Abandon(); }

void CLafFile::Abandon() {
  if (m_out == nullptr) return;
  std::fclose(m_out);
  m_out = nullptr;
  std::error_code ignored;
  std::filesystem::remove(m_temporary, ignored);
}

Expected<CLafFile> CLafFile::CreateFile(const std::filesystem::path& path, int width, int height,
                                        std::uint16_t colourMode) {
  if (width < 1 || height < 1 || width > kLafMaxSide || height > kLafMaxSide) {
    return Status::Failure(kNoTextId, "size " + std::to_string(width) + " x " + std::to_string(height));
  }
  CLafFile file;
  file.m_path = path;
  std::string pattern = path.string() + ".XXXXXX";
  const int descriptor = ::mkstemp(pattern.data());
  if (descriptor < 0) return Status::SystemError(errno, path);
  file.m_temporary = pattern;
  file.m_out = ::fdopen(descriptor, "wb");
  if (file.m_out == nullptr) {
    const int error = errno;
    ::close(descriptor);
    std::filesystem::remove(file.m_temporary);
    return Status::SystemError(error, path);
  }
  file.m_width = width;
  file.m_height = height;
  file.m_colourMode = colourMode;
  ByteWriter header;
  for (const std::uint8_t byte : kMagic) header.U8(byte);
  header.U16Le(kVersion);
  header.U16Le(static_cast<std::uint16_t>(width));
  header.U16Le(static_cast<std::uint16_t>(height));
  header.U16Le(colourMode);
  header.U16Le(kLafAnimationFile);
  header.U32Le(0);  // the frame count, written when the file is closed
  header.U16Le(0);
  const auto& bytes = header.View();
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.m_out) != bytes.size()) {
    return Status::SystemError(errno, path);
  }
  return file;
}

void CLafFile::FrameNew(int duration) {
  m_frame = QImage(m_width, m_height, QImage::Format_RGB888);
  m_frame.fill(Qt::black);
  m_duration = std::clamp(duration, 0, kMaxDuration);
  m_framePending = true;
}

void CLafFile::FrameAddImgpt(int x, int y, const QImage& picture) {
  if (!m_framePending) FrameNew(0);
  QPainter painter(&m_frame);
  painter.drawImage(x, y, picture);
}

Status CLafFile::FrameSave() {
  if (m_out == nullptr) return Status::Failure(kNoTextId, "the file is closed");
  if (!m_framePending) FrameNew(0);
  const std::vector<std::uint8_t> planes = Planes(m_frame, m_colourMode);
  uLongf packedSize = compressBound(static_cast<uLong>(planes.size()));
  std::vector<std::uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, planes.data(), static_cast<uLong>(planes.size()), Z_BEST_SPEED) != Z_OK) {
    return Status::Failure(kNoTextId, "frame " + std::to_string(m_frameCount + 1) + " not compressed");
  }
  ByteWriter record;
  record.U32Le(static_cast<std::uint32_t>(m_duration));
  record.U32Le(static_cast<std::uint32_t>(packedSize));
  const auto& head = record.View();
  if (std::fwrite(head.data(), 1, head.size(), m_out) != head.size() ||
      std::fwrite(packed.data(), 1, packedSize, m_out) != packedSize) {
    return Status::SystemError(errno, m_path);
  }
  ++m_frameCount;
  m_framePending = false;
  return Status::Ok();
}

Status CLafFile::CloseFile() {
  if (m_out == nullptr) return Status::Failure(kNoTextId, "the file is closed");
  ByteWriter tail;
  tail.U32Le(static_cast<std::uint32_t>(m_frameCount));
  ByteWriter type;
  type.U16Le(m_fileType);
  const bool written = std::fseek(m_out, static_cast<long>(kFileTypeOffset), SEEK_SET) == 0 &&
                       std::fwrite(type.View().data(), 1, 2, m_out) == 2 &&
                       std::fseek(m_out, static_cast<long>(kFrameCountOffset), SEEK_SET) == 0 &&
                       std::fwrite(tail.View().data(), 1, 4, m_out) == 4 && std::fflush(m_out) == 0 &&
                       ::fsync(::fileno(m_out)) == 0;
  const int error = errno;
  std::fclose(m_out);
  m_out = nullptr;
  if (!written) {
    std::filesystem::remove(m_temporary);
    return Status::SystemError(error, m_path);
  }
  std::error_code renamed;
  std::filesystem::rename(m_temporary, m_path, renamed);
  if (renamed) {
    std::filesystem::remove(m_temporary);
    return Status::SystemError(renamed.value(), m_path);
  }
  return Status::Ok();
}

}  // namespace vantorel
