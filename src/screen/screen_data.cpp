#include "screen/screen_data.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "app/text_format.h"
#include "app/text_table.h"
#include "platform/atomic_file.h"
#include "screen/colour_modes.h"
#include "screen/controller_types.h"
#include "screen/screen_text_format.h"

namespace vantorel {

namespace {

constexpr int kMaxId = 254;
constexpr int kLedScreenText = 139;

}  // namespace

std::string ScreenDisplayName(const tagScreenInfo& screen) {
  if (screen.type == 6 || screen.type == 7) {
    const std::string name =
        screen.scrName.empty() ? LoadText(FindControllerType(screen.model).nameTextId) : screen.scrName.str();
    return name + FormatText("[%d]", screen.number);
  }
  const std::string name = screen.scrName.empty() ? LoadText(kLedScreenText) : screen.scrName.str();
  return name + FormatText("<%d>", screen.number);
}

CScreenData::CScreenData() = default;

void CScreenData::Reset() {
  m_count = 0;
  m_screens.fill(tagScreenInfo());
  m_comms.fill(tagCommInfo());
}

int CScreenData::Load(const std::filesystem::path& path, bool createDefault) {
  Reset();
  m_path = path;
  // Only regular files: a folder or a device in place of the list must read as no list.
  std::error_code error;
  std::string content;
  if (std::filesystem::is_regular_file(path, error) && ReadWholeFile(path, content)) ReadScreenText(content, *this);
  if (m_count == 0 && createDefault) {
    MakeDefault();
    Save(path);
  }
  return m_count;
}

bool CScreenData::Save(const std::filesystem::path& path) {
  if (m_count == 0 || path.empty()) return false;
  if (!WriteFileAtomically(path, WriteScreenText(*this))) return false;
  m_path = path;
  return true;
}

void CScreenData::MakeDefault() {
  if (m_count != 0) return;
  tagScreenInfo screen;
  screen.type = 6;
  screen.number = 1;
  screen.color = kColourFull;
  screen.width = 48;
  screen.height = 48;
  screen.model = kModelM5;
  tagCommInfo comm;
  comm.special = kDefaultCrossParts;
  Append(screen, comm);
}

bool CScreenData::RemoveAt(int index) {
  if (!IsValidIndex(index)) return false;
  const auto at = static_cast<std::size_t>(index);
  const auto count = static_cast<std::size_t>(m_count);
  std::move(m_screens.begin() + at + 1, m_screens.begin() + count, m_screens.begin() + at);
  std::move(m_comms.begin() + at + 1, m_comms.begin() + count, m_comms.begin() + at);
  --m_count;
  m_screens[count - 1] = tagScreenInfo();
  m_comms[count - 1] = tagCommInfo();
  return true;
}

bool CScreenData::MoveUp(int index) {
  if (index < 1 || index >= m_count) return false;
  std::swap(Screen(index), Screen(index - 1));
  std::swap(Comm(index), Comm(index - 1));
  return true;
}

bool CScreenData::MoveDown(int index) {
  if (index < 0 || index >= m_count - 1) return false;
  return MoveUp(index + 1);
}

void CScreenData::CopyFrom(const CScreenData& other, bool withPath) {
  m_count = other.m_count;
  m_screens = other.m_screens;
  m_comms = other.m_comms;
  if (withPath) m_path = other.m_path;
}

bool CScreenData::Append(const tagScreenInfo& screen, const tagCommInfo& comm) {
  if (m_count >= kMaxScreens) return false;
  Screen(m_count) = screen;
  Comm(m_count) = comm;
  ++m_count;
  return true;
}

bool CScreenData::HasId(int id) const {
  for (int i = 0; i < m_count; ++i) {
    if (Screen(i).number == id) return true;
  }
  return false;
}

int CScreenData::NextFreeId(int currentId) const {
  const int proposed = (currentId > kMaxId - 1 || currentId < 0) ? 1 : currentId + 1;
  if (!HasId(proposed)) return proposed;
  for (int id = 1; id <= kMaxId; ++id) {
    if (!HasId(id)) return id;
  }
  return proposed;  // every ID is taken; the duplicate check refuses it later
}

std::string CScreenData::DisplayName(int index) const {
  return IsValidIndex(index) ? ScreenDisplayName(Screen(index)) : std::string();
}

}  // namespace vantorel
