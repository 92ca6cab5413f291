// Controller animations of video and animation items: video frames merged to at least 50 ms, the
// item data embedded up to 524288 bytes and referenced (and listed) above, and nothing made for
// what cannot be read.

#include <gtest/gtest.h>

#include <QImage>

#include <numeric>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "codecs/laf_file.h"
#include "codecs/video_decoder.h"
#include "render/led_bitmap.h"
#include "render/media/controller_animation.h"
#include "render/place_picture.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/test_video.h"

namespace vantorel {
namespace {

tagItemPart Item(std::uint16_t kind, const std::filesystem::path& media, int showMode = kPlaceStretch) {
  tagItemPart item;
  item.actType = kind;
  item.media = media.string();
  item.showMode = static_cast<std::uint16_t>(showMode);
  return item;
}

std::vector<int> Durations(const std::vector<std::uint8_t>& bytes) {
  CLafReader reader;
  EXPECT_TRUE(reader.LoadBytes(bytes));
  std::vector<int> durations;
  for (int i = 0; i < reader.FrameCount(); ++i) durations.push_back(reader.GetFrameImage(i)->interval);
  return durations;
}

TEST(ControllerAnimation, VideoFramesMergeUntilMoreThan49Milliseconds) {
  VANTOREL_NEED_FFMPEG();
  struct Row {
    int rate;
    double seconds;
    std::vector<int> durations;
  };
  const Row rows[] = {
      // 40 ms frames: every other frame is dropped, the last one left over keeps its 40 ms.
      {25, 1.0, {80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 40}},
      {10, 0.5, {100, 100, 100, 100, 100}},
      // 20 ms frames: three make 60 ms; the one left over keeps its 20 ms.
      {50, 0.5, {60, 60, 60, 60, 60, 60, 60, 60, 20}},
      {20, 0.4, {50, 50, 50, 50, 50, 50, 50, 50}},
  };
  const test::TempFolder folder;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.rate);
    const auto video = test::MakeTestVideo(folder / ("v" + std::to_string(row.rate) + ".mp4"),
                                           {48, 32, row.rate, row.seconds, ""});
    const auto made = MakeControllerAnimation(Item(kKindVideo, video), 24, 16, 0x77, folder / "out.laf",
                                              folder / "large.txt");
    ASSERT_TRUE(made.failure.ok()) << made.failure.detail();
    EXPECT_EQ(made.frames, static_cast<int>(row.durations.size()));
    EXPECT_EQ(Durations(made.data), row.durations);
    EXPECT_EQ(made.code, (0x0Bu << 24) | made.data.size());
    EXPECT_FALSE(std::filesystem::exists(folder / "out.laf"));  // embedded: the file is gone
    EXPECT_FALSE(std::filesystem::exists(folder / "large.txt"));
    EXPECT_EQ(std::accumulate(row.durations.begin(), row.durations.end(), 0), static_cast<int>(row.seconds * 1000));
  }
}

TEST(ControllerAnimation, TheFrameWrittenIsTheLastOfThoseMerged) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  const auto video = test::MakeTestVideo(folder / "v.avi", {48, 32, 25, 0.4, "-c:v mpeg4"});
  const auto made = MakeControllerAnimation(Item(kKindVideo, "v.avi", kPlaceCenter), 40, 40, 0x77,
                                            folder / "out.laf", folder / "large.txt", folder.Path());
  ASSERT_TRUE(made.failure.ok()) << made.failure.detail();
  ASSERT_EQ(made.frames, 5);
  CLafReader reader;
  ASSERT_TRUE(reader.LoadBytes(made.data));
  auto decoder = CVideoDecoder::Open(video);
  ASSERT_TRUE(decoder);
  for (int written = 0; written < 5; ++written) {
    auto dropped = decoder->NextFrame();
    auto kept = decoder->NextFrame();
    ASSERT_TRUE(dropped && kept && !kept->isNull());
    CLedBitmap expected(40, 40, 0x77);
    PlacePicture(expected, *kept, kPlaceCenter, false);
    EXPECT_TRUE(reader.GetFrameImage(written)->picture == expected.Image()) << "frame " << written;
  }
}

