#pragma once
// Office documents (item kind 3) as rich text for the pages of an item.
//
// A ".rtf" document is read as it is. A word-processor document (".doc", ".docx", ".odt") is
// shown through a rich-text copy and a spreadsheet (".xls", ".xlsx", ".ods") through an HTML copy,
// both made by LibreOffice (office_convert.h) and kept beside the document under the name
// "~" + a hexadecimal stamp + "_" + the document's file name + ".rtf" or ".html". The stamp is
// taken from the document's size and modification time, so an edited document gets a new copy and
// an unchanged one is converted once: a copy with the current stamp is used as it is. After a
// conversion the copies of the same document with another stamp are removed.
//
// A spreadsheet's HTML is drawn without anything it refers to: no images, no style sheets and no
// other file is loaded (and nothing from the network); its inline styles, fonts, colours, cell
// alignment and table layout are kept.
//
// Threads: safe on any thread; a conversion blocks the caller for about a second. Documents belong
// to the thread that makes them, and a QGuiApplication must exist.

#include <QTextDocument>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/status.h"
#include "render/media/office_convert.h"

namespace vantorel {

enum class OfficeFormat { kUnknown, kRichText, kWordProcessor, kSpreadsheet };

// By the extension, in any case.
OfficeFormat OfficeFormatOf(const std::filesystem::path& document);

// The stamp of a document of `size` bytes last modified `modified` nanoseconds after the epoch:
// 64-bit FNV-1a over both as 8 little-endian bytes each.
std::uint64_t DocumentStamp(std::uint64_t size, std::int64_t modified);
// The stamp of the document as it is now; kTextOfficeDocumentUnreadable when it is not a readable
// regular file.
Expected<std::uint64_t> DocumentStampOf(const std::filesystem::path& document);

// "~%lx_" + the document's file name + `extension`, beside the document.
std::filesystem::path OfficeCopyName(const std::filesystem::path& document, std::uint64_t stamp,
                                     std::string_view extension);
// The stamp in `fileName` when it names a copy of the document called `documentName` with
// `extension` exactly as OfficeCopyName writes it (lower-case digits, no leading zeros).
std::optional<std::uint64_t> OfficeCopyStamp(std::string_view fileName, std::string_view documentName,
                                             std::string_view extension);

// A word-processor document saved as rich text at `rtfPath`; a spreadsheet saved as HTML at
// `htmlPath`. Failures as for ConvertWithLibreOffice.
Status DocumentToRtf(const std::filesystem::path& document, const std::filesystem::path& rtfPath,
                     const OfficeRun& run = {});
Status SpreadsheetToHtml(const std::filesystem::path& document, const std::filesystem::path& htmlPath,
                         const OfficeRun& run = {});

// The copy of a word-processor document or spreadsheet for its current state: the one there, or
// a new one made now (and the older copies removed). Other documents fail with
// kTextOfficeDocumentType.
Expected<std::filesystem::path> OfficeCopy(const std::filesystem::path& document, const OfficeRun& run = {});

// An exported spreadsheet page (its charset from its meta element, else UTF-8), drawn without the
// images and style sheets it refers to.
std::unique_ptr<QTextDocument> SpreadsheetHtmlDocument(std::string_view html);

// The rich text of an office document: read, or read from its copy. A document that cannot be read
// fails with kTextOfficeDocumentUnreadable, rich text that cannot be read with
// kTextRichTextUnreadable, conversions as above.
Expected<std::unique_ptr<QTextDocument>> OfficeDocumentText(const std::filesystem::path& document,
                                                            const OfficeRun& run = {});

}  // namespace vantorel
