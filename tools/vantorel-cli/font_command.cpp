// "font": the dot-matrix font libraries without a window. "font render" draws a text with the
// library of the current screen (screen 1) or of a chosen code page into a magnified PNG, one
// square per LED; "font list" tells which sizes and faces the font files in the program folder
// offer. Libraries are named as the editor names them (the option "Extended ASCII Name").

#include <QImage>

#include <iostream>
#include <map>
#include <optional>
#include <string>

#include "app/text_format.h"
#include "cli_command.h"
#include "machine_screens.h"
#include "playbill/font_library_names.h"
#include "app/options.h"
#include "render/font_library.h"
#include "render/font_missing_sizes.h"
#include "render/font_settings_check.h"
#include "render/font_text_encoding.h"
#include "screen/controller_types.h"
#include "screen/screen_data.h"

namespace vantorel::cli {
namespace {

const std::map<std::string, int> kCodePages = {
    {"ascii", kCodePageAscii}, {"gb2312", kCodePageGb2312},     {"big5", kCodePageBig5},
    {"sjis", kCodePageShiftJis}, {"ascii-ex", kCodePageAsciiEx}, {"ksc5601", kCodePageKsc5601},
};

// LED colours of the picture.
constexpr QRgb kLitLed = 0xFFFF3418;
constexpr QRgb kDarkLed = 0xFF2C0E0A;
constexpr QRgb kBoard = 0xFF080808;

// Screen 1 of the machine's screen list, with its code page replaced when one was asked for.
tagScreenInfo ChosenScreen(const CliContext& context, const std::optional<std::string>& codePage) {
  CScreenData list;
  LoadMachineScreens(context, list);
  tagScreenInfo screen = list.Count() > 0 ? list.Screen(0) : tagScreenInfo{};
  if (codePage) {
    screen.fontLib = static_cast<std::uint16_t>(kCodePages.at(*codePage));
    // Only controllers with their own font library draw with a code page.
    if (!IsKnownControllerClass(screen.type)) screen.type = kControllerClass6;
  }
  return screen;
}

// One square per LED with a dark gap around it.
QImage Magnify(const QImage& leds, int scale) {
  QImage picture(leds.width() * scale, leds.height() * scale, QImage::Format_RGB32);
  picture.fill(kBoard);
  const int inset = scale >= 4 ? 1 : 0;
  for (int y = 0; y < leds.height(); ++y) {
    for (int x = 0; x < leds.width(); ++x) {
      const QRgb colour = leds.pixel(x, y) == kLitLed ? kLitLed : kDarkLed;
      for (int dy = inset; dy < scale; ++dy) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y * scale + dy));
        for (int dx = inset; dx < scale; ++dx) line[x * scale + dx] = colour;
      }
    }
  }
  return picture;
}

std::string SizeList(std::uint16_t sizes) {
  std::string text;
  for (int s = 0; s < kFontSizeCount; ++s) {
    if (sizes & (1u << s)) text += (text.empty() ? "" : " ") + SizeLabel(s);
  }
  return text.empty() ? "none" : text;
}

const char* DoubleByteBase(int codePage) {
  switch (codePage) {
    case kCodePageGb2312: return "gb";
    case kCodePageBig5: return "big";
    case kCodePageShiftJis: return "sjis";
    case kCodePageKsc5601: return "ksc";
    default: return nullptr;
  }
}

std::string LibraryName(const CliContext& context, int codePage) {
  return FontLibraryName(codePage, ReadOptions(context.folders.SettingsFile()));
}

void Render(const CliContext& context, const std::optional<std::string>& codePage, int size, int face,
            const std::string& text, int scale, const std::string& output) {
  const auto library = MakeFontLibrary(ChosenScreen(context, codePage), context.folders.ProgramFolder());
  const FontStyle style = MakeFontStyle(SizeToIndex(size), face);
  const std::string bytes = EncodeForCodePage(text, library->GetCodePage());
  const int width = library->StringWidth(bytes, style);
  if (width < 1) throw CliError("nothing to draw: the text is empty or the font has no widths for it");
  QImage leds(width, size, QImage::Format_RGB32);
  leds.fill(0xFF000000);
  library->DrawString(leds, width, 0, 0, bytes, style, kLitLed);
  if (!Magnify(leds, scale).save(QString::fromStdString(output), "PNG")) throw CliError("cannot write " + output);
  std::cout << FormatText("%s: %d x %d LEDs, %s %s\n", output.c_str(), width, size,
                          LibraryName(context, library->GetCodePage()).c_str(), SizeLabel(SizeToIndex(size)).c_str());
}

