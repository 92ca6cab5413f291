#pragma once
// A folder of font files for the font fuzzers: one per process, files rewritten for every input
// and re-read at once.

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "render/font_file_cache.h"

namespace vantorel::fuzz {

inline const std::filesystem::path& FontFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-font-fuzz-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    if (made == nullptr) std::abort();
    static const std::string removeAtExit = made;
    std::atexit([] { std::filesystem::remove_all(removeAtExit); });
    CFontFileCache::SetRecheckInterval(std::chrono::milliseconds(0));
    return std::filesystem::path(made);
  }();
  return folder;
}

inline void WriteFontFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  std::ofstream file(FontFolder() / name, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace vantorel::fuzz
