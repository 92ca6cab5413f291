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

// The week as the schedule editor draws it: a line per day, "#" for an hour in which some program
// plays throughout, "." for one in which nothing does.
void PrintHours(const CPrgListDoc& doc) {
  const std::vector<ScheduleEntry> periods = doc.Schedule().Periods();
  const WeekHours hours = PlayingHours(doc.Records(), periods);
  std::cout << LoadText(periods.empty() ? kTextCoverageByWindows : kTextCoverageByPeriods) << '\n';
  std::cout << "           0     6     12    18\n";
  for (std::size_t day = 0; day < hours.size(); ++day) {
    std::string line = LoadText(kTextSunday + static_cast<int>(day));
    line.resize(11, ' ');
    for (std::size_t hour = 0; hour < 24; ++hour) line += hours[day][hour] ? '#' : '.';
    std::cout << line << '\n';
  }
  if (!CoversWholeWeek(hours)) std::cout << LoadText(kTextWarning) << ": " << LoadText(kTextNotAlwaysPlaying) << '\n';
}

void AddPeriod(const CliContext& context, int screen, const PeriodOptions& options) {
  auto doc = OpenScreenPlaybill(context, screen);
  const int programCount = doc->Selection().programCount;
  ScheduleEntry period;
  period.type = options.type;
  period.weekdayMask = ParseWeekdays(options.days, options.mode);
  period.weekdays = WeekdayField(period.weekdayMask);
  period.startDate = ParseDate("--from", options.from);
  period.endDate = ParseDate("--to", options.to);
  period.startTime = ParseTime("--start", options.start);
  period.endTime = ParseTime("--end", options.end);
  if (options.programs) {
    const auto flags = ProgramFlagsOf(*options.programs, programCount);
    if (!flags) throw CliError(FormatText("--programs: program numbers 1 to %d separated by commas, all or none", programCount));
    period.programs = *flags;
  } else {
    period.programs = NewPeriodPrograms(programCount, ReadOptions(context.folders.SettingsFile()).runschBlank);
  }
  ThrowOnFailure(AddCheckedPeriod(doc->Schedule(), programCount, period, Today()));
  SaveDocument(*doc);
  PrintSchedule(*doc);
}

void SetUpSchedule(CLI::App& schedule, CliContext& context) {
  CLI::App* group = &schedule;
  const auto screen = AddScreenOption(schedule);
  AddReportCommand(schedule, context, screen, "show", "List the periods: number, type, weekdays, dates, times, programs", PrintSchedule);

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

  AddReportCommand(schedule, context, screen, "hours",
                   "Show the hours of the week in which some program plays (#) and those in which nothing does (.)",
                   PrintHours);

  auto output = std::make_shared<std::string>();
  CLI::App* rsf = group->add_subcommand("rsf", "Write the controller's run schedule (.rsf); an empty schedule writes none");
  rsf->add_option("OUT", *output, "File to write")->required();
  rsf->callback([&context, screen, output] {
    auto doc = OpenScreenPlaybill(context, *screen);
    SaveDocument(*doc);
    ThrowOnFailure(doc->Schedule().WriteControllerSchedule(*output));
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
