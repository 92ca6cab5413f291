#include "render/media/conversion_log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace vantorel {
namespace {

const std::string kDigestA = "0cc175b9c0f1b6a831c399e269772661";
const std::string kDigestB = "900150983cd24fb0d6963f7d28e17f72";

VideoConversionRecord SampleRecord() {
  VideoConversionRecord record;
  record.source = "/home/ana/clips/intro.mp4";
  record.sourceSize = 1843200;
  record.sourceTime = 0x01d5c03669050000;
  record.sourceDigest = kDigestA;
  record.sourceMode = 1;
  record.converted = "intro$1.mp4";
  record.convertedSize = 52311;
  record.convertedTime = 0x01d5c0366917d687;
  record.convertedDigest = kDigestB;
  record.width = 64;
  record.height = 32;
  return record;
}

TEST(ConversionLogTest, LineHasTheStoredLayout) {
  EXPECT_EQ(ConversionRecordLine(SampleRecord()),
            "src=/home/ana/clips/intro.mp4, ssz=1843200, sft=01d5c03669050000, sm5=" + kDigestA +
                ", smd=1, dst=intro$1.mp4, dsz=52311, dft=01d5c0366917d687, dm5=" + kDigestB + ", vw=64, vh=32");
}

TEST(ConversionLogTest, RecordsReadBackWhateverTheirPathsHold) {
  struct Row {
    const char* name;
    std::string source;
    std::string converted;
  };
  const Row rows[] = {
      {"plain", "/v/a.mp4", "a$1.mp4"},
      {"comma space in both", "/v/Summer, 2024, ssz=7/a, b.mp4", "a, b$1.mp4"},
      {"a dst key in the source", "/v/x, dst=y.mp4", "x, dst=y$1.mp4"},
      {"fixed keys in the converted name", "/v/c.mp4", "c, dsz=1, vw=2, vh=3$1.mp4"},
      {"empty digests", "/v/d.mp4", "d$2.mp4"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    VideoConversionRecord record = SampleRecord();
    record.source = row.source;
    record.converted = row.converted;
    if (std::string(row.name) == "empty digests") record.sourceDigest = record.convertedDigest = "";
    ReadWarnings warnings;
    const auto records = ParseConversionRecords(ConversionRecordLine(record) + "\r\n", warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.firstReason;
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], record);
  }
}

TEST(ConversionLogTest, StoredFormsAreNormalised) {
  // Backslashes, upper-case hex, a folder in "dst" and "\n" line ends are all read.
  ReadWarnings warnings;
  const auto records = ParseConversionRecords(
      "src=C:\\clips\\intro.mp4, ssz=5, sft=01D5C03669050000, sm5=0CC175B9C0F1B6A831C399E269772661, smd=-2, "
      "dst=D:\\work\\_av0001\\intro$1.mp4, dsz=6, dft=0000000000000000, dm5=, vw=1, vh=2\n",
      warnings);
  ASSERT_EQ(records.size(), 1u) << warnings.firstReason;
  EXPECT_EQ(records[0].source, "C:/clips/intro.mp4");
  EXPECT_EQ(records[0].converted, "intro$1.mp4");
  EXPECT_EQ(records[0].sourceDigest, kDigestA);
  EXPECT_EQ(records[0].sourceTime, 0x01d5c03669050000u);
  EXPECT_EQ(records[0].sourceMode, -2);
  EXPECT_EQ(records[0].convertedDigest, "");
}

TEST(ConversionLogTest, BadLinesAreDroppedAndCounted) {
  const std::string good = ConversionRecordLine(SampleRecord());
  const auto with = [&good](const std::string& from, const std::string& to) {
    std::string line = good;
    line.replace(line.find(from), from.size(), to);
    return line;
  };
  struct Row {
    const char* name;
    std::string line;
    const char* reason;
  };
  const Row rows[] = {
      {"no src", with("src=", "source="), "no \"src\""},
      {"no vh", with(", vh=32", ""), "no \"vh\""},
      {"no dsz", with(", dsz=", ", dsize="), "no \"dsz\""},
      {"size overflow", with("ssz=1843200", "ssz=18446744073709551616"), "between"},
      {"negative size", with("dsz=52311", "dsz=-1"), "dsz"},
      {"plus sign", with("ssz=1843200", "ssz=+1843200"), "between"},
      {"short time", with("sft=01d5c03669050000", "sft=1d5c03669050000"), "between"},
      {"time not hex", with("dft=01d5c0366917d687", "dft=01d5c0366917d68g"), "dft"},
      {"digest too long", with(kDigestB, kDigestB + "012345678"), "dm5"},
      {"digest not hex", with(kDigestA, "zz"), "between"},
      {"mode not a number", with("smd=1", "smd=one"), "between"},
      {"mode overflow", with("smd=1", "smd=2147483648"), "between"},
      {"zero width", with("vw=64", "vw=0"), "picture size"},
      {"height not a number", with("vh=32", "vh=32x"), "picture size"},
      {"empty source", with("/home/ana/clips/intro.mp4", ""), "empty \"src\""},
      {"empty converted", with("intro$1.mp4", ""), "dst"},
      {"converted is a folder", with("intro$1.mp4", "x/.."), "dst"},
      {"fields out of order", with(", sm5=" + kDigestA + ", smd=1", ", smd=1, sm5=" + kDigestA), "between"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ReadWarnings warnings;
    const auto records = ParseConversionRecords(good + "\r\n\r\n" + row.line + "\r\n" + good, warnings);
    EXPECT_EQ(records.size(), 2u);
    EXPECT_EQ(warnings.dropped, 1u);
    EXPECT_NE(warnings.firstReason.find("line 3: "), std::string::npos) << warnings.firstReason;
    EXPECT_NE(warnings.firstReason.find(row.reason), std::string::npos) << warnings.firstReason;
  }
}

TEST(ConversionLogTest, TimeIsTheModificationTimeIn100nsTicksSince1601) {
  test::TempFolder folder;
  const auto file = folder.Write("clip.mp4", "12345");
  using namespace std::chrono;
  const sys_time<nanoseconds> moment = sys_days{2020y / January / 1} + nanoseconds(123456789);
  std::filesystem::last_write_time(file, file_clock::from_sys(moment));
  const auto stamp = ReadRecordFileStamp(file);
  ASSERT_TRUE(stamp);
  EXPECT_EQ(stamp->size, 5u);
  EXPECT_EQ(stamp->time, 0x01d5c03669050000u + 1234567u);
  EXPECT_FALSE(ReadRecordFileStamp(folder / "absent.mp4"));
  EXPECT_FALSE(ReadRecordFileStamp(folder.Path()));
}

class ConversionLogFileTest : public ::testing::Test {
protected:
  // A record whose source and converted files exist with the sizes it names.
  VideoConversionRecord Existing(const std::string& name) {
    VideoConversionRecord record = SampleRecord();
    record.source = m_folder.Write("clips/" + name + ".mp4", "source " + name).string();
    record.sourceSize = 7 + name.size();
    record.converted = name + "$1.mp4";
    m_folder.Write("media/" + record.converted, "out");
    record.convertedSize = 3;
    return record;
  }
  std::string RecordText(const std::vector<VideoConversionRecord>& records) {
    std::string text;
    for (const auto& record : records) text += ConversionRecordLine(record) + "\r\n";
    return text;
  }

  test::TempFolder m_folder;
  const std::filesystem::path m_media = m_folder / "media";
};

TEST_F(ConversionLogFileTest, MissingFileIsAnEmptyLogThatIsNotWritten) {
  std::filesystem::create_directories(m_media);
  Expected<CConversionLog> log = CConversionLog::Load(m_media);
  ASSERT_TRUE(log);
  EXPECT_TRUE(log->Records().empty());
  EXPECT_FALSE(log->IsModified());
  ASSERT_TRUE(log->Save());
  EXPECT_FALSE(std::filesystem::exists(m_media / CConversionLog::kFileName));
}

TEST_F(ConversionLogFileTest, VanishedOrChangedFilesDropTheirRecordsAndTheFileIsRewritten) {
  const auto kept = Existing("kept");
  auto sourceGone = Existing("sourcegone");
  auto convertedGone = Existing("convertedgone");
  auto sourceGrew = Existing("sourcegrew");
  auto convertedShrank = Existing("convertedshrank");
  const std::string bad = "src=broken line";
  m_folder.Write("media/~cnvlog.txt", RecordText({kept, sourceGone, convertedGone, sourceGrew, convertedShrank}) + bad);
  std::filesystem::remove(sourceGone.source);
  std::filesystem::remove(m_media / convertedGone.converted);
  m_folder.Write(std::filesystem::relative(sourceGrew.source, m_folder.Path()), "source sourcegrew!");
  m_folder.Write("media/" + convertedShrank.converted, "ou");

  Expected<CConversionLog> log = CConversionLog::Load(m_media);
  ASSERT_TRUE(log);
  ASSERT_EQ(log->Records().size(), 1u);
  EXPECT_EQ(log->Records()[0], kept);
  EXPECT_EQ(log->StaleCount(), 4u);
  EXPECT_EQ(log->Warnings().dropped, 1u);
  EXPECT_TRUE(log->IsModified());
  ASSERT_TRUE(log->Save());
  EXPECT_FALSE(log->IsModified());
  EXPECT_EQ(m_folder.Read("media/~cnvlog.txt"), RecordText({kept}));
}

TEST_F(ConversionLogFileTest, SoundFileIsNotWrittenAgain) {
  const auto a = Existing("a");
  // A bad line stays as long as nothing changes: nothing is written.
  const std::string text = RecordText({a}) + "a line of a newer version\r\n";
  m_folder.Write("media/~cnvlog.txt", text);
  Expected<CConversionLog> log = CConversionLog::Load(m_media);
  ASSERT_TRUE(log);
  EXPECT_FALSE(log->IsModified());
  log->SetSourceTime(0, a.sourceTime);
  EXPECT_FALSE(log->IsModified());
  ASSERT_TRUE(log->Save());
  EXPECT_EQ(m_folder.Read("media/~cnvlog.txt"), text);
  log->SetSourceTime(0, a.sourceTime + 1);
  EXPECT_TRUE(log->IsModified());
  ASSERT_TRUE(log->Save());
  auto touched = a;
  touched.sourceTime += 1;
  EXPECT_EQ(m_folder.Read("media/~cnvlog.txt"), RecordText({touched}));
}

TEST_F(ConversionLogFileTest, AddReplacesTheSameConversion) {
  CConversionLog log(m_media);
  const auto a = Existing("a");
  auto otherMode = a;
  otherMode.sourceMode = 2;
  otherMode.converted = "a$2.mp4";
  auto otherSize = a;
  otherSize.width = 32;
  otherSize.converted = "a$3.mp4";
  log.Add(a);
  log.Add(otherMode);
  log.Add(otherSize);
  ASSERT_EQ(log.Records().size(), 3u);
  auto again = a;  // converted again for the same mode and size
  again.converted = "a$4.mp4";
  log.Add(again);
  auto sameFile = otherMode;  // a new conversion written to the same file name
  sameFile.source = "/v/other.mp4";
  log.Add(sameFile);
  ASSERT_EQ(log.Records().size(), 3u);
  EXPECT_EQ(log.Records()[0], otherSize);
  EXPECT_EQ(log.Records()[1], again);
  EXPECT_EQ(log.Records()[2], sameFile);
  ASSERT_TRUE(log.Save());
  Expected<CConversionLog> read = CConversionLog::Load(m_media);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->StaleCount(), 3u);  // the converted files of these three were never made
}

TEST_F(ConversionLogFileTest, FolderIsMadeForRecordsAndTheFileRemovedWithoutThem) {
  EXPECT_EQ(ScreenMediaFolder("/w", 1), std::filesystem::path("/w/_av0001"));
  EXPECT_EQ(ScreenMediaFolder("/w", 254), std::filesystem::path("/w/_av00fe"));
  const auto folder = ScreenMediaFolder(m_folder.Path(), 3);
  CConversionLog log(folder);
  log.Add(SampleRecord());
  ASSERT_TRUE(log.Save());
  EXPECT_EQ(m_folder.Read("_av0003/~cnvlog.txt"), ConversionRecordLine(SampleRecord()) + "\r\n");
  Expected<CConversionLog> read = CConversionLog::Load(folder);  // the sample's files do not exist
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->Records().empty());
  ASSERT_TRUE(read->Save());
  EXPECT_FALSE(std::filesystem::exists(folder / CConversionLog::kFileName));
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST_F(ConversionLogFileTest, UnreadableFileFailsAndIsKept) {
  std::filesystem::create_directories(m_media / CConversionLog::kFileName);  // a folder in its place
  const Expected<CConversionLog> log = CConversionLog::Load(m_media);
  EXPECT_FALSE(log);
}

}  // namespace
}  // namespace vantorel
