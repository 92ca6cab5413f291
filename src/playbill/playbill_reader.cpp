#include "playbill/playbill_reader.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "app/text_format.h"
#include "platform/atomic_file.h"
#include "platform/byte_reader.h"
#include "platform/legacy_text.h"
#include "platform/saturating.h"
#include "playbill/playbill_keys.h"
#include "playbill/playbill_lines.h"
#include "playbill/playbill_paths.h"
#include "playbill/stored_paths.h"
#include "screen/ascii_text.h"
#include "screen/screen_text_format.h"

namespace vantorel {
namespace {

constexpr int kPlainTextMinVersion = 100;
// Clock texts of files up to version 1.00 began with the GB2312 word for "clock".
constexpr std::string_view kOldClockPrefix = "\xCA\xB1\xD6\xD3";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

// The level of a section line "[NAME]" (or "[/NAME]" when `closing`); 0 when it is none.
std::int32_t SectionLevel(std::string_view line, bool closing) {
  const std::string_view opening = closing ? "[/" : "[";
  if (!line.starts_with(opening) || !line.ends_with(']')) return 0;
  const std::string_view name = line.substr(opening.size(), line.size() - opening.size() - 1);
  for (std::size_t level = 1; level < kSectionNames.size(); ++level) {
    if (name == kSectionNames[level]) return static_cast<std::int32_t>(level);
  }
  return 0;
}

// The line reader of a file, after its header; the failure when the file is too short for one.
Expected<CPlaybillLineReader> OpenLines(std::span<const std::uint8_t> bytes, int& version, ReadWarnings* warnings) {
  if (bytes.size() < kPlaybillHeaderBytes) {
    return Status::Failure(kNoTextId, FormatText("file too short for its header (%zu bytes)", bytes.size()));
  }
  ByteReader header(bytes.first(kPlaybillHeaderBytes));
  const auto magic = header.Bytes(3);
  if (!std::equal(magic.begin(), magic.end(), kPlaybillMagic.begin())) return CPlaybillLineReader(bytes, 0, false, warnings);
  header.Seek(kPlaybillVersionOffset);
  version = std::max<int>(header.U16Le(), kPlaybillVersion);
  return CPlaybillLineReader(bytes, kPlaybillHeaderBytes, true, warnings);
}

// "VERSION=1.10" -> 110: the whole number times 100 plus the first two digits after the point.
int ParseVersion(std::string_view value) {
  const LeadingNumber whole = ReadLeadingNumber(value);
  // The number comes from the file: a huge one is held at the limit, not overflowed.
  int version = SaturatingMul(whole.value, 100);
  if (whole.end < value.size() && value[whole.end] == '.') {
    version = SaturatingAdd(version, DecimalValue(value.substr(whole.end + 1, 2)));
  }
  return std::max(version, kPlainTextMinVersion);
}

template <typename T>
T As(std::string_view value) {
  return static_cast<T>(DecimalValue(value));
}

// Up to `N` numbers separated by blanks; reading stops at the first that is missing, the rest
// stay 0. Returns the position after the last number read.
template <std::size_t N, typename T>
std::size_t ReadNumbers(std::string_view value, std::array<T, N>& numbers, std::size_t& count) {
  std::size_t pos = 0;
  count = 0;
  numbers.fill(T{});
  for (; count < N; ++count) {
    const LeadingNumber number = ReadLeadingNumber(value, pos);
    if (!number.hasDigits) break;
    numbers[count] = static_cast<T>(number.value);
    pos = number.end;
  }
  return pos;
}

template <std::size_t N>
void ReadNumbers(std::string_view value, std::array<std::uint16_t, N>& numbers) {
  std::size_t count = 0;
  ReadNumbers(value, numbers, count);
}

// Five s32, eight u8 and then the face name, which may hold blanks.
tagLogFont ReadLogFont(std::string_view value) {
  std::array<std::int32_t, 13> n{};
  std::size_t count = 0;
  std::size_t pos = ReadNumbers(value, n, count);
  tagLogFont font;
  font.height = n[0];
  font.width = n[1];
  font.escapement = n[2];
  font.orientation = n[3];
  font.weight = n[4];
  font.italic = static_cast<std::uint8_t>(n[5]);
  font.underline = static_cast<std::uint8_t>(n[6]);
  font.strikeOut = static_cast<std::uint8_t>(n[7]);
  font.charSet = static_cast<std::uint8_t>(n[8]);
  font.outPrecision = static_cast<std::uint8_t>(n[9]);
  font.clipPrecision = static_cast<std::uint8_t>(n[10]);
  font.quality = static_cast<std::uint8_t>(n[11]);
  font.pitchAndFamily = static_cast<std::uint8_t>(n[12]);
  if (count == n.size()) {
    if (pos < value.size() && value[pos] == ' ') ++pos;
    font.faceName = ToUtf8(value.substr(pos));
  }
  return font;
}

std::string CounterText(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value.substr(i, 2) == "\t\t") {
      text += "\r\n";
      ++i;
    } else {
      text += value[i];
    }
  }
  return text;
}

