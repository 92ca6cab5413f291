#include "platform/md5_digest.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace vantorel {
namespace {

// The test suite of the MD5 definition (RFC 1321, appendix A.5).
struct Vector {
  const char* input;
  const char* digest;
};
constexpr Vector kVectors[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(Md5DigestTest, KnownVectorsOfBytesAndOfFiles) {
  test::TempFolder folder;
  for (const Vector& vector : kVectors) {
    SCOPED_TRACE(vector.input);
    EXPECT_EQ(Md5Hex(std::string_view(vector.input)), vector.digest);
    folder.Write("v.bin", vector.input);
    const Expected<std::string> ofFile = Md5HexOfFile(folder / "v.bin");
    ASSERT_TRUE(ofFile) << ofFile.status().detail();
    EXPECT_EQ(*ofFile, vector.digest);
  }
}

TEST(Md5DigestTest, FileLargerThanOneBlockMatchesTheDigestOfItsBytes) {
  // Sizes around the read block (64 KiB) catch a lost or repeated tail.
  test::TempFolder folder;
  for (const std::size_t size : {std::size_t{65535}, std::size_t{65536}, std::size_t{65537}, std::size_t{200001}}) {
    SCOPED_TRACE(size);
    std::string content(size, '\0');
    for (std::size_t i = 0; i < size; ++i) content[i] = static_cast<char>((i * 7919) >> 3);
    folder.Write("big.bin", content);
    const Expected<std::string> ofFile = Md5HexOfFile(folder / "big.bin");
    ASSERT_TRUE(ofFile);
    EXPECT_EQ(*ofFile, Md5Hex(content));
    EXPECT_EQ(ofFile->size(), kMd5HexLength);
  }
}

TEST(Md5DigestTest, MissingFileOrFolderFailsWithThePath) {
  test::TempFolder folder;
  for (const auto& path : {folder / "absent.mp4", folder.Path()}) {
    SCOPED_TRACE(path.string());
    const Expected<std::string> digest = Md5HexOfFile(path);
    ASSERT_FALSE(digest);
    EXPECT_NE(digest.status().detail().find(path.string()), std::string::npos) << digest.status().detail();
  }
}

}  // namespace
}  // namespace vantorel
