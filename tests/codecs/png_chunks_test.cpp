// Only chunks that a PNG file really holds reach libpng: one that claims more bytes than are left
// ends the file there.

#include <gtest/gtest.h>

#include <string>

#include "codecs/png_chunks.h"

namespace vantorel {
namespace {

std::string Chunk(const std::string& type, const std::string& data, std::uint32_t claimed) {
  std::string chunk;
  for (int shift = 24; shift >= 0; shift -= 8) chunk += static_cast<char>((claimed >> shift) & 0xFF);
  return chunk + type + data + "CRC!";
}

std::string Chunk(const std::string& type, const std::string& data) {
  return Chunk(type, data, static_cast<std::uint32_t>(data.size()));
}

std::size_t Kept(const std::string& file) {
  return WholePngChunks(std::span(reinterpret_cast<const std::uint8_t*>(file.data()), file.size())).size();
}

TEST(PngChunksTest, ChunksThatAreNotThereAreCutOff) {
  const std::string signature = "\x89PNG\r\n\x1A\n";
  const std::string header = Chunk("IHDR", std::string(13, '\1'));
  const std::string data = Chunk("IDAT", "pixels");
  const std::string end = Chunk("IEND", "");
  struct Row {
    const char* name;
    std::string file;
    std::size_t kept;
  } rows[] = {
      {"whole file", signature + header + data + end, (signature + header + data + end).size()},
      {"bytes after IEND", signature + header + end + "junk", (signature + header + end).size()},
      {"text claiming 2 GB", signature + header + data + Chunk("tEXt", "abc", 0x7B000000) + end,
       (signature + header + data).size()},
      {"cut inside a chunk", signature + header + data.substr(0, 9), (signature + header).size()},
      {"CRC missing", signature + header.substr(0, header.size() - 2), signature.size()},
      {"signature only", signature, signature.size()},
      {"no PNG file", "GIF89a....", 10},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Kept(row.file), row.kept);
  }
}

}  // namespace
}  // namespace vantorel
