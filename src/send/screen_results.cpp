#include "send/screen_results.h"

#include <algorithm>

#include "app/text_format.h"
#include "app/text_ids.h"
#include "app/text_table.h"

namespace vantorel {

ScreenResult SuccessfulResult(int screen, std::string shown) {
  ScreenResult result;
  result.screen = screen;
  result.outcome = ScreenOutcome::kSuccessful;
  result.shown = std::move(shown);
  return result;
}

ScreenResult FailedResult(int screen, Status cause) {
  ScreenResult result;
  result.screen = screen;
  result.outcome = ScreenOutcome::kFailed;
  result.cause = std::move(cause);
  return result;
}

ScreenResult NotOpenedResult(int screen, std::string errorText, Status cause) {
  ScreenResult result;
  result.screen = screen;
  result.outcome = ScreenOutcome::kNotOpened;
  result.errorText = std::move(errorText);
  result.cause = std::move(cause);
  return result;
}

ScreenResult NoChannelResult(int screen) {
  ScreenResult result;
  result.screen = screen;
  result.outcome = ScreenOutcome::kNoChannel;
  return result;
}

std::string ResultText(const ScreenResult& result) {
  switch (result.outcome) {
    case ScreenOutcome::kNoChannel: return {};
    case ScreenOutcome::kNotOpened: return result.errorText;
    case ScreenOutcome::kFailed: return LoadText(kTextFailed);
    case ScreenOutcome::kSuccessful: break;
  }
  std::string text = LoadText(kTextSuccessful);
  if (!result.shown.empty()) text += ' ' + result.shown;
  return text;
}

std::string InstantMessageSummary(const std::vector<ScreenResult>& results) {
  const auto successful = std::count_if(results.begin(), results.end(), [](const ScreenResult& r) { return r.ok(); });
  const auto count = static_cast<int>(results.size());
  return FormatText(LoadText(kTextInstantMessageReport).c_str(), count, static_cast<int>(successful),
                    count - static_cast<int>(successful));
}

}  // namespace vantorel