void List(const CliContext& context, const std::optional<std::string>& codePage) {
  const tagScreenInfo screen = ChosenScreen(context, codePage);
  const auto folder = context.folders.ProgramFolder();
  const auto library = MakeFontLibrary(screen, folder);
  const int page = library->GetCodePage();
  std::cout << "Font library: " << LibraryName(context, page) << " (font files in " << folder.string() << ")\n";
  for (int face = 0; face < kFontFaceCount; ++face) {
    std::string name;
    if (!library->GetFaceName(name, face, 0xFF, 0xFF)) continue;
    const std::uint16_t ascii = page == kCodePageAsciiEx
                                    ? static_cast<std::uint16_t>(0xFF & ~MissingAsciiExSizes(folder, 0xFF))
                                    : static_cast<std::uint16_t>(0xFF & ~MissingAsciiSizes(folder, 0xFF, face));
    std::cout << "  face " << face << " \"" << name << "\": " << (page == kCodePageAsciiEx ? "" : "ASCII ")
              << SizeList(ascii);
    if (const char* base = DoubleByteBase(page)) {
      auto doubleByte = static_cast<std::uint16_t>(0xFF & ~MissingFontSizes(folder, 0xFF, base, face));
      // 8-dot double-byte glyphs are never read from files: a few are built in, the rest blank.
      doubleByte &= 0xFE;
      std::cout << "; double-byte " << SizeList(doubleByte);
    }
    std::cout << '\n';
  }
  const MissingSizes missing = MissingSizesForCodePage(folder, page, screen.ascSizeM, screen.extSizeM);
  if (!codePage) {
    std::cout << "Screen 1 asks for ASCII " << SizeList(screen.ascSizeM) << "; double-byte " << SizeList(screen.extSizeM)
              << '\n';
    if (missing.ascii != 0 || missing.doubleByte != 0) std::cout << "Missing:\n" << MissingSizesMessage(missing);
  }
}

const CliCommandGroup kGroup(40, "font", "Draw text with the dot-matrix font libraries, list their sizes and faces",
                            [](CLI::App& group, CliContext& context) {
  CLI::App* font = &group;

  struct RenderOptions {
    std::optional<std::string> codePage;
    int size = 16;
    int face = 0;
    std::string text;
    int scale = 8;
    std::string output;
  };
  auto options = std::make_shared<RenderOptions>();
  auto* render = font->add_subcommand("render", "Draw a text into a PNG, magnified, one square per LED");
  render->add_option("--codepage", options->codePage, "Font library (default: that of screen 1)")
      ->check(CLI::IsMember(kCodePages));
  render->add_option("--size", options->size, "Font height in dots: 8, 12, 16, 24, 32, 40, 48 or 56")
      ->check(CLI::IsMember({8, 12, 16, 24, 32, 40, 48, 56}));
  render->add_option("--face", options->face, "Face number 0..7")->check(CLI::Range(0, 7));
  render->add_option("--text", options->text, "Text to draw (UTF-8)")->required();
  render->add_option("--scale", options->scale, "Picture dots per LED")->check(CLI::Range(1, 64));
  render->add_option("output", options->output, "PNG file to write")->required();
  render->callback([options, &context] {
    Render(context, options->codePage, options->size, options->face, options->text, options->scale, options->output);
  });

  auto listCodePage = std::make_shared<std::optional<std::string>>();
  auto* list = font->add_subcommand("list", "Sizes and faces that the font files offer");
  list->add_option("--codepage", *listCodePage, "Font library (default: that of screen 1)")
      ->check(CLI::IsMember(kCodePages));
  list->callback([listCodePage, &context] { List(context, *listCodePage); });
});

}  // namespace
}  // namespace vantorel::cli
