// Picture files made by another program (ImageMagick's convert, run by the test) read as they look,
// files we write read back the same, and hostile or damaged files give a clear failure.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <string>

#include "codecs/picture.h"
#include "codecs/picture_file.h"
#include "support/golden_image.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace vantorel {
namespace {

constexpr const char* kConvert = "/usr/bin/convert";

// Four quadrants of a 32 x 32 picture: red, green / blue, white.
const char* kQuadrants =
    "-size 32x32 xc:red -fill lime -draw 'rectangle 16,0 31,15' -fill blue -draw 'rectangle 0,16 15,31' "
    "-fill white -draw 'rectangle 16,16 31,31'";

void Convert(const std::string& arguments, const std::filesystem::path& out) {
  const std::string command = std::string(kConvert) + " " + arguments + " '" + out.string() + "' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void ExpectColourNear(const QImage& picture, int x, int y, QRgb want, int tolerance) {
  const QRgb got = picture.pixel(x, y);
  EXPECT_NEAR(qRed(got), qRed(want), tolerance) << "at " << x << "," << y;
  EXPECT_NEAR(qGreen(got), qGreen(want), tolerance) << "at " << x << "," << y;
  EXPECT_NEAR(qBlue(got), qBlue(want), tolerance) << "at " << x << "," << y;
}

TEST(PictureFileTest, FilesOfOtherProgramsReadAsTheyLook) {
  ASSERT_TRUE(std::filesystem::exists(kConvert)) << "ImageMagick is installed by scripts/install-deps.sh";
  struct Row {
    const char* name;
    const char* file;
    std::string extra;  // options of convert before the output
    PictureFormat format;
    int tolerance;
  } rows[] = {
      {"PNG", "q.png", "", PictureFormat::kPng, 0},
      {"PNG with alpha, 16 bits", "q16.png", "-alpha set -depth 16", PictureFormat::kPng, 0},
      {"TIFF", "q.tif", "", PictureFormat::kTiff, 0},
      {"BMP", "q.bmp", "", PictureFormat::kBmp, 0},
      {"BMP 8-bit palette", "q8.bmp", "-type Palette", PictureFormat::kBmp, 0},
      {"JPEG", "q.jpg", "-quality 100", PictureFormat::kJpeg, 12},
      {"progressive JPEG", "qp.jpg", "-quality 95 -interlace JPEG", PictureFormat::kJpeg, 16},
      {"CMYK JPEG", "qc.jpg", "-colorspace CMYK -quality 100", PictureFormat::kJpeg, 40},
      {"interlaced GIF", "qi.gif", "-interlace GIF", PictureFormat::kGif, 0},
  };
  test::TempFolder temp;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto file = temp / row.file;
    Convert(std::string(kQuadrants) + " " + row.extra, file);
    EXPECT_EQ(SniffPictureFormat(test::ReadBytes(file)), row.format);
    const auto picture = ReadPicture(file);
    ASSERT_TRUE(picture.ok()) << picture.status().detail();
    EXPECT_EQ(picture->size(), QSize(32, 32));
    EXPECT_EQ(picture->format(), kPictureFormat);
    ExpectColourNear(*picture, 8, 8, qRgb(255, 0, 0), row.tolerance);
    ExpectColourNear(*picture, 24, 8, qRgb(0, 255, 0), row.tolerance);
    ExpectColourNear(*picture, 8, 24, qRgb(0, 0, 255), row.tolerance);
    ExpectColourNear(*picture, 24, 24, qRgb(255, 255, 255), row.tolerance);
  }
}

TEST(PictureFileTest, TransparentPartsShowBlack) {
  test::TempFolder temp;
  for (const char* name : {"t.gif", "t.png"}) {
    SCOPED_TRACE(name);
    const auto file = temp / name;
    Convert("-size 8x8 xc:none -fill yellow -draw 'rectangle 0,0 3,7'", file);
    const auto picture = ReadPicture(file);
    ASSERT_TRUE(picture.ok()) << picture.status().detail();
    ExpectColourNear(*picture, 1, 1, qRgb(255, 255, 0), 0);
    ExpectColourNear(*picture, 6, 6, qRgb(0, 0, 0), 0);
  }
}

TEST(PictureFileTest, AnimationsOfOtherProgramsKeepTheirFrames) {
  test::TempFolder temp;
  const auto file = temp / "a.gif";
  Convert("-delay 20 -size 8x8 xc:red -delay 50 xc:lime -loop 0", file);
  const auto animation = ReadAnimation(file);
  ASSERT_TRUE(animation.ok()) << animation.status().detail();
  ASSERT_EQ(animation->frames.size(), 2u);
  EXPECT_EQ(animation->frames[0].delayMs, 200);
  EXPECT_EQ(animation->frames[1].delayMs, 500);
  ExpectColourNear(animation->frames[1].picture, 4, 4, qRgb(0, 255, 0), 0);
  // Any other picture is one frame.
  const auto png = temp / "still.png";
  Convert("-size 4x4 xc:blue", png);
  const auto still = ReadAnimation(png);
  ASSERT_TRUE(still.ok());
  EXPECT_EQ(still->frames.size(), 1u);
}

