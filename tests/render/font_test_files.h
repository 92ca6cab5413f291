#pragma once
// Font files made by the tests: every glyph starts with its own index so a lookup shows which
// bytes it read.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "render/font_file_cache.h"
#include "support/temp_folder.h"

namespace vantorel::test {

// A fresh folder per test; font files are re-checked on every lookup so that files written during
// a test are seen at once.
class FontFolderTest : public ::testing::Test {
protected:
  void SetUp() override { CFontFileCache::SetRecheckInterval(std::chrono::milliseconds(0)); }
  void TearDown() override { CFontFileCache::SetRecheckInterval(std::chrono::milliseconds(1000)); }

  const std::filesystem::path& Folder() const { return m_folder.Path(); }

  void WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    m_folder.WriteBytes(name, bytes);
  }

  // `count` glyphs of `glyphBytes`: bytes 0-1 the glyph index (big-endian), byte 2 `tag`, the rest 0x5A.
  static std::vector<std::uint8_t> IndexedGlyphs(int count, int glyphBytes, std::uint8_t tag) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count * glyphBytes), 0x5A);
    for (int i = 0; i < count; ++i) {
      auto* glyph = bytes.data() + static_cast<std::size_t>(i * glyphBytes);
      glyph[0] = static_cast<std::uint8_t>(i >> 8);
      glyph[1] = static_cast<std::uint8_t>(i & 0xFF);
      if (glyphBytes > 2) glyph[2] = tag;
    }
    return bytes;
  }

  // "asc.fmd" (or a face file): five sections; byte 0 of each glyph = size index, byte 1 = code - 32,
  // byte 2 = `tag`.
  static std::vector<std::uint8_t> AscImage(std::uint8_t tag) {
    static constexpr int kBytes[5] = {8, 12, 16, 48, 64};
    std::vector<std::uint8_t> bytes;
    for (int s = 0; s < 5; ++s) {
      for (int c = 0; c < 95; ++c) {
        std::vector<std::uint8_t> glyph(static_cast<std::size_t>(kBytes[s]), 0x5A);
        glyph[0] = static_cast<std::uint8_t>(s);
        glyph[1] = static_cast<std::uint8_t>(c);
        glyph[2] = tag;
        bytes.insert(bytes.end(), glyph.begin(), glyph.end());
      }
    }
    return bytes;
  }

private:
  TempFolder m_folder;
};

}  // namespace vantorel::test
