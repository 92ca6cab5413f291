#include "playbill/playbill_writer.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "app/text_format.h"
#include "app/text_ids.h"
#include "platform/atomic_file.h"
#include "platform/byte_writer.h"
#include "platform/fixed_text.h"
#include "playbill/playbill_keys.h"
#include "playbill/playbill_lines.h"
#include "playbill/playbill_paths.h"
#include "playbill/prg_list.h"
#include "playbill/stored_paths.h"

namespace vantorel {
namespace {

// A line break inside a value would end the line early when read back: breaks become blanks.
std::string SingleLine(std::string_view text) {
  std::string line(text);
  std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return line;
}

// Time-counter texts keep their line ends as pairs of tabs.
std::string CounterText(std::string_view text) {
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, 2) == "\r\n") {
      line += "\t\t";
      ++i;
    } else {
      line += text[i];
    }
  }
  return SingleLine(line);
}

// Stored colours are u32; written as their signed 32-bit pattern so that every value reads back
// through the signed decimal conversion of the reader.
std::int32_t AsSigned(std::uint32_t value) { return static_cast<std::int32_t>(value); }

class CPlaybillEncoder {
public:
  explicit CPlaybillEncoder(std::filesystem::path folder) : m_folder(std::move(folder)), m_out(4096) {
    m_out.Bytes(kPlaybillMagic);
    m_out.Fill(kPlaybillVersionOffset - kPlaybillMagic.size());
    m_out.U16Le(kPlaybillVersion);
    m_out.Fill(kPlaybillHeaderBytes - m_out.Size());
  }

  void Screen(const tagScreenInfo& screen) {
    Open(kLevelScreen);
    Text(KeyName(ScreenKey::ScrName), screen.scrName);
    Number(KeyName(ScreenKey::Type), screen.type);
    Number(KeyName(ScreenKey::Color), screen.color);
    Number(KeyName(ScreenKey::Width), screen.width);
    Number(KeyName(ScreenKey::Height), screen.height);
    Number(KeyName(ScreenKey::Number), screen.number);
    Number(KeyName(ScreenKey::Model), screen.model);
    Number(KeyName(ScreenKey::FontLib), screen.fontLib);
    Number(KeyName(ScreenKey::AscSizeM), screen.ascSizeM);
    Number(KeyName(ScreenKey::ExtSizeM), screen.extSizeM);
    Close(kLevelScreen);
  }

  void Record(const tagPrgItem& record) {
    switch (record.level) {
      case kLevelProgram: Program(record.program); break;
      case kLevelWindow: Window(record.window); break;
      case kLevelItem: Item(record.item); break;
      default: break;
    }
  }

  std::vector<std::uint8_t> Take() { return std::move(m_out).Take(); }

private:
  void Program(const tagProgramPart& program) {
    Open(kLevelProgram);
    Text(KeyName(ProgramKey::PrgName), program.prgName);
    Text(KeyName(ProgramKey::Backgrd), StoredPath(program.backgrd, m_folder));
    Number(KeyName(ProgramKey::ShowMode), program.showMode);
    Number(KeyName(ProgramKey::PlayTime), program.playTime);
    Number(KeyName(ProgramKey::LoopCnt), program.loopCnt);
    Number(KeyName(ProgramKey::DispAttr), program.dispAttr);
    const auto& t = program.timeSch;
    Text(KeyName(ProgramKey::TimeSch), FormatText("%u %u %u", unsigned{t[0]}, unsigned{t[1]}, unsigned{t[2]}));
    Close(kLevelProgram);
  }

  void Window(const tagWindowPart& window) {
    Open(kLevelWindow);
    Text(KeyName(AreaKey::AreaName), window.areaName);
    Number(KeyName(AreaKey::Left), window.left);
    Number(KeyName(AreaKey::Top), window.top);
    Number(KeyName(AreaKey::Width), window.width);
    Number(KeyName(AreaKey::Height), window.height);
    Number(KeyName(AreaKey::WaitType), window.waitType);
    Number(KeyName(AreaKey::Border), window.border);
    Close(kLevelWindow);
  }

  void Item(const tagItemPart& item) {
    Open(kLevelItem);
    for (ActorKey key : kCommonItemKeys) ItemKey(key, item);
    for (ActorKey key : ItemKindKeys(item.actType)) ItemKey(key, item);
    Close(kLevelItem);
  }

