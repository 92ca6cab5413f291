#include "render/font_library.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <typeinfo>

#include "font_test_files.h"
#include "render/font_code_index.h"
#include "render/font_lib_ascii_ex.h"
#include "render/font_lib_asia.h"
#include "render/font_missing_sizes.h"
#include "render/font_settings_check.h"

namespace vantorel {
namespace {

class FontLibraryTest : public test::FontFolderTest {
protected:
  void Touch(const std::string& name) const { WriteBytes(name, {0}); }
};

TEST_F(FontLibraryTest, TheScreenChoosesTheLibrary) {
  struct Case {
    std::uint16_t type;
    std::uint16_t fontLib;
    const std::type_info& library;
  };
  const Case cases[] = {
      {6, 0, typeid(CFontLib_ASCII)},   {6, 1, typeid(CFontLib_GB2312)},   {7, 2, typeid(CFontLib_BIG5)},
      {7, 3, typeid(CFontLib_SJIS)},    {6, 4, typeid(CFontLib_AsciiEx)},  {7, 5, typeid(CFontLib_KSC5601)},
      {6, 6, typeid(CFontLib_GB2312)},  {7, 99, typeid(CFontLib_GB2312)},  {5, 1, typeid(CFontLib_ASCII)},
      {0, 5, typeid(CFontLib_ASCII)},
  };
  for (const Case& c : cases) {
    tagScreenInfo screen;
    screen.type = c.type;
    screen.fontLib = c.fontLib;
    const auto library = MakeFontLibrary(screen, Folder());
    ASSERT_TRUE(library);
    const CTwFont& made = *library;
    EXPECT_EQ(typeid(made), c.library) << c.type << "/" << c.fontLib;
    EXPECT_EQ(library->GetCodePage(), c.fontLib);
  }
  // Made directly, each library reports its own code page.
  EXPECT_EQ(CFontLib_ASCII(Folder()).GetCodePage(), kCodePageAscii);
  EXPECT_EQ(CFontLib_GB2312(Folder()).GetCodePage(), kCodePageGb2312);
  EXPECT_EQ(CFontLib_BIG5(Folder()).GetCodePage(), kCodePageBig5);
  EXPECT_EQ(CFontLib_SJIS(Folder()).GetCodePage(), kCodePageShiftJis);
  EXPECT_EQ(CFontLib_AsciiEx(Folder()).GetCodePage(), kCodePageAsciiEx);
  EXPECT_EQ(CFontLib_KSC5601(Folder()).GetCodePage(), kCodePageKsc5601);
}

TEST_F(FontLibraryTest, CurrentLibraryFollowsTheScreen) {
  const int before = CTwFont::InstanceCount();
  tagScreenInfo screen;
  screen.type = 7;
  screen.fontLib = kCodePageBig5;
  CreateFontLibrary(screen, Folder());
  auto held = CurrentFontLibrary();
  ASSERT_TRUE(held);
  EXPECT_EQ(held->GetCodePage(), kCodePageBig5);
  screen.fontLib = kCodePageKsc5601;
  CreateFontLibrary(screen, Folder());
  EXPECT_EQ(CurrentFontLibrary()->GetCodePage(), kCodePageKsc5601);
  EXPECT_EQ(held->GetCodePage(), kCodePageBig5);  // still usable by whoever holds it
  EXPECT_EQ(CTwFont::InstanceCount(), before + 2);
  held.reset();
  ReleaseFontLibrary();
  EXPECT_FALSE(CurrentFontLibrary());
  EXPECT_EQ(CTwFont::InstanceCount(), before);
  EXPECT_TRUE(FaceList(nullptr, 0xFF, 0xFF).empty());
}

TEST_F(FontLibraryTest, MissingSizesFollowTheFileNames) {
  for (const char* name : {"asc.fmd", "asc48.fmd", "asc_2.fmd", "asc40_2.fmd", "gb12.fmd", "gb16.fmd", "gb16_3.fmd",
                           "big24.fmd", "ksc56.fmd", "sjis32.fmd"}) {
    Touch(name);
  }
  struct Case {
    std::uint16_t mask;
    const char* base;
    int face;
    std::uint16_t missing;
  };
  const Case cases[] = {
      {0xFF, "asc", 0, 0xA0},  // asc.fmd serves 8..32; 40 and 56 missing
      {0xFF, "asc", 2, 0xC0},
      {0xFF, "asc", 1, 0xFF},
      {0xFF, "gb", 0, 0xF9},  // gb08.fmd is a file name too, and it is missing
      {0x06, "gb", 0, 0x00},
      {0x0C, "gb", 3, 0x08},
      {0x08, "big", 0, 0x00},
      {0x80, "ksc", 0, 0x00},
      {0x10, "sjis", 0, 0x00},
      {0x00, "gb", 0, 0x00},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MissingFontSizes(Folder(), c.mask, c.base, c.face), c.missing) << c.base << " face " << c.face;
  }
  // The ASCII variant: asc.fmd present makes 8..32 present for every face.
  EXPECT_EQ(MissingAsciiSizes(Folder(), 0xFF, 0), 0xA0);
  EXPECT_EQ(MissingAsciiSizes(Folder(), 0xFF, 1), 0xE0);
  std::filesystem::remove(Folder() / "asc.fmd");
  EXPECT_EQ(MissingAsciiSizes(Folder(), 0xFF, 0), 0xBF);
}

TEST_F(FontLibraryTest, ExtendedAsciiSizesComeFromTheFilesMask) {
  EXPECT_EQ(MissingAsciiExSizes(Folder(), 0x1D), 0x1D);
  std::vector<std::uint8_t> file(904, 0);
  std::copy_n("OVWM", 4, file.begin());
  file[17] = 1;
  file[21] = 22;
  file[22 + 17] = 0x05;  // 8 and 16 dots
  WriteBytes("ascii.ovf", file);
  EXPECT_EQ(MissingAsciiExSizes(Folder(), 0x1D), 0x18);
  file.resize(903);
  WriteBytes("ascii.ovf", file);
  EXPECT_EQ(MissingAsciiExSizes(Folder(), 0x1D), 0x1D);
}

TEST_F(FontLibraryTest, FaceListsNameTheFacesWithUsableSizes) {
  Touch("asc.fmd");
  Touch("asc_3.fmd");
  Touch("gb16_5.fmd");
  CFontLib_ASCII ascii(Folder());
  CFontLib_GB2312 gb(Folder());
  const auto asciiFaces = FaceList(&ascii, 0x1D, 0x1C);
  ASSERT_EQ(asciiFaces.size(), 2u);
  EXPECT_EQ(asciiFaces[0].name, "Font");
  EXPECT_EQ(asciiFaces[0].faceBits, 0x00u);
  EXPECT_EQ(asciiFaces[1].name, "Font 3");
  EXPECT_EQ(asciiFaces[1].faceBits, 0x30u);
  // GB2312: face 5 has a double-byte size; faces 0 and 3 qualify by their ASCII sizes.
  const auto gbFaces = FaceList(&gb, 0x1D, 0x1C);
  ASSERT_EQ(gbFaces.size(), 3u);
  EXPECT_EQ(gbFaces[2].name, "Font 5");
  EXPECT_EQ(gbFaces[2].faceBits, 0x50u);
  // Without any ASCII size only face 5 is left; without sizes at all nothing.
  EXPECT_EQ(FaceList(&gb, 0x00, 0x1C).size(), 1u);
  EXPECT_TRUE(FaceList(&gb, 0x00, 0x00).empty());
  EXPECT_TRUE(FaceList(&ascii, 0x80, 0x00).empty());
}

TEST_F(FontLibraryTest, SettingsCheckAsksThenListsMissingSizes) {
  Touch("asc.fmd");
  Touch("gb16.fmd");
  Touch("gb24.fmd");
  struct Case {
    int codePage;
    std::uint16_t ascii, doubleByte;
    const char* question;  // nullptr = no question
    bool answer;
    bool proceeds;
    const char* message;
  };
  const Case cases[] = {
      {kCodePageGb2312, 0x1D, 0x0C, nullptr, true, true, ""},
      {kCodePageGb2312, 0x00, 0x00, "No any font size is valid, continue?", false, false, ""},
      {kCodePageGb2312, 0x00, 0x04, "No any ASCII font size is valid, continue?", true, true, ""},
      {kCodePageGb2312, 0x01, 0x00, "No any extend font size is valid, continue?", true, true, ""},
      {kCodePageAscii, 0x01, 0x00, nullptr, true, true, ""},
      {kCodePageGb2312, 0x21, 0x1C, nullptr, true, false,
       "[A]:                \n    40-dot\n[B]:                \n    32-dot\n"},
      {kCodePageBig5, 0x01, 0x04, nullptr, true, false, "[A]:                \n[B]:                \n    16-dot\n"},
      {kCodePageAscii, 0x01, 0x06, nullptr, true, false,
       "[A]:                \n[B]:                \n    12-dot\n    16-dot\n"},
      {kCodePageAsciiEx, 0x03, 0x04, nullptr, true, false,
       "[A]:                \n    8-dot\n    12-dot\n[B]:                \n    8-dot\n    12-dot\n"},
      {9, 0x01, 0x00, "No any extend font size is valid, continue?", true, false,
       "[A]:                \n    8-dot\n[B]:                \n"},
  };
  for (const Case& c : cases) {
    std::string asked;
    std::string message = "stale";
    const bool proceeds = CheckFontLibrarySettings(Folder(), c.codePage, c.ascii, c.doubleByte,
                                                   [&](const std::string& question) {
                                                     asked = question;
                                                     return c.answer;
                                                   },
                                                   message);
    EXPECT_EQ(asked, c.question ? c.question : "") << c.codePage << " " << c.ascii << " " << c.doubleByte;
    EXPECT_EQ(proceeds, c.proceeds) << c.codePage << " " << c.ascii << " " << c.doubleByte;
    EXPECT_EQ(message, c.message) << c.codePage << " " << c.ascii << " " << c.doubleByte;
  }
}

TEST_F(FontLibraryTest, FontFilesAddedReplacedOrRemovedLaterAreSeen) {
  CFontLib_GB2312 gb(Folder());
  GlyphBuffer glyph{};
  EXPECT_EQ(gb.GetGlyph(glyph, 0xB0A1, MakeFontStyle(2)), 0);
  WriteBytes("gb16.fmd", IndexedGlyphs(kGb2312GlyphCount, 32, 1));
  ASSERT_EQ(gb.GetGlyph(glyph, 0xB0A1, MakeFontStyle(2)), 32);
  EXPECT_EQ(glyph[2], 1);
  auto replaced = IndexedGlyphs(kGb2312GlyphCount + 1, 32, 2);  // another size: seen even within one clock tick
  WriteBytes("gb16.fmd", replaced);
  ASSERT_EQ(gb.GetGlyph(glyph, 0xB0A1, MakeFontStyle(2)), 32);
  EXPECT_EQ(glyph[2], 2);
  std::filesystem::remove(Folder() / "gb16.fmd");
  EXPECT_EQ(gb.GetGlyph(glyph, 0xB0A1, MakeFontStyle(2)), 0);

  // With the default interval, lookups within the interval are served from memory.
  WriteBytes("gb16.fmd", IndexedGlyphs(kGb2312GlyphCount, 32, 3));
  CFontFileCache::SetRecheckInterval(std::chrono::hours(1));
  ASSERT_EQ(gb.GetGlyph(glyph, 0xB0A1, MakeFontStyle(2)), 32);
  std::filesystem::remove(Folder() / "gb16.fmd");
  EXPECT_EQ(gb.GetGlyph(glyph, 0xB0A1, MakeFontStyle(2)), 32);
}

// The editor, the preview and the data maker draw with the same library on their own threads,
// while the editor may make and drop libraries.
TEST_F(FontLibraryTest, LibrariesServeSeveralThreadsAtOnce) {
  WriteBytes("asc.fmd", AscImage(4));
  WriteBytes("gb16.fmd", IndexedGlyphs(kGb2312GlyphCount, 32, 1));
  const CFontLib_GB2312 gb(Folder());
  std::atomic<int> wrong{0};
  auto draw = [&] {
    QImage surface(200, 16, QImage::Format_RGB32);
    GlyphBuffer glyph{};
    for (int i = 0; i < 500; ++i) {
      if (gb.GetGlyph(glyph, 0xB0A1, MakeFontStyle(2)) != 32 || glyph[2] != 1) ++wrong;
      if (gb.GetGlyph(glyph, 'A', MakeFontStyle(2)) != 16 || glyph[2] != 4) ++wrong;
      gb.DrawString(surface, 200, 0, 0, "\xB0\xA1" "AB\xB0\xA2", MakeFontStyle(2), 0xFFFFFFFF);
    }
  };
  auto churn = [&] {
    for (int i = 0; i < 200; ++i) {
      const CFontLib_ASCII ascii(Folder());
      GlyphBuffer glyph{};
      if (ascii.GetGlyph(glyph, 'B', MakeFontStyle(1)) != 12) ++wrong;
    }
  };
  std::thread first(draw);
  std::thread second(draw);
  std::thread third(churn);
  first.join();
  second.join();
  third.join();
  EXPECT_EQ(wrong.load(), 0);
}

// Four threads draw with libraries of every kind at every size while a fifth switches the current
// library, makes and drops libraries and rewrites a font file (same bytes, new time), so that the
// shared file cache publishes new images under the readers.
TEST_F(FontLibraryTest, DrawingThreadsWhileTheCurrentLibrarySwitches) {
  WriteBytes("asc.fmd", AscImage(4));
  const auto gb16 = IndexedGlyphs(kGb2312GlyphCount, 32, 1);
  WriteBytes("gb16.fmd", gb16);
  WriteBytes("gb32.fmd", IndexedGlyphs(kGb2312GlyphCount, 128, 2));
  WriteBytes("big24.fmd", IndexedGlyphs(kBig5GlyphCount, 72, 3));
  WriteBytes("ksc16.fmd", IndexedGlyphs(kKsc5601GlyphCount, 32, 5));
  WriteBytes("sjis16.fmd", IndexedGlyphs(kShiftJisGlyphCount + kShiftJisLeadingGlyphs, 32, 6));
  tagScreenInfo screen{};
  screen.type = 6;
  screen.fontLib = kCodePageGb2312;
  CreateFontLibrary(screen, Folder());

  struct Lookup {
    std::uint16_t code;
    FontStyle style;
    int bytes;
    std::uint8_t tag;
  };
  const CFontLib_GB2312 gb(Folder());
  const CFontLib_BIG5 big(Folder());
  const CFontLib_KSC5601 ksc(Folder());
  const CFontLib_SJIS sjis(Folder());
  struct Worker {
    const CTwFont* library;
    std::vector<Lookup> lookups;
  };
  const std::vector<Worker> workers = {
      {&gb, {{0xB0A1, MakeFontStyle(2), 32, 1}, {0xB0A1, MakeFontStyle(4), 128, 2}, {'A', MakeFontStyle(1), 12, 4}}},
      {&big, {{0xA440, MakeFontStyle(3), 72, 3}, {'B', MakeFontStyle(3), 48, 4}}},
      {&ksc, {{0xB0A1, MakeFontStyle(2), 32, 5}, {'C', MakeFontStyle(0), 8, 4}}},
      {&sjis, {{0x889F, MakeFontStyle(2), 32, 6}, {'D', MakeFontStyle(4), 64, 4}}},
  };
  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (const Worker& worker : workers) {
    threads.emplace_back([&worker, &stop, &wrong] {
      QImage surface(256, 64, QImage::Format_RGB32);
      GlyphBuffer glyph{};
      for (int i = 0; i < 400 || !stop; ++i) {
        for (const Lookup& l : worker.lookups) {
          if (worker.library->GetGlyph(glyph, l.code, l.style) != l.bytes || glyph[2] != l.tag) ++wrong;
          worker.library->DrawChar(surface, 0, 0, l.code, static_cast<std::uint8_t>(l.style), 0xFFFFFFFF, 0xFF000000);
        }
        if (const auto current = CurrentFontLibrary()) {
          current->DrawString(surface, 256, 0, 0, "A\xB0\xA1", MakeFontStyle(2), 0xFFFFFFFF);
        }
        if (i > 100000) break;
      }
    });
  }
  std::thread switcher([&] {
    for (int i = 0; i < 60; ++i) {
      screen.fontLib = static_cast<std::uint16_t>(i % 6);
      CreateFontLibrary(screen, Folder());
      const CFontLib_AsciiEx made(Folder());
      if (i % 3 == 0) ReleaseFontLibrary();
      // Replaced whole, as an installer does, so no reader sees half a file.
      WriteBytes("gb16.tmp", gb16);
      std::filesystem::rename(Folder() / "gb16.tmp", Folder() / "gb16.fmd");
    }
    stop = true;
  });
  switcher.join();
  for (auto& thread : threads) thread.join();
  ReleaseFontLibrary();
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace vantorel
