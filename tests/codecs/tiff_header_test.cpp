// The first directory of a TIFF file, checked before a decoder sizes its buffers from it.

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "codecs/qt_image_codec.h"
#include "codecs/tiff_header.h"
#include "platform/byte_writer.h"

namespace vantorel {
namespace {

struct Entry {
  std::uint16_t tag;
  std::uint16_t type;  // 3 short, 4 long
  std::uint32_t count;
  std::uint32_t value;
};

// A little-endian (or big-endian) TIFF file of one directory at offset 8, then `extra` bytes.
std::vector<std::uint8_t> Tiff(std::initializer_list<Entry> entries, bool bigEndian = false,
                               std::initializer_list<std::uint16_t> extra = {}) {
  ByteWriter out;
  const auto u16 = [&](std::uint16_t v) { bigEndian ? out.U16Be(v) : out.U16Le(v); };
  const auto u32 = [&](std::uint32_t v) { bigEndian ? out.U32Be(v) : out.U32Le(v); };
  out.U8(bigEndian ? 'M' : 'I');
  out.U8(bigEndian ? 'M' : 'I');
  u16(42);
  u32(8);
  u16(static_cast<std::uint16_t>(entries.size()));
  for (const Entry& e : entries) {
    u16(e.tag);
    u16(e.type);
    u32(e.count);
    if (e.type == 3 && e.count == 1) {
      u16(static_cast<std::uint16_t>(e.value));
      u16(0);
    } else {
      u32(e.value);
    }
  }
  u32(0);
  for (const std::uint16_t v : extra) u16(v);
  return out.View();
}

TEST(TiffHeader, WhatTheFirstDirectoryAsksForIsChecked) {
  // The values of a 4-sample BitsPerSample lie after the directory: 8 + 2 + 4 x 12 + 4 = 62.
  struct Row {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* cause;  // empty: accepted
  };
  const Row rows[] = {
      {"RGB, 8 bits", Tiff({{256, 3, 1, 64}, {257, 3, 1, 32}, {258, 3, 1, 8}, {277, 3, 1, 3}}), ""},
      {"big-endian", Tiff({{256, 4, 1, 64}, {257, 4, 1, 32}, {258, 3, 1, 16}, {277, 3, 1, 4}}, true), ""},
      {"no fields: the defaults", Tiff({}), ""},
      {"bits a sample after the directory", Tiff({{256, 3, 1, 4}, {257, 3, 1, 4}, {258, 3, 4, 62}, {277, 3, 1, 4}}, false, {8, 8, 8, 64}),
       "64 bits a sample"},
      {"thousands of samples a pixel", Tiff({{256, 3, 1, 43780}, {257, 3, 1, 4}, {258, 3, 1, 16}, {277, 3, 1, 62981}}),
       "62981 samples a pixel"},
      {"no samples", Tiff({{277, 3, 1, 0}}), "0 samples a pixel"},
      {"a field given twice counts with its larger value", Tiff({{277, 3, 1, 62981}, {277, 3, 1, 4}}),
       "62981 samples a pixel"},
      {"too many bytes", Tiff({{256, 4, 1, 60000}, {257, 4, 1, 60000}, {258, 3, 1, 16}, {277, 3, 1, 4}}), "too large"},
      {"numbers whose product passes 64 bits", Tiff({{256, 4, 1, 0xFFFFFFFF}, {257, 4, 1, 0xFFFFFFFF}, {258, 3, 1, 32}, {277, 3, 1, 8}}),
       "too large"},
      {"a huge tile", Tiff({{256, 3, 1, 16}, {257, 3, 1, 16}, {258, 3, 1, 8}, {322, 4, 1, 65536}, {323, 4, 1, 65536}}),
       "too large"},
      {"values outside the file", Tiff({{258, 3, 4, 4000}}), "field 258 unreadable"},
      {"directory outside the file", std::vector<std::uint8_t>{'I', 'I', 42, 0, 0xFF, 0, 0, 0}, "no first directory"},
      {"directory cut short", std::vector<std::uint8_t>{'I', 'I', 42, 0, 8, 0, 0, 0, 2, 0, 1, 1}, "directory cut short"},
      {"header only", std::vector<std::uint8_t>{'I', 'I', 42, 0}, "no header"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Status checked = CheckTiffHeader(row.bytes);
    if (*row.cause == '\0') {
      EXPECT_TRUE(checked) << checked.detail();
    } else {
      ASSERT_FALSE(checked);
      EXPECT_NE(checked.detail().find(row.cause), std::string::npos) << checked.detail();
    }
  }
  // The decoder refuses such a file before it reads it.
  const auto picture = DecodeWithQt(rows[4].bytes, "tiff");
  ASSERT_FALSE(picture);
  EXPECT_NE(picture.status().detail().find("samples a pixel"), std::string::npos);
}

}  // namespace
}  // namespace vantorel
