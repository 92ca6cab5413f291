#pragma once
// The playbill record. A playbill is a flat list of these: each Program is followed by its
// Windows and each Window by its Items. One record type serves every level; only the part that
// belongs to its level means anything. Field names follow the keys of the playbill file (the
// upper-case key of each field is in its comment).
//
// A default-constructed record is all zero, as a record that the file reader starts to fill;
// NewProgramRecord, NewWindowRecord and NewItemRecord give the defaults of records the user adds.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/fixed_text.h"
#include "playbill/rich_text_block.h"

namespace vantorel {

struct AppOptions;

// Record levels.
inline constexpr std::int32_t kLevelScreen = 1;   // screen header, only inside files
inline constexpr std::int32_t kLevelProgram = 2;
inline constexpr std::int32_t kLevelWindow = 3;
inline constexpr std::int32_t kLevelItem = 4;

// Item kinds (ACTTYPE).
inline constexpr std::uint16_t kKindUndefined = 0;
inline constexpr std::uint16_t kKindPicture = 1;
inline constexpr std::uint16_t kKindTextFile = 2;
inline constexpr std::uint16_t kKindDocument = 3;      // .doc, .rtf, .xls
inline constexpr std::uint16_t kKindVideo = 4;
inline constexpr std::uint16_t kKindClock = 5;
inline constexpr std::uint16_t kKindCellText = 6;      // "Text mode": drawn by the controller
inline constexpr std::uint16_t kKindAnimation = 7;
inline constexpr std::uint16_t kKindImageText = 8;     // "Image mode": rendered to pictures
inline constexpr std::uint16_t kKindSensor = 9;        // temperature, or humidity with SHOWMODE bit 1
inline constexpr std::uint16_t kKindTimeCounter = 10;
inline constexpr std::uint16_t kKindWorkCounter = 11;

// Whether items of `kind` name an external media file in MEDIA.
bool IsMediaFileKind(int kind);
// A short fixed identifier of an item kind for scripts ("picture", "image-text" ...); "kind-N" for
// kinds outside the table.
std::string ItemKindToken(int kind);

// Font description (LOGFONT): five s32, eight u8 and the face name of at most 31 bytes.
struct tagLogFont {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  FixedText<32> faceName;

  friend bool operator==(const tagLogFont&, const tagLogFont&) = default;
};

// Program part (level 2).
struct tagProgramPart {
  FixedText<65> prgName;                    // PRGNAME
  FixedText<261> backgrd;                   // BACKGRD: background picture path
  std::uint16_t showMode = 0;               // SHOWMODE: how the background is shown (2 = stretched)
  std::uint8_t dispAttr = 0;                // DISPATTR
  std::uint8_t loopCnt = 0;                 // LOOPCNT
  std::uint16_t playTime = 0;               // PLAYTIME
  std::array<std::uint16_t, 3> timeSch{};   // TIMESCH: flags + weekdays, start, end (hour*256+minute)

  friend bool operator==(const tagProgramPart&, const tagProgramPart&) = default;
};

// Window part (level 3).
struct tagWindowPart {
  std::int16_t left = 0;                    // LEFT
  std::int16_t top = 0;                     // TOP
  std::uint16_t width = 0;                  // WIDTH
  std::uint16_t height = 0;                 // HEIGHT
  std::uint8_t waitType = 0;                // WAITTYPE: what the window does after its last item
  std::uint8_t border = 0;                  // BORDER
  FixedText<65> areaName;                   // AREANAME: up to 64 bytes, as a program name

  friend bool operator==(const tagWindowPart&, const tagWindowPart&) = default;
};

// Item part (level 4).
struct tagItemPart {
  std::uint16_t actType = 0;                // ACTTYPE: item kind
  std::uint16_t showType = 0;               // SHOWTYPE: entry effect code
  std::uint16_t speed = 0;                  // SPEED
  std::uint16_t actTime = 0;                // ACTTIME: stay time
  FixedText<262> media;                     // MEDIA: media path, or the item's own text
  std::uint16_t showMode = 0;               // SHOWMODE: display mode
  tagLogFont logFont;                       // LOGFONT
  std::uint32_t fntColor = 0;               // FNTCOLOR
  std::uint32_t bgColor = 0;                // BGCOLOR
  std::uint8_t transp = 0;                  // TRANSP
  std::int32_t negative = 0;                // NEGATIVE
  std::int32_t vwAsText = 0;                // VWASTEXT
  std::uint8_t tcMode = 0;                  // TCMODE
  std::array<std::uint16_t, 6> tcBase{};    // TCBASE: year, month, day, hour, minute, second
  FixedText<120> tcText;                    // TCTEXT: at most 119 bytes
  std::int32_t txt2Img = 0;                 // TXT2IMG
  std::int32_t timeAdj = 0;                 // TIMEADJ
  std::optional<RichTextBlock> richTxt;     // RICHTXT: owned, copied with the record

  friend bool operator==(const tagItemPart&, const tagItemPart&) = default;
};

struct tagPrgItem {
  std::uint32_t positionKey = 0;            // recomputed by Renumber, never stored
  std::int32_t level = 0;
  tagProgramPart program;
  tagWindowPart window;
  tagItemPart item;

  bool IsProgram() const { return level == kLevelProgram; }
  bool IsWindow() const { return level == kLevelWindow; }
  bool IsItem() const { return level == kLevelItem; }

  friend bool operator==(const tagPrgItem&, const tagPrgItem&) = default;
};

using PrgList = std::vector<tagPrgItem>;

// Options that shape new items ("CUSTOM" section of the settings file).
struct ItemDefaults {
  int textMode = 1;                         // "Default Text Mode": 1 = kind 8, otherwise kind 6
  std::uint16_t effect = 0x8000;            // "Default Effect": random
  int textSize = -1;                        // "Default Text Size": -1 = not set (16 dots)
};

// The item defaults of the user's options.
ItemDefaults ItemDefaultsFromOptions(const AppOptions& options);

tagPrgItem NewProgramRecord();
tagPrgItem NewWindowRecord(std::int16_t left, std::int16_t top, std::uint16_t width, std::uint16_t height);
// `forCrossLayout` gives the base date of items made by the cross layouts.
tagPrgItem NewItemRecord(const ItemDefaults& defaults, bool forCrossLayout);

}  // namespace vantorel
