#include "codecs/qt_image_codec.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QImageWriter>

#include <string>
#include <string_view>

#include "codecs/picture.h"
#include "codecs/png_chunks.h"
#include "codecs/tiff_header.h"

namespace vantorel {
namespace {

// Qt's readers say "Unknown error" when a header makes no sense.
std::string ReaderError(const QImageReader& reader) {
  const std::string text = reader.errorString().toStdString();
  return text == "Unknown error" ? "header not understood" : text;
}

}  // namespace

Expected<QImage> DecodeWithQt(std::span<const std::uint8_t> bytes, const char* format) {
  if (std::string_view(format) == "png") bytes = WholePngChunks(bytes);
  if (std::string_view(format) == "tiff") {
    if (Status checked = CheckTiffHeader(bytes); !checked) return checked;
  }
  const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<qsizetype>(bytes.size()));
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoTransform(false);
  const QSize size = reader.size();
  if (!size.isValid()) {
    return Status::Failure(kNoTextId, std::string("damaged ") + format + " file: " + ReaderError(reader));
  }
  if (Status checked = CheckPictureSize(size.width(), size.height()); !checked) return checked;
  // Qt's own allocation limit (256 MB by default) still bounds a reader that sizes its buffers from
  // other fields of the file.
  QImage image;
  if (!reader.read(&image) || image.isNull()) {
    return Status::Failure(kNoTextId, std::string("damaged ") + format + " file: " + ReaderError(reader));
  }
  return ToPicture(image);
}

Expected<std::vector<std::uint8_t>> EncodeBmp(const QImage& picture) {
  if (picture.isNull()) return Status::Failure(kNoTextId, "a BMP file needs a picture");
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  if (!writer.write(ToPicture(picture).convertToFormat(QImage::Format_RGB32))) {
    return Status::Failure(kNoTextId, "BMP writer: " + writer.errorString().toStdString());
  }
  return std::vector<std::uint8_t>(data.begin(), data.end());
}

}  // namespace vantorel
