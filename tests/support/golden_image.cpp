#include "support/golden_image.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vantorel::test {
namespace {

std::string ColourText(QRgb colour) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", qRed(colour), qGreen(colour), qBlue(colour));
  return text;
}

std::string SizeText(const QImage& image) {
  return std::to_string(image.width()) + " x " + std::to_string(image.height());
}

bool Regenerating() {
  const char* value = std::getenv("VANTOREL_REGENERATE_GOLDEN");
  return value && std::string_view(value) == "1";
}

QString PathText(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

std::string ImageDifference(const QImage& expected, const QImage& actual) {
  if (expected.size() != actual.size()) {
    return "size differs: expected " + SizeText(expected) + ", got " + SizeText(actual);
  }
  const QImage want = expected.convertToFormat(QImage::Format_RGB32);
  const QImage got = actual.convertToFormat(QImage::Format_RGB32);
  long long differing = 0;
  std::string first;
  for (int y = 0; y < want.height(); ++y) {
    const auto* wantLine = reinterpret_cast<const QRgb*>(want.constScanLine(y));
    const auto* gotLine = reinterpret_cast<const QRgb*>(got.constScanLine(y));
    for (int x = 0; x < want.width(); ++x) {
      if (qRgb(qRed(wantLine[x]), qGreen(wantLine[x]), qBlue(wantLine[x])) ==
          qRgb(qRed(gotLine[x]), qGreen(gotLine[x]), qBlue(gotLine[x]))) {
        continue;
      }
      if (differing++ == 0) {
        first = "first at (" + std::to_string(x) + ", " + std::to_string(y) + "): expected " +
                ColourText(wantLine[x]) + ", got " + ColourText(gotLine[x]);
      }
    }
  }
  if (differing == 0) return {};
  return std::to_string(differing) + " of " + std::to_string(static_cast<long long>(want.width()) * want.height()) +
         " pixels differ, " + first;
}

::testing::AssertionResult MatchesGoldenImage(const std::filesystem::path& relative, const QImage& actual,
                                              const std::filesystem::path& root) {
  const auto file = root / relative;
  if (Regenerating()) {
    std::filesystem::create_directories(file.parent_path());
    if (!actual.save(PathText(file), "PNG")) return ::testing::AssertionFailure() << "cannot write " << file;
    return ::testing::AssertionSuccess() << "rewrote " << file;
  }
  QImage expected;
  if (!expected.load(PathText(file), "PNG")) {
    return ::testing::AssertionFailure() << "no expected picture " << file
                                         << "; run with VANTOREL_REGENERATE_GOLDEN=1 to make it";
  }
  const std::string difference = ImageDifference(expected, actual);
  if (difference.empty()) return ::testing::AssertionSuccess();
  const std::filesystem::path drawn =
      std::filesystem::path(VANTOREL_BIN_DIR) / (relative.stem().string() + ".actual.png");
  actual.save(PathText(drawn), "PNG");
  return ::testing::AssertionFailure() << file.string() << " differs: " << difference << " (drawn: " << drawn.string()
                                       << ")";
}

}  // namespace vantorel::test
