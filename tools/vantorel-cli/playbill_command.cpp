// "playbill": a screen's playbill without a window. Every command opens the playbill file of a
// screen in the data folder (made as a new playbill when the screen has none), applies the
// editor's operation and saves the file again. Programs, windows and items are addressed by
// 1-based numbers: P, P.W, P.W.I.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/text_format.h"
#include "app/text_table.h"
#include "codecs/picture_file.h"
#include "cli_command.h"
#include "playbill/effect_table.h"
#include "playbill/font_library_names.h"
#include "playbill/item_builder.h"
#include "playbill/playbill_file_name.h"
#include "playbill/play_coverage.h"
#include "playbill/playbill_reader.h"
#include "playbill/playbill_transfer.h"
#include "playbill/prg_list.h"
#include "playbill_session.h"
#include "record_address.h"
#include "render/celltext/cell_page.h"
#include "render/celltext/styled_cells.h"
#include "render/faces/face_layout.h"
#include "render/faces/face_page.h"
#include "render/font_library.h"
#include "render/font_text_encoding.h"
#include "screen/ascii_text.h"

namespace vantorel::cli {
namespace {

void SelectProgram(CPrgListDoc& doc, int number) { doc.Select(RecordAt(doc, std::to_string(number))); }

// --- Printing --------------------------------------------------------------------------------

std::string TimeWindowText(const tagProgramPart& program) {
  const auto& t = program.timeSch;
  if (!HasTimeWindow(program)) return {};
  std::string days;
  for (int day = 0; day < 7; ++day) days += (t[0] & (1u << day)) ? static_cast<char>('0' + day) : '_';
  return FormatText("\tdays %s %02d:%02d-%02d:%02d", days.c_str(), HourOf(t[1]), MinuteOf(t[1]), HourOf(t[2]), MinuteOf(t[2]));
}

void PrintRecord(const CPrgListDoc& doc, int index) {
  const tagPrgItem& record = doc.Record(index);
  const std::string name = doc.DisplayName(index);
  if (record.IsProgram()) {
    const tagProgramPart& program = record.program;
    std::cout << name << (program.backgrd.empty() ? "" : "\tbackground " + program.backgrd.str())
              << TimeWindowText(program) << '\n';
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

void PrintPlaybill(const CPrgListDoc& doc) {
  const int index = doc.CurrentScreenIndex();
  const tagScreenInfo& screen = doc.CurrentScreen();
  std::cout << FormatText("Screen %d: %s, %u x %u\n", index + 1, doc.Screens().DisplayName(index).c_str(),
                          static_cast<unsigned>(screen.width), static_cast<unsigned>(screen.height));
  for (int record = 0; record < RecordCount(doc.Records()); ++record) PrintRecord(doc, record);
}

// --- Item options ----------------------------------------------------------------------------

struct ItemOptions {
  std::string kind;
  std::optional<std::string> media;
  std::optional<std::string> text;
  std::optional<std::string> effect;
  std::optional<std::string> colour;
  std::optional<std::string> background;
  std::optional<int> speed;
  std::optional<int> time;
  std::optional<int> fontHeight;
  std::optional<int> showMode;
  std::optional<std::string> align;
  std::optional<std::string> valign;
  std::optional<int> lineSpacing;
  std::optional<std::string> target;  // time and work counters: the target or start moment
  bool transparent = false;
  bool negative = false;
};

std::uint16_t ParseKind(const std::string& text) {
  for (int kind = 0; kind <= kKindWorkCounter; ++kind) {
    if (EqualsIgnoringAsciiCase(text, ItemKindToken(kind))) return static_cast<std::uint16_t>(kind);
  }
  if (const auto code = ParseCode(text); code && *code <= kKindWorkCounter) return static_cast<std::uint16_t>(*code);
  std::string kinds;
  for (int kind = 1; kind <= kKindWorkCounter; ++kind) kinds += (kind > 1 ? ", " : "") + ItemKindToken(kind);
  throw CliError("unknown item kind '" + text + "'; kinds: " + kinds + " (or 1-11)");
}

std::uint16_t ParseEffect(const std::string& text) {
  if (const auto code = EffectCodeByName(text)) return *code;
  if (const auto code = ParseCode(text); code && *code <= 0xFFFF && EffectIndexOfCode(static_cast<std::uint16_t>(*code)) >= 0) {
    return static_cast<std::uint16_t>(*code);
  }
  throw CliError("unknown effect '" + text + "': use a name such as \"Scroll left\" or a code such as 11");
}

// "#RRGGBB" or a colour name, stored with red in the low byte.
std::uint32_t ParseColour(const std::string& text) {
  static const std::pair<const char*, std::uint32_t> kNames[] = {
      {"red", 0xFF0000},    {"green", 0x00FF00},   {"blue", 0x0000FF},  {"yellow", 0xFFFF00},
      {"cyan", 0x00FFFF},   {"magenta", 0xFF00FF}, {"white", 0xFFFFFF}, {"black", 0x000000}};
  for (const auto& [name, rgb] : kNames) {
    if (EqualsIgnoringAsciiCase(text, name)) return StoredColour(rgb);
  }
  if (text.size() == 7 && text[0] == '#') {
    if (const auto rgb = ParseCode("0x" + text.substr(1))) return StoredColour(*rgb);
  }
  throw CliError("colour '" + text + "': use #RRGGBB or red, green, blue, yellow, cyan, magenta, white, black");
}

template <std::size_t Width>
void SetText(FixedText<Width>& field, const std::string& option, const std::string& text) {
  if (LegacyCodepageSize(text) > FixedText<Width>::kMaxBytes) {
    throw CliError(FormatText("%s: at most %zu bytes", option.c_str(), FixedText<Width>::kMaxBytes));
  }
  field = text;
}

// The cells of `text` (UTF-8) in the screen's font code page: one cell a character, CR LF one
// line end. A character the code page has no place for is refused rather than shown as "?".
void SetCellText(tagItemPart& item, const std::string& text, std::uint32_t colour, int fontHeight,
                 const tagScreenInfo& screen) {
  const int codePage = FontCodePageOf(screen);
  std::vector<StyledChar> characters;
  const std::u32string all = Utf8Characters(text);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const char32_t character = all[i];
    if (character == 0xFFFD) throw CliError("--text: not valid UTF-8");
    if (character == '\r' && i + 1 < all.size() && all[i + 1] == '\n') continue;
    if (character >= 0x80 && !EncodeCharacter(character, codePage)) {
      throw CliError(FormatText("--text: the screen's font code page (%s) has no \"%s\"", LoadText(FontLibraryTextId(codePage)).c_str(),
                                Utf8Of(character).c_str()));
    }
    characters.push_back({character == '\n' ? U'\r' : character, fontHeight, colour, 0});
  }
  const CellTextSettings settings{3, codePage, screen.extSizeM, 0};
  CellConversion cells = ConvertToCells(characters, settings, RichTextBlock::kNewBlockBytes);
  if (!cells.block || cells.shown.size() < characters.size()) {
    throw CliError(FormatText("--text: at most %zu characters", cells.shown.size()));
  }
  item.richTxt = std::move(cells.block);
}

void SetFormattedText(tagItemPart& item, const std::string& text, std::uint32_t colour, int fontHeight,
                      const tagScreenInfo& screen) {
  if (item.actType != kKindCellText && item.actType != kKindImageText) {
    throw CliError("--text is for cell-text and image-text items; other kinds take --media");
  }
  if (item.actType == kKindCellText) return SetCellText(item, text, colour, fontHeight, screen);
  if (const Status set = SetItemText(item, text, colour, fontHeight); !set) throw CliError("--text: " + set.detail());
}

// The alignment, line spacing and face of "Text mode" cells live in the item's text style word.
void SetCellTextStyle(tagItemPart& item, const ItemOptions& options) {
  if (!options.align && !options.valign && !options.lineSpacing) return;
  if (item.actType != kKindCellText) throw CliError("--align, --valign and --line-spacing are for cell-text items");
  const auto word = static_cast<std::uint32_t>(item.txt2Img);
  int alignment = TextStyleAlignment(word);
  const auto pick = [](const std::string& option, const std::string& value, std::initializer_list<const char*> names) {
    int index = 0;
    std::string all;
    for (const char* name : names) {
      if (EqualsIgnoringAsciiCase(value, name)) return index;
      all += (index++ > 0 ? ", " : "") + std::string(name);
    }
    throw CliError(option + " '" + value + "': use " + all);
  };
  if (options.align) alignment = (alignment & 0x0C) | pick("--align", *options.align, {"left", "center", "right"});
  if (options.valign) alignment = (alignment & 0x03) | pick("--valign", *options.valign, {"top", "middle", "bottom"}) << 2;
  const int spacing = options.lineSpacing.value_or(TextStyleLineSpacing(word));
  const std::uint32_t others = word & ~MakeTextStyle(0x0F, 0x0F, 0);
  item.txt2Img = static_cast<std::int32_t>(others | MakeTextStyle(alignment, spacing, 0));
}

void ApplyItemOptions(tagItemPart& item, const ItemOptions& options, const tagScreenInfo& screen) {
  StartItemKind(item, ParseKind(options.kind));
  if (options.effect) item.showType = ParseEffect(*options.effect);
  if (options.speed) item.speed = static_cast<std::uint16_t>(*options.speed);
  if (options.time) item.actTime = static_cast<std::uint16_t>(*options.time);
  if (options.showMode) item.showMode = static_cast<std::uint16_t>(*options.showMode);
  if (options.fontHeight) {
    // A face's font is kept as a character height at 96 dots an inch, which the face turns back
    // into its size in dots.
    item.logFont.height = IsFaceKind(item.actType) ? FontHeightOfPoints(*options.fontHeight) : *options.fontHeight;
  }
  if (options.target) {
    if (item.actType != kKindTimeCounter && item.actType != kKindWorkCounter) {
      throw CliError("--target is for time-counter and work-counter items");
    }
    const std::optional<DateTime> moment = ParseDateTime(*options.target);
    if (!moment) throw CliError("--target: not a date and time of the form YYYY-MM-DD hh:mm:ss: " + *options.target);
    item.tcBase = {moment->year, moment->month, moment->day, moment->hour, moment->minute, moment->second};
  }
  if (options.colour) item.fntColor = ParseColour(*options.colour);
  if (options.background) item.bgColor = ParseColour(*options.background);
  if (options.transparent) item.transp = 1;
  if (options.negative) item.negative = 1;
  if (options.media) {
    if (IsMediaFileKind(item.actType)) {
      std::error_code error;
      const std::filesystem::path file = std::filesystem::absolute(*options.media, error);
      if (error || !std::filesystem::is_regular_file(file, error)) throw CliError("--media: no such file: " + *options.media);
      SetText(item.media, "--media", file.string());
    } else {
      SetText(item.media, "--media", *options.media);
    }
  } else if (IsMediaFileKind(item.actType)) {
    throw CliError("--media FILE is needed for " + ItemKindToken(item.actType) + " items");
  }
  if (options.text) {
    SetFormattedText(item, *options.text, options.colour ? item.fntColor : kStoredRed,
                     options.fontHeight.value_or(kDefaultFontHeight), screen);
  }
  SetCellTextStyle(item, options);
}

// --- Commands --------------------------------------------------------------------------------

// Opens screen `screen`, runs `change` and, when it made a change, saves and prints the playbill.
template <typename Change>
void Edit(const CliContext& context, int screen, Change change) {
  auto doc = OpenScreenPlaybill(context, screen);
  change(*doc);
  SaveDocument(*doc);
  PrintPlaybill(*doc);
}

std::vector<int> ParseScreenList(const CScreenData& screens, const std::string& text) {
  std::vector<int> indexes;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t comma = std::min(text.find(',', pos), text.size());
    const auto number = ParseCode(std::string(TrimSpaces(std::string_view(text).substr(pos, comma - pos))));
    if (!number || *number > 100000) throw CliError("--screens: use screen numbers separated by commas, such as 1,3,4");
    const int index = CheckedScreenIndex(screens, static_cast<int>(*number));
    if (std::find(indexes.begin(), indexes.end(), index) == indexes.end()) indexes.push_back(index);
    pos = comma + 1;
  }
  return indexes;
}

void Import(const CliContext& context, int screen, const std::string& file, const std::optional<std::string>& screenList) {
  auto doc = OpenScreenPlaybill(context, screen);
  bool importCurrent = true;
  if (screenList) {
    const std::vector<int> chosen = ParseScreenList(doc->Screens(), *screenList);
    tagScreenInfo fileScreen;
    if (!ReadPlaybillScreen(file, fileScreen)) throw CliError(LoadText(kTextFailed) + ": " + file);
    if (const Status checked = CheckImportScreens(fileScreen, doc->Screens(), chosen); !checked) {
      throw CliError(ImportFailureText(checked));
    }
    const ScreensImport result = ImportToScreens(*doc, file, chosen);
    for (int index : chosen) {
      const bool failed = std::find(result.failedScreens.begin(), result.failedScreens.end(), index) != result.failedScreens.end();
      if (index != doc->CurrentScreenIndex() && !failed) {
        std::cout << "Imported into screen " << (index + 1) << ": " << doc->Screens().DisplayName(index) << '\n';
      }
    }
    if (!result.failedScreens.empty()) {
      for (const Status& failure : result.failures) std::cerr << StatusMessage(failure) << '\n';
      throw CliError(FailedScreensText(doc->Screens(), result.failedScreens));
    }
    importCurrent = result.currentChosen;
  }
  if (!importCurrent) return;
  if (const Status imported = ImportPlaybill(*doc, file); !imported) throw CliError(ImportFailureText(imported));
  PrintPlaybill(*doc);
}

void SetUpItemCommand(CLI::App& playbill, CliContext& context, const std::shared_ptr<int>& screen) {
  auto options = std::make_shared<ItemOptions>();
  auto target = std::make_shared<std::string>();
  CLI::App* add = playbill.add_subcommand("add-item", "Add an item after an item, or at the end of a window");
  add->add_option("--kind", options->kind,
                  "picture, text-file, document, video, clock, cell-text, animation, image-text, sensor, "
                  "time-counter, work-counter (or 1-11)")
      ->required();
  add->add_option("--to", *target, "P.W: at the end of window W of program P; P.W.I: after item I (default: the last window)");
  add->add_option("--media", options->media, "Media file of picture, text-file, document, video and animation items; the text of other kinds");
  add->add_option("--text", options->text, "Text of cell-text and image-text items");
  add->add_option("--effect", options->effect, "Entry effect: name (\"Scroll left\") or code (11)");
  add->add_option("--speed", options->speed, "Effect speed")->check(CLI::Range(0, 65535));
  add->add_option("--time", options->time, "Stay time")->check(CLI::Range(0, 65535));
  add->add_option("--color", options->colour, "Text colour: #RRGGBB or a name (red, green, ...)");
  add->add_option("--bg-color", options->background, "Background colour: #RRGGBB or a name");
  add->add_option("--font-height", options->fontHeight, "Font height in dots (8, 12, 16, 24, 32, 40, 48, 56)")
      ->check(CLI::Range(1, 255));
  add->add_option("--show-mode", options->showMode, "Display mode word (clock style, sensor unit, picture placement)")
      ->check(CLI::Range(0, 65535));
  add->add_flag("--transparent", options->transparent, "Transparent background");
  add->add_flag("--negative", options->negative, "Inverted: light on dark (picture, document and animation items)");
  add->add_option("--align", options->align, "Cell-text lines across: left, center, right");
  add->add_option("--valign", options->valign, "Cell-text lines down: top, middle, bottom");
  add->add_option("--target", options->target,
                  "Time counter: the moment it counts to or from; work counter: its start (\"YYYY-MM-DD hh:mm:ss\")");
  add->add_option("--line-spacing", options->lineSpacing, "Cell-text pixels between lines (0..15)")->check(CLI::Range(0, 15));
  add->callback([&context, screen, options, target] {
    Edit(context, *screen, [&](CPrgListDoc& doc) {
      int after = -1;
      if (target->empty()) {
        const PrgList& list = doc.Records();
        const auto windows = RecordsOfLevel(list, 0, RecordCount(list), kLevelWindow);
        if (windows.empty()) throw CliError("the playbill has no window");
        after = SubtreeEnd(list, windows.back()) - 1;
      } else {
        const int record = RecordAt(doc, *target);
        after = doc.Record(record).IsWindow() ? SubtreeEnd(doc.Records(), record) - 1 : record;
      }
      if (!doc.Select(after) || !doc.CanAddItem()) throw CliError("new items go after an item: the window holds none");
      doc.AddItem();
      tagPrgItem record = doc.Record(doc.CurrentRecord());
      ApplyItemOptions(record.item, *options, doc.CurrentScreen());
      doc.ReplaceRecord(doc.CurrentRecord(), std::move(record));
    });
  });
}

struct ProgramOptions {
  std::optional<std::string> name;
  std::optional<int> loops;
  std::optional<int> playTime;
  std::optional<std::string> days;
  std::optional<std::string> window;
  bool always = false;
};

// "HH:MM-HH:MM" as stored times of day.
std::pair<std::uint16_t, std::uint16_t> ParseTimeWindow(const std::string& text) {
  unsigned h1 = 0, m1 = 0, h2 = 0, m2 = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%u:%u-%u:%u%c", &h1, &m1, &h2, &m2, &tail) != 4 || h1 > 24 || h2 > 24 || m1 > 59 ||
      m2 > 59) {
    throw CliError("--window: use HH:MM-HH:MM, such as 08:00-20:00");
  }
  return {TimeOfDay(static_cast<int>(h1), static_cast<int>(m1)), TimeOfDay(static_cast<int>(h2), static_cast<int>(m2))};
}

std::uint8_t ParseDays(const std::string& text) {
  const auto days = DayMaskOfDigits(text == "all" ? "0123456" : text);
  if (!days) throw CliError("--days: digits 0 (Sunday) to 6 (Saturday), such as 12345, or all");
  return *days;
}

void ApplyProgramOptions(tagProgramPart& program, const ProgramOptions& options) {
  if (options.name) SetText(program.prgName, "--name", *options.name);
  if (options.loops) program.loopCnt = static_cast<std::uint8_t>(*options.loops);
  if (options.playTime) program.playTime = static_cast<std::uint16_t>(*options.playTime);
  if (options.days) SetPlayDays(program, ParseDays(*options.days));
  if (options.window) {
    const auto [start, end] = ParseTimeWindow(*options.window);
    SetTimeWindow(program, start, end);
  }
  if (options.always) ClearTimeWindow(program);
}

void SetUpProgramCommands(CLI::App& playbill, CliContext& context, const std::shared_ptr<int>& screen) {
  auto after = std::make_shared<int>(0);
  CLI::App* add = playbill.add_subcommand("add-program", "Add a full-screen program with one item");
  add->add_option("--after", *after, "After program P (default: the last)")->check(CLI::PositiveNumber);
  add->callback([&context, screen, after] {
    Edit(context, *screen, [&](CPrgListDoc& doc) {
      SelectProgram(doc, *after > 0 ? *after : doc.Selection().programCount);
      doc.AddProgram();
    });
  });

  auto layout = std::make_shared<int>(0);
  auto layoutProgram = std::make_shared<int>(1);
  CLI::App* layoutCommand = playbill.add_subcommand(
      "layout", "Replace a program by one with the windows of a layout: 0 full screen, 1 and 2 three-window crosses, 3 five-window cross");
  layoutCommand->add_option("N", *layout, "Layout 0-3")->required()->check(CLI::Range(0, 3));
  layoutCommand->add_option("--program", *layoutProgram, "Program P (default: 1)")->check(CLI::PositiveNumber);
  layoutCommand->callback([&context, screen, layout, layoutProgram] {
    Edit(context, *screen, [&](CPrgListDoc& doc) {
      SelectProgram(doc, *layoutProgram);
      doc.ApplyLayout(*layout);
    });
  });

  auto options = std::make_shared<ProgramOptions>();
  auto setProgram = std::make_shared<int>(0);
  CLI::App* set = playbill.add_subcommand("set-program", "Change a program's name, loops, play time and time window");
  set->add_option("P", *setProgram, "Program number")->required()->check(CLI::PositiveNumber);
  set->add_option("--name", options->name, "Program name (at most 64 bytes)");
  set->add_option("--loops", options->loops, "Loop count")->check(CLI::Range(0, 255));
  set->add_option("--play-time", options->playTime, "Play time")->check(CLI::Range(0, 65535));
  set->add_option("--days", options->days, "Days of its time window: digits 0 (Sunday) to 6, or all");
  set->add_option("--window", options->window, "Plays only from HH:MM to HH:MM (start = end: the whole day)");
  set->add_flag("--always", options->always, "Plays at any time (no time window)");
  set->callback([&context, screen, options, setProgram] {
    Edit(context, *screen, [&](CPrgListDoc& doc) {
      const int record = RecordAt(doc, std::to_string(*setProgram));
      tagPrgItem program = doc.Record(record);
      ApplyProgramOptions(program.program, *options);
      doc.ReplaceRecord(record, std::move(program));
    });
  });

  auto address = std::make_shared<std::string>();
  CLI::App* remove = playbill.add_subcommand("delete", "Delete a program (P) with its windows and items, or an item (P.W.I)");
  remove->add_option("ADDRESS", *address, "P or P.W.I")->required();
  remove->callback([&context, screen, address] {
    Edit(context, *screen, [&](CPrgListDoc& doc) {
      const int record = RecordAt(doc, *address);
      if (doc.Record(record).IsWindow()) throw CliError("windows are changed through layouts, not deleted one by one");
      doc.Select(record);
      if (doc.Record(record).IsProgram() && !doc.CanDeleteProgram()) throw CliError("the only program cannot be deleted");
      doc.Delete(record);
    });
  });

  auto moveProgram = std::make_shared<int>(0);
  auto direction = std::make_shared<std::string>();
  CLI::App* move = playbill.add_subcommand("move", "Move a program one place up or down");
  move->add_option("P", *moveProgram, "Program number")->required()->check(CLI::PositiveNumber);
  move->add_option("DIRECTION", *direction, "up or down")->required()->check(CLI::IsMember({"up", "down"}));
  move->callback([&context, screen, moveProgram, direction] {
    Edit(context, *screen, [&](CPrgListDoc& doc) {
      SelectProgram(doc, *moveProgram);
      const bool moved = *direction == "up" ? doc.MoveProgramUp() : doc.MoveProgramDown();
      if (!moved) throw CliError(FormatText("program %d is already the %s one", *moveProgram, *direction == "up" ? "first" : "last"));
    });
  });

  auto backgroundProgram = std::make_shared<int>(0);
  auto picture = std::make_shared<std::string>();
  CLI::App* setBackground = playbill.add_subcommand("set-background", "Give a program a stretched background picture");
  setBackground->add_option("P", *backgroundProgram, "Program number")->required()->check(CLI::PositiveNumber);
  setBackground->add_option("PICTURE", *picture, "Picture file (BMP, JPEG, GIF, PNG, TIFF)")->required()->check(CLI::ExistingFile);
  setBackground->callback([&context, screen, backgroundProgram, picture] {
    Edit(context, *screen, [&](CPrgListDoc& doc) {
      SelectProgram(doc, *backgroundProgram);
      if (!doc.SetBackground(std::filesystem::absolute(*picture), IsReadablePicture)) {
        throw CliError("cannot use " + *picture + " as a background: it cannot be decoded or its path is longer than 260 bytes");
      }
    });
  });

  auto clearProgram = std::make_shared<int>(0);
  CLI::App* clear = playbill.add_subcommand("clear-background", "Remove a program's background picture");
  clear->add_option("P", *clearProgram, "Program number")->required()->check(CLI::PositiveNumber);
  clear->callback([&context, screen, clearProgram] {
    Edit(context, *screen, [&](CPrgListDoc& doc) {
      SelectProgram(doc, *clearProgram);
      doc.ClearBackground();
    });
  });
}

void SetUpPlaybill(CLI::App& group, CliContext& context) {
  CLI::App* playbill = &group;
  const auto screen = AddScreenOption(group);
  AddReportCommand(group, context, screen, "show",
                 "Print the program tree: programs, windows with their rectangles, items with their kind and entry effect",
                 PrintPlaybill);
  playbill->add_subcommand("new", "Start the screen's playbill anew (the default playbill of the screen)")
      ->callback([&context, screen] {
        Edit(context, *screen, [](CPrgListDoc& doc) { ThrowOnFailure(doc.NewDocument()); });
      });
  SetUpProgramCommands(*playbill, context, screen);
  SetUpItemCommand(*playbill, context, screen);

  auto exportFile = std::make_shared<std::string>();
  auto replace = std::make_shared<bool>(false);
  CLI::App* exportCommand = playbill->add_subcommand("export", "Save the playbill with its schedule to a playbill file (.lpl)");
  exportCommand->add_option("FILE", *exportFile, "File to write (\".lpl\" is added when it has no extension)")->required();
  exportCommand->add_flag("--replace", *replace, "Replace FILE when it exists");
  exportCommand->callback([&context, screen, exportFile, replace] {
    const std::filesystem::path target = WithPlaybillExtension(*exportFile);
    std::error_code error;
    if (!*replace && std::filesystem::exists(target, error)) {
      throw CliError(target.string() + " already exists: give --replace to replace it");
    }
    auto doc = OpenScreenPlaybill(context, *screen);
    ThrowOnFailure(ExportPlaybill(*doc, target));
    std::cout << "Exported " << doc->Screens().DisplayName(doc->CurrentScreenIndex()) << " to " << target.string() << '\n';
  });

  auto importFile = std::make_shared<std::string>();
  auto screenList = std::make_shared<std::optional<std::string>>();
  CLI::App* importCommand = playbill->add_subcommand(
      "import", "Import a playbill file into the screen, or with --screens into several screens of its size and class");
  importCommand->add_option("FILE", *importFile, "Playbill file (.lpl)")->required()->check(CLI::ExistingFile);
  importCommand->add_option("--screens", *screenList, "Screen numbers, such as 1,3,4");
  importCommand->callback([&context, screen, importFile, screenList] { Import(context, *screen, *importFile, *screenList); });
}

const CliCommandGroup kGroup(20, "playbill", "Edit, export and import a screen's playbill", SetUpPlaybill);

}  // namespace
}  // namespace vantorel::cli
