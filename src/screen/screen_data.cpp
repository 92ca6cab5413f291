#include "screen/screen_data.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <system_error>
#include <utility>

#include "app/text_format.h"
#include "app/text_ids.h"
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
  if (IsKnownControllerClass(screen.type)) {
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

namespace {

// "20261209-014502" in local time: the kept copies of one file sort by when they were kept.
std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof(stamp), "%Y%m%d-%H%M%S", &local);
  return stamp;
}

// Why a file that exists gave no screen at all.
std::string NoScreenReason(const std::string& content, const ReadWarnings& warnings) {
  if (content.empty()) return "the file is empty";
  const auto first = static_cast<unsigned char>(content[0]);
  const bool utf16Bom = content.size() >= 2 && ((first == 0xFF && static_cast<unsigned char>(content[1]) == 0xFE) ||
                                                (first == 0xFE && static_cast<unsigned char>(content[1]) == 0xFF));
  if (utf16Bom || content.find('\0') != std::string::npos) return "UTF-16 or binary data, not a text file";
  if (!warnings.empty()) return warnings.firstReason;
  return "no [SCREEN] block";
}

std::string PartlyReadReason(const ReadWarnings& warnings) {
  return FormatText("%zu damaged part%s, first %s", warnings.dropped, warnings.dropped == 1 ? "" : "s",
                    warnings.firstReason.c_str());
}

}  // namespace

Status CScreenData::KeepDamaged(const std::string& reason) {
  std::filesystem::path kept = m_path;
  kept += ".damaged-" + TimeStamp();
  std::error_code error;
  for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(kept, error)); ++n) {
    kept = m_path;
    kept += ".damaged-" + TimeStamp() + FormatText("-%d", n);
  }
  // Copied, not moved: the file stays in place when the new list cannot be written.
  std::filesystem::copy_file(m_path, kept, error);
  if (error) return Status::SystemError(error.value(), kept);
  return Status::Failure(kTextScreenListKept, kept.string() + " (" + reason + ")");
}

Status CScreenData::Load(const std::filesystem::path& path, bool createDefault) {
  Reset();
  m_path = path;
  m_partlyReadReason.clear();
  std::error_code error;
  // Only regular files: a folder or a device in place of the list reads as no list and is left
  // alone; writing the default screen over it then fails and says why.
  const bool regular = std::filesystem::is_regular_file(path, error);
  std::string content;
  const Status read = regular ? ReadWholeFile(path, content) : Status::SystemError(ENOENT, path);
  const ReadWarnings warnings = read ? ReadScreenText(content, *this) : ReadWarnings{};
  if (m_count > 0) {
    if (warnings.empty()) return Status::Ok();
    m_partlyReadReason = PartlyReadReason(warnings);
    return Status::Failure(kTextScreenListPartlyRead, path.string() + " (" + m_partlyReadReason + ")");
  }
  if (!createDefault) return read ? Status::Ok() : read;
  Status notice;
  if (regular) {
    const std::string reason = read ? NoScreenReason(content, warnings) : read.detail();
    notice = KeepDamaged(reason);
    // Without a kept copy the file is not replaced (what it holds may be all the user has); the
    // next save tries again to keep it first.
    if (notice.text() != kTextScreenListKept) {
      MakeDefault();
      m_partlyReadReason = reason;
      return notice;
    }
  }
  MakeDefault();
  if (Status saved = Save(path); !saved) return saved;
  return notice;
}

Status CScreenData::Save(const std::filesystem::path& path, Status* kept) {
  if (m_count == 0) return Status::Failure(kTextFailed, "no screen to write to " + path.string());
  if (path.empty()) return Status::SystemError(ENOENT, path);
  if (!m_partlyReadReason.empty() && path == m_path) {
    Status notice = KeepDamaged(m_partlyReadReason);
    if (notice.text() != kTextScreenListKept) return notice;
    if (kept) *kept = std::move(notice);
  }
  if (Status written = WriteFileAtomically(path, WriteScreenText(*this)); !written) return written;
  m_path = path;
  m_partlyReadReason.clear();
  return Status::Ok();
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
  if (withPath) {
    m_path = other.m_path;
    m_partlyReadReason = other.m_partlyReadReason;
  }
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
