#pragma once
// The outcome of one settings operation on one screen, as the dialogs list it and the command
// line prints it: "Successful", "Failed", or the channel's error text when it did not open; a
// successful read adds what it read.
//
// Plain values, safe on any thread.

#include <string>
#include <vector>

#include "platform/status.h"

namespace vantorel {

enum class ScreenOutcome {
  kNoChannel,    // no channel for the screen's communication type: nothing is shown
  kNotOpened,    // the channel did not open: its error text
  kFailed,       // an operation failed: "Failed"
  kSuccessful,   // "Successful", and what was read
};

struct ScreenResult {
  int screen = 0;          // its number in the screen list (1-based)
  ScreenOutcome outcome = ScreenOutcome::kFailed;
  std::string errorText;   // kNotOpened: the channel's GetErrorText
  std::string shown;       // kSuccessful: what a read operation shows (may be empty)
  Status cause;            // what exactly failed (the system's reason), for logs

  bool ok() const { return outcome == ScreenOutcome::kSuccessful; }
};

ScreenResult SuccessfulResult(int screen, std::string shown = {});
ScreenResult FailedResult(int screen, Status cause = {});
ScreenResult NotOpenedResult(int screen, std::string errorText, Status cause = {});
ScreenResult NoChannelResult(int screen);

// What the screen list shows: "Successful" (followed by what was read after a blank when there
// is something), "Failed", the error text, or nothing without a channel.
std::string ResultText(const ScreenResult& result);

// "Send instant message to %d screen(s), %d successful, %d failed." over `results` (screens
// without a channel count as failed).
std::string InstantMessageSummary(const std::vector<ScreenResult>& results);

}  // namespace vantorel
