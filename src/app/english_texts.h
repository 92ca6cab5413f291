#pragma once

#include <span>

namespace vantorel {

struct TextEntry {
  int id;
  const char* text;
};

// The built-in English table, sorted by id.
std::span<const TextEntry> EnglishTexts();

}  // namespace vantorel
