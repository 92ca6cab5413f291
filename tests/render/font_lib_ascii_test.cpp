#include "render/font_lib_ascii.h"

#include <gtest/gtest.h>

#include "font_test_files.h"
#include "render/font_degree_sign.h"

namespace vantorel {
namespace {

class AsciiLibraryTest : public test::FontFolderTest {};

constexpr std::size_t kSection[5] = {0, 760, 1900, 3420, 7980};

// A colour as a surface of `format` holds it.
QRgb Stored(QImage::Format format, QRgb colour) {
  QImage one(1, 1, format);
  one.fill(QColor::fromRgb(colour));
  return one.convertToFormat(QImage::Format_RGB32).pixel(0, 0);
}

TEST_F(AsciiLibraryTest, GeometryAndSizeIndexes) {
  CFontLib_ASCII library(Folder());
  const int widths[] = {6, 6, 8, 12, 16, 20, 24, 28};
  for (int s = 0; s < kFontSizeCount; ++s) {
    EXPECT_EQ(library.CharWidth('A', MakeFontStyle(s)), widths[s]) << s;
    EXPECT_EQ(library.CharHeight('A', MakeFontStyle(s)), IndexToSize(s)) << s;
    EXPECT_EQ(library.CharSize('A', MakeFontStyle(s)), QSize(widths[s], IndexToSize(s)));
    EXPECT_EQ(SizeToIndex(IndexToSize(s)), s);
  }
  EXPECT_EQ(SizeToIndex(10), 2);
  EXPECT_EQ(SizeToIndex(0), 2);
  EXPECT_EQ(IndexToSize(8), 16);
  EXPECT_EQ(IndexToSize(-1), 16);
  // Codes of 128 or more report the width carried in the style's top byte.
  EXPECT_EQ(library.CharWidth(200, MakeFontStyle(2) | (9u << 24)), 9);
  EXPECT_EQ(library.CharWidth(200, MakeFontStyle(2)), 0);
  EXPECT_EQ(SizeLabel(3), "24-dot");
}

TEST_F(AsciiLibraryTest, GlyphsComeFromTheSectionsOfAscFmdAndTheLargeFiles) {
  WriteBytes("asc.fmd", AscImage(0));
  WriteBytes("asc40.fmd", IndexedGlyphs(95, 120, 40));
  WriteBytes("asc48.fmd", IndexedGlyphs(95, 144, 48));
  WriteBytes("asc56.fmd", IndexedGlyphs(95, 224, 56));
  CFontLib_ASCII library(Folder());
  GlyphBuffer glyph{};
  for (int s = 0; s < 5; ++s) {
    for (const std::uint16_t code : std::initializer_list<std::uint16_t>{32, 65, 126}) {
      ASSERT_EQ(library.GetGlyph(glyph, code, MakeFontStyle(s)), GeometryOf(s).halfBytes);
      EXPECT_EQ(glyph[0], s);
      EXPECT_EQ(glyph[1], code - 32);
    }
  }
  for (int s = 5; s < 8; ++s) {
    ASSERT_EQ(library.GetGlyph(glyph, 'z', MakeFontStyle(s)), GeometryOf(s).halfBytes);
    EXPECT_EQ(glyph[1], 'z' - 32);
    EXPECT_EQ(glyph[2], IndexToSize(s));
  }
  // Codes outside 32..127 have no glyph.
  for (const std::uint16_t code : std::initializer_list<std::uint16_t>{0, 31, 128, 255, 0xB0A1}) EXPECT_EQ(library.GetGlyph(glyph, code, MakeFontStyle(2)), 0);
  // Inverse: every byte flipped; with no glyph nothing to flip.
  ASSERT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(2, 0, true)), 16);
  EXPECT_EQ(glyph[0], 0xFD);
  EXPECT_EQ(glyph[1], static_cast<std::uint8_t>(~('A' - 32)));
  EXPECT_EQ(library.GetGlyph(glyph, 10, MakeFontStyle(2, 0, true)), 0);
}

