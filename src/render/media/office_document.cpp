#include "render/media/office_document.h"

#include <sys/stat.h>

#include <QImage>
#include <QStringConverter>
#include <QUrl>

#include <array>
#include <cerrno>
#include <charconv>
#include <string>
#include <system_error>

#include "app/text_ids.h"
#include "platform/atomic_file.h"
#include "render/richtext/rtf_reader.h"

namespace vantorel {
namespace {

constexpr std::string_view kRtfCopy = ".rtf";
constexpr std::string_view kHtmlCopy = ".html";

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string Hex(std::uint64_t value) {
  std::array<char, 16> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value, 16).ptr;
  return std::string(digits.data(), end);
}

// A page that loads nothing it refers to: images are transparent and style sheets empty.
class ExportedHtmlDocument : public QTextDocument {
protected:
  QVariant loadResource(int type, const QUrl& /*name*/) override {
    if (type == QTextDocument::ImageResource) {
      QImage blank(1, 1, QImage::Format_ARGB32);
      blank.fill(Qt::transparent);
      return blank;
    }
    if (type == QTextDocument::StyleSheetResource) return QString();
    return {};
  }
};

// Removes the copies of `document` with `extension` whose stamp is not `stamp`; a copy that
// cannot be removed stays (it is only space).
void RemoveOlderCopies(const std::filesystem::path& document, std::uint64_t stamp, std::string_view extension) {
  const std::string name = document.filename().string();
  std::error_code error;
  const std::filesystem::path folder = document.parent_path().empty() ? "." : document.parent_path();
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::optional<std::uint64_t> old = OfficeCopyStamp(entry.path().filename().string(), name, extension);
    if (old && *old != stamp) std::filesystem::remove(entry.path(), error);
  }
}

Expected<std::unique_ptr<QTextDocument>> DocumentOfCopy(std::string_view bytes, OfficeFormat format) {
  if (format == OfficeFormat::kSpreadsheet) return SpreadsheetHtmlDocument(bytes);
  Expected<std::unique_ptr<QTextDocument>> document = ReadRtf(bytes);
  if (!document) return document.status().WithText(kTextRichTextUnreadable);
  return document;
}

}  // namespace

OfficeFormat OfficeFormatOf(const std::filesystem::path& document) {
  const std::string extension = LowerAscii(document.extension().string());
  if (extension == ".rtf") return OfficeFormat::kRichText;
  if (extension == ".doc" || extension == ".docx" || extension == ".odt") return OfficeFormat::kWordProcessor;
  if (extension == ".xls" || extension == ".xlsx" || extension == ".ods") return OfficeFormat::kSpreadsheet;
  return OfficeFormat::kUnknown;
}

std::uint64_t DocumentStamp(std::uint64_t size, std::int64_t modified) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  const auto mix = [&hash](std::uint64_t value) {
    for (int byte = 0; byte < 8; ++byte) {
      hash ^= (value >> (8 * byte)) & 0xFF;
      hash *= 0x100000001b3u;
    }
  };
  mix(size);
  mix(static_cast<std::uint64_t>(modified));
  return hash;
}

Expected<std::uint64_t> DocumentStampOf(const std::filesystem::path& document) {
  struct stat state {};
  if (::stat(document.c_str(), &state) != 0) return Status::SystemError(errno, document, kTextOfficeDocumentUnreadable);
  if (S_ISDIR(state.st_mode)) return Status::SystemError(EISDIR, document, kTextOfficeDocumentUnreadable);
  if (!S_ISREG(state.st_mode)) return Status::SystemError(EINVAL, document, kTextOfficeDocumentUnreadable);
  const std::int64_t modified =
      static_cast<std::int64_t>(state.st_mtim.tv_sec) * 1'000'000'000 + static_cast<std::int64_t>(state.st_mtim.tv_nsec);
  return DocumentStamp(static_cast<std::uint64_t>(state.st_size), modified);
}

