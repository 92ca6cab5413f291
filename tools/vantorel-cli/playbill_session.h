#pragma once
// What the "playbill" and "schedule" commands share: the playbill document of one screen, opened
// as the editor opens it when that screen is chosen, and saved after every change.

#include <iostream>
#include <memory>
#include <string>

#include "app/options.h"
#include "app/status_text.h"
#include "app/text_format.h"
#include "app/text_table.h"
#include "cli_command.h"
#include "playbill/document_session.h"
#include "playbill/playbill_transfer.h"
#include "playbill/prg_list_doc.h"

namespace vantorel::cli {

// A 1-based screen number from the command line as a list index.
inline int CheckedScreenIndex(const CScreenData& list, int number) {
  if (number < 1 || number > list.Count()) {
    throw CliError(FormatText("there is no screen %d (the list holds %d screen%s)", number, list.Count(),
                              list.Count() == 1 ? "" : "s"));
  }
  return number - 1;
}

// A failure as the command's error: "Failed: No space left on device — /…/av0001.ldt".
inline void ThrowOnFailure(const Status& status) {
  if (!status) throw CliError(StatusMessage(status));
}

// The document with screen `number` current: its playbill file read, or a new playbill (saved at
// once) when the screen has none yet or its file did not load (that file is kept aside and the
// notice printed on stderr; the command goes on).
inline std::unique_ptr<CPrgListDoc> OpenScreenPlaybill(const CliContext& context, int number) {
  const AppOptions options = ReadOptions(context.folders.SettingsFile());
  auto doc = std::make_unique<CPrgListDoc>(context.folders.WorkFolder(), ItemDefaultsFromOptions(options));
  ThrowOnFailure(OpenDocumentSession(*doc, context.folders, [&doc, number](int) -> Expected<int> {
    return CheckedScreenIndex(doc->Screens(), number);
  }));
  if (doc->Screens().Count() == 0) static_cast<void>(CheckedScreenIndex(doc->Screens(), number));
  for (const Status& notice : doc->TakeNotices()) std::cerr << StatusMessage(notice) << '\n';
  if (const ReadWarnings& dropped = doc->ScheduleWarnings(); !dropped.empty()) {
    std::cerr << doc->SchedulePath().string() << ": " << dropped.dropped << (dropped.dropped == 1 ? " entry" : " entries")
              << " dropped (" << dropped.firstReason << ")\n";
  }
  return doc;
}

// "--screen N" of a group whose commands work on one screen's playbill (default 1); it may follow
// the command name too, as the commands inherit the fall-through. The commands read the number
// after parsing.
inline std::shared_ptr<int> AddScreenOption(CLI::App& group) {
  group.fallthrough();
  auto screen = std::make_shared<int>(1);
  group.add_option("--screen", *screen, "Screen number, 1-based (default: 1)")->check(CLI::PositiveNumber);
  return screen;
}

// Stores the playbill and its schedule; a failure says why.
inline void SaveDocument(CPrgListDoc& doc) { ThrowOnFailure(doc.Save()); }

// Command `name`: the screen's playbill opened (and saved when it was made new) and printed by
// `print`.
template <typename Print>
void AddReportCommand(CLI::App& group, const CliContext& context, const std::shared_ptr<int>& screen, const std::string& name,
                      const std::string& description, Print print) {
  group.add_subcommand(name, description)->callback([&context, screen, print] {
    auto doc = OpenScreenPlaybill(context, *screen);
    SaveDocument(*doc);
    print(*doc);
  });
}

}  // namespace vantorel::cli
