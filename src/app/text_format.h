#pragma once
// printf-style formatting of numbered texts ("You can define maxinum %d LED screens.").
// The format usually comes from the text table, so it is not a literal.

#include <string>

namespace vantorel {

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vantorel
