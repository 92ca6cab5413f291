#include "app/status_text.h"

#include "app/text_ids.h"
#include "app/text_table.h"

namespace vantorel {

std::string StatusMessage(const Status& status) {
  if (status.ok()) return {};
  std::string text = LoadText(status.text() == kNoTextId ? kTextFailed : status.text());
  if (!status.detail().empty()) text += (text.empty() ? "" : ": ") + status.detail();
  return text;
}

}  // namespace vantorel
