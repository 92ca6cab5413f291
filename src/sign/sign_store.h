#pragma once
// The folder a virtual sign keeps its files in:
//
//   <store>/state.txt             the settings (sign_state.h)
//   <store>/files/                the controller's file storage: listed, read back, deleted, formatted
//   <store>/messages/NNNNNN.msg   each instant message block received, whole
//
// A store without a folder (an empty path) keeps nothing: no files, nothing saved (the fuzz
// target and in-memory tests). Owned by one thread.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace vantorel {

struct StoredFile {
  std::string name;
  std::uint32_t size = 0;
  // Local modification time.
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// `name` matches `pattern`: "*" any run of characters, "?" one, letter case ignored.
bool MatchesPattern(std::string_view pattern, std::string_view name);

class SignStore {
public:
  explicit SignStore(std::filesystem::path folder) : m_folder(std::move(folder)) {}

  // Makes the folders (nothing without a folder).
  Status Prepare() const;
  const std::filesystem::path& Folder() const { return m_folder; }
  bool Persistent() const { return !m_folder.empty(); }

  // The files of the storage, sorted by name.
  std::vector<StoredFile> Files() const;
  // Removes the files whose names match; returns how many went.
  std::size_t Delete(std::string_view pattern) const;
  std::uint64_t UsedBytes() const;
  // At most `length` bytes of file `name` from `offset`, and the file's size; nothing when there
  // is no such file.
  std::optional<std::vector<std::uint8_t>> ReadBack(std::string_view name, std::uint32_t offset, std::size_t length,
                                                    std::uint32_t& size) const;
  // Stores a whole file under `name` (a plain name, no folders).
  Status WriteFile(std::string_view name, std::span<const std::uint8_t> bytes) const;
  static bool IsPlainName(std::string_view name);
  Status SaveMessage(std::uint32_t number, std::span<const std::uint8_t> block) const;

private:
  std::filesystem::path FilesFolder() const { return m_folder / "files"; }
  std::filesystem::path m_folder;
};

}  // namespace vantorel
