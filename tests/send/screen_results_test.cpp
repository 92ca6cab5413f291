#include "send/screen_results.h"

#include <gtest/gtest.h>

#include "app/text_ids.h"

namespace vantorel {
namespace {

TEST(ScreenResults, WhatTheScreenListShows) {
  struct Row {
    const char* name;
    ScreenResult result;
    const char* expected;
  };
  const Row rows[] = {
      {"successful", SuccessfulResult(1), "Successful"},
      {"successful read", SuccessfulResult(1, "2026-12-09 21:40:05 "), "Successful 2026-12-09 21:40:05 "},
      {"failed", FailedResult(2, Status::Failure(kTextFailed, "clock answer: offset 0")), "Failed"},
      {"not opened", NotOpenedResult(3, "Failed to connect 127.0.0.1 : 5200"), "Failed to connect 127.0.0.1 : 5200"},
      {"no channel", NoChannelResult(4), ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ResultText(row.result), row.expected);
  }
}

TEST(ScreenResults, InstantMessageSummaryCountsEveryScreen) {
  EXPECT_EQ(InstantMessageSummary({}), "Send instant message to 0 screen(s), 0 successful, 0 failed.");
  EXPECT_EQ(InstantMessageSummary({SuccessfulResult(1), FailedResult(2), NotOpenedResult(3, "x"),
                                   SuccessfulResult(4), NoChannelResult(5)}),
            "Send instant message to 5 screen(s), 2 successful, 3 failed.");
}

}  // namespace
}  // namespace vantorel
