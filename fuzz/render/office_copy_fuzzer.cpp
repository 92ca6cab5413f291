// Hostile office copies: the first line is taken as a file name beside a document "a.docx" and the
// rest as an exported spreadsheet page. A name read as a copy's is exactly the name written for its
// stamp; whatever the page holds, it loads without touching a file, and a small one is cut into
// pages of a small window and drawn, pages staying inside the text and drawing ending.

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdlib>
#include <string_view>
#include <utility>

#include "render/media/office_document.h"
#include "render/richtext/rich_text_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  static int argc = 1;
  static char name[] = "office_copy_fuzzer";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
  (void)application;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t end = input.find('\n');
  const std::string_view fileName = input.substr(0, end);
  const std::string_view page = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  for (const std::string_view extension : {".rtf", ".html"}) {
    const auto stamp = OfficeCopyStamp(fileName, "a.docx", extension);
    if (stamp && OfficeCopyName("a.docx", *stamp, extension).string() != fileName) std::abort();
  }
  auto document = SpreadsheetHtmlDocument(page);
  if (document->characterCount() > 400) return 0;
  CLedBitmap bitmap(static_cast<int>(size % 40), 16, 0x77);
  CRichTextPages pages;
  pages.SetTarget(&bitmap);
  pages.Load(std::move(document));
  pages.Paginate(static_cast<PaginationMode>(size % 3));
  std::size_t drawn = 0;
  while (pages.DrawNextPage()) {
    if (++drawn > pages.PageCount()) std::abort();
  }
  if (!pages.Finished() || drawn != pages.PageCount()) std::abort();
  return 0;
}
