// "screens": the screen manager without a window. Every command reads the machine's screen list
// ("screen.cfg" in the data folder, made with the default screen when missing), applies the same
// rules as the screen manager and editor, and stores the list only when the manager's checks pass.
// Commands that change the list need the administrator password, as the screen manager does.

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/password_store.h"
#include "app/text_format.h"
#include "app/text_table.h"
#include "app/user_settings.h"
#include "cli_command.h"
#include "machine_screens.h"
#include "platform/terminal_input.h"
#include "playbill/playbill_paths.h"
#include "playbill/screen_list_store.h"
#include "screen/ascii_text.h"
#include "screen/colour_modes.h"
#include "screen/comm_types.h"
#include "screen/controller_types.h"
#include "screen/part_list.h"
#include "screen/screen_data.h"
#include "screen/screen_editor_rules.h"
#include "screen/screen_manager_rules.h"

namespace vantorel::cli {
namespace {

// Command-line names of the communication types, by type value.
constexpr const char* kCommNames[] = {"rs232", "gprs-dtu", "network", "server", "gprs-board"};

// What `add` and `edit` may set, in the order the editor's controls apply it.
struct ScreenOptions {
  std::optional<std::string> model;
  std::optional<int> width;
  std::optional<int> height;
  std::optional<std::string> colour;
  std::optional<int> id;
  std::optional<std::string> name;
  std::optional<std::string> comm;
  std::optional<int> subMode;
  std::optional<int> port;
  std::optional<int> baud;
  std::optional<std::string> ip;
  std::optional<int> ipPort;
  std::optional<std::string> idCode;
  std::optional<std::string> gprsId;
  std::optional<std::string> domain;
  std::optional<int> timeout;
  std::optional<std::string> user;
  std::optional<std::string> password;
  std::optional<std::string> special;
};

[[noreturn]] void Refuse(const Status& refusal) { throw CliError(StatusMessage(refusal)); }

constexpr const char* kAdminPasswordOption = "--admin-password";

// The screen manager asks for the administrator password before it changes the list; so does
// every command that changes it, before it reads or writes anything.
void RequireAdminPassword(const std::optional<std::string>& given) {
  std::optional<std::string> typed = given;
  if (!typed && StandardInputIsTerminal()) typed = ReadHiddenLine("Administrator password: ");
  if (!typed) {
    throw CliError(std::string("changing the screen list needs the administrator password: give it with ") +
                   kAdminPasswordOption + " TEXT");
  }
  CUserSettings settings;
  if (!CheckPassword(*typed, LoadPasswordBlocks(settings).administrator)) {
    Refuse(Status::Failure(kTextPasswordIncorrect).WithTitle(kTextPrompt));
  }
}

void AddAdminPasswordOption(CLI::App* command, std::optional<std::string>& password) {
  command->add_option(kAdminPasswordOption, password,
                      "Administrator password (asked for without echo when not given and standard input is a terminal)");
}

CScreenData LoadScreens(const CliContext& context) {
  CScreenData list;
  LoadMachineScreens(context, list);
  return list;
}

// What the manager's OK does: check the whole edited list, then store it in place of `stored`,
// the playbill files of screens with a new ID following them.
void StoreScreens(const CliContext& context, CScreenData& stored, const CScreenData& edited,
                  const std::vector<ScreenIdChange>& changes = {}) {
  if (const Status checked = CheckManagerOk(edited); !checked) Refuse(checked);
  Status kept;
  if (const Status saved = StoreScreenList(stored, edited, changes, context.folders.WorkFolder(),
                                           context.folders.ScreenFile(), &kept);
      !saved) {
    Refuse(saved);
  }
  PrintNotice(kept);
}

// A 1-based screen number from the command line as a list index.
int ScreenIndex(const CScreenData& list, int number) {
  if (number < 1 || number > list.Count()) {
    throw CliError(FormatText("there is no screen %d (the list holds %d screen%s)", number, list.Count(),
                              list.Count() == 1 ? "" : "s"));
  }
  return number - 1;
}

std::string JoinModelNames() {
  std::string names;
  for (const ControllerType& type : ControllerTypes()) names += (names.empty() ? "" : ", ") + std::string(type.name);
  return names;
}

std::uint16_t ParseModel(const std::string& text) {
  if (const auto model = FindModelByName(text)) return *model;
  if (const auto code = ParseCode(text); code && *code <= 0xFFFF && IsKnownModel(static_cast<std::uint16_t>(*code))) {
    return static_cast<std::uint16_t>(*code);
  }
  throw CliError("unknown controller model '" + text + "'; models: " + JoinModelNames());
}

std::uint8_t ParseCommType(const std::string& text) {
  for (std::size_t value = 0; value < std::size(kCommNames); ++value) {
    if (EqualsIgnoringAsciiCase(text, kCommNames[value]) || text == std::to_string(value)) {
      return static_cast<std::uint8_t>(value);
    }
  }
  throw CliError("unknown communication type '" + text + "'; use rs232, network, server, gprs-board or gprs-dtu");
}

std::uint32_t ParseAddress(const std::string& option, const std::string& text) {
  if (const auto address = ParseDottedQuad(text)) return *address;
  throw CliError(option + ": '" + text + "' is not an address of the form a.b.c.d");
}

// Texts go into fixed fields of the screen file: refuse what would be cut or break a line.
template <std::size_t Width>
void SetText(FixedText<Width>& field, const std::string& option, const std::string& text) {
  if (LegacyCodepageSize(text) > FixedText<Width>::kMaxBytes) {
    throw CliError(FormatText("%s: at most %zu bytes", option.c_str(), FixedText<Width>::kMaxBytes));
  }
  if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
    throw CliError(option + ": control characters are not allowed");
  }
  field = text;
}

std::string ColourChoices(std::uint16_t model) {
  std::string names;
  for (const std::uint16_t mode : ColourModesOf(model)) {
    names += (names.empty() ? "" : ", ") + ColourModeName(mode) + FormatText(" (0x%02X)", mode);
  }
  return names;
}

std::uint16_t CheckedSize(const std::string& option, int size, std::uint16_t model) {
  const std::vector<int> choices = SizeChoices(model);
  if (std::find(choices.begin(), choices.end(), size) == choices.end()) {
    throw CliError(FormatText("%s: %s offers %d to %d in steps of 4", option.c_str(), ModelName(model).c_str(),
                              choices.front(), choices.back()));
  }
  return static_cast<std::uint16_t>(size);
}

std::string ParseSpecial(const std::string& text) {
  if (text == "none") return SpecialForChoice(SpecialChoice::None);
  if (text == "rotate") return SpecialForChoice(SpecialChoice::Rotate);
  if (text == "parts") return SpecialForChoice(SpecialChoice::Parts);
  if (text.starts_with("p:") && !ParsePartList(text).empty()) return text;
  throw CliError("--special: use none, rotate, parts or a part list such as p:0,0,16,16;48,0,16,16;");
}

void ApplyCommOptions(const ScreenOptions& options, ScreenDefinition& definition) {
  tagCommInfo& comm = definition.comm;
  if (options.comm) ApplyCommTypeChoice(definition, ParseCommType(*options.comm));
  if (options.port) comm.portIndex = static_cast<std::uint8_t>(*options.port - 1);
  if (options.baud) {
    if (std::find(std::begin(kBaudRates), std::end(kBaudRates), *options.baud) == std::end(kBaudRates)) {
      throw CliError("--baud: use 115200, 57600, 38400, 19200, 9600, 4800 or 2400");
    }
    comm.baudRate = *options.baud;
  }
  if (options.ip) comm.ipAddr = ParseAddress("--ip", *options.ip);
  if (options.ipPort) comm.ipPort = static_cast<std::uint16_t>(*options.ipPort);
  if (options.idCode) comm.idCode = ParseAddress("--id-code", *options.idCode);
  if (options.gprsId) SetText(comm.gprsId, "--gprs-id", *options.gprsId);
  if (options.domain) SetText(comm.domain, "--domain", *options.domain);
  if (options.user) SetText(comm.userName, "--user", *options.user);
  if (options.password) SetText(comm.password, "--password", *options.password);
  if (options.timeout) comm.timeout = *options.timeout;
  // Without --sub-mode, the address the user gave decides how the sign or server is named.
  const bool relay = comm.commType == kCommServerNet || comm.commType == kCommServerGprs;
  if (relay && options.domain.has_value() != options.ip.has_value()) comm.subMode = options.domain ? 1 : 0;
  if (comm.commType == kCommNetwork && options.gprsId.has_value() != options.ip.has_value()) {
    comm.subMode = options.gprsId ? 1 : 0;
  }
  if (options.subMode) comm.subMode = static_cast<std::uint8_t>(*options.subMode);
}

// The screen the editor ends with when it opens on `definition` and the options are applied in
// the order of its controls.
void ApplyScreenOptions(const ScreenOptions& options, ScreenDefinition& definition) {
  tagScreenInfo& screen = definition.screen;
  if (options.model) ApplyModelChange(definition, ParseModel(*options.model));
  if (options.colour) {
    const auto colour = ParseColourMode(*options.colour);
    if (!colour || !OffersColourMode(screen.model, *colour)) {
      throw CliError("--color: " + ModelName(screen.model) + " offers " + ColourChoices(screen.model));
    }
    screen.color = *colour;
  }
  const EditorSize opened = OpenEditorSize(screen);
  screen.width = options.width ? CheckedSize("--width", *options.width, screen.model)
                               : static_cast<std::uint16_t>(opened.width);
  screen.height = options.height ? CheckedSize("--height", *options.height, screen.model)
                                 : static_cast<std::uint16_t>(opened.height);
  if (options.id) screen.number = static_cast<std::uint8_t>(*options.id);
  if (options.name) SetText(screen.scrName, "--name", *options.name);
  ApplyCommOptions(options, definition);
  if (options.special) definition.comm.special = ParseSpecial(*options.special);
}

// The editor's OK; a taken ID is refused with the ID that is free.
void AcceptScreen(const CScreenData& list, int editedIndex, ScreenDefinition& definition) {
  if (const Status accepted = AcceptEditedScreen(list, editedIndex, definition); !accepted) {
    if (accepted.text() != kTextDuplicateId) Refuse(accepted);
    throw CliError(StatusMessage(accepted) + FormatText(" (ID %d is taken; --id %d is free)", definition.screen.number,
                                              list.NextFreeId(definition.screen.number)));
  }
}

void PrintList(const CScreenData& list) {
  for (int i = 0; i < list.Count(); ++i) {
    const tagScreenInfo& screen = list.Screen(i);
    std::cout << (i + 1) << '\t' << list.DisplayName(i) << '\t' << ModelName(screen.model) << '\t'
              << ColourModeName(screen.color) << '\t' << screen.width << 'x' << screen.height << '\t'
              << CommParameterText(list.Comm(i)) << '\n';
  }
}

void PrintScreen(const CScreenData& list, int index) {
  const tagScreenInfo& screen = list.Screen(index);
  const tagCommInfo& comm = list.Comm(index);
  const auto line = [](const char* label, const std::string& value) {
    std::cout << "  " << label << std::string(16 - std::min<std::size_t>(15, std::char_traits<char>::length(label)), ' ')
              << value << '\n';
  };
  std::cout << "Screen " << (index + 1) << ": " << list.DisplayName(index) << '\n';
  line("Name:", screen.scrName.str());
  line("Model:", FormatText("%s (%u)", ModelName(screen.model).c_str(), unsigned{screen.model}));
  line("Class:", std::to_string(screen.type));
  line("ID:", std::to_string(screen.number));
  line("Colour mode:", FormatText("%s (0x%02X), %d grey levels", ColourModeName(screen.color).c_str(),
                                  unsigned{screen.color}, GreyLevels(screen.color)));
  line("Size:", FormatText("%u x %u", unsigned{screen.width}, unsigned{screen.height}));
  line("Font library:", FormatText("%u (ASCII sizes %u, extended sizes %u)", unsigned{screen.fontLib},
                                   unsigned{screen.ascSizeM}, unsigned{screen.extSizeM}));
  line("Communication:", FormatText("%s (type %u, sub-mode %u)", CommTypeListText(comm.commType).c_str(),
                                    unsigned{comm.commType}, unsigned{comm.subMode}));
  line("Parameters:", CommParameterText(comm));
  line("Serial line:", FormatText("%s, %d baud", SerialPortText(comm.portIndex).c_str(), comm.baudRate));
  line("Address:", FormatText("%s : %u", FormatDottedQuad(comm.ipAddr).c_str(), unsigned{comm.ipPort}));
  line("ID code:", FormatDottedQuad(comm.idCode));
  line("Device ID:", comm.gprsId.str());
  line("Domain:", comm.domain.str());
  line("User:", comm.userName.str());
  line("Password:", comm.password.empty() ? "" : "(set)");
  line("Time-out:", FormatText("%d ms", comm.timeout));
  const SpecialChoice special = SpecialChoiceOf(comm.special);
  std::string specialText = LoadText(SpecialChoiceTextId(special));
  if (special == SpecialChoice::Parts) {
    specialText += FormatText(" (%zu parts)", ParsePartList(comm.special).size());
  }
  line("Special:", specialText + (comm.special.empty() ? "" : ": " + comm.special));
}

void AddScreenOptions(CLI::App* command, ScreenOptions& options) {
  command->add_option("--model", options.model, "Controller model name or code (" + JoinModelNames() + ")");
  command->add_option("--width", options.width, "Width in pixels: 8, 12, 16 ... up to the model's largest");
  command->add_option("--height", options.height, "Height in pixels: 8, 12, 16 ... up to the model's largest");
  command->add_option("--color", options.colour, "Colour mode code or name (\"Mono\", \"RG color\", \"Full color\" ...)");
  command->add_option("--id", options.id, "Screen ID")->check(CLI::Range(kMinScreenId, kMaxScreenId));
  command->add_option("--name", options.name, "Screen name (at most 64 bytes)");
  command->add_option("--comm", options.comm, "Communication: rs232, network, server, gprs-board, gprs-dtu (or 0-4)");
  command->add_option("--sub-mode", options.subMode,
                      "1: network controller named by device name (--gprs-id), relay server named by --domain")
      ->check(CLI::Range(0, 1));
  command->add_option("--port", options.port, "Serial port number (1 = COM1)")->check(CLI::Range(1, kSerialPortCount));
  command->add_option("--baud", options.baud, "Baud rate: 115200, 57600, 38400, 19200, 9600, 4800, 2400");
  command->add_option("--ip", options.ip, "IP address of the controller or relay server");
  command->add_option("--ip-port", options.ipPort, "TCP/UDP port of the controller or relay server")
      ->check(CLI::Range(1, 65535));
  command->add_option("--id-code", options.idCode, "Network ID code of the controller (a.b.c.d)");
  command->add_option("--gprs-id", options.gprsId, "GPRS DTU ID, relay device ID or device name (at most 30 bytes)");
  command->add_option("--domain", options.domain, "Relay server host name (at most 63 bytes)");
  command->add_option("--timeout", options.timeout, "Answer time-out in milliseconds (at least 500)")
      ->check(CLI::Range(500, 2147483647));
  command->add_option("--user", options.user, "Relay server account (at most 30 bytes)");
  command->add_option("--password", options.password, "Relay server password (at most 30 bytes)");
  command->add_option("--special", options.special,
                      "none, rotate (mounted rotated left 90 degrees), parts (cross of the screen's size) or p:LIST");
}

struct AddCommand {
  ScreenOptions screen;
  std::optional<int> copy;
  std::optional<std::string> adminPassword;
};

void SetUpAdd(CLI::App& screens, CliContext& context) {
  auto options = std::make_shared<AddCommand>();
  CLI::App* add = screens.add_subcommand(
      "add", "Define a new screen: the editor's defaults (or a copy of --copy N) changed by the options");
  add->add_option("--copy", options->copy, "Start from a copy of screen N (next free ID)");
  AddScreenOptions(add, options->screen);
  AddAdminPasswordOption(add, options->adminPassword);
  add->callback([options, &context] {
    RequireAdminPassword(options->adminPassword);
    CScreenData list = LoadScreens(context);
    if (const Status room = CheckCanAddScreen(list); !room) Refuse(room);
    ScreenDefinition definition = ProposeNewScreen(list, options->copy ? ScreenIndex(list, *options->copy) : -1);
    ApplyScreenOptions(options->screen, definition);
    AcceptScreen(list, -1, definition);
    CScreenData edited = list;
    edited.Append(definition.screen, definition.comm);
    StoreScreens(context, list, edited);
    std::cout << "Added screen " << list.Count() << ": " << list.DisplayName(list.Count() - 1) << '\n';
  });
}

struct EditCommand {
  int number = 0;
  ScreenOptions screen;
  std::optional<std::string> adminPassword;
};

void SetUpEdit(CLI::App& screens, CliContext& context) {
  auto options = std::make_shared<EditCommand>();
  CLI::App* edit = screens.add_subcommand(
      "edit", "Change a screen as the editor does; it keeps its ID (unless --id is given) and its playbill");
  edit->add_option("N", options->number, "Screen number (1 = first)")->required();
  AddScreenOptions(edit, options->screen);
  AddAdminPasswordOption(edit, options->adminPassword);
  edit->callback([options, &context] {
    RequireAdminPassword(options->adminPassword);
    CScreenData list = LoadScreens(context);
    const int index = ScreenIndex(list, options->number);
    CScreenListEdit edited(list);
    ScreenDefinition definition = edited.Definition(index);
    ApplyScreenOptions(options->screen, definition);
    AcceptScreen(list, index, definition);
    edited.Replace(index, definition);
    StoreScreens(context, list, edited.List(), edited.IdChanges());
    std::cout << "Changed screen " << options->number << ": " << list.DisplayName(index) << '\n';
    for (const ScreenIdChange& change : edited.IdChanges()) {
      std::error_code error;
      if (!std::filesystem::exists(context.folders.InWorkFolder(PlaybillFileName(change.toId)), error)) continue;
      std::cout << "Its playbill " << PlaybillFileName(change.fromId) << " is now " << PlaybillFileName(change.toId)
                << '\n';
    }
  });
}

void SetUpScreens(CLI::App& group, CliContext& context) {
  CLI::App* screens = &group;

  screens->add_subcommand("list", "List the screens: number, name, model, colour mode, size, communication")
      ->callback([&context] { PrintList(LoadScreens(context)); });

  auto showNumber = std::make_shared<int>(0);
  CLI::App* show = screens->add_subcommand("show", "Show every setting of one screen");
  show->add_option("N", *showNumber, "Screen number (1 = first)")->required();
  show->callback([showNumber, &context] {
    const CScreenData list = LoadScreens(context);
    PrintScreen(list, ScreenIndex(list, *showNumber));
  });

  SetUpAdd(*screens, context);
  SetUpEdit(*screens, context);

  struct RemoveCommand {
    int number = 0;
    std::optional<std::string> adminPassword;
  };
  auto removeOptions = std::make_shared<RemoveCommand>();
  CLI::App* remove = screens->add_subcommand("remove", "Remove a screen; later screens move up, its playbill stays");
  remove->add_option("N", removeOptions->number, "Screen number (1 = first)")->required();
  AddAdminPasswordOption(remove, removeOptions->adminPassword);
  remove->callback([removeOptions, &context] {
    RequireAdminPassword(removeOptions->adminPassword);
    CScreenData list = LoadScreens(context);
    const int index = ScreenIndex(list, removeOptions->number);
    if (list.Count() == 1) throw CliError("the only screen cannot be removed: a screen list holds at least one screen");
    const std::string name = list.DisplayName(index);
    CScreenData edited = list;
    edited.RemoveAt(index);
    StoreScreens(context, list, edited);
    std::cout << "Removed screen " << removeOptions->number << ": " << name << '\n';
  });

  auto moveNumber = std::make_shared<int>(0);
  auto direction = std::make_shared<std::string>();
  CLI::App* move = screens->add_subcommand("move", "Move a screen one place up or down");
  move->add_option("N", *moveNumber, "Screen number (1 = first)")->required();
  move->add_option("DIRECTION", *direction, "up or down")->required()->check(CLI::IsMember({"up", "down"}));
  move->callback([moveNumber, direction, &context] {
    CScreenData list = LoadScreens(context);
    const int index = ScreenIndex(list, *moveNumber);
    CScreenData edited = list;
    const bool moved = *direction == "up" ? edited.MoveUp(index) : edited.MoveDown(index);
    if (!moved) throw CliError(FormatText("screen %d is already the %s one", *moveNumber, *direction == "up" ? "first" : "last"));
    StoreScreens(context, list, edited);
    PrintList(list);
  });

  auto exportFile = std::make_shared<std::string>();
  CLI::App* exportCommand = screens->add_subcommand("export", "Write the screen list to a *.screens file");
  exportCommand->add_option("FILE", *exportFile, "File to write")->required();
  exportCommand->callback([exportFile, &context] {
    CScreenData list = LoadScreens(context);
    if (const Status saved = list.Save(*exportFile); !saved) throw CliError(StatusMessage(saved));
    std::cout << "Exported " << list.Count() << " screen" << (list.Count() == 1 ? "" : "s") << " to " << *exportFile
              << '\n';
  });

  struct ImportCommand {
    std::string file;
    std::optional<std::string> adminPassword;
  };
  auto importOptions = std::make_shared<ImportCommand>();
  CLI::App* importCommand =
      screens->add_subcommand("import", "Replace the screen list by the screens of a *.screens file");
  importCommand->add_option("FILE", importOptions->file, "File to read")->required()->check(CLI::ExistingFile);
  AddAdminPasswordOption(importCommand, importOptions->adminPassword);
  importCommand->callback([importOptions, &context] {
    RequireAdminPassword(importOptions->adminPassword);
    CScreenData imported;
    const Status read = imported.Load(importOptions->file, false);
    if (imported.Count() == 0) {
      if (!read) throw CliError(StatusMessage(read));
      Refuse(NoScreenInFileRefusal());
    }
    PrintNotice(read);
    CScreenData list = LoadScreens(context);
    StoreScreens(context, list, imported);
    std::cout << "Imported " << list.Count() << " screen" << (list.Count() == 1 ? "" : "s") << '\n';
    PrintList(list);
  });
}

const CliCommandGroup kGroup(10, "screens", "List and define the LED screens of this machine", SetUpScreens);

}  // namespace
}  // namespace vantorel::cli
