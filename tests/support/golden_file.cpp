#include "support/golden_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <vector>

#include "platform/atomic_file.h"
#include "support/test_files.h"

namespace vantorel::test {
namespace {

constexpr std::size_t kDumpBytes = 32;
constexpr std::size_t kShownLines = 3;

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return lines;
}

// Line ends and other control characters are shown, so that "\r\n" against "\n" is visible.
std::string Visible(std::string_view line) {
  std::string shown;
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\t') {
      shown += "\\t";
    } else if (byte < 0x20) {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02X", byte);
      shown += code;
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string TextDifference(std::string_view expected, std::string_view actual) {
  const auto want = SplitLines(expected);
  const auto got = SplitLines(actual);
  std::size_t first = 0;
  while (first < want.size() && first < got.size() && want[first] == got[first]) ++first;
  std::string report = "first difference at line " + std::to_string(first + 1) + " (expected " +
                       std::to_string(want.size()) + " lines, got " + std::to_string(got.size()) + ")\n";
  for (std::size_t line = first; line < first + kShownLines; ++line) {
    if (line >= want.size() && line >= got.size()) break;
    const std::string number = std::to_string(line + 1);
    report += "  " + number + " expected: " + (line < want.size() ? Visible(want[line]) : "<none>") + "\n";
    report += "  " + number + " actual:   " + (line < got.size() ? Visible(got[line]) : "<none>") + "\n";
  }
  // Lines alike but the final line end missing on one side.
  if (first == want.size() && first == got.size()) report += "  only the end of the last line differs\n";
  return report;
}

std::string HexDump(std::string_view bytes, std::size_t offset) {
  std::string dump;
  for (std::size_t i = offset; i < std::min(bytes.size(), offset + kDumpBytes); ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X ", static_cast<unsigned char>(bytes[i]));
    dump += hex;
  }
  if (!dump.empty()) dump.pop_back();
  return dump;
}

std::string BinaryDifference(std::string_view expected, std::string_view actual) {
  const auto mismatch = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
  const auto offset = static_cast<std::size_t>(mismatch.first - expected.begin());
  char where[64];
  std::snprintf(where, sizeof where, "0x%zX", offset);
  return "first difference at offset " + std::string(where) + " (expected " + std::to_string(expected.size()) +
         " bytes, got " + std::to_string(actual.size()) + ")\n  expected: " + HexDump(expected, offset) +
         "\n  actual:   " + HexDump(actual, offset) + "\n";
}

bool Regenerating() {
  const char* value = std::getenv("VANTOREL_REGENERATE_GOLDEN");
  return value && std::string_view(value) == "1";
}

}  // namespace

std::filesystem::path GoldenRoot() { return std::filesystem::path(VANTOREL_SOURCE_DIR) / "tests" / "data"; }

std::string GoldenDifference(std::string_view expected, std::string_view actual, GoldenKind kind) {
  if (expected == actual) return {};
  return kind == GoldenKind::kText ? TextDifference(expected, actual) : BinaryDifference(expected, actual);
}

::testing::AssertionResult MatchesGolden(const std::filesystem::path& relative, std::string_view actual,
                                         GoldenKind kind, const std::filesystem::path& root) {
  const auto file = root / relative;
  if (Regenerating()) {
    WriteText(file, actual);
    return ::testing::AssertionSuccess() << "rewrote " << file;
  }
  std::string expected;
  if (const Status status = ReadWholeFile(file, expected); !status) {
    return ::testing::AssertionFailure() << "no expected file " << file << " (" << status.detail()
                                         << "); run with VANTOREL_REGENERATE_GOLDEN=1 to make it";
  }
  const std::string difference = GoldenDifference(expected, actual, kind);
  if (difference.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << file.string() << " differs: " << difference;
}

}  // namespace vantorel::test
