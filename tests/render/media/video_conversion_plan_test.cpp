#include "render/media/video_conversion_plan.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/text_ids.h"
#include "platform/md5_digest.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

VideoMediaInfo Info(int width, int height, std::int64_t bitRate, int num = 24, int den = 1) {
  VideoMediaInfo info;
  info.width = width;
  info.height = height;
  info.bitRate = bitRate;
  info.frameRateNum = num;
  info.frameRateDen = den;
  info.durationMs = 2000;
  return info;
}

class VideoConversionPlanTest : public ::testing::Test {
protected:
  VideoConversionPlanTest() {
    m_source = m_folder.Write("clips/clip.mp4", "pretend video");
    std::filesystem::create_directories(m_media);
    m_context.converterAvailable = true;
    m_context.pictureSize = [this](const std::filesystem::path&) { return m_convertedSize; };
  }

  VideoConversionRequest Request(int w, int h, int mode = 0) const {
    VideoConversionRequest request;
    request.source = m_source;
    request.windowWidth = w;
    request.windowHeight = h;
    request.mode = mode;
    request.folder = m_media;
    return request;
  }

  Expected<VideoConversionPlan> Plan(const VideoConversionRequest& request, const Expected<VideoMediaInfo>& info) {
    return PlanVideoConversion(request, info, m_log, m_context);
  }

  // A record of an earlier conversion of the source to "clip$1.mp4" at 64 x 32, mode 0.
  VideoConversionRecord EarlierConversion() {
    const auto stamp = ReadRecordFileStamp(m_source);
    VideoConversionRecord record;
    record.source = RecordSourcePath(m_source);
    record.sourceSize = stamp->size;
    record.sourceTime = stamp->time;
    record.sourceDigest = *Md5HexOfFile(m_source);
    record.converted = "clip$1.mp4";
    m_folder.Write("media/clip$1.mp4", "converted");
    record.convertedSize = 9;
    record.width = 64;
    record.height = 32;
    return record;
  }

  test::TempFolder m_folder;
  std::filesystem::path m_source;
  const std::filesystem::path m_media = m_folder / "media";
  CConversionLog m_log{m_media};
  VideoPlanContext m_context;
  std::optional<std::pair<int, int>> m_convertedSize = std::pair{64, 32};
};

