// "playbill": a screen's playbill without a window. "show" prints its program tree: programs,
// windows with their rectangles, and items with their kind and entry effect.

#include <iostream>
#include <memory>
#include <string>

#include "app/options.h"
#include "app/text_format.h"
#include "cli_command.h"
#include "playbill/effect_table.h"
#include "playbill/prg_list_doc.h"
#include "screen/screen_data.h"

namespace vantorel::cli {
namespace {

void PrintRecord(const CPrgListDoc& doc, int index) {
  const tagPrgItem& record = doc.Record(index);
  const std::string name = doc.DisplayName(index);
  if (record.IsProgram()) {
    std::cout << name << '\n';
  } else if (record.IsWindow()) {
    const tagWindowPart& window = record.window;
    std::cout << "  " << name
              << FormatText("\tleft %d top %d width %u height %u\n", window.left, window.top,
                            static_cast<unsigned>(window.width), static_cast<unsigned>(window.height));
  } else if (record.IsItem()) {
    std::cout << "    " << name << '\t' << ItemKindToken(record.item.actType) << '\t'
              << EffectName(record.item.showType) << '\n';
  }
}

void ShowPlaybill(const CliContext& context, int number) {
  CPrgListDoc doc(context.folders.WorkFolder(), ItemDefaultsFromOptions(ReadOptions(context.folders.SettingsFile())));
  doc.Screens().Load(context.folders.ScreenFile(), true);
  const int count = doc.Screens().Count();
  if (number < 1 || number > count) {
    throw CliError(FormatText("there is no screen %d (the list holds %d screen%s)", number, count, count == 1 ? "" : "s"));
  }
  doc.SetCurrentScreenIndex(number - 1);
  doc.ResetToDefault();

  const tagScreenInfo& screen = doc.CurrentScreen();
  std::cout << FormatText("Screen %d: %s, %u x %u\n", number, doc.Screens().DisplayName(number - 1).c_str(),
                          static_cast<unsigned>(screen.width), static_cast<unsigned>(screen.height));
  for (int index = 0; index < static_cast<int>(doc.Records().size()); ++index) PrintRecord(doc, index);
}

const CliCommandRegistrar kRegistrar(20, [](CLI::App& app, CliContext& context) {
  CLI::App* playbill = app.add_subcommand("playbill", "Show a screen's playbill");
  playbill->require_subcommand(1);

  auto number = std::make_shared<int>(1);
  CLI::App* show = playbill->add_subcommand(
      "show",
      "Print the program tree of a screen's playbill: programs, windows with their rectangles, items with "
      "their kind and entry effect. Playbill files are not read yet: this shows the playbill a new "
      "document starts with for that screen.");
  show->add_option("--screen", *number, "Screen number, 1-based (default: 1)");
  show->callback([&context, number] { ShowPlaybill(context, *number); });
});

}  // namespace
}  // namespace vantorel::cli