// A block is kept only when it holds everything its own header declares, and only on the items
// that own one: a short or foreign block would be drawn from bytes that are not there. The reason
// when it is not kept.
std::optional<std::string> DropBadBlock(tagItemPart& item) {
  if (!item.richTxt) return std::nullopt;
  const auto declared = item.richTxt->DeclaredSize(item.actType);
  std::optional<std::string> reason;
  if (!declared) {
    reason = FormatText("rich-text block on an item of kind %d", int{item.actType});
  } else if (*declared > item.richTxt->HeldSize()) {
    reason = FormatText("rich-text block of %zu bytes, its header declares %llu", item.richTxt->HeldSize(),
                        static_cast<unsigned long long>(*declared));
  }
  if (reason) item.richTxt.reset();
  return reason;
}

// Reads the sections into records and keeps what fits the list's structure: windows inside a
// program, items inside a window. With `firstOnly`, each program keeps only its first window and
// that window only its first item (a rule of the screen's class, not damage: no warning).
class CPlaybillDecoder {
public:
  CPlaybillDecoder(CPlaybillLineReader& lines, std::filesystem::path folder, int& version, bool firstOnly,
                   ReadWarnings& warnings)
      : m_lines(lines), m_folder(std::move(folder)), m_version(version), m_firstOnly(firstOnly), m_warnings(warnings) {}

  PrgList Decode() {
    PrgList records;
    while (auto line = m_lines.NextLine()) {
      if (line->empty()) continue;
      if (!m_open && HeaderBlockLine(*line)) continue;
      if (line->front() == '[') {
        Section(*line, records);
      } else if (m_open) {
        KeyLine(*line);
      }
    }
    if (m_open) Warn(m_openedAt, "section not closed at the end of the file");
    return records;
  }

private:
  void Warn(const std::string& place, const std::string& reason) { m_warnings.Drop(place + ": " + reason); }

  // "[PRGLIST]" ... "[/PRGLIST]" outside any section, with "VERSION=" inside.
  bool HeaderBlockLine(std::string_view line) {
    const std::string_view trimmed = TrimSpaces(line);
    if (EqualsIgnoringAsciiCase(trimmed, "[PRGLIST]") || EqualsIgnoringAsciiCase(trimmed, "[/PRGLIST]")) {
      m_inHeaderBlock = trimmed[1] != '/';
      return true;
    }
    if (!m_inHeaderBlock || !StartsWithIgnoringCase(line, "VERSION=")) return false;
    m_version = ParseVersion(line.substr(8));
    return true;
  }

  void Section(std::string_view line, PrgList& records) {
    const std::string_view trimmed = TrimSpaces(line);
    if (const std::int32_t level = SectionLevel(trimmed, false)) {
      // An unclosed record is dropped with the new one's opening.
      if (m_open) Warn(m_openedAt, "section not closed");
      m_open.emplace();
      m_open->level = level;
      m_openedAt = m_lines.Place();
      return;
    }
    if (!SectionLevel(trimmed, true) || !m_open) return;
    if (m_open->IsItem()) {
      if (const auto reason = DropBadBlock(m_open->item)) Warn(m_openedAt, *reason);
    }
    // The playbill's own screen settings are never applied: the screen list holds them.
    if (m_open->level != kLevelScreen && Fits(*m_open)) records.push_back(std::move(*m_open));
    m_open.reset();
  }

  // Whether a closed record has its place in the list read so far.
  bool Fits(const tagPrgItem& record) {
    if (record.IsProgram()) {
      m_inProgram = true;
      m_inWindow = false;
      m_windows = 0;
      return true;
    }
    if (record.IsWindow()) {
      ++m_windows;
      m_items = 0;
      m_inWindow = m_inProgram && (!m_firstOnly || m_windows == 1);
      if (!m_inProgram) Warn(m_openedAt, "section out of order (a window before any program)");
      return m_inWindow;
    }
    ++m_items;
    // Items of windows dropped by the class rule go with their window, silently.
    if (m_windows == 0) Warn(m_openedAt, "section out of order (an item outside a window)");
    return m_inWindow && (!m_firstOnly || m_items == 1);
  }

