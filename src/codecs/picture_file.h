#pragma once
// Picture files of every kind the editor takes ("bmp", "jpg", "gif", "tif", "png"), told apart by
// their first bytes rather than their names, and the files the program writes (BMP, GIF).
//
//   const Expected<QImage> picture = ReadPicture(item.FilePath());
//   if (!picture) return picture.status();   // "damaged JPEG file: ... — /home/ana/logo.jpg"

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "codecs/animation.h"
#include "platform/status.h"

namespace vantorel {

enum class PictureFormat { kUnknown, kBmp, kJpeg, kGif, kPng, kTiff };

PictureFormat SniffPictureFormat(std::span<const std::uint8_t> bytes);
std::string_view PictureFormatName(PictureFormat format);

// The picture of a file's bytes (a GIF's first frame), 24-bit.
Expected<QImage> DecodePicture(std::span<const std::uint8_t> bytes, ReadWarnings* warnings = nullptr);

// The picture of a file; a failure names the file.
Expected<QImage> ReadPicture(const std::filesystem::path& file, ReadWarnings* warnings = nullptr);

// Whether `file` is a picture we can show (it decodes).
bool IsReadablePicture(const std::filesystem::path& file);

// Every frame of a GIF file; any other picture file is one frame that stays.
Expected<Animation> ReadAnimation(const std::filesystem::path& file, ReadWarnings* warnings = nullptr);

Status WriteBmp(const std::filesystem::path& file, const QImage& picture);
Status WriteGif(const std::filesystem::path& file, const Animation& animation);

}  // namespace vantorel
