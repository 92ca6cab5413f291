#include "sign/sign_store.h"

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/saturating.h"

namespace vantorel {
namespace {

bool SameLetter(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

bool MatchesPattern(std::string_view pattern, std::string_view name) {
  // Iterative match with one star to return to: linear in practice, never recursive.
  std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && SameLetter(pattern[p], name[n])))) {
      ++p, ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

Status SignStore::Prepare() const {
  if (!Persistent()) return Status::Ok();
  std::error_code error;
  for (const auto& folder : {m_folder, FilesFolder(), m_folder / "messages"}) {
    std::filesystem::create_directories(folder, error);
    if (error) return Status::SystemError(error.value(), folder);
  }
  return Status::Ok();
}

std::vector<StoredFile> SignStore::Files() const {
  std::vector<StoredFile> files;
  if (!Persistent()) return files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(FilesFolder(), error)) {
    std::error_code entryError;
    if (!entry.is_regular_file(entryError)) continue;
    StoredFile file;
    file.name = entry.path().filename().string();
    file.size = static_cast<std::uint32_t>(std::min<std::uintmax_t>(entry.file_size(entryError), 0xFFFFFFFFu));
    const auto written = entry.last_write_time(entryError);
    if (!entryError) {
      const auto system = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
          written - std::filesystem::file_time_type::clock::now() + std::chrono::system_clock::now());
      const std::time_t seconds = std::chrono::system_clock::to_time_t(system);
      std::tm local{};
      localtime_r(&seconds, &local);
      file.year = local.tm_year + 1900, file.month = local.tm_mon + 1, file.day = local.tm_mday;
      file.hour = local.tm_hour, file.minute = local.tm_min, file.second = local.tm_sec;
    }
    files.push_back(std::move(file));
  }
  std::sort(files.begin(), files.end(), [](const StoredFile& a, const StoredFile& b) { return a.name < b.name; });
  return files;
}

std::size_t SignStore::Delete(std::string_view pattern) const {
  std::size_t removed = 0;
  for (const StoredFile& file : Files()) {
    if (!MatchesPattern(pattern, file.name)) continue;
    std::error_code error;
    if (std::filesystem::remove(FilesFolder() / file.name, error)) ++removed;
  }
  return removed;
}

std::uint64_t SignStore::UsedBytes() const {
  std::uint64_t used = 0;
  for (const StoredFile& file : Files()) used = SaturatingAdd<std::uint64_t>(used, file.size);
  return used;
}

std::optional<std::vector<std::uint8_t>> SignStore::ReadBack(std::string_view name, std::uint32_t offset,
                                                             std::size_t length, std::uint32_t& size) const {
  if (!Persistent() || !IsPlainName(name)) return std::nullopt;
  const std::filesystem::path path = FilesFolder() / std::string(name);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  const std::uintmax_t total = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  size = static_cast<std::uint32_t>(std::min<std::uintmax_t>(total, 0xFFFFFFFFu));
  std::vector<std::uint8_t> bytes;
  if (offset >= total) return bytes;
  bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(length, total - offset)));
  std::ifstream in(path, std::ios::binary);
  in.seekg(offset);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!in) return std::nullopt;
  return bytes;
}

bool SignStore::IsPlainName(std::string_view name) {
  return !name.empty() && name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos &&
         name != "." && name != "..";
}

Status SignStore::WriteFile(std::string_view name, std::span<const std::uint8_t> bytes) const {
  if (!Persistent()) return Status::Ok();
  if (!IsPlainName(name)) return Status::SystemError(EINVAL, std::string(name));
  return WriteFileAtomically(FilesFolder() / std::string(name), bytes);
}

Status SignStore::SaveMessage(std::uint32_t number, std::span<const std::uint8_t> block) const {
  if (!Persistent()) return Status::Ok();
  char name[32];
  std::snprintf(name, sizeof name, "%06u.msg", static_cast<unsigned>(number));
  return WriteFileAtomically(m_folder / "messages" / name, block);
}

}  // namespace vantorel