std::filesystem::path OfficeCopyName(const std::filesystem::path& document, std::uint64_t stamp,
                                     std::string_view extension) {
  return document.parent_path() / ("~" + Hex(stamp) + "_" + document.filename().string() + std::string(extension));
}

std::optional<std::uint64_t> OfficeCopyStamp(std::string_view fileName, std::string_view documentName,
                                             std::string_view extension) {
  if (!fileName.starts_with('~')) return std::nullopt;
  fileName.remove_prefix(1);
  const std::size_t separator = fileName.find('_');
  if (separator == 0 || separator == std::string_view::npos || separator > 16) return std::nullopt;
  if (separator > 1 && fileName.front() == '0') return std::nullopt;  // "%lx" writes no leading zeros
  if (fileName.substr(separator + 1) != std::string(documentName) + std::string(extension)) return std::nullopt;
  std::uint64_t stamp = 0;
  for (const char c : fileName.substr(0, separator)) {
    const bool digit = c >= '0' && c <= '9';
    const bool letter = c >= 'a' && c <= 'f';
    if (!digit && !letter) return std::nullopt;
    stamp = stamp << 4 | static_cast<std::uint64_t>(digit ? c - '0' : c - 'a' + 10);
  }
  return stamp;
}

Status DocumentToRtf(const std::filesystem::path& document, const std::filesystem::path& rtfPath,
                     const OfficeRun& run) {
  return ConvertWithLibreOffice(document, "rtf", rtfPath, run);
}

Status SpreadsheetToHtml(const std::filesystem::path& document, const std::filesystem::path& htmlPath,
                         const OfficeRun& run) {
  return ConvertWithLibreOffice(document, "html", htmlPath, run);
}

Expected<std::filesystem::path> OfficeCopy(const std::filesystem::path& document, const OfficeRun& run) {
  const OfficeFormat format = OfficeFormatOf(document);
  if (format != OfficeFormat::kWordProcessor && format != OfficeFormat::kSpreadsheet) {
    return Status::Failure(kTextOfficeDocumentType, document.filename().string());
  }
  const Expected<std::uint64_t> stamp = DocumentStampOf(document);
  if (!stamp) return stamp.status();
  const std::string_view extension = format == OfficeFormat::kSpreadsheet ? kHtmlCopy : kRtfCopy;
  std::filesystem::path copy = OfficeCopyName(document, *stamp, extension);
  std::error_code error;
  if (std::filesystem::is_regular_file(copy, error)) return copy;
  const Status made = format == OfficeFormat::kSpreadsheet ? SpreadsheetToHtml(document, copy, run)
                                                           : DocumentToRtf(document, copy, run);
  if (!made) return made;
  RemoveOlderCopies(document, *stamp, extension);
  return copy;
}

std::unique_ptr<QTextDocument> SpreadsheetHtmlDocument(std::string_view html) {
  const QByteArrayView bytes(html.data(), static_cast<qsizetype>(html.size()));
  QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
  if (!decoder.isValid()) decoder = QStringDecoder(QStringConverter::Utf8);
  auto document = std::make_unique<ExportedHtmlDocument>();
  document->setHtml(decoder.decode(bytes));
  return document;
}

Expected<std::unique_ptr<QTextDocument>> OfficeDocumentText(const std::filesystem::path& document,
                                                            const OfficeRun& run) {
  const OfficeFormat format = OfficeFormatOf(document);
  std::string bytes;
  if (format == OfficeFormat::kRichText) {
    if (Status read = ReadFileStart(document, kMaxOfficeCopyBytes, bytes); !read) {
      return read.WithText(kTextOfficeDocumentUnreadable);
    }
    return DocumentOfCopy(bytes, format);
  }
  // A copy removed between finding and reading it (another render replaced it) is made again.
  Status read;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const Expected<std::filesystem::path> copy = OfficeCopy(document, run);
    if (!copy) return copy.status();
    read = ReadFileStart(*copy, kMaxOfficeCopyBytes, bytes);
    if (read) return DocumentOfCopy(bytes, format);
  }
  return read.WithText(kTextOfficeDocumentUnreadable);
}

}  // namespace vantorel
