// "schedule": the play schedule of a screen's playbill (the periods saying which programs play
// when), the play coverage check and the controller's run schedule file.

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "app/options.h"
#include "app/text_format.h"
#include "app/text_table.h"
#include "cli_command.h"
#include "playbill/item_builder.h"
#include "playbill/period_rules.h"
#include "playbill/play_coverage.h"
#include "playbill/play_schedule.h"
#include "playbill_session.h"
#include "screen/ascii_text.h"

namespace vantorel::cli {
namespace {


struct PeriodOptions {
  int type = 0;
  std::string days = "0123456";
  bool mode = false;
  std::string from;
  std::string to;
  std::string start = "00:00";
  std::string end = "00:00";
  std::optional<std::string> programs;
};

ScheduleDate ParseDate(const std::string& option, const std::string& text) {
  ScheduleDate date;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d%c", &date.year, &date.month, &date.day, &tail) != 3) {
    throw CliError(option + ": use YYYY-MM-DD, such as 2025-12-31");
  }
  return date;
}

ScheduleTime ParseTime(const std::string& option, const std::string& text) {
  ScheduleTime time;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d:%d%c", &time.hour, &time.minute, &tail) != 2) {
    throw CliError(option + ": use HH:MM, such as 08:30");
  }
  return time;
}

std::uint8_t ParseWeekdays(const std::string& text, bool mode) {
  const auto days = DayMaskOfDigits(text == "all" ? "0123456" : text);
  if (!days) throw CliError("--days: digits 0 (Sunday) to 6 (Saturday), such as 06, or all");
  return static_cast<std::uint8_t>(*days | (mode ? kWeekdayModeFlag : 0));
}

// "1,3", "all" or "none" as one flag per program.
std::string ParsePrograms(const std::string& text, int programCount) {
  if (text == "all") return std::string(static_cast<std::size_t>(programCount), '1');
  std::string flags(static_cast<std::size_t>(programCount), '0');
  if (text == "none") return flags;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t comma = std::min(text.find(',', pos), text.size());
    const auto number = ParseCode(std::string(TrimSpaces(std::string_view(text).substr(pos, comma - pos))));
    if (!number || *number < 1 || *number > static_cast<std::uint32_t>(programCount)) {
      throw CliError(FormatText("--programs: program numbers 1 to %d separated by commas, all or none", programCount));
    }
    flags[*number - 1] = '1';
    pos = comma + 1;
  }
  return flags;
}

void PrintSchedule(const CPrgListDoc& doc) {
  const CPlaySchedule& schedule = doc.Schedule();
  std::cout << FormatText("Programs %d, attribute %d, periods %d\n", schedule.ProgramCount(), schedule.Attribute(),
                          schedule.EntryCount());
  for (int index = 0; index < schedule.EntryCount(); ++index) {
    const auto entry = schedule.GetEntry(index);
    if (!entry) {
      std::cout << (index + 1) << "\t(damaged) " << schedule.Entries()[static_cast<std::size_t>(index)] << '\n';
      continue;
    }
    std::cout << (index + 1) << '\t' << entry->type << '\t' << entry->weekdays << '\t' << DateRangeText(*entry) << '\t'
              << TimeRangeText(*entry) << '\t' << ProgramsText(*entry) << '\n';
  }
}

void AddPeriod(const CliContext& context, int screen, const PeriodOptions& options) {
  auto doc = OpenScreenPlaybill(context, screen);
  CPlaySchedule& schedule = doc->Schedule();
  const int programCount = doc->Selection().programCount;
  if (schedule.EntryCount() == 0) schedule.SetProgramCount(programCount);
  if (schedule.ProgramCount() != programCount) {
    throw CliError(FormatText("the schedule has columns for %d programs, the playbill %d: remove its periods first",
                              schedule.ProgramCount(), programCount));
  }
  const ScheduleDate from = ParseDate("--from", options.from);
  const ScheduleDate to = ParseDate("--to", options.to);
  const ScheduleTime start = ParseTime("--start", options.start);
  const ScheduleTime end = ParseTime("--end", options.end);
  const std::uint8_t mask = ParseWeekdays(options.days, options.mode);
  const PeriodVerdict verdict = CheckPeriod({from.year, from.month, from.day, to.year, to.month, to.day, start.hour,
                                             start.minute, end.hour, end.minute, mask},
                                            Today());
  if (!verdict.okEnabled) {
    throw CliError(verdict.messageId != 0 ? LoadText(verdict.messageId)
                                          : "the period is not valid: hours 0-23, "
                                            "minutes 0-59, at least one day");
  }
  const std::string programs = options.programs
                                   ? ParsePrograms(*options.programs, programCount)
                                   : NewPeriodPrograms(programCount, ReadOptions(context.folders.SettingsFile()).runschBlank);
  if (!schedule.AddEntry(options.type, WeekdayField(mask), from, to, start, end, programs)) {
    throw CliError("the period cannot be stored");
  }
  SaveDocument(*doc);
  PrintSchedule(*doc);
}