TEST_F(AsciiLibraryTest, DegreeSignAtEverySize) {
  CFontLib_ASCII library(Folder());  // no font files at all: code 127 is built in
  GlyphBuffer glyph{};
  ASSERT_EQ(library.GetGlyph(glyph, 127, MakeFontStyle(0)), 8);
  const std::uint8_t eight[8] = {0x30, 0x48, 0x48, 0x30, 0, 0, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(glyph[static_cast<std::size_t>(i)], eight[i]) << i;

  struct Box {
    int top, bottom, left, right;
  };
  const Box boxes[] = {{0, 3, 1, 4},   {2, 5, 2, 5},  {2, 5, 3, 6},  {3, 7, 5, 9},
                       {4, 10, 6, 13}, {3, 15, 5, 17}, {5, 17, 7, 19}, {6, 22, 7, 23}};
  for (int s = 0; s < kFontSizeCount; ++s) {
    const FontGeometry& g = GeometryOf(s);
    ASSERT_EQ(library.GetGlyph(glyph, 127, MakeFontStyle(s)), g.halfBytes) << s;
    const int rowBytes = RowBytes(g.halfWidth);
    auto lit = [&](int row, int column) { return (glyph[static_cast<std::size_t>(row * rowBytes + column / 8)] >> (7 - column % 8)) & 1; };
    const Box& box = boxes[s];
    for (int row = 0; row < g.height; ++row) {
      for (int column = 0; column < rowBytes * 8; ++column) {
        const bool inBox = row >= box.top && row <= box.bottom && column >= box.left && column <= box.right;
        if (!inBox) {
          EXPECT_FALSE(lit(row, column)) << "size " << s << " row " << row << " column " << column;
        }
      }
    }
    // A closed ring: every row and column of the box has a dot, the centre has none.
    for (int row = box.top; row <= box.bottom; ++row) {
      bool any = false;
      for (int column = box.left; column <= box.right; ++column) any = any || lit(row, column);
      EXPECT_TRUE(any) << "size " << s << " row " << row;
    }
    for (int column = box.left; column <= box.right; ++column) {
      bool any = false;
      for (int row = box.top; row <= box.bottom; ++row) any = any || lit(row, column);
      EXPECT_TRUE(any) << "size " << s << " column " << column;
    }
    EXPECT_FALSE(lit((box.top + box.bottom) / 2, (box.left + box.right) / 2)) << s;
  }
  // Inverse applies to the built-in sign as well.
  ASSERT_EQ(library.GetGlyph(glyph, 127, MakeFontStyle(0, 0, true)), 8);
  EXPECT_EQ(glyph[0], 0xCF);
}

TEST_F(AsciiLibraryTest, ShortImageGivesAbsentGlyphsNeverBytesPastIt) {
  auto image = AscImage(0);
  image.resize(kSection[2] + 10 * 16 + 8);  // the 16-dot section ends inside glyph 10
  WriteBytes("asc.fmd", image);
  CFontLib_ASCII library(Folder());
  GlyphBuffer glyph{};
  EXPECT_EQ(library.GetGlyph(glyph, 32 + 9, MakeFontStyle(2)), 16);
  EXPECT_EQ(library.GetGlyph(glyph, 32 + 10, MakeFontStyle(2)), 0);
  EXPECT_EQ(library.GetGlyph(glyph, 32 + 11, MakeFontStyle(2)), 0);
  EXPECT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(4)), 0);
  // The cell is still drawn blank at full width.
  QImage surface(20, 20, QImage::Format_RGB32);
  surface.fill(0xFF123456);
  EXPECT_EQ(library.DrawChar(surface, 0, 0, 'A', MakeFontStyle(2), 0xFFFF0000, 0xFF000000), 8);
  EXPECT_EQ(surface.pixel(7, 15), 0xFF000000);
  EXPECT_EQ(surface.pixel(8, 15), 0xFF123456);
}