TEST_F(VideoConversionPlanTest, ThresholdsOfSizeRateAndBitRate) {
  struct Row {
    const char* name;
    int w, h;
    VideoMediaInfo info;
    VideoPlanKind kind;
    std::int64_t bitRate;  // of a conversion
    int num, den;          // of a conversion
  };
  constexpr auto kNone = VideoPlanKind::kNone;
  constexpr auto kConvert = VideoPlanKind::kConvert;
  const Row rows[] = {
      {"160x120 at 15 fps for 64x32", 64, 32, Info(160, 120, 200000, 15), kNone, 0, 0, 0},
      {"W at 240", 32, 32, Info(240, 400, 0), kNone, 0, 0, 0},
      {"W just above 240", 32, 32, Info(241, 400, 0), kConvert, kDefaultVideoBitRate, 24, 1},
      {"H at 160", 32, 32, Info(400, 160, 0), kNone, 0, 0, 0},
      {"H just above 160", 32, 32, Info(400, 161, 0), kConvert, kDefaultVideoBitRate, 24, 1},
      {"w x 1.2 reaches W", 500, 32, Info(600, 480, 900000), kNone, 0, 0, 0},
      {"w x 1.2 just below W", 499, 32, Info(600, 480, 900000), kConvert, 900000, 24, 1},
      {"h x 1.2 reaches H", 32, 400, Info(640, 480, 900000), kNone, 0, 0, 0},
      {"h x 1.2 just below H", 32, 399, Info(640, 480, 900000), kConvert, 900000, 24, 1},
      {"large source, rate above 1310720", 64, 32, Info(640, 480, 1310721), kConvert, 1048576, 24, 1},
      {"large source, rate at 1310720", 64, 32, Info(640, 480, 1310720), kConvert, 1310720, 24, 1},
      {"W at 320 is not large", 64, 32, Info(320, 480, 1400000), kConvert, 1400000, 24, 1},
      {"small source, rate above 1835008", 64, 32, Info(320, 240, 1835009), kConvert, 1572864, 24, 1},
      {"small source, rate at 1835008", 64, 32, Info(320, 240, 1835008), kConvert, 1835008, 24, 1},
      {"half width and more than half height", 160, 121, Info(320, 240, 1000000), kNone, 0, 0, 0},
      {"height exactly half", 160, 120, Info(320, 240, 1000000), kConvert, 1000000, 24, 1},
      {"width below half", 159, 121, Info(320, 240, 1000000), kConvert, 1000000, 24, 1},
      {"half rule with a high rate converts", 160, 121, Info(320, 240, 2000000), kConvert, 1572864, 24, 1},
      {"integer half of an odd width", 159, 121, Info(319, 241, 1000000), kNone, 0, 0, 0},
      {"23.976 fps kept", 64, 32, Info(640, 480, 1000000, 24000, 1001), kConvert, 1000000, 24000, 1001},
      {"24.5 fps is above 24: converted, rate kept", 64, 32, Info(160, 120, 100000, 49, 2), kConvert, 100000, 49, 2},
      {"25 fps small source converted at 24", 64, 32, Info(160, 120, 100000, 25), kConvert, 100000, 24, 1},
      {"29.97 fps at 24, bit rate not lowered", 64, 32, Info(640, 480, 5000000, 30000, 1001), kConvert, 5000000, 24,
       1},
      {"fits the window at 30 fps still converted", 600, 400, Info(640, 480, 0, 30), kConvert, kDefaultVideoBitRate,
       24, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<VideoConversionPlan> plan = Plan(Request(row.w, row.h), row.info);
    ASSERT_TRUE(plan) << plan.status().detail();
    EXPECT_EQ(plan->kind, row.kind);
    if (row.kind == kNone) {
      EXPECT_EQ(plan->reason, kTextVideoFitsWindow);
      continue;
    }
    EXPECT_EQ(plan->bitRate, row.bitRate);
    EXPECT_EQ(plan->frameRateNum, row.num);
    EXPECT_EQ(plan->frameRateDen, row.den);
    EXPECT_EQ(plan->width, row.w + row.w % 2);
    EXPECT_EQ(plan->height, row.h + row.h % 2);
    EXPECT_EQ(plan->output, m_media / "clip$1.mp4");
    EXPECT_EQ(plan->sourceDurationMs, 2000);
  }
}

TEST_F(VideoConversionPlanTest, UnusableInformationIsAClearFailure) {
  struct Row {
    const char* name;
    int w, h;
    Expected<VideoMediaInfo> info;
  };
  const Row rows[] = {
      {"denominator 0", 64, 32, Info(640, 480, 0, 25, 0)},
      {"numerator 0", 64, 32, Info(640, 480, 0, 0, 1)},
      {"width 0", 64, 32, Info(0, 480, 0)},
      {"height 0", 64, 32, Info(640, 0, 0)},
      {"window without pixels", 0, 32, Info(640, 480, 0)},
      {"unreadable", 64, 32, Status::Failure(kNoTextId, "clip.mp4: no video stream")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<VideoConversionPlan> plan = Plan(Request(row.w, row.h), row.info);
    ASSERT_FALSE(plan);
    EXPECT_EQ(plan.status().text(), kTextVideoInfoUnreadable);
    EXPECT_NE(plan.status().detail().find("clip.mp4"), std::string::npos) << plan.status().detail();
  }
}

TEST_F(VideoConversionPlanTest, SourcesThatAreNeverConverted) {
  const auto converted = m_folder.Write("clips/clip$1.mp4", "converted earlier");
  struct Row {
    const char* name;
    std::filesystem::path source;
    bool converter;
    TextId reason;
  };
  const Row rows[] = {
      {"a converted file", converted, true, kTextVideoIsConverted},
      {"missing", m_folder / "clips/absent.mp4", true, kTextVideoSourceMissing},
      {"a folder", m_folder / "clips", true, kTextVideoSourceMissing},
      {"no converter", m_source, false, kTextNoVideoConverter},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    VideoConversionRequest request = Request(64, 32);
    request.source = row.source;
    m_context.converterAvailable = row.converter;
    const Expected<VideoConversionPlan> plan = Plan(request, Info(1920, 1080, 8000000, 30));
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->kind, VideoPlanKind::kNone);
    EXPECT_EQ(plan->reason, row.reason);
  }
}

TEST_F(VideoConversionPlanTest, OutputTakesTheFirstFreeNumberAndEvenSides) {
  m_folder.Write("media/clip$1.mp4", "x");
  m_folder.Write("media/clip$2.mp4", "x");
  const auto dotted = m_folder.Write("clips/a.b.avi", "pretend video");
  VideoConversionRequest request = Request(33, 17);
  Expected<VideoConversionPlan> plan = Plan(request, Info(640, 480, 0, 30));
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->output, m_media / "clip$3.mp4");
  EXPECT_EQ(plan->width, 34);
  EXPECT_EQ(plan->height, 18);
  request.source = dotted;
  plan = Plan(request, Info(640, 480, 0, 30));
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->output, m_media / "a.b$1.mp4");
}

