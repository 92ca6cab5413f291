#include "render/font_lib_ascii_ex.h"

#include <gtest/gtest.h>

#include "font_test_files.h"

namespace vantorel {
namespace {

// An ".ovf" face: the face record at `faceOffset`, blocks for the sizes of `mask`. Width of a code:
// 1 + (code - 32) % 7 + size index; glyph bytes: code - 32, size index, `tag`, then all lit.
std::vector<std::uint8_t> OvfFile(bool wide, std::uint16_t mask, std::uint8_t tag, const std::string& name = "Face",
                                  std::uint32_t faceOffset = 22) {
  const int count = wide ? 224 : 96;
  std::vector<std::uint8_t> bytes(faceOffset, 0);
  std::copy_n("OVWM", 4, bytes.begin());
  bytes[4] = wide ? 1 : 0;
  bytes[17] = 1;
  bytes[18] = static_cast<std::uint8_t>(faceOffset >> 24);
  bytes[19] = static_cast<std::uint8_t>(faceOffset >> 16);
  bytes[20] = static_cast<std::uint8_t>(faceOffset >> 8);
  bytes[21] = static_cast<std::uint8_t>(faceOffset);
  std::vector<std::uint8_t> record(16, 0);
  std::copy_n(name.begin(), std::min<std::size_t>(16, name.size()), record.begin());
  bytes.insert(bytes.end(), record.begin(), record.end());
  bytes.push_back(static_cast<std::uint8_t>(mask >> 8));
  bytes.push_back(static_cast<std::uint8_t>(mask));
  for (int s = 0; s < kFontSizeCount; ++s) {
    if ((mask & (1u << s)) == 0) continue;
    for (int c = 0; c < count; ++c) bytes.push_back(static_cast<std::uint8_t>(1 + c % 7 + s));
    const int glyphBytes = GeometryOf(s).fullBytes;
    for (int c = 0; c < count; ++c) {
      std::vector<std::uint8_t> glyph(static_cast<std::size_t>(glyphBytes), 0xFF);
      glyph[0] = static_cast<std::uint8_t>(c);
      glyph[1] = static_cast<std::uint8_t>(s);
      glyph[2] = tag;
      bytes.insert(bytes.end(), glyph.begin(), glyph.end());
    }
  }
  return bytes;
}

class AsciiExLibraryTest : public test::FontFolderTest {};

TEST_F(AsciiExLibraryTest, ProportionalWidthsAndGlyphsOfEachSize) {
  WriteBytes("ascii.ovf", OvfFile(true, 0xFF, 0));
  CFontLib_AsciiEx library(Folder());
  GlyphBuffer glyph{};
  for (int s = 0; s < kFontSizeCount; ++s) {
    for (const std::uint16_t code : std::initializer_list<std::uint16_t>{32, 65, 127, 200, 255}) {
      EXPECT_EQ(library.CharWidth(code, MakeFontStyle(s)), 1 + (code - 32) % 7 + s) << code;
      EXPECT_EQ(library.CharHeight(code, MakeFontStyle(s)), IndexToSize(s));
      ASSERT_EQ(library.GetGlyph(glyph, code, MakeFontStyle(s)), GeometryOf(s).fullBytes) << code;
      EXPECT_EQ(glyph[0], code - 32);
      EXPECT_EQ(glyph[1], s);
    }
    for (const std::uint16_t code : std::initializer_list<std::uint16_t>{0, 31, 256, 0xB0A1}) {
      EXPECT_EQ(library.CharWidth(code, MakeFontStyle(s)), 0);
      EXPECT_EQ(library.GetGlyph(glyph, code, MakeFontStyle(s)), 0);
    }
  }
  ASSERT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(2, 0, true)), 32);
  EXPECT_EQ(glyph[0], static_cast<std::uint8_t>(~('A' - 32)));
  // Bytes are not replaced, and the face bits count when measuring.
  EXPECT_EQ(library.StringWidth("A\xC8", MakeFontStyle(1)), (1 + 33 % 7 + 1) + (1 + 168 % 7 + 1));
  std::string name;
  EXPECT_TRUE(library.GetFaceName(name, 0, 0, 0));
  EXPECT_EQ(name, "Face");
}