  void KeyLine(std::string_view line) {
    const auto keys = SectionKeys(m_open->level);
    const auto key = std::find_if(keys.begin(), keys.end(), [line](std::string_view name) { return line.starts_with(name); });
    if (key == keys.end()) return;
    const std::size_t equals = line.find('=');
    const std::string_view value = equals == std::string_view::npos ? std::string_view() : TrimSpaces(line.substr(equals + 1));
    const auto index = static_cast<int>(key - keys.begin());
    switch (m_open->level) {
      case kLevelProgram: Program(static_cast<ProgramKey>(index), value, m_open->program); break;
      case kLevelWindow: Window(static_cast<AreaKey>(index), value, m_open->window); break;
      case kLevelItem: Item(static_cast<ActorKey>(index), value, m_open->item); break;
      default: break;  // SCREEN keys: the section is dropped as a whole
    }
  }

  void Program(ProgramKey key, std::string_view value, tagProgramPart& program) {
    switch (key) {
      case ProgramKey::PrgName: program.prgName = ToUtf8(value); break;
      case ProgramKey::Backgrd: program.backgrd = ResolvedPath(ToUtf8(value), m_folder); break;
      case ProgramKey::ShowMode: program.showMode = As<std::uint16_t>(value); break;
      case ProgramKey::PlayTime: program.playTime = As<std::uint16_t>(value); break;
      case ProgramKey::LoopCnt: program.loopCnt = As<std::uint8_t>(value); break;
      case ProgramKey::DispAttr: program.dispAttr = As<std::uint8_t>(value); break;
      case ProgramKey::TimeSch: ReadNumbers(value, program.timeSch); break;
    }
  }

  void Window(AreaKey key, std::string_view value, tagWindowPart& window) {
    switch (key) {
      case AreaKey::AreaName: window.areaName = ToUtf8(value); break;
      case AreaKey::Left: window.left = As<std::int16_t>(value); break;
      case AreaKey::Top: window.top = As<std::int16_t>(value); break;
      case AreaKey::Width: window.width = As<std::uint16_t>(value); break;
      case AreaKey::Height: window.height = As<std::uint16_t>(value); break;
      case AreaKey::WaitType: window.waitType = As<std::uint8_t>(value); break;
      case AreaKey::Border: window.border = As<std::uint8_t>(value); break;
    }
  }

  void Item(ActorKey key, std::string_view value, tagItemPart& item) {
    switch (key) {
      case ActorKey::ActType: item.actType = As<std::uint16_t>(value); break;
      case ActorKey::Media: item.media = Media(item.actType, value); break;
      case ActorKey::ShowType: item.showType = As<std::uint16_t>(value); break;
      case ActorKey::Speed: item.speed = As<std::uint16_t>(value); break;
      case ActorKey::ActTime: item.actTime = As<std::uint16_t>(value); break;
      case ActorKey::ShowMode: item.showMode = As<std::uint16_t>(value); break;
      case ActorKey::LogFont: item.logFont = ReadLogFont(value); break;
      case ActorKey::FntColor: item.fntColor = As<std::uint32_t>(value); break;
      case ActorKey::Negative: item.negative = DecimalValue(value); break;
      case ActorKey::VwAsText: item.vwAsText = DecimalValue(value); break;
      case ActorKey::TcMode: item.tcMode = As<std::uint8_t>(value); break;
      case ActorKey::TcBase: ReadNumbers(value, item.tcBase); break;
      case ActorKey::TcText: item.tcText = ToUtf8(value); break;
      case ActorKey::RichTxt: {
        const auto block = m_lines.NextBlock(RichTextBlock::kMaxBytes);
        item.richTxt = block ? RichTextBlock::FromBytes(*block) : std::nullopt;
        break;
      }
      case ActorKey::Txt2Img: item.txt2Img = DecimalValue(value); break;
      case ActorKey::TimeAdj: item.timeAdj = DecimalValue(value); break;
      case ActorKey::Transp: item.transp = As<std::uint8_t>(value); break;
      case ActorKey::BgColor: item.bgColor = As<std::uint32_t>(value); break;
    }
  }