void SetUpSchedule(CLI::App& schedule, CliContext& context) {
  CLI::App* group = &schedule;
  const auto screen = AddScreenOption(schedule);
  AddShowCommand(schedule, context, screen, "List the periods: number, type, weekdays, dates, times, programs", PrintSchedule);

  auto options = std::make_shared<PeriodOptions>();
  CLI::App* add = group->add_subcommand("add", "Add a period, checked as the period editor checks it");
  add->add_option("--from", options->from, "First day, YYYY-MM-DD")->required();
  add->add_option("--to", options->to, "Last day, YYYY-MM-DD (not before today)")->required();
  add->add_option("--start", options->start, "Daily start time HH:MM (default 00:00)");
  add->add_option("--end", options->end, "Daily end time HH:MM (default 00:00)");
  add->add_option("--days", options->days, "Weekdays: digits 0 (Sunday) to 6, or all (default)");
  add->add_flag("--mode", options->mode, "Set the mode flag of the weekday field (\"^\")");
  add->add_option("--type", options->type, "Entry type 0-9 (default 0)")->check(CLI::Range(0, 9));
  add->add_option("--programs", options->programs,
                  "Programs that play: numbers such as 1,3, all or none (default: the option \"Runsch Blank\")");
  add->callback([&context, screen, options] { AddPeriod(context, *screen, *options); });

  auto number = std::make_shared<int>(0);
  CLI::App* remove = group->add_subcommand("remove", "Remove period K");
  remove->add_option("K", *number, "Period number")->required();
  remove->callback([&context, screen, number] {
    auto doc = OpenScreenPlaybill(context, *screen);
    if (!doc->Schedule().RemoveEntry(*number - 1)) {
      throw CliError(FormatText("there is no period %d (the schedule has %d)", *number, doc->Schedule().EntryCount()));
    }
    SaveDocument(*doc);
    PrintSchedule(*doc);
  });

  group->add_subcommand("check", "Check that some program plays at every moment of the week (from the programs' time windows)")
      ->callback([&context, screen] {
        auto doc = OpenScreenPlaybill(context, *screen);
        SaveDocument(*doc);
        if (!CheckPlayCoverage(doc->Records())) throw CliError(LoadText(kTextWarning) + ": " + LoadText(kTextNotAlwaysPlaying));
        std::cout << "Some program plays at every moment of the week.\n";
      });

  auto output = std::make_shared<std::string>();
  CLI::App* rsf = group->add_subcommand("rsf", "Write the controller's run schedule (.rsf); an empty schedule writes none");
  rsf->add_option("OUT", *output, "File to write")->required();
  rsf->callback([&context, screen, output] {
    auto doc = OpenScreenPlaybill(context, *screen);
    SaveDocument(*doc);
    if (doc->Schedule().WriteControllerSchedule(*output) != 0) throw CliError(LoadText(kTextFailed) + ": " + *output);
    const auto bytes = doc->Schedule().ControllerScheduleBytes();
    if (bytes) {
      std::cout << "Wrote " << bytes->size() << " bytes to " << *output << '\n';
    } else {
      std::cout << "The schedule is empty: no run schedule is written\n";
    }
  });
}

const CliCommandGroup kGroup(30, "schedule", "The play schedule of a screen's playbill", SetUpSchedule);

}  // namespace
}  // namespace vantorel::cli
