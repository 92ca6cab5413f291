#pragma once
// The record of videos converted for a screen: the text file "~cnvlog.txt" in the screen's media
// folder, one converted video a line:
//
//   src=/home/ana/clips/intro.mp4, ssz=1843200, sft=01dc6a3b9f2e4c80, sm5=<md5>, smd=1,
//   dst=intro$1.mp4, dsz=52311, dft=01dc6a3ba0c51200, dm5=<md5>, vw=64, vh=32
//
// (on one line). A video is converted once: a later conversion of the same source for the same
// picture size and placement mode reuses the file named by "dst", which lies beside the record
// file. The keys, their order and the ", " between them are fixed; docs/video-conversion.md has
// the details.
//
// Times ("sft", "dft") are file modification times counted in 100-nanosecond ticks since
// 1601-01-01 00:00 UTC, written as two 32-bit halves in hexadecimal ("%08x%08x", high half
// first), as the records have always been stored.
//
// Paths may contain ", ": "src" ends at the first ", ssz=" that the fixed fields "ssz" to "smd"
// and ", dst=" follow, and "dst" runs up to the fixed fields at the end of the line ("dsz" to
// "vh", which never contain ", "). Stored paths may use "\" or "/" between folders.
//
// A CConversionLog belongs to one owner (the data maker of one screen); it is not shared by
// threads.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace vantorel {

struct VideoConversionRecord {
  std::string source;            // src: the source video's full path ("/" between folders)
  std::uint64_t sourceSize = 0;  // ssz
  std::uint64_t sourceTime = 0;  // sft: 100-ns ticks since 1601-01-01 UTC
  std::string sourceDigest;      // sm5: lower-case hex, at most 40 characters
  int sourceMode = 0;            // smd: the placement mode the video was converted for
  std::string converted;         // dst: the converted file's name, in the record file's folder
  std::uint64_t convertedSize = 0;  // dsz
  std::uint64_t convertedTime = 0;  // dft
  std::string convertedDigest;      // dm5
  int width = 0;                    // vw: picture size of the converted video
  int height = 0;                   // vh

  friend bool operator==(const VideoConversionRecord&, const VideoConversionRecord&) = default;
};

inline constexpr std::size_t kMaxRecordDigestLength = 40;

// The media folder of a screen: converted videos and their log ("_av0001" for screen 1).
std::filesystem::path ScreenMediaFolder(const std::filesystem::path& workFolder, int screenId);

// A file's size and modification time as the records store them.
struct RecordFileStamp {
  std::uint64_t size = 0;
  std::uint64_t time = 0;  // 100-ns ticks since 1601-01-01 UTC; 0 for a time before then
};
// Nothing when `file` is not a regular file.
std::optional<RecordFileStamp> ReadRecordFileStamp(const std::filesystem::path& file);

// One record as its line, without the line end.
std::string ConversionRecordLine(const VideoConversionRecord& record);
// The records of a record file's text ("\r\n" or "\n" line ends). A line that is not a record is
// dropped and counted in `warnings` ("line 3: no \"vw\""); empty lines are skipped silently.
std::vector<VideoConversionRecord> ParseConversionRecords(std::string_view text, ReadWarnings& warnings);

class CConversionLog {
public:
  static constexpr std::string_view kFileName = "~cnvlog.txt";

  // An empty log of `folder` that has not been read (nothing to save until a record is added).
  explicit CConversionLog(std::filesystem::path folder = {}) : m_folder(std::move(folder)) {}

  // The log of media folder `folder`; a missing record file is an empty log. Records whose source
  // or converted file has vanished or changed size are left out, and the log is then marked for
  // rewriting. Fails only when the record file exists but cannot be read.
  static Expected<CConversionLog> Load(const std::filesystem::path& folder);

  const std::filesystem::path& Folder() const { return m_folder; }
  std::filesystem::path FilePath() const { return m_folder / kFileName; }
  const std::vector<VideoConversionRecord>& Records() const { return m_records; }
  // Lines of the file that were not records.
  const ReadWarnings& Warnings() const { return m_warnings; }
  // Records left out because their files vanished or changed.
  std::size_t StaleCount() const { return m_stale; }
  bool IsModified() const { return m_modified; }

  // The converted file of `record` (beside the record file).
  std::filesystem::path ConvertedPath(const VideoConversionRecord& record) const;

  // Adds `record`, replacing records of the same converted file and those of the same source,
  // mode and picture size (a conversion made again supersedes the earlier one).
  void Add(VideoConversionRecord record);
  // Gives record `index` the source time `time` (the source was touched but its content is the
  // same).
  void SetSourceTime(std::size_t index, std::uint64_t time);

  // Writes the record file (atomically) when something changed since it was read or saved; the
  // media folder is made first. A log left without records is removed instead of written empty.
  Status Save();

private:
  std::filesystem::path m_folder;
  std::vector<VideoConversionRecord> m_records;
  ReadWarnings m_warnings;
  std::size_t m_stale = 0;
  bool m_modified = false;
};

}  // namespace vantorel
