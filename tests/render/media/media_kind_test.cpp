// Media kinds by extension, in any letter case, and the stand-in of a Flash movie.

#include <gtest/gtest.h>

#include "render/media/media_kind.h"

namespace vantorel {
namespace {

TEST(MediaKind, ExtensionsInAnyCase) {
  struct Row {
    const char* file;
    MediaKind kind;
  };
  const Row rows[] = {
      {"a.avi", kMediaVideo},       {"b.MPG", kMediaVideo},         {"c.mpeg", kMediaVideo},
      {"d.Wmv", kMediaVideo},       {"/x/y/e.mp4", kMediaVideo},    {"f.laf", kMediaAnimation},
      {"G.LAF", kMediaAnimation},   {"h.swf", kMediaFlash},         {"i.SwF", kMediaFlash},
      {"j.gif", kMediaNone},        {"k.mov", kMediaNone},          {"mp4", kMediaNone},
      {"l.mp4.txt", kMediaNone},    {"m.", kMediaNone},             {"", kMediaNone},
      {"clip$1.mp4", kMediaVideo},  {"n.mp", kMediaNone},           {"folder.avi/o", kMediaNone},
  };
  for (const Row& row : rows) EXPECT_EQ(MediaKindOf(row.file), row.kind) << row.file;
}

TEST(MediaKind, FlashMovieStandsInAsTheAnimationOfTheSameName) {
  EXPECT_EQ(FlashStandIn("/m/intro.swf"), std::filesystem::path("/m/intro.laf"));
  EXPECT_EQ(FlashStandIn("/m/Intro.SWF"), std::filesystem::path("/m/Intro.laf"));
  EXPECT_EQ(FlashStandIn("a.b.swf"), std::filesystem::path("a.b.laf"));
}

TEST(MediaKind, FiltersKeepTheirStoredForm) {
  EXPECT_EQ(kImageFileFilter, "Image file (bmp;jpg;gif;tif;png)|*.bmp;*.jpg;*.gif;*.tif;*.png||");
  EXPECT_EQ(kVideoFilePatterns, "*.avi;*.mpg;*.mp4;*.wmv;*.swf");
  EXPECT_EQ(kOfficeFilePatterns, "*.doc;*.rtf;*.xls");
}

}  // namespace
}  // namespace vantorel
