#pragma once
// Names of the string-table entries that code uses. Code never looks a text up by a bare number:
// LoadText(kTextFailed), not LoadText(371). The list is checked against the built-in English
// table at compile time (english_texts.cpp): a name without an English text does not build.
//
// Add an entry here and its English text in english_texts.cpp together.

#include "platform/status.h"

// X(name, number), sorted by number.
#define VANTOREL_TEXT_IDS(X)   \
  X(kTextPrompt, 205)          \
  X(kTextWarning, 206)         \
  X(kTextError, 207)           \
  X(kTextLanguageTag, 317)     \
  X(kTextImportRefused, 319)   \
  X(kTextFailed, 371)

namespace vantorel {

#define VANTOREL_DEFINE_TEXT_ID(name, number) inline constexpr TextId name = number;
VANTOREL_TEXT_IDS(VANTOREL_DEFINE_TEXT_ID)
#undef VANTOREL_DEFINE_TEXT_ID

}  // namespace vantorel