TEST(ControllerAnimation, AnimationFilesAndFlashMoviesAreRedrawnForTheWindow) {
  const test::TempFolder folder;
  auto laf = CLafFile::CreateFile(folder / "intro.laf", 8, 8, 0x77);
  ASSERT_TRUE(laf);
  for (const int duration : {30, 70}) {
    QImage picture(8, 8, QImage::Format_RGB888);
    picture.fill(qRgb(200, 100, 50));
    laf->FrameNew(duration);
    laf->FrameAddImgpt(0, 0, picture);
    ASSERT_TRUE(laf->FrameSave());
  }
  ASSERT_TRUE(laf->CloseFile());
  for (const char* name : {"intro.laf", "intro.swf", "INTRO.SWF"}) {
    SCOPED_TRACE(name);
    if (std::string(name) == "INTRO.SWF") std::filesystem::copy_file(folder / "intro.laf", folder / "INTRO.laf");
    const auto made = MakeControllerAnimation(Item(kKindVideo, folder / name), 16, 4, 0x01, folder / "out.laf",
                                              folder / "large.txt");
    ASSERT_TRUE(made.failure.ok()) << made.failure.detail();
    EXPECT_EQ(made.frames, 2);
    CLafReader reader;
    ASSERT_TRUE(reader.LoadBytes(made.data));
    EXPECT_EQ(reader.GetInfo().width, 16);
    EXPECT_EQ(reader.GetInfo().height, 4);
    EXPECT_EQ(reader.GetInfo().colourMode, 0x01);
    EXPECT_EQ(reader.GetFrameImage(1)->interval, 70);
    EXPECT_EQ(reader.GetFrameImage(0)->picture.pixel(15, 3), qRgb(200, 0, 0));
  }
}

TEST(ControllerAnimation, NothingMadeGivesNoDataAndRemovesTheOldOutput) {
  VANTOREL_NEED_FFMPEG();
  const test::TempFolder folder;
  folder.Write("broken.mp4", "no video here");
  folder.Write("movie.swf", "FWS");
  folder.Write("picture.bmp", "BM");
  struct Row {
    const char* media;
    TextId text;
  };
  const Row rows[] = {{"broken.mp4", kTextVideoUnreadable},
                      {"missing.wmv", kTextVideoUnreadable},
                      {"movie.swf", kTextFlashWithoutAnimation},
                      {"picture.bmp", kTextNotAMovie},
                      {"", kTextNotAMovie}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.media);
    folder.Write("out.laf", "an output of an earlier run");
    const auto made = MakeControllerAnimation(Item(kKindVideo, row.media), 16, 16, 0x77, folder / "out.laf",
                                              folder / "large.txt", folder.Path());
    EXPECT_EQ(made.frames, -1);
    EXPECT_TRUE(made.data.empty());
    EXPECT_EQ(made.code, 0x0B000000u);
    EXPECT_EQ(made.failure.text(), row.text);
    EXPECT_FALSE(std::filesystem::exists(folder / "out.laf"));
    EXPECT_FALSE(std::filesystem::exists(folder / "large.txt"));
  }
}

TEST(ControllerAnimation, EmbeddedUpTo524288BytesReferencedAbove) {
  const test::TempFolder folder;
  struct Row {
    std::size_t size;
    bool embedded;
  };
  const Row rows[] = {{1, true}, {524287, true}, {524288, true}, {524289, false}, {600000, false}};
  int listed = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.size);
    const auto output = folder / ("v" + std::to_string(row.size) + ".laf");
    std::vector<std::uint8_t> content(row.size);
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<std::uint8_t>(i * 7);
    test::WriteBytes(output, content);
    const auto made = EmbedOrReference(output, folder / "large.txt", 12);
    ASSERT_TRUE(made.failure.ok());
    EXPECT_EQ(made.frames, 12);
    if (row.embedded) {
      EXPECT_EQ(made.data, content);
      EXPECT_FALSE(std::filesystem::exists(output));
    } else {
      const std::string reference = "LAF:" + output.filename().string();
      EXPECT_EQ(std::string(made.data.begin(), made.data.end()), reference);
      EXPECT_TRUE(std::filesystem::exists(output));
      ++listed;
    }
    EXPECT_EQ(made.code, (0x0Bu << 24) | static_cast<std::uint32_t>(made.data.size() & 0xFFFFFF));
  }
  // One line a referenced file, full paths, each ending in "\n".
  EXPECT_EQ(listed, 2);
  EXPECT_EQ(folder.Read("large.txt"), (folder / "v524289.laf").string() + "\n" + (folder / "v600000.laf").string() + "\n");
  // An embedded file of 524288 bytes has a length that fills the low 24 bits exactly as 0x080000.
  test::WriteBytes(folder / "edge.laf", std::vector<std::uint8_t>(524288));
  EXPECT_EQ(EmbedOrReference(folder / "edge.laf", folder / "large.txt", 1).code, 0x0B080000u);
  // A list that cannot be written leaves the item without data.
  test::WriteBytes(folder / "big.laf", std::vector<std::uint8_t>(524289));
  const auto unlisted = EmbedOrReference(folder / "big.laf", folder / "no-folder" / "large.txt", 1);
  EXPECT_FALSE(unlisted.failure.ok());
  EXPECT_EQ(unlisted.frames, -1);
  EXPECT_TRUE(unlisted.data.empty());
}

}  // namespace
}  // namespace vantorel
