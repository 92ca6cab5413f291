// Animation files: what is written reads back frame for frame in every colour mode, a file that is
// not whole is refused with its cause, and an unfinished file never replaces the target.

#include <gtest/gtest.h>

#include <QImage>

#include <fstream>
#include <initializer_list>
#include <iterator>

#include "codecs/laf_file.h"
#include "platform/byte_writer.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

// A picture whose every pixel differs in red, green and blue.
QImage Gradient(int width, int height, int seed) {
  QImage picture(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb((x * 9 + seed) & 0xFF, (y * 13 + seed) & 0xFF, (x * y + seed) & 0xFF));
  }
  return picture;
}

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class LafFileTest : public ::testing::Test {
protected:
  // Three frames of `colourMode`: 40 ms, 80 ms and 0 ms.
  std::filesystem::path Write(std::uint16_t colourMode, const char* name = "a.laf") const {
    const auto path = m_folder.Path() / name;
    auto file = CLafFile::CreateFile(path, 12, 7, colourMode);
    EXPECT_TRUE(file) << file.status().detail();
    const int durations[] = {40, 80, 0};
    for (int i = 0; i < 3; ++i) {
      file->FrameNew(durations[i]);
      file->FrameAddImgpt(0, 0, Gradient(12, 7, i * 50));
      EXPECT_TRUE(file->FrameSave());
    }
    EXPECT_TRUE(file->CloseFile());
    return path;
  }

  test::TempFolder m_folder;
};

TEST_F(LafFileTest, FramesReadBackInEveryColourMode) {
  struct Row {
    std::uint16_t mode;
    std::array<bool, 3> channels;  // red, green, blue kept
  };
  const Row rows[] = {{0x01, {true, false, false}}, {0x03, {true, true, false}}, {0x07, {true, true, true}},
                      {0x71, {true, false, false}}, {0x73, {true, true, false}}, {0x77, {true, true, true}},
                      {0x00, {true, true, true}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.mode);
    CLafReader reader;
    ASSERT_TRUE(reader.Load(Write(row.mode)));
    const LafInfo& info = reader.GetInfo();
    EXPECT_EQ(info.width, 12);
    EXPECT_EQ(info.height, 7);
    EXPECT_EQ(info.colourMode, row.mode);
    EXPECT_EQ(info.fileType, kLafAnimationFile);
    ASSERT_EQ(reader.FrameCount(), 3);
    const int durations[] = {40, 80, 0};
    for (int i = 0; i < 3; ++i) {
      const auto frame = reader.GetFrameImage(i);
      ASSERT_TRUE(frame) << frame.status().detail();
      EXPECT_EQ(frame->interval, durations[i]);
      const QImage original = Gradient(12, 7, i * 50);
      int wrong = 0;
      for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 12; ++x) {
          const QRgb want = original.pixel(x, y);
          const QRgb got = frame->picture.pixel(x, y);
          wrong += qRed(got) != (row.channels[0] ? qRed(want) : 0);
          wrong += qGreen(got) != (row.channels[1] ? qGreen(want) : 0);
          wrong += qBlue(got) != (row.channels[2] ? qBlue(want) : 0);
        }
      }
      EXPECT_EQ(wrong, 0) << "frame " << i;
    }
    EXPECT_FALSE(reader.GetFrameImage(3));
    EXPECT_FALSE(reader.GetFrameImage(-1));
  }
}

TEST_F(LafFileTest, PicturesAreDrawnWhereTheyAreAddedAndClipped) {
  const auto path = m_folder.Path() / "placed.laf";
  auto file = CLafFile::CreateFile(path, 8, 8, 0x77);
  ASSERT_TRUE(file);
  QImage red(6, 6, QImage::Format_RGB888);
  red.fill(Qt::red);
  file->FrameNew(100);
  file->FrameAddImgpt(4, -2, red);  // covers x 4..7, y 0..3 of the frame
  ASSERT_TRUE(file->FrameSave());
  file->SetFileType(7);
  ASSERT_TRUE(file->CloseFile());
  CLafReader reader;
  ASSERT_TRUE(reader.Load(path));
  EXPECT_EQ(reader.GetInfo().fileType, 7);
  const auto frame = reader.GetFrameImage(0);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->picture.pixel(4, 0), qRgb(255, 0, 0));
  EXPECT_EQ(frame->picture.pixel(7, 3), qRgb(255, 0, 0));
  EXPECT_EQ(frame->picture.pixel(3, 0), qRgb(0, 0, 0));
  EXPECT_EQ(frame->picture.pixel(4, 4), qRgb(0, 0, 0));
}

