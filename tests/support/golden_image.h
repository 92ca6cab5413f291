#pragma once
// Expected pictures kept under tests/data/<case>/ as PNG files: what a renderer drew is compared
// with them pixel by pixel (RGB, alpha ignored). VANTOREL_REGENERATE_GOLDEN=1 rewrites the
// expected picture, as for golden files. On a mismatch the picture that was drawn is written
// beside the test binary as <name>.actual.png so it can be looked at.
//
//   EXPECT_TRUE(MatchesGoldenImage("clock/face-12x32.png", bitmap.ToImage()));

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>

#include "support/golden_file.h"

namespace vantorel::test {

// What tells `actual` from `expected`, empty when every pixel is the same: the sizes, or how many
// pixels differ and the first one with both colours.
std::string ImageDifference(const QImage& expected, const QImage& actual);

::testing::AssertionResult MatchesGoldenImage(const std::filesystem::path& relative, const QImage& actual,
                                              const std::filesystem::path& root = GoldenRoot());

}  // namespace vantorel::test
