#include "app/status_text.h"

#include <string_view>

#include "app/text_ids.h"
#include "app/text_table.h"

namespace vantorel {

std::string StatusMessage(const Status& status) {
  if (status.ok()) return {};
  std::string text = LoadText(status.text() == kNoTextId ? kTextFailed : status.text());
  if (status.detail().empty()) return text;
  for (const char* placeholder : {"%d", "%s"}) {
    if (const auto at = text.find(placeholder); at != std::string::npos) {
      return text.replace(at, 2, status.detail());
    }
  }
  // "Failed: reason", but a text that is a whole sentence is followed by its detail.
  const bool sentence = !text.empty() && std::string_view(".!?").find(text.back()) != std::string_view::npos;
  return text + (text.empty() ? "" : sentence ? " " : ": ") + status.detail();
}

TextId StatusTitle(const Status& status, TextId fallback) {
  return status.title() == kNoTextId ? fallback : status.title();
}

}  // namespace vantorel
