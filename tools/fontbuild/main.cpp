// vantorel-fontbuild: makes the dot-matrix font files of one family from outline and bitmap fonts
// that the system provides. The build runs it once per family; see docs/fonts.md.
//
//   vantorel-fontbuild --family gb --out build/bin --font unifont=/usr/share/.../unifont.pcf.gz ...

#include <CLI/CLI.hpp>

#include <iostream>

#include "font_families.h"

int main(int argc, char** argv) {
  using namespace vantorel::fontbuild;
  CLI::App app{"Makes the dot-matrix font files of one family.", "vantorel-fontbuild"};
  std::string family;
  std::string folder;
  std::vector<std::string> fonts;
  bool report = false;
  app.add_option("--family", family, "Font family to make")->required()->check(CLI::IsMember(FamilyNames()));
  app.add_option("--out", folder, "Folder that receives the files")->required();
  app.add_option("--font", fonts, "Source font as ROLE=PATH (repeatable)");
  app.add_flag("--report", report, "Print the fonts used and the glyph counts of each file");
  CLI11_PARSE(app, argc, argv);

  FontFiles files;
  for (const std::string& font : fonts) {
    const auto equals = font.find('=');
    if (equals == std::string::npos) {
      std::cerr << "vantorel-fontbuild: --font needs ROLE=PATH, not " << font << '\n';
      return 2;
    }
    files[font.substr(0, equals)] = font.substr(equals + 1);
  }
  try {
    const auto lines = BuildFamily(family, files, folder);
    if (report) {
      for (const std::string& line : lines) std::cout << line << '\n';
    }
  } catch (const std::exception& error) {
    std::cerr << "vantorel-fontbuild: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