TEST_F(AsciiExLibraryTest, NarrowFacesAndAbsentSizes) {
  WriteBytes("ascii.ovf", OvfFile(false, 0x04, 0));  // codes 32..127, 16 dots only
  CFontLib_AsciiEx library(Folder());
  GlyphBuffer glyph{};
  EXPECT_EQ(library.CharWidth(127, MakeFontStyle(2)), 1 + 95 % 7 + 2);
  EXPECT_EQ(library.CharWidth(128, MakeFontStyle(2)), 0);
  EXPECT_EQ(library.CharWidth('A', MakeFontStyle(3)), 0);
  EXPECT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(3)), 0);
  QImage surface(10, 24, QImage::Format_RGB32);
  EXPECT_EQ(library.DrawChar(surface, 0, 0, 'A', MakeFontStyle(3), 0xFFFFFFFF, 0xFF000000), 0);
}

TEST_F(AsciiExLibraryTest, FilesBelow904BytesOrWithoutMagicAreIgnored) {
  auto smallest = OvfFile(false, 0x01, 0);
  ASSERT_EQ(smallest.size(), 904u);
  WriteBytes("ascii.ovf", smallest);
  {
    CFontLib_AsciiEx library(Folder());
    EXPECT_EQ(library.CharWidth('A', MakeFontStyle(0)), 1 + 33 % 7);
  }
  smallest.pop_back();
  WriteBytes("ascii.ovf", smallest);
  {
    CFontLib_AsciiEx library(Folder());
    EXPECT_EQ(library.CharWidth('A', MakeFontStyle(0)), 0);
  }
  auto noMagic = OvfFile(true, 0x01, 0);
  noMagic[0] = 'X';
  WriteBytes("ascii.ovf", noMagic);
  {
    CFontLib_AsciiEx library(Folder());
    EXPECT_EQ(library.CharWidth('A', MakeFontStyle(0)), 0);
  }
  auto noSizes = OvfFile(true, 0x01, 0);
  noSizes[22 + 16] = 0x01;  // only bit 8: no size among bits 0-7
  noSizes[22 + 17] = 0x00;
  WriteBytes("ascii.ovf", noSizes);
  CFontLib_AsciiEx library(Folder());
  EXPECT_EQ(library.CharWidth('A', MakeFontStyle(0)), 0);
}

TEST_F(AsciiExLibraryTest, FacesFallBackToTheFirstLoadedFace) {
  WriteBytes("ascii_3.ovf", OvfFile(true, 0x04, 3));
  WriteBytes("ascii_5.ovf", OvfFile(true, 0x04, 5));
  CFontLib_AsciiEx library(Folder());
  GlyphBuffer glyph{};
  struct Case {
    int face, tag;
  };
  for (const Case c : {Case{0, 3}, Case{3, 3}, Case{4, 3}, Case{5, 5}, Case{7, 3}}) {
    ASSERT_EQ(library.GetGlyph(glyph, 'B', MakeFontStyle(2, c.face)), 32) << c.face;
    EXPECT_EQ(glyph[2], c.tag) << c.face;
  }
  std::string name;
  EXPECT_FALSE(library.GetFaceName(name, 0, 0, 0));
  EXPECT_TRUE(library.GetFaceName(name, 3, 0, 0));
  EXPECT_FALSE(library.GetFaceName(name, 8, 0, 0));

  // Without any loaded face nothing is measured or drawn.
  std::filesystem::remove(Folder() / "ascii_3.ovf");
  std::filesystem::remove(Folder() / "ascii_5.ovf");
  CFontLib_AsciiEx empty(Folder());
  EXPECT_EQ(empty.CharWidth('B', MakeFontStyle(2)), 0);
  EXPECT_EQ(empty.GetGlyph(glyph, 'B', MakeFontStyle(2)), 0);
  EXPECT_EQ(empty.StringWidth("ABC", MakeFontStyle(2)), 0);
  // Each library keeps the faces it found (another thread may be measuring with it): one made
  // later does not change what the first one measures.
  EXPECT_EQ(library.CharWidth('B', MakeFontStyle(2)), 9);
}

TEST_F(AsciiExLibraryTest, FaceNamesAreTerminatedAndReadOnlyNearTheStart) {
  WriteBytes("ascii.ovf", OvfFile(true, 0x01, 0, "SixteenCharsLong"));
  WriteBytes("ascii_1.ovf", OvfFile(true, 0x01, 1, "Far", 95));
  WriteBytes("ascii_2.ovf", OvfFile(true, 0x01, 2, "Edge", 94));
  CFontLib_AsciiEx library(Folder());
  std::string name;
  ASSERT_TRUE(library.GetFaceName(name, 0, 0, 0));
  EXPECT_EQ(name, "SixteenCharsLong");
  EXPECT_FALSE(library.GetFaceName(name, 1, 0, 0));
  EXPECT_TRUE(library.GetFaceName(name, 2, 0, 0));
  EXPECT_EQ(name, "Edge");
  // A face record past N <= 94 still loads the face.
  GlyphBuffer glyph{};
  ASSERT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(0, 1)), 8);
  EXPECT_EQ(glyph[2], 1);
}