TEST_F(AsciiLibraryTest, FaceFilesFallBackToTheImage) {
  WriteBytes("asc.fmd", AscImage(0));
  WriteBytes("asc_2.fmd", AscImage(2));
  WriteBytes("asc40.fmd", IndexedGlyphs(95, 120, 0));
  WriteBytes("asc40_2.fmd", IndexedGlyphs(95, 120, 2));
  auto shortFace = AscImage(5);
  shortFace.resize(100);
  WriteBytes("asc_5.fmd", shortFace);
  WriteBytes("asc40_5.fmd", std::vector<std::uint8_t>(10, 0));
  CFontLib_ASCII library(Folder());
  GlyphBuffer glyph{};
  struct Case {
    int size, face, tag;
  };
  const Case cases[] = {
      {2, 0, 0}, {2, 2, 2}, {2, 3, 0},  // face 3 has no file: the image
      {2, 5, 0},                       // face 5's file is too short for this glyph: the image
      {5, 0, 0}, {5, 2, 2}, {5, 3, 0},  // asc40_3.fmd missing: asc40.fmd
  };
  for (const Case& c : cases) {
    ASSERT_GT(library.GetGlyph(glyph, 'B', MakeFontStyle(c.size, c.face)), 0) << c.size << "/" << c.face;
    EXPECT_EQ(glyph[2], c.tag) << c.size << "/" << c.face;
  }
  // asc40_5.fmd opens but is short: no glyph, no fallback.
  EXPECT_EQ(library.GetGlyph(glyph, 'B', MakeFontStyle(5, 5)), 0);
}

TEST_F(AsciiLibraryTest, WithoutAnImageOnlyTheFaceFileCountsAndLateFilesAreSeen) {
  CFontLib_ASCII library(Folder());
  GlyphBuffer glyph{};
  EXPECT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(2)), 0);
  WriteBytes("asc_1.fmd", AscImage(1));
  EXPECT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(2, 2)), 0);
  ASSERT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(2, 1)), 16);
  EXPECT_EQ(glyph[2], 1);
  // asc.fmd added after construction: no image, but the file itself is read.
  WriteBytes("asc.fmd", AscImage(7));
  ASSERT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(2)), 16);
  EXPECT_EQ(glyph[2], 7);
  EXPECT_EQ(library.GetGlyph(glyph, 'A', MakeFontStyle(2, 2)), 0);
}

TEST_F(AsciiLibraryTest, ImageLivesUntilTheLastFontObjectIsGone) {
  const int before = CTwFont::InstanceCount();
  WriteBytes("asc.fmd", AscImage(1));
  GlyphBuffer glyph{};
  {
    auto first = std::make_unique<CFontLib_ASCII>(Folder());
    EXPECT_EQ(CTwFont::InstanceCount(), before + 1);
    WriteBytes("asc.fmd", AscImage(2));
    CFontLib_ASCII second(Folder());
    EXPECT_EQ(CTwFont::InstanceCount(), before + 2);
    first.reset();
    // The image read by the first object is still in use.
    ASSERT_EQ(second.GetGlyph(glyph, 'A', MakeFontStyle(1)), 12);
    EXPECT_EQ(glyph[2], 1);
  }
  EXPECT_EQ(CTwFont::InstanceCount(), before);
  CFontLib_ASCII third(Folder());
  ASSERT_EQ(third.GetGlyph(glyph, 'A', MakeFontStyle(1)), 12);
  EXPECT_EQ(glyph[2], 2);
}

