#include "screen/screen_text_format.h"

#include <array>
#include <utility>

#include "app/text_format.h"
#include "platform/legacy_text.h"
#include "screen/ascii_text.h"
#include "screen/comm_types.h"
#include "screen/controller_types.h"

namespace vantorel {
namespace {

constexpr std::string_view kBlockStart = "[SCREEN]";
constexpr std::string_view kBlockEnd = "[/SCREEN]";

enum class Key {
  ScrName, Type, Color, Width, Height, Number, Model, BarSet, Comm, GprsId,
  IpAddr, IdCode, IpPort, FontLib, AscSizeM, ExtSizeM, UserName, Password, Special, Domain
};

// Reading order: the first key that begins a line wins.
constexpr std::array<std::pair<std::string_view, Key>, 20> kReadKeys = {{
    {"SCRNAME", Key::ScrName}, {"TYPE", Key::Type},         {"COLOR", Key::Color},
    {"WIDTH", Key::Width},     {"HEIGHT", Key::Height},     {"NUMBER", Key::Number},
    {"MODEL", Key::Model},     {"BARSET", Key::BarSet},     {"COMM", Key::Comm},
    {"GPRSID", Key::GprsId},   {"IPADDR", Key::IpAddr},     {"IDCODE", Key::IdCode},
    {"IPPORT", Key::IpPort},   {"FONTLIB", Key::FontLib},   {"ASCSIZEM", Key::AscSizeM},
    {"EXTSIZEM", Key::ExtSizeM}, {"USERNAME", Key::UserName}, {"PASSWORD", Key::Password},
    {"SPECIAL", Key::Special}, {"DOMAIN", Key::Domain},
}};

constexpr std::int32_t kDefaultTimeout = 1000;
constexpr std::int32_t kMinTimeout = 500;

std::uint16_t U16(std::string_view value) { return static_cast<std::uint16_t>(DecimalValue(value)); }
std::uint8_t U8(std::int32_t value) { return static_cast<std::uint8_t>(value); }

// Dotted quad as stored; missing or malformed parts read as 0.
std::uint32_t ReadDottedQuad(std::string_view value) {
  std::uint32_t address = 0;
  std::size_t pos = 0;
  bool more = true;
  for (int part = 0; part < 4; ++part) {
    std::uint32_t byte = 0;
    if (more) {
      const LeadingNumber number = ReadLeadingNumber(value, pos);
      byte = static_cast<std::uint32_t>(number.value) & 0xFFu;
      more = number.end < value.size() && value[number.end] == '.';
      pos = number.end + 1;
    }
    address = (address << 8) | byte;
  }
  return address;
}

// "baud,0,0,0,0,port,0": only the first number and the one after the fifth comma count.
void ReadBarSet(std::string_view value, tagCommInfo& comm) {
  comm.baudRate = DecimalValue(value);
  std::size_t pos = 0;
  for (int comma = 0; comma < 5; ++comma) {
    pos = value.find(',', pos);
    if (pos == std::string_view::npos) return;
    ++pos;
  }
  comm.portIndex = U8(DecimalValue(value.substr(pos)));
}

// "type[.submode][,timeout]"
void ReadComm(std::string_view value, tagCommInfo& comm) {
  const LeadingNumber type = ReadLeadingNumber(value);
  comm.commType = U8(type.value);
  std::size_t pos = type.end;
  if (type.hasDigits && pos < value.size() && value[pos] == '.') {
    const LeadingNumber subMode = ReadLeadingNumber(value, pos + 1);
    comm.subMode = U8(subMode.value);
    pos = subMode.hasDigits ? subMode.end : pos + 1;
  }
  if (pos < value.size() && value[pos] == ',') {
    const std::int32_t timeout = DecimalValue(value.substr(pos + 1));
    comm.timeout = timeout == 0 ? kDefaultTimeout : (timeout < kMinTimeout ? kMinTimeout : timeout);
  }
}

void ReadValue(Key key, std::string_view value, tagScreenInfo& screen, tagCommInfo& comm) {
  switch (key) {
    case Key::ScrName: screen.scrName = value; break;
    case Key::Type: screen.type = U16(value); break;
    case Key::Color: screen.color = U16(value); break;
    case Key::Width: screen.width = U16(value); break;
    case Key::Height: screen.height = U16(value); break;
    case Key::Number: screen.number = U8(DecimalValue(value)); break;
    case Key::Model: screen.model = U16(value); break;
    case Key::BarSet: ReadBarSet(value, comm); break;
    case Key::Comm: ReadComm(value, comm); break;
    case Key::GprsId: comm.gprsId = value; break;
    case Key::IpAddr: comm.ipAddr = ReadDottedQuad(value); break;
    case Key::IdCode: comm.idCode = ReadDottedQuad(value); break;
    case Key::IpPort: comm.ipPort = U16(value); break;
    case Key::FontLib: screen.fontLib = U16(value); break;
    case Key::AscSizeM: screen.ascSizeM = U16(value); break;
    case Key::ExtSizeM: screen.extSizeM = U16(value); break;
    case Key::UserName: comm.userName = value; break;
    case Key::Password: comm.password = value; break;
    case Key::Special: comm.special = value.substr(0, value.find('\0')); break;
    case Key::Domain: comm.domain = value; break;
  }
}

void ReadKeyLine(std::string_view line, tagScreenInfo& screen, tagCommInfo& comm) {
  for (const auto& [name, key] : kReadKeys) {
    if (!line.starts_with(name)) continue;
    const std::size_t equals = line.find('=');
    const std::string_view value = equals == std::string_view::npos ? std::string_view() : TrimSpaces(line.substr(equals + 1));
    ReadValue(key, value, screen, comm);
    return;
  }
}

// Corrections applied to every accepted screen.
void Validate(tagScreenInfo& screen) {
  if (screen.width <= 8) {
    screen.width = 8;
  } else {
    screen.width = static_cast<std::uint16_t>(screen.width & ~3u);
  }
  if (screen.height == 0) screen.height = 1;
  if (!IsKnownModel(screen.model)) screen.model = kModelM5;
  if (screen.number == 0 || screen.number == 255) screen.number = 1;
}

// Stored texts are single lines: a line break inside a value would end the value early and could
// even open or close a block, so line breaks are written as spaces.
std::string SingleLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

void WriteLine(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append("=").append(SingleLine(value)).append("\r\n");
}

void WriteNumber(std::string& out, std::string_view key, long value) {
  WriteLine(out, key, FormatText("%ld", value));
}

}  // namespace

ReadWarnings ReadScreenText(std::string_view text, CScreenData& list) {
  ReadWarnings warnings;
  tagScreenInfo screen;
  tagCommInfo comm;
  bool open = false;
  bool blockHasLines = false;  // lines read into the open block since it was opened or dropped
  bool strayText = false;      // the previous line was text outside a block
  std::size_t pos = 0;
  std::size_t lineNumber = 0;
  while (pos < text.size() && list.Count() < CScreenData::kMaxScreens) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string converted = ToUtf8(text.substr(pos, end - pos));
    pos = end + 1;
    ++lineNumber;
    const std::string_view line = TrimSpaces(converted);

    if (!open) {
      open = line == kBlockStart;
      blockHasLines = false;
      // Text between blocks is what is left of a block whose opening line was damaged.
      if (!open && !line.empty() && !strayText) {
        warnings.Drop(FormatText("line %zu: text outside a screen block", lineNumber));
      }
      strayText = !open && !line.empty();
      continue;
    }
    if (line != kBlockEnd) {
      if (!line.empty()) blockHasLines = true;
      ReadKeyLine(line, screen, comm);
      continue;
    }
    // A block without a valid class is dropped, but stays open: what follows fills the same slot.
    if (IsKnownControllerClass(screen.type)) {
      Validate(screen);
      list.Append(screen, comm);
      open = false;
    } else {
      warnings.Drop(FormatText("line %zu: screen block without a valid controller class (TYPE %u)", lineNumber,
                               static_cast<unsigned>(screen.type)));
      blockHasLines = false;
    }
    screen = tagScreenInfo();
    comm = tagCommInfo();
  }
  if (open && blockHasLines && list.Count() < CScreenData::kMaxScreens) {
    warnings.Drop(FormatText("line %zu: screen block not closed by [/SCREEN] before the end of the file", lineNumber));
  }
  return warnings;
}

