// Hostile rich text: whatever the bytes, reading ends with a document or a cause, and what the
// writer makes of a document reads back to the same text.

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdlib>
#include <string_view>

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
  const auto document = ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!document) {
    if (document.status().detail().empty()) std::abort();
    return 0;
  }
  const std::string written = WriteRtf(**document);
  const auto again = ReadRtf(written);
  if (!again || (*again)->toRawText() != (*document)->toRawText()) std::abort();
  return 0;
}