  void ItemKey(ActorKey key, const tagItemPart& item) {
    const std::string_view name = KeyName(key);
    switch (key) {
      case ActorKey::ActType: Number(name, item.actType); break;
      case ActorKey::Media: Text(name, Media(item)); break;
      case ActorKey::ShowType: Number(name, item.showType); break;
      case ActorKey::Speed: Number(name, item.speed); break;
      case ActorKey::ActTime: Number(name, item.actTime); break;
      case ActorKey::ShowMode: Number(name, item.showMode); break;
      case ActorKey::LogFont: Font(item.logFont); break;
      case ActorKey::FntColor: Number(name, AsSigned(item.fntColor)); break;
      case ActorKey::Negative: Number(name, item.negative); break;
      case ActorKey::VwAsText: Number(name, item.vwAsText); break;
      case ActorKey::TcMode: Number(name, item.tcMode); break;
      case ActorKey::TcBase: {
        const auto& b = item.tcBase;
        Text(name, FormatText("%u %u %u %u %u %u", unsigned{b[0]}, unsigned{b[1]}, unsigned{b[2]}, unsigned{b[3]},
                              unsigned{b[4]}, unsigned{b[5]}));
        break;
      }
      case ActorKey::TcText: Text(name, item.tcText); break;
      case ActorKey::RichTxt: Block(item); break;
      case ActorKey::Txt2Img: Number(name, item.txt2Img); break;
      case ActorKey::TimeAdj: Number(name, item.timeAdj); break;
      case ActorKey::Transp: Number(name, item.transp); break;
      case ActorKey::BgColor: Number(name, AsSigned(item.bgColor)); break;
    }
  }

  std::string Media(const tagItemPart& item) const {
    const std::string_view media = item.media;
    if (item.actType == kKindTimeCounter) return CounterText(media);
    return MediaIsText(item.actType) ? std::string(media) : StoredPath(media, m_folder);
  }

  void Font(const tagLogFont& f) {
    Text(KeyName(ActorKey::LogFont),
         FormatText("%d %d %d %d %d %u %u %u %u %u %u %u %u %s", f.height, f.width, f.escapement, f.orientation,
                    f.weight, unsigned{f.italic}, unsigned{f.underline}, unsigned{f.strikeOut}, unsigned{f.charSet},
                    unsigned{f.outPrecision}, unsigned{f.clipPrecision}, unsigned{f.quality},
                    unsigned{f.pitchAndFamily}, f.faceName.c_str()));
  }

  void Block(const tagItemPart& item) {
    if (!item.richTxt) return;
    Line(KeyName(ActorKey::RichTxt));
    AppendScrambledRecord(m_out, item.richTxt->StoredBytes(item.actType));
  }

  void Open(std::int32_t level) { Line("[" + std::string(kSectionNames[static_cast<std::size_t>(level)]) + "]"); }
  void Close(std::int32_t level) { Line("[/" + std::string(kSectionNames[static_cast<std::size_t>(level)]) + "]"); }

  void Number(std::string_view key, long long value) { Text(key, std::to_string(value)); }
  void Text(std::string_view key, std::string_view value) { Line(std::string(key) + "=" + SingleLine(value)); }

  void Line(std::string_view text) {
    const std::string_view line = CutUtf8(text, kMaxLineBytes);
    AppendScrambledRecord(m_out, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(line.data()),
                                                              line.size()));
  }

  std::filesystem::path m_folder;
  ByteWriter m_out;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodePlaybill(const PrgList& list, const tagScreenInfo& screen,
                                                        int programIndex, const std::filesystem::path& folder) {
  if (!IsPlaybillClass(screen) || ProgramRecordAt(list, 0) < 0) return std::nullopt;
  int begin = 0;
  int end = RecordCount(list);
  if (programIndex != -1) {
    begin = ProgramRecordAt(list, programIndex);
    if (begin < 0) begin = ProgramRecordAt(list, 0);
    end = SubtreeEnd(list, begin);
  }
  CPlaybillEncoder encoder(folder);
  encoder.Screen(screen);
  for (int i = begin; i < end; ++i) encoder.Record(list[static_cast<std::size_t>(i)]);
  return encoder.Take();
}

Status WritePlaybill(const std::filesystem::path& file, const PrgList& list, const tagScreenInfo& screen,
                     int programIndex) {
  const auto bytes = EncodePlaybill(list, screen, programIndex, PlaybillFolderOf(file));
  if (!bytes) return Status::Failure(kTextFailed, "no playbill for this screen \u2014 " + file.string());
  return WriteFileAtomically(file, *bytes);
}

}  // namespace vantorel