TEST_F(VideoConversionPlanTest, EarlierConversionIsReusedOnlyWhenEverythingMatches) {
  struct Row {
    const char* name;
    std::function<void(VideoConversionRecord&)> change;
    int w, h, mode;
    std::optional<std::pair<int, int>> convertedSize;
    bool reused;
    bool timeUpdated;
  };
  const Row rows[] = {
      {"same name, size and time", [](VideoConversionRecord&) {}, 64, 32, 0, std::pair{64, 32}, true, false},
      {"time differs, same digest", [](VideoConversionRecord& r) { r.sourceTime -= 10; }, 64, 32, 0,
       std::pair{64, 32}, true, true},
      {"time and digest differ",
       [](VideoConversionRecord& r) {
         r.sourceTime -= 10;
         r.sourceDigest = "00000000000000000000000000000000";
       },
       64, 32, 0, std::pair{64, 32}, false, false},
      {"time differs, no digest",
       [](VideoConversionRecord& r) {
         r.sourceTime -= 10;
         r.sourceDigest.clear();
       },
       64, 32, 0, std::pair{64, 32}, false, false},
      {"digest differs, same time", [](VideoConversionRecord& r) { r.sourceDigest = "ff"; }, 64, 32, 0,
       std::pair{64, 32}, true, false},
      {"other size of source", [](VideoConversionRecord& r) { r.sourceSize += 1; }, 64, 32, 0, std::pair{64, 32},
       false, false},
      {"other source", [](VideoConversionRecord& r) { r.source += ".old"; }, 64, 32, 0, std::pair{64, 32}, false,
       false},
      {"other mode", [](VideoConversionRecord&) {}, 64, 32, 2, std::pair{64, 32}, false, false},
      {"other window", [](VideoConversionRecord&) {}, 96, 32, 0, std::pair{64, 32}, false, false},
      {"odd window of the same output size", [](VideoConversionRecord&) {}, 63, 31, 0, std::pair{64, 32}, true,
       false},
      {"converted file has another picture size", [](VideoConversionRecord&) {}, 64, 32, 0, std::pair{96, 32}, false,
       false},
      {"converted file unreadable", [](VideoConversionRecord&) {}, 64, 32, 0, std::nullopt, false, false},
      {"converted file gone", [this](VideoConversionRecord&) { std::filesystem::remove(m_media / "clip$1.mp4"); },
       64, 32, 0, std::pair{64, 32}, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    VideoConversionRecord record = EarlierConversion();
    const std::uint64_t sourceTime = record.sourceTime;
    row.change(record);
    m_log = CConversionLog(m_media);
    m_log.Add(record);
    ASSERT_TRUE(m_log.Save());
    m_convertedSize = row.convertedSize;
    // A 30 fps source is always converted when nothing is reused.
    const Expected<VideoConversionPlan> plan = Plan(Request(row.w, row.h, row.mode), Info(640, 480, 0, 30));
    ASSERT_TRUE(plan) << plan.status().detail();
    if (row.reused) {
      EXPECT_EQ(plan->kind, VideoPlanKind::kReuse);
      EXPECT_EQ(plan->output, m_media / "clip$1.mp4");
    } else {
      EXPECT_EQ(plan->kind, VideoPlanKind::kConvert);
    }
    EXPECT_EQ(m_log.IsModified(), row.timeUpdated);
    if (row.timeUpdated) {
      EXPECT_EQ(m_log.Records()[0].sourceTime, sourceTime);
    }
  }
}

TEST_F(VideoConversionPlanTest, ReuseComesBeforeTheSizeRules) {
  // A record found first: even a video that would not be converted gives its earlier conversion.
  m_log.Add(EarlierConversion());
  const Expected<VideoConversionPlan> plan = Plan(Request(64, 32), Info(160, 120, 0, 15));
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->kind, VideoPlanKind::kReuse);
}

}  // namespace
}  // namespace vantorel
