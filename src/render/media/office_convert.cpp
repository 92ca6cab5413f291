#include "render/media/office_convert.h"

#include <QUrl>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "app/text_ids.h"
#include "platform/atomic_file.h"
#include "platform/child_process.h"

namespace vantorel {
namespace {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class WorkFolder {
public:
  WorkFolder() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    std::string pattern = (base / "vantorel-office-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) {
      m_path = pattern;
    } else {
      m_error = errno;
      m_path = base;
    }
  }
  ~WorkFolder() {
    if (m_error != 0) return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  int Error() const { return m_error; }
  const std::filesystem::path& Path() const { return m_path; }

private:
  std::filesystem::path m_path;
  int m_error = 0;
};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// Why LibreOffice wrote nothing, in its own words: its "Error:" lines, else the last line of its
// error output that is not the usual warning about Java, else how it ended.
std::string ReasonOf(const ProgramResult& result) {
  std::vector<std::string_view> errors;
  std::string_view lastOther;
  std::string_view rest = result.errorTail;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = Trimmed(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty()) continue;
    if (line.starts_with("Error")) {
      errors.push_back(line);
    } else if (!line.starts_with("Warning: failed to launch javaldx")) {
      lastOther = line;
    }
  }
  std::string reason;
  for (const std::string_view error : errors) reason += (reason.empty() ? "" : "; ") + std::string(error);
  if (!reason.empty()) return reason;
  if (!lastOther.empty()) return std::string(lastOther);
  if (result.exitCode < 0) return "soffice ended by a signal";
  if (result.exitCode != 0) return "soffice ended with exit status " + std::to_string(result.exitCode);
  return "soffice wrote no converted file";
}

// The file LibreOffice wrote: the document's stem with the format's extension, or else the one
// file with that extension in the output folder.
std::filesystem::path ConvertedFile(const std::filesystem::path& outFolder, const std::filesystem::path& document,
                                    std::string_view format) {
  const std::string extension = "." + std::string(format);
  std::filesystem::path expected = outFolder / document.stem();
  expected += extension;
  std::error_code error;
  if (std::filesystem::is_regular_file(expected, error)) return expected;
  std::filesystem::path found;
  for (const auto& entry : std::filesystem::directory_iterator(outFolder, error)) {
    if (!entry.is_regular_file(error) || entry.path().extension() != extension) continue;
    if (!found.empty()) return {};
    found = entry.path();
  }
  return found;
}

// "120", "0.3": a time limit in seconds, to a tenth.
std::string SecondsText(std::chrono::milliseconds time) {
  const auto tenths = (time.count() + 50) / 100;
  return std::to_string(tenths / 10) + (tenths % 10 != 0 ? "." + std::to_string(tenths % 10) : "");
}

}  // namespace

Status ConvertWithLibreOffice(const std::filesystem::path& document, std::string_view format,
                              const std::filesystem::path& target, const OfficeRun& run) {
  const std::filesystem::path soffice = FindProgram("soffice");
  if (soffice.empty()) return Status::Failure(kTextLibreOfficeNeeded);
  std::error_code error;
  const std::filesystem::path source = std::filesystem::absolute(document, error);
  if (error) return Status::SystemError(error.value(), document, kTextOfficeDocumentUnreadable);
  const WorkFolder work;
  if (work.Error() != 0) return Status::SystemError(work.Error(), work.Path(), kTextOfficeConversionFailed);
  const std::filesystem::path outFolder = work.Path() / "out";
  std::filesystem::create_directory(outFolder, error);
  if (error) return Status::SystemError(error.value(), outFolder, kTextOfficeConversionFailed);

  ProgramRun program;
  const QUrl profile = QUrl::fromLocalFile(QString::fromStdString((work.Path() / "profile").string()));
  program.arguments = {"-env:UserInstallation=" + profile.toString(QUrl::FullyEncoded).toStdString(),
                       "--headless",
                       "--norestore",
                       "--convert-to",
                       std::string(format),
                       "--outdir",
                       outFolder.string(),
                       source.string()};
  program.workingFolder = work.Path();
  program.timeLimit = run.timeLimit;
  program.cancel = run.cancel;
  const Expected<ProgramResult> result = RunProgram(soffice, program);
  if (!result) return result.status().WithText(kTextOfficeConversionFailed);
  if (result->timedOut) {
    return Status::Failure(kTextOfficeConversionTimedOut, SecondsText(run.timeLimit));
  }
  if (result->cancelled) return Status::Failure(kTextOfficeConversionFailed, "cancelled");
  const std::filesystem::path converted = ConvertedFile(outFolder, source, format);
  if (converted.empty() || result->exitCode != 0) return Status::Failure(kTextOfficeConversionFailed, ReasonOf(*result));

  std::string bytes;
  if (Status read = ReadFileStart(converted, kMaxOfficeCopyBytes + 1, bytes); !read) {
    return read.WithText(kTextOfficeConversionFailed);
  }
  if (bytes.size() > kMaxOfficeCopyBytes) {
    return Status::Failure(kTextOfficeConversionFailed,
                           "the converted file is larger than " + std::to_string(kMaxOfficeCopyBytes >> 20) + " MiB");
  }
  if (Status written = WriteFileAtomically(target, bytes); !written) return written.WithText(kTextOfficeCopyNotWritten);
  return Status::Ok();
}

}  // namespace vantorel
