#pragma once
// Why a screen rule refused a change: the numbered message text and the title of the message box
// that shows it, so a dialog can show it and the command line can print it.

#include <string>

#include "app/text_table.h"

namespace vantorel {

struct RuleRefusal {
  int textId = 0;
  int titleId = kTextPrompt;
  std::string text;  // the message, formatted

  static RuleRefusal FromText(int textId, int titleId = kTextPrompt) { return {textId, titleId, LoadText(textId)}; }
  std::string Title() const { return LoadText(titleId); }
};

}  // namespace vantorel