TEST_F(LafFileTest, FilesThatAreNotWholeAreRefused) {
  const std::vector<std::uint8_t> good = FileBytes(Write(0x77));
  const auto patched = [&](std::size_t offset, std::vector<std::uint8_t> bytes) {
    std::vector<std::uint8_t> copy = good;
    std::copy(bytes.begin(), bytes.end(), copy.begin() + static_cast<std::ptrdiff_t>(offset));
    return copy;
  };
  struct Row {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* cause;
  };
  std::vector<std::uint8_t> truncated(good.begin(), good.end() - 1);
  std::vector<std::uint8_t> trailing = good;
  trailing.push_back(0);
  const Row rows[] = {
      {"empty", {}, "not an animation file"},
      {"another magic", patched(0, {'X'}), "not an animation file"},
      {"header cut", std::vector<std::uint8_t>(good.begin(), good.begin() + 10), "header"},
      {"unknown version", patched(4, {2, 0}), "version 2"},
      {"no width", patched(6, {0, 0}), "size 0 x 7"},
      {"too high", patched(8, {0x01, 0x20}), "size 12 x 8193"},
      {"more frames than the file holds", patched(14, {0xFF, 0xFF, 0xFF, 0x0F}), "frames do not fit"},
      {"a frame cut short", truncated, "frame 3"},
      {"bytes after the last frame", trailing, "1 bytes after the last frame"},
      {"a frame of more than an hour", patched(20, {0xFF, 0xFF, 0xFF, 0x7F}), "frame 1: duration"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CLafReader reader;
    const Status loaded = reader.LoadBytes(row.bytes);
    ASSERT_FALSE(loaded);
    EXPECT_NE(loaded.detail().find(row.cause), std::string::npos) << loaded.detail();
    EXPECT_EQ(reader.FrameCount(), 0) << "nothing is kept of a refused file";
  }
}

TEST_F(LafFileTest, AFrameThatDoesNotDecodeFailsAlone) {
  std::vector<std::uint8_t> bytes = FileBytes(Write(0x77));
  bytes[20 + 8 + 2] ^= 0xFF;  // inside the first frame's compressed planes
  CLafReader reader;
  ASSERT_TRUE(reader.LoadBytes(bytes));
  EXPECT_FALSE(reader.GetFrameImage(0));
  EXPECT_TRUE(reader.GetFrameImage(1));

  // A 4096 x 4096 frame claimed by a few bytes is refused before its planes are made.
  ByteWriter bomb;
  for (const char letter : {'V', 'L', 'A', 'F'}) bomb.U8(static_cast<std::uint8_t>(letter));
  for (const std::uint16_t value : std::initializer_list<std::uint16_t>{1, 4096, 4096, 0x77, 2}) bomb.U16Le(value);
  bomb.U32Le(1);
  bomb.U16Le(0);
  bomb.U32Le(40);
  bomb.U32Le(4);
  bomb.Fill(4);
  ASSERT_TRUE(reader.LoadBytes(bomb.View()));
  const auto frame = reader.GetFrameImage(0);
  ASSERT_FALSE(frame);
  EXPECT_NE(frame.status().detail().find("cannot hold its planes"), std::string::npos);
}

TEST_F(LafFileTest, AnUnfinishedFileLeavesTheTargetAsItWas) {
  const auto path = m_folder.Path() / "kept.laf";
  { std::ofstream(path) << "the old file"; }
  {
    auto file = CLafFile::CreateFile(path, 4, 4, 0x77);
    ASSERT_TRUE(file);
    file->FrameNew(10);
    ASSERT_TRUE(file->FrameSave());
  }  // never closed
  std::ifstream in(path);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "the old file");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.Path()), std::filesystem::directory_iterator()), 1)
      << "no temporary file is left";

  EXPECT_FALSE(CLafFile::CreateFile(path, 0, 4, 0x77));
  EXPECT_FALSE(CLafFile::CreateFile(path, 4, 4097, 0x77));
  const auto nowhere = CLafFile::CreateFile(m_folder.Path() / "missing" / "a.laf", 4, 4, 0x77);
  ASSERT_FALSE(nowhere);
  EXPECT_FALSE(nowhere.status().detail().empty());
}

}  // namespace
}  // namespace vantorel
