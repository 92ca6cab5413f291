#include "render/media/movie.h"

#include <QPainter>

#include <algorithm>
#include <limits>
#include <string>

#include "app/text_ids.h"
#include "render/media/media_kind.h"

namespace vantorel {

// --- CVideoEx ---------------------------------------------------------------------------------------

void CVideoEx::Reset() {
  m_width = 0;
  m_height = 0;
  m_frameCount = 0;
  m_currentFrame = 0;
  m_interval = 0;
}

void CVideoEx::Release() { Reset(); }

void CVideoEx::DrawCurrent(QImage& /*target*/) {}

QSize CVideoEx::GetSize() const { return {m_width, m_height}; }

int CVideoEx::GetFrameCount() const { return m_frameCount; }

int CVideoEx::GetCurrentFrame() const { return m_currentFrame; }

bool CVideoEx::DrawFrame(int /*index*/, QImage& /*target*/, int /*x*/, int /*y*/, int /*width*/, int /*height*/) {
  return false;
}

int CVideoEx::GetInterval() const { return m_interval; }

void CVideoEx::Put(QImage& target, const QImage& picture, int x, int y) {
  if (target.isNull()) {
    target = picture.copy();
    if (x == 0 && y == 0) return;
    target.fill(Qt::black);
  }
  if (target.format() == QImage::Format_RGB888 && picture.format() == QImage::Format_RGB888) {
    // The common case, a frame into a picture of its own format: rows copied, clipped.
    const QRect visible = QRect(QPoint(x, y), picture.size()).intersected(target.rect());
    if (visible.isEmpty()) return;
    for (int row = visible.top(); row <= visible.bottom(); ++row) {
      std::copy_n(picture.constScanLine(row - y) + 3 * (visible.left() - x), 3 * visible.width(),
                  target.scanLine(row) + 3 * visible.left());
    }
    return;
  }
  QPainter painter(&target);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(x, y, picture);
}

// --- CVideoLaf2 -------------------------------------------------------------------------------------

bool CVideoLaf2::Open(const std::filesystem::path& file) {
  Release();
  m_interval = 10;
  auto reader = std::make_unique<CLafReader>();
  if (const Status loaded = reader->Load(file); !loaded) {
    m_failure = loaded.WithText(kTextAnimationFileUnreadable).WithContext(file.string());
    return false;
  }
  if (reader->FrameCount() < 1) {
    m_failure = Status::Failure(kTextNoMovieFrames, file.string());
    return false;
  }
  m_width = reader->GetInfo().width;
  m_height = reader->GetInfo().height;
  m_frameCount = reader->FrameCount();
  m_currentFrame = 0;
  m_reader = std::move(reader);
  m_failure = Status::Ok();
  return true;
}

void CVideoLaf2::Release() {
  m_reader.reset();
  CVideoEx::Release();
}

void CVideoLaf2::DrawCurrent(QImage& target) {
  if (!m_reader) return;
  const auto frame = m_reader->GetFrameImage(m_currentFrame);
  if (frame) Put(target, frame->picture, 0, 0);
}

bool CVideoLaf2::DrawFrame(int index, QImage& target, int x, int y, int /*width*/, int /*height*/) {
  if (!m_reader) return false;
  const auto frame = m_reader->GetFrameImage(index);
  if (!frame) {
    m_failure = frame.status().WithText(kTextAnimationFileUnreadable);
    return false;
  }
  Put(target, frame->picture, x, y);
  m_interval = frame->interval;
  m_currentFrame = index;
  return true;
}

// --- CVideoOvv --------------------------------------------------------------------------------------

bool CVideoOvv::Open(const std::filesystem::path& file) {
  Release();
  auto decoder = CVideoDecoder::Open(file);
  if (!decoder) {
    m_failure = decoder.status().WithText(kTextVideoUnreadable);
    return false;
  }
  m_width = decoder->Width();
  m_height = decoder->Height();
  m_frameCount = static_cast<int>(std::min<std::int64_t>(decoder->FrameCount(), std::numeric_limits<int>::max()));
  m_interval = 100;
  m_currentFrame = 0;
  m_decoder.emplace(std::move(*decoder));
  m_failure = Status::Ok();
  return true;
}

void CVideoOvv::Release() {
  m_decoder.reset();
  CVideoEx::Release();
}

void CVideoOvv::DrawCurrent(QImage& target) { DrawFrame(m_currentFrame, target, 0, 0, -1, -1); }

bool CVideoOvv::DrawFrame(int index, QImage& target, int x, int y, int width, int height) {
  if (!m_decoder) return false;
  if (index != m_currentFrame) {
    if (const Status sought = m_decoder->Seek(index); !sought) {
      m_failure = sought.WithText(kTextVideoUnreadable);
      return false;
    }
    m_currentFrame = index;
  }
  const bool ownSize = width == -1 && height == -1;
  auto frame = ownSize ? m_decoder->NextFrame() : m_decoder->NextFrame(width, height);
  if (!frame) {
    m_failure = frame.status().WithText(kTextVideoUnreadable);
    return false;
  }
  if (frame->isNull()) return false;  // past the last frame
  Put(target, *frame, x, y);
  m_interval = m_decoder->Interval();
  ++m_currentFrame;
  return true;
}

// --- OpenMovie --------------------------------------------------------------------------------------

std::unique_ptr<CVideoEx> OpenMovie(const std::filesystem::path& file, Status* failure) {
  std::unique_ptr<CVideoEx> movie;
  std::filesystem::path opened = file;
  switch (MediaKindOf(file)) {
    case kMediaVideo: movie = std::make_unique<CVideoOvv>(); break;
    case kMediaAnimation: movie = std::make_unique<CVideoLaf2>(); break;
    case kMediaFlash:
      opened = FlashStandIn(file);
      if (!std::filesystem::exists(opened)) {
        if (failure != nullptr) *failure = Status::Failure(kTextFlashWithoutAnimation, opened.string());
        return nullptr;
      }
      movie = std::make_unique<CVideoLaf2>();
      break;
    case kMediaNone:
      if (failure != nullptr) *failure = Status::Failure(kTextNotAMovie, file.string());
      return nullptr;
  }
  if (!movie->Open(opened)) {
    if (failure != nullptr) *failure = movie->LastFailure();
    return nullptr;
  }
  return movie;
}

}  // namespace vantorel
