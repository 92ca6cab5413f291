#pragma once
// Text for a dot-matrix font library: UTF-8 in memory, bytes of the library's code page when drawn.

#include <string>
#include <string_view>

namespace vantorel {

// `utf8` as bytes of `codePage` (a font library code page number). The degree sign becomes code
// 127, the built-in degree sign, except in extended ASCII, which has its own. A character the code
// page lacks becomes '?'; invalid UTF-8 bytes do too.
std::string EncodeForCodePage(std::string_view utf8, int codePage);

}  // namespace vantorel
