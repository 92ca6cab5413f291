#include "render/media/video_converter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/text_ids.h"
#include "codecs/video_media_info.h"
#include "platform/md5_digest.h"
#include "support/temp_folder.h"
#include "support/test_video.h"

namespace vantorel {
namespace {

VideoConversionJob Job(const VideoConversionRequest& request, const VideoConversionPlan& plan,
                       const std::atomic<bool>* cancel = nullptr) {
  VideoConversionJob job;
  job.request = request;
  job.plan = plan;
  job.cancel = cancel;
  return job;
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(VideoConverterTest, ProgressLinesGivePercentages) {
  struct Row {
    const char* line;
    std::int64_t durationMs;
    std::optional<int> percent;
  };
  const Row rows[] = {
      {"out_time_us=1000000", 2000, 50},
      {"out_time_ms=1500000", 2000, 75},  // microseconds under the old name
      {"out_time_us=1999999", 2000, 99},
      {"out_time_us=2040000", 2000, 99},  // the last frame ends after the duration: 100 comes at the end
      {"out_time_us=N/A", 2000, std::nullopt},
      {"out_time_us=-23000", 2000, 0},
      {"out_time_us=1000000", 0, 0},      // duration unknown
      {"out_time=00:00:01.000000", 2000, std::nullopt},
      {"progress=continue", 2000, std::nullopt},
      {"out_time_us=9223372036854775807", 1, 99},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    EXPECT_EQ(ConversionProgressPercent(row.line, row.durationMs), row.percent);
  }
}

TEST(VideoConverterTest, ArgumentsCarryThePlan) {
  VideoConversionPlan plan;
  plan.kind = VideoPlanKind::kConvert;
  plan.width = 64;
  plan.height = 32;
  plan.frameRateNum = 24000;
  plan.frameRateDen = 1001;
  plan.bitRate = 1048576;
  const auto arguments = VideoConverterArguments("/v/a:b, c.mp4", plan, "/m/.~a$1.mp4.x.part");
  const auto after = [&arguments](const std::string& option) {
    const auto at = std::find(arguments.begin(), arguments.end(), option);
    return at == arguments.end() || at + 1 == arguments.end() ? std::string("(none)") : *(at + 1);
  };
  EXPECT_EQ(after("-i"), "file:/v/a:b, c.mp4");
  EXPECT_EQ(after("-vf"), "scale=64:32,setsar=1");
  EXPECT_EQ(after("-r"), "24000/1001");
  EXPECT_EQ(after("-b:v"), "1048576");
  EXPECT_EQ(after("-progress"), "pipe:1");
  EXPECT_EQ(after("-f"), "mp4");
  EXPECT_EQ(arguments.back(), "file:/m/.~a$1.mp4.x.part");
  EXPECT_NE(std::find(arguments.begin(), arguments.end(), "-y"), arguments.end());
  EXPECT_NE(std::find(arguments.begin(), arguments.end(), "-nostats"), arguments.end());
}

class VideoConversionTest : public ::testing::Test {
protected:
  void SetUp() override {
    VANTOREL_NEED_FFMPEG();
    std::filesystem::create_directories(m_folder / "clips");
    m_source = test::MakeTestVideo(m_folder / "clips/clip.mp4", {.width = 640, .height = 360, .rate = 30, .seconds = 2, .extra = ""});
    std::filesystem::create_directories(m_media);
  }

  VideoConversionRequest Request() const {
    VideoConversionRequest request;
    request.source = m_source;
    request.windowWidth = 64;
    request.windowHeight = 32;
    request.mode = 1;
    request.folder = m_media;
    return request;
  }

  // Plans with the log of the media folder as it is on disk.
  VideoConversionPlan PlanNow(CConversionLog& log) {
    Expected<CConversionLog> loaded = CConversionLog::Load(m_media);
    EXPECT_TRUE(loaded);
    log = *loaded;
    const Expected<VideoConversionPlan> plan = PlanVideoConversion(Request(), log);
    EXPECT_TRUE(plan) << plan.status().detail();
    return plan ? *plan : VideoConversionPlan{};
  }

  test::TempFolder m_folder;
  std::filesystem::path m_source;
  const std::filesystem::path m_media = m_folder / "media";
};

TEST_F(VideoConversionTest, ConvertsWithProgressAndRecordsTheConversion) {
  CConversionLog log;
  const VideoConversionPlan plan = PlanNow(log);
  ASSERT_EQ(plan.kind, VideoPlanKind::kConvert);
  EXPECT_EQ(plan.output, m_media / "clip$1.mp4");
  VideoConversionJob job = Job(Request(), plan);
  std::vector<int> progress;
  job.onProgress = [&progress](int percent) { progress.push_back(percent); };
  const Expected<std::filesystem::path> converted = ConvertVideo(job, log);
  ASSERT_TRUE(converted) << converted.status().detail();
  EXPECT_EQ(*converted, m_media / "clip$1.mp4");
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress.back(), 100);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_EQ(std::adjacent_find(progress.begin(), progress.end()), progress.end());

  const Expected<VideoMediaInfo> info = ReadVideoMediaInfo(*converted);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->width, 64);
  EXPECT_EQ(info->height, 32);
  EXPECT_EQ(info->frameRateNum, 24 * info->frameRateDen);
  EXPECT_EQ(FilesIn(m_media), std::vector<std::string>{"clip$1.mp4"});  // no temporary file left