std::string WriteScreenText(const CScreenData& list) {
  std::string out;
  for (int i = 0; i < list.Count(); ++i) {
    const tagScreenInfo& screen = list.Screen(i);
    const tagCommInfo& comm = list.Comm(i);
    out.append(kBlockStart).append("\r\n");
    WriteLine(out, "SCRNAME", screen.scrName);
    WriteNumber(out, "TYPE", screen.type);
    WriteNumber(out, "COLOR", screen.color);
    WriteNumber(out, "WIDTH", screen.width);
    WriteNumber(out, "HEIGHT", screen.height);
    WriteNumber(out, "NUMBER", screen.number);
    WriteNumber(out, "MODEL", screen.model);
    WriteNumber(out, "FONTLIB", screen.fontLib);
    WriteNumber(out, "ASCSIZEM", screen.ascSizeM);
    WriteNumber(out, "EXTSIZEM", screen.extSizeM);
    WriteLine(out, "BARSET", FormatText("%d,%d,%d,%d,%d,%d,%d", comm.baudRate, 0, 0, 0, 0, comm.portIndex, 0));
    const std::string subMode = comm.subMode != 0 ? FormatText(".%d", comm.subMode) : std::string();
    WriteLine(out, "COMM", FormatText("%d%s,%d", comm.commType, subMode.c_str(), comm.timeout));
    WriteLine(out, "GPRSID", comm.gprsId);
    WriteLine(out, "DOMAIN", comm.domain);
    WriteLine(out, "IPADDR", FormatDottedQuad(comm.ipAddr));
    WriteLine(out, "IDCODE", FormatDottedQuad(comm.idCode));
    WriteNumber(out, "IPPORT", comm.ipPort);
    WriteLine(out, "USERNAME", comm.userName);
    WriteLine(out, "PASSWORD", comm.password);
    if (!comm.special.empty()) WriteLine(out, "SPECIAL", comm.special);
    out.append(kBlockEnd).append("\r\n\r\n");
  }
  return out;
}

}  // namespace vantorel
