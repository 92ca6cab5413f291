#pragma once
// Language files: "language/lang<ID>.lng" beside the program, one numbered text per line in UTF-8:
//
//   # comment
//   317=VANTOREL_010100
//   205=Hinweis
//   128=Vantorel\n\nProgramList\n...
//
// A text runs to the end of its line; "\n", "\t" and "\\" stand for a line break, a tab and a
// backslash. A file must carry the tag "VANTOREL_010100" as text 317 to be used.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace vantorel {

inline constexpr const char* kLanguageFileExtension = ".lng";

// Reads the texts of `content`; false (with `texts` unspecified) when it is not a language file:
// not UTF-8, a line that is neither blank, a comment nor "<number>=<text>", a bad escape, or a
// number given twice.
bool ParseLanguageFile(std::string_view content, std::map<int, std::string>& texts);

// The inverse of ParseLanguageFile for one text: escapes line breaks, tabs and backslashes.
std::string EscapeLanguageText(std::string_view text);

// Whether `translation` may replace `original` in printf-style formatting: both take the same
// arguments in the same order. A translation that does not would read arguments that are not there.
bool SameFormatArguments(std::string_view original, std::string_view translation);

}  // namespace vantorel