  ASSERT_EQ(log.Records().size(), 1u);
  const VideoConversionRecord& record = log.Records()[0];
  EXPECT_EQ(record.source, m_source.string());
  EXPECT_EQ(record.sourceSize, std::filesystem::file_size(m_source));
  EXPECT_EQ(record.sourceDigest, *Md5HexOfFile(m_source));
  EXPECT_EQ(record.sourceMode, 1);
  EXPECT_EQ(record.converted, "clip$1.mp4");
  EXPECT_EQ(record.convertedSize, std::filesystem::file_size(*converted));
  EXPECT_EQ(record.convertedDigest, *Md5HexOfFile(*converted));
  EXPECT_EQ(record.convertedTime, ReadRecordFileStamp(*converted)->time);
  EXPECT_EQ(record.width, 64);
  EXPECT_EQ(record.height, 32);
  EXPECT_TRUE(log.IsModified());
  ASSERT_TRUE(log.Save());
}

TEST_F(VideoConversionTest, LaterPlansReuseByNameSizeAndTimeThenByDigest) {
  CConversionLog log;
  VideoConversionPlan plan = PlanNow(log);
  ASSERT_TRUE(ConvertVideo(Job(Request(), plan), log));
  ASSERT_TRUE(log.Save());

  plan = PlanNow(log);
  EXPECT_EQ(plan.kind, VideoPlanKind::kReuse);
  EXPECT_EQ(plan.output, m_media / "clip$1.mp4");
  EXPECT_FALSE(log.IsModified());

  // Touched: another time, the same content. The digest finds it; the new time is kept.
  const auto touched = std::filesystem::last_write_time(m_source) + std::chrono::seconds(90);
  std::filesystem::last_write_time(m_source, touched);
  plan = PlanNow(log);
  EXPECT_EQ(plan.kind, VideoPlanKind::kReuse);
  EXPECT_TRUE(log.IsModified());
  ASSERT_TRUE(log.Save());
  Expected<CConversionLog> reread = CConversionLog::Load(m_media);
  ASSERT_TRUE(reread);
  ASSERT_EQ(reread->Records().size(), 1u);
  EXPECT_EQ(reread->Records()[0].sourceTime, ReadRecordFileStamp(m_source)->time);

  // Touched with new content of the same size: converted again, to the next name.
  std::string bytes = m_folder.Read("clips/clip.mp4");
  bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x01);
  m_folder.Write("clips/clip.mp4", bytes);
  std::filesystem::last_write_time(m_source, touched + std::chrono::seconds(90));
  plan = PlanNow(log);
  EXPECT_EQ(plan.kind, VideoPlanKind::kConvert);
  EXPECT_EQ(plan.output, m_media / "clip$2.mp4");
}

TEST_F(VideoConversionTest, VanishedConvertedFileDropsItsRecordAndTheLogIsRewritten) {
  CConversionLog log;
  const VideoConversionPlan plan = PlanNow(log);
  ASSERT_TRUE(ConvertVideo(Job(Request(), plan), log));
  ASSERT_TRUE(log.Save());
  std::filesystem::remove(m_media / "clip$1.mp4");
  const VideoConversionPlan again = PlanNow(log);
  EXPECT_EQ(log.StaleCount(), 1u);
  EXPECT_TRUE(log.Records().empty());
  EXPECT_EQ(again.kind, VideoPlanKind::kConvert);
  EXPECT_EQ(again.output, m_media / "clip$1.mp4");
  ASSERT_TRUE(log.Save());
  EXPECT_FALSE(std::filesystem::exists(m_media / "~cnvlog.txt"));  // no record left: no log
}

