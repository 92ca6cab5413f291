#pragma once
// Office documents converted by LibreOffice: `soffice --headless --convert-to FORMAT` run with a
// profile of its own in a fresh temporary folder (so conversions running at the same time never
// share a profile or an output folder), under a time limit that ends it and every process it
// started, and the result moved into place atomically: a failed or killed conversion leaves
// nothing at the target, and two conversions to the same target each write a whole file.
//
// Threads: blocks the calling thread for the conversion (about a second); safe on any thread.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string_view>

#include "platform/status.h"

namespace vantorel {

inline constexpr std::chrono::milliseconds kOfficeTimeLimit{120'000};
// A converted file larger than this is refused rather than read into memory.
inline constexpr std::size_t kMaxOfficeCopyBytes = 64u << 20;

struct OfficeRun {
  std::chrono::milliseconds timeLimit = kOfficeTimeLimit;
  const std::atomic<bool>* cancel = nullptr;  // set by another thread to stop the conversion
};

// Converts `document` with LibreOffice's export to `format` ("rtf", "html") and writes the result
// to `target`. Fails with kTextLibreOfficeNeeded when soffice is not on PATH, with
// kTextOfficeConversionTimedOut when the time limit passed, with kTextOfficeConversionFailed and
// LibreOffice's own words (its "Error:" lines, else the end of its error output) when it wrote
// nothing, and with kTextOfficeCopyNotWritten when the target cannot be written.
Status ConvertWithLibreOffice(const std::filesystem::path& document, std::string_view format,
                              const std::filesystem::path& target, const OfficeRun& run = {});

}  // namespace vantorel