  // MEDIA depends on the kind read before it.
  std::string Media(int kind, std::string_view value) const {
    if (kind == kKindUndefined) return {};
    if (kind == kKindTimeCounter) return ToUtf8(CounterText(value));
    if (kind == kKindClock && m_version <= kPlainTextMinVersion && value.starts_with(kOldClockPrefix)) {
      value.remove_prefix(kOldClockPrefix.size());
      if (value.starts_with('.')) value.remove_prefix(1);
    }
    const std::string text = ToUtf8(value);
    return MediaIsText(kind) ? text : ResolvedPath(text, m_folder);
  }

  CPlaybillLineReader& m_lines;
  std::filesystem::path m_folder;
  int& m_version;
  bool m_firstOnly;
  ReadWarnings& m_warnings;
  std::optional<tagPrgItem> m_open;
  std::string m_openedAt;  // where the open record began
  bool m_inHeaderBlock = false;
  bool m_inProgram = false;
  bool m_inWindow = false;
  int m_windows = 0;
  int m_items = 0;
};

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
  std::error_code error;
  std::string content;
  if (!std::filesystem::is_regular_file(file, error) || !ReadWholeFile(file, content)) return std::nullopt;
  return content;
}

std::span<const std::uint8_t> AsBytes(const std::string& content) {
  return {reinterpret_cast<const std::uint8_t*>(content.data()), content.size()};
}

}  // namespace

Expected<ReadWarnings> DecodePlaybill(std::span<const std::uint8_t> bytes, const std::filesystem::path& folder,
                                      PrgList& list, int& version, const tagScreenInfo* screen) {
  list.clear();
  ReadWarnings warnings;
  auto lines = OpenLines(bytes, version, &warnings);
  if (!lines) return lines.status();
  CPlaybillDecoder decoder(*lines, folder, version, screen != nullptr && !IsPlaybillClass(*screen), warnings);
  list = decoder.Decode();
  return warnings;
}

Expected<ReadWarnings> ReadPlaybill(const std::filesystem::path& file, PrgList& list, int& version,
                                    const tagScreenInfo* screen) {
  list.clear();
  std::string content;
  if (Status read = ReadWholeFile(file, content); !read) return read;
  auto result = DecodePlaybill(AsBytes(content), PlaybillFolderOf(file), list, version, screen);
  if (!result) return Status::Failure(result.status().text(), result.status().detail() + " \u2014 " + file.string());
  return result;
}

bool DecodePlaybillScreen(std::span<const std::uint8_t> bytes, tagScreenInfo& screen) {
  int version = kPlaybillVersion;
  auto lines = OpenLines(bytes, version, nullptr);
  if (!lines) return false;
  // The section's key lines, framed as one block of a screen list and read by that reader.
  std::string block;
  bool inScreen = false;
  bool found = false;
  long fileClass = 0;
  while (auto line = lines->NextLine()) {
    const std::string_view trimmed = TrimSpaces(*line);
    if (const std::int32_t opened = SectionLevel(trimmed, false)) {
      // Another section's opening abandons an unclosed one, as the playbill reader does.
      inScreen = opened == kLevelScreen;
      block = "[SCREEN]\n";
      fileClass = 0;
    } else if (SectionLevel(trimmed, true)) {
      if ((found = inScreen)) break;
    } else if (inScreen && StartsWithIgnoringCase(trimmed, "TYPE=")) {
      fileClass = std::strtol(std::string(TrimSpaces(trimmed.substr(5))).c_str(), nullptr, 10);
    } else if (inScreen && !trimmed.starts_with('[')) {
      block.append(*line).append("\n");
    }
  }
  screen = tagScreenInfo();
  if (!found) return true;
  // The screen list keeps only classes 6 and 7; the file's own class is put back afterwards, so
  // that a refused import can say which screen the file was made for.
  block.append("TYPE=6\n[/SCREEN]\n");
  auto list = std::make_unique<CScreenData>();
  ReadScreenText(block, *list);
  if (list->Count() > 0) {
    screen = list->Screen(0);
    screen.type = static_cast<std::uint16_t>(std::clamp(fileClass, 0L, 0xFFFFL));
  }
  return true;
}

bool ReadPlaybillScreen(const std::filesystem::path& file, tagScreenInfo& screen) {
  const auto content = ReadFileBytes(file);
  return content && DecodePlaybillScreen(AsBytes(*content), screen);
}

}  // namespace vantorel