TEST_F(VideoConversionTest, CancelLeavesNothingBehind) {
  m_source = test::MakeTestVideo(m_folder / "clips/long.mp4", {.width = 640, .height = 360, .rate = 30, .seconds = 10, .extra = ""});
  CConversionLog log(m_media);
  VideoConversionRequest request = Request();
  request.source = m_source;
  Expected<VideoConversionPlan> plan = PlanVideoConversion(request, log);
  ASSERT_TRUE(plan);
  ASSERT_EQ(plan->kind, VideoPlanKind::kConvert);
  std::atomic<bool> cancel{false};
  VideoConversionJob job = Job(request, *plan, &cancel);
  job.onProgress = [&cancel](int) { cancel = true; };  // at the first report, before any frame is done
  const auto started = std::chrono::steady_clock::now();
  const Expected<std::filesystem::path> converted = ConvertVideo(job, log);
  ASSERT_FALSE(converted);
  EXPECT_EQ(converted.status().text(), kTextVideoConversionCancelled);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  EXPECT_TRUE(FilesIn(m_media).empty());
  EXPECT_TRUE(log.Records().empty());
}

TEST_F(VideoConversionTest, FailureCarriesTheConvertersOwnWords) {
  const auto broken = m_folder.Write("clips/broken.mp4", std::string(4096, 'x'));
  VideoConversionRequest request = Request();
  request.source = broken;
  VideoConversionPlan plan;
  plan.kind = VideoPlanKind::kConvert;
  plan.output = m_media / "broken$1.mp4";
  plan.width = 64;
  plan.height = 32;
  plan.frameRateNum = 24;
  plan.bitRate = 1048576;
  CConversionLog log(m_media);
  const Expected<std::filesystem::path> converted = ConvertVideo(Job(request, plan), log);
  ASSERT_FALSE(converted);
  EXPECT_EQ(converted.status().text(), kTextVideoConversionFailed);
  EXPECT_NE(converted.status().detail().find("broken.mp4"), std::string::npos) << converted.status().detail();
  EXPECT_NE(converted.status().detail().find("Invalid data"), std::string::npos) << converted.status().detail();
  EXPECT_TRUE(FilesIn(m_media).empty());
  EXPECT_TRUE(log.Records().empty());
}

TEST_F(VideoConversionTest, ThreadsConvertingTheSamePlanNeverShareAFile) {
  CConversionLog log(m_media);
  const Expected<VideoConversionPlan> plan = PlanVideoConversion(Request(), log);
  ASSERT_TRUE(plan);
  CConversionLog logs[2] = {CConversionLog(m_media), CConversionLog(m_media)};
  Expected<std::filesystem::path> results[2] = {Status::Failure(kNoTextId), Status::Failure(kNoTextId)};
  std::thread threads[2];
  for (int i = 0; i < 2; ++i) {
    threads[i] = std::thread([&, i] { results[i] = ConvertVideo(Job(Request(), *plan), logs[i]); });
  }
  for (std::thread& thread : threads) thread.join();
  ASSERT_TRUE(results[0]) << results[0].status().detail();
  ASSERT_TRUE(results[1]) << results[1].status().detail();
  EXPECT_NE(*results[0], *results[1]);
  EXPECT_EQ(FilesIn(m_media), (std::vector<std::string>{"clip$1.mp4", "clip$2.mp4"}));
}

// PATH without the program for the life of the object.
class PathWithoutPrograms {
public:
  explicit PathWithoutPrograms(const std::filesystem::path& empty) {
    if (const char* path = std::getenv("PATH")) m_saved = path;
    ::setenv("PATH", empty.c_str(), 1);
  }
  ~PathWithoutPrograms() { ::setenv("PATH", m_saved.c_str(), 1); }
  PathWithoutPrograms(const PathWithoutPrograms&) = delete;
  PathWithoutPrograms& operator=(const PathWithoutPrograms&) = delete;

private:
  std::string m_saved;
};

TEST(VideoConverterTest, WithoutTheProgramNothingIsConverted) {
  test::TempFolder folder;
  const auto source = folder.Write("clip.mp4", "pretend video");
  std::filesystem::create_directories(folder / "empty");
  const PathWithoutPrograms path(folder / "empty");
  EXPECT_FALSE(VideoConverterAvailable());
  CConversionLog log(folder.Path());
  VideoConversionRequest request{source, 64, 32, 0, folder.Path()};
  const Expected<VideoConversionPlan> plan = PlanVideoConversion(request, log);
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->kind, VideoPlanKind::kNone);
  EXPECT_EQ(plan->reason, kTextNoVideoConverter);
  VideoConversionPlan forced;
  forced.kind = VideoPlanKind::kConvert;
  forced.output = folder / "clip$1.mp4";
  const Expected<std::filesystem::path> converted = ConvertVideo(Job(request, forced), log);
  ASSERT_FALSE(converted);
  EXPECT_EQ(converted.status().text(), kTextNoVideoConverter);
}

}  // namespace
}  // namespace vantorel
