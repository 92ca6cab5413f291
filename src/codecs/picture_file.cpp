#include "codecs/picture_file.h"

#include <cstring>
#include <string>

#include "codecs/gif_codec.h"
#include "codecs/jpeg_codec.h"
#include "codecs/qt_image_codec.h"
#include "platform/atomic_file.h"

namespace vantorel {
namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, const char* magic, std::size_t size) {
  return bytes.size() >= size && std::memcmp(bytes.data(), magic, size) == 0;
}

Expected<std::vector<std::uint8_t>> ReadBytes(const std::filesystem::path& file) {
  std::string content;
  if (Status read = ReadWholeFile(file, content); !read) return read;
  return std::vector<std::uint8_t>(content.begin(), content.end());
}

std::string Where(const std::filesystem::path& file) { return " \u2014 " + file.string(); }

Status Named(const Status& failure, const std::filesystem::path& file) {
  return Status::Failure(failure.text(), failure.detail() + Where(file));
}

}  // namespace

PictureFormat SniffPictureFormat(std::span<const std::uint8_t> bytes) {
  if (StartsWith(bytes, "BM", 2)) return PictureFormat::kBmp;
  if (StartsWith(bytes, "\xFF\xD8\xFF", 3)) return PictureFormat::kJpeg;
  if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6)) return PictureFormat::kGif;
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8)) return PictureFormat::kPng;
  if (StartsWith(bytes, "II*\0", 4) || StartsWith(bytes, "MM\0*", 4)) return PictureFormat::kTiff;
  return PictureFormat::kUnknown;
}

std::string_view PictureFormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::kBmp: return "BMP";
    case PictureFormat::kJpeg: return "JPEG";
    case PictureFormat::kGif: return "GIF";
    case PictureFormat::kPng: return "PNG";
    case PictureFormat::kTiff: return "TIFF";
    case PictureFormat::kUnknown: break;
  }
  return "unknown";
}

Expected<QImage> DecodePicture(std::span<const std::uint8_t> bytes, ReadWarnings* warnings) {
  switch (SniffPictureFormat(bytes)) {
    case PictureFormat::kBmp: return DecodeWithQt(bytes, "bmp");
    case PictureFormat::kJpeg: return DecodeJpeg(bytes, warnings);
    case PictureFormat::kGif: return DecodeGifPicture(bytes, warnings);
    case PictureFormat::kPng: return DecodeWithQt(bytes, "png");
    case PictureFormat::kTiff: return DecodeWithQt(bytes, "tiff");
    case PictureFormat::kUnknown: break;
  }
  return Status::Failure(kNoTextId, "not a picture file (BMP, JPEG, GIF, PNG or TIFF)");
}

Expected<QImage> ReadPicture(const std::filesystem::path& file, ReadWarnings* warnings) {
  const Expected<std::vector<std::uint8_t>> bytes = ReadBytes(file);
  if (!bytes) return bytes.status();
  Expected<QImage> picture = DecodePicture(*bytes, warnings);
  if (!picture) return Named(picture.status(), file);
  return picture;
}

bool IsReadablePicture(const std::filesystem::path& file) { return ReadPicture(file).ok(); }

Expected<Animation> ReadAnimation(const std::filesystem::path& file, ReadWarnings* warnings) {
  const Expected<std::vector<std::uint8_t>> bytes = ReadBytes(file);
  if (!bytes) return bytes.status();
  if (SniffPictureFormat(*bytes) == PictureFormat::kGif) {
    Expected<Animation> animation = DecodeGif(*bytes, 0, warnings);
    if (!animation) return Named(animation.status(), file);
    return animation;
  }
  Expected<QImage> picture = DecodePicture(*bytes, warnings);
  if (!picture) return Named(picture.status(), file);
  Animation still;
  still.frames.push_back({std::move(*picture), 0});
  return still;
}

Status WriteBmp(const std::filesystem::path& file, const QImage& picture) {
  const Expected<std::vector<std::uint8_t>> bytes = EncodeBmp(picture);
  if (!bytes) return Named(bytes.status(), file);
  return WriteFileAtomically(file, *bytes);
}

Status WriteGif(const std::filesystem::path& file, const Animation& animation) {
  const Expected<std::vector<std::uint8_t>> bytes = EncodeGif(animation);
  if (!bytes) return Named(bytes.status(), file);
  return WriteFileAtomically(file, *bytes);
}

}  // namespace vantorel