TEST_F(AsciiLibraryTest, DrawCharCopiesTheCellOpaquelyOnEverySurfaceFormat) {
  // A 16-dot glyph with a diagonal and a full first row.
  auto image = AscImage(0);
  auto* a = image.data() + kSection[2] + ('A' - 32) * 16;
  for (int row = 0; row < 16; ++row) a[row] = static_cast<std::uint8_t>(0x80 >> (row % 8));
  a[0] = 0xFF;
  WriteBytes("asc.fmd", image);
  CFontLib_ASCII library(Folder());
  const QRgb fg = 0xFF00FF00;
  const QRgb bg = 0xFF000080;
  for (const auto format : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888, QImage::Format_RGB16}) {
    QImage surface(12, 20, format);
    surface.fill(QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(library.DrawChar(surface, 2, 3, 'A', MakeFontStyle(2), fg, bg), 8);
    const QImage seen = surface.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 12; ++x) {
        QRgb expected = 0xFF112233;
        if (x >= 2 && x < 10 && y >= 3 && y < 19) {
          const int row = y - 3;
          const int column = x - 2;
          expected = (row == 0 || column == row % 8) ? fg : bg;
        }
        ASSERT_EQ(seen.pixel(x, y), Stored(format, expected)) << "format " << format << " at " << x << "," << y;
      }
    }
  }
  // Cells partly or wholly off the surface are clipped, not written past it.
  QImage small(4, 4, QImage::Format_RGB32);
  small.fill(0);
  EXPECT_EQ(library.DrawChar(small, -3, -5, 'A', MakeFontStyle(2), fg, bg), 8);
  EXPECT_EQ(library.DrawChar(small, 100, 100, 'A', MakeFontStyle(2), fg, bg), 8);
  EXPECT_EQ(small.pixel(0, 0), bg | 0xFF000000u);
}

TEST_F(AsciiLibraryTest, DrawStringStopsAfterTheCharacterThatReachesTheLimit) {
  auto image = AscImage(0);
  for (std::size_t i = kSection[1]; i < kSection[2]; ++i) image[i] = 0xFC;  // 12-dot glyphs all lit,
  for (std::size_t i = kSection[1]; i < kSection[1] + 12; ++i) image[i] = 0;   // but the space
  WriteBytes("asc.fmd", image);
  CFontLib_ASCII library(Folder());
  const QRgb fg = 0xFFFF0000;
  QImage surface(60, 12, QImage::Format_RGB32);
  surface.fill(0xFF0000FF);
  // Cells of 6: the third character covers 12..17 and reaches the limit 13; it is drawn whole.
  EXPECT_TRUE(library.DrawString(surface, 13, 0, 0, "ABCDEF", MakeFontStyle(1), fg));
  EXPECT_EQ(surface.pixel(17, 5), fg);
  EXPECT_EQ(surface.pixel(18, 5), 0xFF0000FF);
  // A limit exactly at a cell's end stops after that cell.
  surface.fill(0xFF0000FF);
  library.DrawString(surface, 12, 0, 0, "ABCDEF", MakeFontStyle(1), fg);
  EXPECT_EQ(surface.pixel(11, 5), fg);
  EXPECT_EQ(surface.pixel(12, 5), 0xFF0000FF);
  // Bytes of 128 or more are drawn as spaces, on black.
  surface.fill(0xFF0000FF);
  library.DrawString(surface, 60, 0, 0, "A\xB0" "B", MakeFontStyle(1), fg);
  EXPECT_EQ(surface.pixel(5, 5), fg);
  EXPECT_EQ(surface.pixel(6, 5), 0xFF000000);
  EXPECT_EQ(surface.pixel(12, 5), fg);
  EXPECT_EQ(surface.pixel(18, 5), 0xFF0000FF);
}

TEST_F(AsciiLibraryTest, StringWidthMeasuresWhatIsDrawn) {
  CFontLib_ASCII library(Folder());
  EXPECT_EQ(library.StringWidth("", MakeFontStyle(2)), 0);
  EXPECT_EQ(library.StringWidth("Mon 25", MakeFontStyle(2)), 48);
  EXPECT_EQ(library.StringWidth("Mon 25", MakeFontStyle(3, 5, true)), 72);
  // High bytes count as spaces, whatever width the style's top byte carries.
  EXPECT_EQ(library.StringWidth("A\xC8", MakeFontStyle(0) | (30u << 24)), 12);
  // Measuring stops at a terminating zero.
  EXPECT_EQ(library.StringWidth(std::string_view("AB\0CD", 5), MakeFontStyle(0)), 12);
}

}  // namespace
}  // namespace vantorel
