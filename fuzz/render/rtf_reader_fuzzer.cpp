// Hostile rich text: whatever the bytes, reading ends with a document or a cause, and what the
// writer makes of a document reads back to the same text. Small documents are cut into pages of
// a small window (the way depends on the input's size) and the pages drawn: pages stay inside the
// text, and drawing ends.

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdlib>
#include <string_view>
#include <utility>

#include "render/richtext/rich_text_pages.h"
#include "render/richtext/rtf_reader.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  static int argc = 1;
  static char name[] = "rtf_reader_fuzzer";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
  (void)application;
  auto document = ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!document) {
    if (document.status().detail().empty()) std::abort();
    return 0;
  }
  const std::string written = WriteRtf(**document);
  const auto again = ReadRtf(written);
  if (!again || (*again)->toRawText() != (*document)->toRawText()) std::abort();
  if ((*document)->characterCount() > 400) return 0;
  CLedBitmap bitmap(static_cast<int>(size % 40), 16, 0x77);
  CRichTextPages pages;
  pages.SetTarget(&bitmap);
  pages.SetVerticalCentring((size & 8) != 0);
  pages.SetLinePitch((size & 16) != 0 ? 7 : 0);
  pages.Load(std::move(document.value()));
  pages.Paginate(static_cast<PaginationMode>(size % 3));
  std::size_t drawn = 0;
  while (pages.DrawNextPage()) {
    if (++drawn > pages.PageCount() || bitmap.Width() != static_cast<int>(size % 40)) std::abort();
  }
  if (!pages.Finished() || drawn != pages.PageCount()) std::abort();
  return 0;
}