TEST_F(AsciiExLibraryTest, FaceRecordOrBlocksPastTheEndOfTheFile) {
  // N points past the end: the face is skipped and has no name.
  auto farRecord = OvfFile(true, 0x01, 0);
  farRecord[18] = 0x7F;
  WriteBytes("ascii.ovf", farRecord);
  // The size mask's two bytes straddle the end.
  auto cutRecord = OvfFile(true, 0x01, 1);
  const auto size = static_cast<std::uint32_t>(cutRecord.size());
  cutRecord[18] = static_cast<std::uint8_t>((size - 17) >> 24);
  cutRecord[19] = static_cast<std::uint8_t>((size - 17) >> 16);
  cutRecord[20] = static_cast<std::uint8_t>((size - 17) >> 8);
  cutRecord[21] = static_cast<std::uint8_t>(size - 17);
  WriteBytes("ascii_1.ovf", cutRecord);
  // Sizes 0 and 7; the 56-dot block is cut inside its width table.
  auto cutBlock = OvfFile(true, 0x81, 2);
  cutBlock.resize(22 + 18 + 224 * 9 + 100);
  WriteBytes("ascii_2.ovf", cutBlock);
  // The face record is the last 18 bytes: the first width table lies past the end.
  auto recordAtEnd = OvfFile(true, 0x01, 3);
  recordAtEnd.resize(1000);
  const std::uint32_t last = 1000 - 18;
  recordAtEnd[18] = 0;
  recordAtEnd[19] = 0;
  recordAtEnd[20] = static_cast<std::uint8_t>(last >> 8);
  recordAtEnd[21] = static_cast<std::uint8_t>(last);
  recordAtEnd[last + 17] = 0x01;
  WriteBytes("ascii_3.ovf", recordAtEnd);
  CFontLib_AsciiEx library(Folder());
  std::string name;
  EXPECT_FALSE(library.GetFaceName(name, 0, 0, 0));
  EXPECT_FALSE(library.GetFaceName(name, 1, 0, 0));
  GlyphBuffer glyph{};
  ASSERT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(0, 3)), 8);
  EXPECT_EQ(glyph[2], 2);
  // Both broken faces fall back to face 2.
  ASSERT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(0, 0)), 8);
  EXPECT_EQ(glyph[2], 2);
  ASSERT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(0, 1)), 8);
  EXPECT_EQ(glyph[2], 2);
  // Widths of the cut table: read from the file while they lie inside it.
  EXPECT_EQ(library.CharWidth(32 + 99, MakeFontStyle(7, 2)), 1 + 99 % 7 + 7);
  EXPECT_EQ(library.CharWidth(32 + 100, MakeFontStyle(7, 2)), 0);
  EXPECT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(7, 2)), 0);
}

TEST_F(AsciiExLibraryTest, DrawCharShowsOnlyTheProportionalWidthOfWholeSizeRows) {
  WriteBytes("ascii.ovf", OvfFile(true, 0x02, 0));  // 12 dots: rows of 2 bytes
  CFontLib_AsciiEx library(Folder());
  const std::uint16_t code = 32 + 3;  // width 1 + 3 + 1 = 5
  QImage surface(16, 12, QImage::Format_RGB32);
  surface.fill(0xFF0000FF);
  EXPECT_EQ(library.DrawChar(surface, 1, 0, code, MakeFontStyle(1), 0xFFFFFFFF, 0xFF000000), 5);
  // Row 0 holds byte 0 (= 3) and byte 1 (= size 1): columns 0..4 of 0b00000011_00000001.
  for (int column = 0; column < 5; ++column) {
    const bool lit = column >= 6;
    EXPECT_EQ(surface.pixel(1 + column, 0), lit ? 0xFFFFFFFF : 0xFF000000) << column;
  }
  EXPECT_EQ(surface.pixel(6, 0), 0xFF0000FF);
  // Row 2 is all lit (0xFF bytes) within the width.
  for (int column = 0; column < 5; ++column) EXPECT_EQ(surface.pixel(1 + column, 2), 0xFFFFFFFF);
  // The string walk uses the same widths.
  surface.fill(0xFF0000FF);
  library.DrawString(surface, 16, 0, 0, "##", MakeFontStyle(1), 0xFFFFFFFF);
  EXPECT_EQ(surface.pixel(9, 2), 0xFFFFFFFF);
  EXPECT_EQ(surface.pixel(10, 2), 0xFF0000FF);
}

}  // namespace
}  // namespace vantorel