TEST(PictureFileTest, WrittenFilesReadBack) {
  test::TempFolder temp;
  QImage picture(13, 7, QImage::Format_RGB888);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 13; ++x) picture.setPixel(x, y, qRgb(x * 19, y * 36, (x * y) & 0xFF));
  }
  ASSERT_TRUE(WriteBmp(temp / "p.bmp", picture).ok());
  const auto bmp = ReadPicture(temp / "p.bmp");
  ASSERT_TRUE(bmp.ok()) << bmp.status().detail();
  EXPECT_EQ(test::ImageDifference(picture, *bmp), "");
  ASSERT_TRUE(WriteGif(temp / "p.gif", {{{picture, 0}}, 0}).ok());
  const auto gif = ReadPicture(temp / "p.gif");
  ASSERT_TRUE(gif.ok()) << gif.status().detail();
  EXPECT_EQ(test::ImageDifference(picture, *gif), "");
  // A folder in the way: the failure names the cause and the file.
  std::filesystem::create_directories(temp / "blocked.bmp");
  const Status blocked = WriteBmp(temp / "blocked.bmp", picture);
  EXPECT_FALSE(blocked.ok());
  EXPECT_NE(blocked.detail().find("blocked.bmp"), std::string::npos) << blocked.detail();
}

TEST(PictureFileTest, HostileAndDamagedFilesAreRefusedWithTheirReason) {
  test::TempFolder temp;
  // A BMP header that claims 100000 x 100000 pixels.
  std::string hugeBmp = "BM";
  hugeBmp += std::string("\x36\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00", 16);
  hugeBmp += std::string("\xA0\x86\x01\x00\xA0\x86\x01\x00\x01\x00\x18\x00", 12);
  hugeBmp += std::string(24, '\0');
  struct Row {
    const char* name;
    std::string bytes;
    const char* reason;
  } rows[] = {
      {"empty", "", "not a picture file"},
      {"text", "hello, world", "not a picture file"},
      {"huge PNG", std::string("\x89PNG\r\n\x1A\n\x00\x00\x00\x0DIHDR\x00\x01\x86\xA0\x00\x01\x86\xA0\x08\x02\x00\x00\x00\x27\x30\x9C\x9F", 33),
       "damaged png file"},
      {"huge BMP", hugeBmp, "damaged bmp file"},
      {"JPEG header only", "\xFF\xD8\xFF\xE0", "damaged JPEG file"},
      {"PNG signature only", "\x89PNG\r\n\x1A\n", "damaged png file"},
      {"TIFF header only", std::string("II*\0\x08\0\0\0", 8), "damaged tiff file"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto file = temp.Write(std::string(row.name) + ".pic", row.bytes);
    const auto picture = ReadPicture(file);
    ASSERT_FALSE(picture.ok());
    EXPECT_NE(picture.status().detail().find(row.reason), std::string::npos) << picture.status().detail();
    EXPECT_NE(picture.status().detail().find(file.string()), std::string::npos) << picture.status().detail();
  }
  const auto missing = ReadPicture(temp / "missing.jpg");
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.status().detail().find("No such file"), std::string::npos) << missing.status().detail();
}

TEST(PictureFileTest, AJpegCutShortShowsWhatItHas) {
  test::TempFolder temp;
  const auto file = temp / "cut.jpg";
  Convert("-size 128x128 xc:red -seed 7 +noise Random -quality 90", file);
  std::vector<std::uint8_t> bytes = test::ReadBytes(file);
  const auto whole = DecodePicture(bytes);
  ASSERT_TRUE(whole.ok()) << whole.status().detail();
  bytes.resize(bytes.size() / 2);
  ReadWarnings warnings;
  const auto cut = DecodePicture(bytes, &warnings);
  ASSERT_TRUE(cut.ok()) << cut.status().detail();
  EXPECT_EQ(cut->size(), QSize(128, 128));
  // The rows that were in the file are as in the whole file.
  EXPECT_EQ(test::ImageDifference(whole->copy(0, 0, 128, 16), cut->copy(0, 0, 128, 16)), "");
  EXPECT_GE(warnings.dropped, 1u);
  EXPECT_FALSE(warnings.firstReason.empty());
}

TEST(PictureFileTest, AJpegThatClaimsTooManyPixelsIsRefusedBeforeDecoding) {
  test::TempFolder temp;
  const auto file = temp / "small.jpg";
  Convert("-size 8x8 xc:blue", file);
  std::vector<std::uint8_t> bytes = test::ReadBytes(file);
  // The frame header (FF C0, length, precision, height, width) claims 65000 x 65000.
  std::size_t sof = 2;
  while (sof + 9 < bytes.size() && !(bytes[sof] == 0xFF && bytes[sof + 1] == 0xC0)) ++sof;
  ASSERT_LT(sof + 9, bytes.size());
  for (const std::size_t at : {sof + 5, sof + 7}) {
    bytes[at] = 0xFD;
    bytes[at + 1] = 0xE8;
  }
  const auto picture = DecodePicture(bytes);
  ASSERT_FALSE(picture.ok());
  EXPECT_EQ(picture.status().detail(), "picture too large: 65000 x 65000 pixels (at most 64 Mpixel)");
}

}  // namespace
}  // namespace vantorel
