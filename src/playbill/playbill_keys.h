#pragma once
// Section and key names of playbill files. Each section's keys are listed in key-number order:
// the reader takes the first key that begins a line, so the order matters.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "playbill/prg_item.h"

namespace vantorel {

// Section names by record level (1 SCREEN .. 4 ACTOR); level 0 has none.
inline constexpr std::array<std::string_view, 5> kSectionNames = {"", "SCREEN", "PROGRAM", "AREA", "ACTOR"};

enum class ScreenKey { ScrName, Type, Color, Width, Height, Number, Model, BarSet, Comm, GprsId, IpAddr, IdCode,
                       IpPort, FontLib, AscSizeM, ExtSizeM, UserName, Password, Special, Domain };
inline constexpr std::array<std::string_view, 20> kScreenKeys = {
    "SCRNAME", "TYPE",   "COLOR",  "WIDTH",   "HEIGHT",   "NUMBER",   "MODEL",    "BARSET",   "COMM",    "GPRSID",
    "IPADDR",  "IDCODE", "IPPORT", "FONTLIB", "ASCSIZEM", "EXTSIZEM", "USERNAME", "PASSWORD", "SPECIAL", "DOMAIN"};

enum class ProgramKey { PrgName, Backgrd, ShowMode, PlayTime, LoopCnt, DispAttr, TimeSch };
inline constexpr std::array<std::string_view, 7> kProgramKeys = {"PRGNAME",  "BACKGRD", "SHOWMODE", "PLAYTIME",
                                                                 "LOOPCNT",  "DISPATTR", "TIMESCH"};

enum class AreaKey { AreaName, Left, Top, Width, Height, WaitType, Border };
inline constexpr std::array<std::string_view, 7> kAreaKeys = {"AREANAME", "LEFT",     "TOP",   "WIDTH",
                                                              "HEIGHT",   "WAITTYPE", "BORDER"};

enum class ActorKey { ActType, Media, ShowType, Speed, ActTime, ShowMode, LogFont, FntColor, Negative, VwAsText,
                      TcMode, TcBase, TcText, RichTxt, Txt2Img, TimeAdj, Transp, BgColor };
inline constexpr std::array<std::string_view, 18> kActorKeys = {
    "ACTTYPE",  "MEDIA",  "SHOWTYPE", "SPEED",  "ACTTIME", "SHOWMODE", "LOGFONT", "FNTCOLOR", "NEGATIVE",
    "VWASTEXT", "TCMODE", "TCBASE",   "TCTEXT", "RICHTXT", "TXT2IMG",  "TIMEADJ", "TRANSP",   "BGCOLOR"};

inline std::string_view KeyName(ScreenKey key) { return kScreenKeys[static_cast<std::size_t>(key)]; }
inline std::string_view KeyName(ProgramKey key) { return kProgramKeys[static_cast<std::size_t>(key)]; }
inline std::string_view KeyName(AreaKey key) { return kAreaKeys[static_cast<std::size_t>(key)]; }
inline std::string_view KeyName(ActorKey key) { return kActorKeys[static_cast<std::size_t>(key)]; }

// The keys every item writes, in writing order.
inline constexpr std::array<ActorKey, 6> kCommonItemKeys = {ActorKey::ActType, ActorKey::Media,   ActorKey::ShowType,
                                                            ActorKey::Speed,   ActorKey::ActTime, ActorKey::Transp};

// The keys an item of `kind` writes after the common ones, in writing order; none for kinds
// outside the table (they carry only the common fields).
inline std::span<const ActorKey> ItemKindKeys(int kind) {
  using K = ActorKey;
  static constexpr K kPicture[] = {K::ShowMode, K::Negative, K::VwAsText};
  static constexpr K kTextFile[] = {K::LogFont, K::FntColor, K::VwAsText};
  static constexpr K kDocument[] = {K::Negative, K::VwAsText};
  static constexpr K kVideo[] = {K::ShowMode};
  static constexpr K kClockOrTimeCounter[] = {K::ShowMode, K::LogFont, K::FntColor, K::TcMode,
                                              K::TcBase,   K::TcText,  K::TimeAdj,  K::VwAsText};
  static constexpr K kCellText[] = {K::Txt2Img, K::RichTxt, K::BgColor};
  static constexpr K kImageText[] = {K::RichTxt, K::Txt2Img, K::VwAsText, K::BgColor};
  static constexpr K kSensor[] = {K::ShowMode, K::LogFont, K::FntColor, K::VwAsText};
  static constexpr K kWorkCounter[] = {K::ShowMode, K::LogFont, K::FntColor, K::TcMode,
                                       K::TcBase,   K::TcText,  K::TimeAdj,  K::Txt2Img};
  switch (kind) {
    case kKindPicture: return kPicture;
    case kKindTextFile: return kTextFile;
    case kKindDocument: return kDocument;
    case kKindVideo: return kVideo;
    case kKindClock: return kClockOrTimeCounter;
    case kKindCellText: return kCellText;
    case kKindAnimation: return kPicture;
    case kKindImageText: return kImageText;
    case kKindSensor: return kSensor;
    case kKindTimeCounter: return kClockOrTimeCounter;
    case kKindWorkCounter: return kWorkCounter;
    default: return {};
  }
}

// Whether an item of `kind` keeps the field of `key` in its file: what it does not write is lost
// when the playbill is saved.
inline bool ItemKindWrites(int kind, ActorKey key) {
  const std::span<const ActorKey> own = ItemKindKeys(kind);
  return std::find(kCommonItemKeys.begin(), kCommonItemKeys.end(), key) != kCommonItemKeys.end() ||
         std::find(own.begin(), own.end(), key) != own.end();
}

// The keys of the section of `level`; empty for other levels.
inline std::span<const std::string_view> SectionKeys(std::int32_t level) {
  switch (level) {
    case kLevelScreen: return kScreenKeys;
    case kLevelProgram: return kProgramKeys;
    case kLevelWindow: return kAreaKeys;
    case kLevelItem: return kActorKeys;
    default: return {};
  }
}

// The 20-byte file header: 03 01 04 36, twelve zero bytes, the format version (u16), two zero bytes.
inline constexpr std::size_t kPlaybillHeaderBytes = 20;
inline constexpr std::array<std::uint8_t, 4> kPlaybillMagic = {0x03, 0x01, 0x04, 0x36};
inline constexpr std::size_t kPlaybillVersionOffset = 16;
// The version this program writes; older files are read as at least this version unless they are
// of the plain-text generation.
inline constexpr int kPlaybillVersion = 110;
// The longest line text; longer lines are cut when written and skipped when read.
inline constexpr std::size_t kMaxLineBytes = 1022;

}  // namespace vantorel
