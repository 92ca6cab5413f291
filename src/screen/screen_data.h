#pragma once
// The list of LED screens the program can address: up to 520 screen definitions, each a screen
// record (controller, size, colour, ID, font library) paired with a communication record (how the
// sign is reached, special string). Stored as the text file "screen.cfg" and as "*.screens" files.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/fixed_text.h"
#include "platform/status.h"

namespace vantorel {

// Screen record. Field order as in memory: TYPE, NUMBER, SCRNAME, COLOR, WIDTH, HEIGHT, MODEL,
// FONTLIB, ASCSIZEM, EXTSIZEM.
struct tagScreenInfo {
  std::uint16_t type = 0;        // TYPE: controller class, 6 or 7
  std::uint8_t number = 0;       // NUMBER: screen ID 1..254
  FixedText<65> scrName;         // SCRNAME: 64 bytes + terminator
  std::uint16_t color = 0;       // COLOR: colour mode code
  std::uint16_t width = 0;       // WIDTH in pixels
  std::uint16_t height = 0;      // HEIGHT in pixels
  std::uint16_t model = 0;       // MODEL: controller model code
  std::uint16_t fontLib = 1;     // FONTLIB: code page of the controller's font library
  std::uint16_t ascSizeM = 29;   // ASCSIZEM: ASCII font sizes installed in the controller
  std::uint16_t extSizeM = 28;   // EXTSIZEM: extended font sizes installed in the controller

  friend bool operator==(const tagScreenInfo&, const tagScreenInfo&) = default;
};

inline constexpr std::uint32_t kDefaultIpAddress = 0xC0A801DE;  // 192.168.1.222
inline constexpr std::uint32_t kDefaultIdCode = 0xFFFFFFFF;     // 255.255.255.255

// Communication record.
struct tagCommInfo {
  std::string special;                          // SPECIAL: "", "r:1" or "p:" + part list
  std::uint8_t commType = 0;                    // COMM, first number
  std::uint8_t subMode = 0;                     // COMM, number after the point
  std::uint8_t portIndex = 0;                   // BARSET, sixth number; 0 = first serial port
  std::int32_t baudRate = 115200;               // BARSET, first number
  std::int32_t timeout = 1000;                  // COMM, number after the comma (ms, >= 500)
  FixedText<31> gprsId;                         // GPRSID
  FixedText<64> domain;                         // DOMAIN
  std::uint32_t ipAddr = kDefaultIpAddress;     // IPADDR, host byte order
  std::uint32_t idCode = kDefaultIdCode;        // IDCODE, host byte order
  std::uint16_t ipPort = 5200;                  // IPPORT
  FixedText<31> userName;                       // USERNAME
  FixedText<31> password;                       // PASSWORD

  friend bool operator==(const tagCommInfo&, const tagCommInfo&) = default;
};

// Special string of the default screen: a 48 x 48 cross whose 16 x 16 corners carry no LEDs.
inline constexpr const char* kDefaultCrossParts = "p:0,0,16,16;32,0,16,16;0,32,16,16;32,32,16,16;";

// Name of a screen as lists show it: its name (or its model's name) followed by "[ID]"; screens
// without a valid controller class get "LED screen" and "<ID>".
std::string ScreenDisplayName(const tagScreenInfo& screen);

class CScreenData {
public:
  static constexpr int kMaxScreens = 520;

  CScreenData();
  virtual ~CScreenData() = default;
  CScreenData(const CScreenData&) = default;
  CScreenData& operator=(const CScreenData&) = default;

  // Resets the list and reads `path`; Count() tells how many screens were read. When nothing was
  // read and `createDefault` is set, makes the default screen and saves it to `path`; a file that
  // was there but gave no screen is first kept beside it as "<name>.damaged-<YYYYMMDD-HHMMSS>".
  // Returns what the user must be told: kTextScreenListKept (the kept copy and why) or
  // kTextScreenListPartlyRead (some blocks were dropped; the file stays as it is); else success.
  Status Load(const std::filesystem::path& path, bool createDefault);
  // Writes every screen; fails without writing when the list is empty, the path is empty or the
  // file cannot be written (the previous file then stays as it was). Writing over the file this
  // list was partly read from keeps that file aside first, and `kept` (when given) then receives
  // the kTextScreenListKept notice.
  Status Save(const std::filesystem::path& path, Status* kept = nullptr);
  // Only on an empty list: one 48 x 48 cross screen on the first serial port.
  void MakeDefault();

  virtual bool RemoveAt(int index);
  virtual bool MoveUp(int index);
  virtual bool MoveDown(int index);

  void CopyFrom(const CScreenData& other, bool withPath);
  // Appends a screen; false when the list is full.
  bool Append(const tagScreenInfo& screen, const tagCommInfo& comm);

  // The ID proposed for a new screen added after a screen with `currentId`.
  int NextFreeId(int currentId) const;
  // Whether some screen of the list has screen ID `id`.
  bool HasId(int id) const;
  std::string DisplayName(int index) const;

  int Count() const { return m_count; }
  bool IsValidIndex(int index) const { return index >= 0 && index < m_count; }
  const std::filesystem::path& Path() const { return m_path; }
  tagScreenInfo& Screen(int index) { return m_screens.at(static_cast<std::size_t>(index)); }
  const tagScreenInfo& Screen(int index) const { return m_screens.at(static_cast<std::size_t>(index)); }
  tagCommInfo& Comm(int index) { return m_comms.at(static_cast<std::size_t>(index)); }
  const tagCommInfo& Comm(int index) const { return m_comms.at(static_cast<std::size_t>(index)); }

protected:
  void Reset();
  // Keeps the damaged file `m_path` aside; the notice, or why it could not be kept.
  Status KeepDamaged(const std::string& reason);

  std::filesystem::path m_path;
  // Why the file at m_path gave fewer screens than it holds; empty when it read completely.
  std::string m_partlyReadReason;
  int m_count = 0;
  std::array<tagScreenInfo, kMaxScreens> m_screens;
  std::array<tagCommInfo, kMaxScreens> m_comms;
};

// The document's screen list: also remembers, per screen slot, the playbill record that was
// selected when that screen was left.
class CScreenConfig : public CScreenData {
public:
  bool RemoveAt(int index) override { return CScreenData::RemoveAt(index); }
  bool MoveUp(int index) override { return CScreenData::MoveUp(index); }
  bool MoveDown(int index) override { return CScreenData::MoveDown(index); }

  std::int32_t SelectedRecord(int index) const { return m_selected.at(static_cast<std::size_t>(index)); }
  void SetSelectedRecord(int index, std::int32_t record) { m_selected.at(static_cast<std::size_t>(index)) = record; }

private:
  std::array<std::int32_t, kMaxScreens> m_selected{};
};

}  // namespace vantorel
