#pragma once
// Expected files kept under tests/data/<case>/: what a test writes is compared with them as text
// or byte for byte. With VANTOREL_REGENERATE_GOLDEN=1 in the environment the expected file is
// rewritten from what the test made instead (review the change with git diff before committing).
//
//   EXPECT_TRUE(MatchesGolden("quick_start/screen.cfg", stored, GoldenKind::kText));

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace vantorel::test {

enum class GoldenKind {
  kText,    // a mismatch shows the first differing lines with their numbers
  kBinary,  // a mismatch shows both sizes and a hex dump of 32 bytes from the first difference
};

// tests/data of the source tree.
std::filesystem::path GoldenRoot();

::testing::AssertionResult MatchesGolden(const std::filesystem::path& relative, std::string_view actual,
                                         GoldenKind kind, const std::filesystem::path& root = GoldenRoot());

// What tells `actual` from `expected`, empty when they are the same.
std::string GoldenDifference(std::string_view expected, std::string_view actual, GoldenKind kind);

}  // namespace vantorel::test
