#include "send/controller_operations.h"

#include <gtest/gtest.h>

#include <vector>

#include "answering_channel.h"
#include "app/text_ids.h"
#include "comm/operations.h"
#include "send/clock_settings.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ChannelLog;

constexpr std::uint8_t kClock = Code(Op::kReadClock);
constexpr std::uint8_t kVersion = Code(Op::kReadVersion);

SettingsScreen Target() {
  SettingsScreen target;
  target.number = 2;
  target.screen.width = 320;
  target.screen.height = 32;
  target.comm.commType = 2;
  return target;
}

ChannelOptions On(ChannelLog& log) {
  ChannelOptions options;
  options.makeChannel = test::AnsweringChannels(log);
  return options;
}

std::vector<std::uint8_t> Operations(const ChannelLog& log) {
  std::vector<std::uint8_t> codes;
  for (const PacketFields& request : log.requests) codes.push_back(request.operation);
  return codes;
}

TEST(ScreenChannel, NoChannelNotOpenedOrClosedAfterTheOperation) {
  {
    ChannelOptions none;
    none.makeChannel = [](tagCommParam&) { return std::unique_ptr<CUniComm>(); };
    const ScreenResult result = ReadControllerVersion(Target(), none);
    EXPECT_EQ(result.outcome, ScreenOutcome::kNoChannel);
    EXPECT_EQ(ResultText(result), "");
  }
  {
    ChannelLog log;
    log.opens = false;
    const ScreenResult result = ReadControllerVersion(Target(), On(log));
    EXPECT_EQ(result.outcome, ScreenOutcome::kNotOpened);
    EXPECT_EQ(ResultText(result), "Failed to reach the test controller");
    EXPECT_TRUE(log.requests.empty());
  }
  {
    ChannelLog log;
    log.answers[kVersion] = {0, {0x62, 98, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}};
    const ScreenResult result = ReadControllerVersion(Target(), On(log));
    EXPECT_EQ(result.screen, 2);
    EXPECT_EQ(ResultText(result), "Successful \n\n1.2.3.4-5.6.7.8-9.10.11.12");
    EXPECT_EQ(log.opened, 1);
    EXPECT_EQ(log.openCount, 0);
  }
}

TEST(ScreenChannel, TheScreensOwnParametersReachTheChannelMaker) {
  SettingsScreen target = Target();
  target.screen.number = 7;
  target.comm.timeout = 1500;
  tagCommParam seen;
  ChannelOptions options;
  options.makeChannel = [&seen](tagCommParam& param) {
    seen = param;
    return std::unique_ptr<CUniComm>();
  };
  static_cast<void>(ReadControllerVersion(target, options));
  EXPECT_EQ(seen.screenId, 7);
  EXPECT_EQ(seen.commType, 2);
  EXPECT_EQ(seen.timeoutMs, 1500);
  options.timeoutMs = 300;
  static_cast<void>(ReadControllerVersion(target, options));
  EXPECT_EQ(seen.timeoutMs, 300);
}

TEST(ClockOperations, ReadShowsTheClockAndTheVersionInParentheses) {
  struct Row {
    const char* name;
    std::map<std::uint8_t, test::ControllerAnswer> answers;
    const char* expected;
  };
  const Bytes clock{5, 40, 21, 3, 9, 12, 26};
  const Bytes version{0x30, 0, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
  const Row rows[] = {
      {"clock and version", {{kClock, {0, clock}}, {kVersion, {0, version}}}, "Successful 2026-12-09 21:40:05 (1.2-3.4-5.6)"},
      {"version not answered", {{kClock, {0, clock}}}, "Successful 2026-12-09 21:40:05 "},
      {"version refused", {{kClock, {0, clock}}, {kVersion, {2, {}}}}, "Successful 2026-12-09 21:40:05 "},
      {"clock not answered", {{kVersion, {0, version}}}, "Failed"},
      {"clock refused", {{kClock, {3, {}}}}, "Failed"},
      {"clock answer too short", {{kClock, {0, {5, 40, 21, 3, 9, 12}}}}, "Failed"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ChannelLog log;
    log.answers = row.answers;
    EXPECT_EQ(ResultText(ReadControllerClock(Target(), On(log))), row.expected);
    EXPECT_EQ(log.openCount, 0);
  }
}

TEST(ClockOperations, SetSendsTheSevenByteBlock) {
  ChannelLog log;
  log.answers[Code(Op::kSetClock)] = {0, {}};
  const DateTime moment{2026, 12, 9, 21, 40, 5};
  EXPECT_TRUE(SetControllerClock(Target(), moment, On(log)).ok());
  ASSERT_EQ(log.requests.size(), 1u);
  EXPECT_EQ(log.requests[0].data, (Bytes{5, 40, 21, 3, 9, 12, 26}));
  log.answers[Code(Op::kSetClock)] = {2, {}};
  EXPECT_EQ(ResultText(SetControllerClock(Target(), moment, On(log))), "Failed");
}

TEST(TemperatureOperations, ReadTextAdjustBlockAndSelector) {
  ChannelLog log;
  log.answers[Code(Op::kReadTemperature)] = {0, {0x01, 0x01, 0x95, 0x04, 0x51, 0x42}};
  EXPECT_EQ(ResultText(ReadControllerTemperature(Target(), On(log))), "Successful 25.5C ( 69.1F ) [ -2C ]");
  ASSERT_EQ(log.requests.size(), 1u);
  EXPECT_EQ(log.requests[0].data, Bytes{3});
  log.answers[Code(Op::kReadTemperature)] = {0, {0x00, 0x01, 0x95, 0x04, 0x51, 0x42}};
  EXPECT_EQ(ResultText(ReadControllerTemperature(Target(), On(log))), "Successful");

  log.answers[Code(Op::kWriteTemperatureAdjust)] = {0, {}};
  EXPECT_TRUE(SetTemperatureAdjustment(Target(), 0xC3, On(log)).ok());
  EXPECT_EQ(log.requests.back().data, (Bytes{0, 4, 0, 0, 0xC3, 0}));
}

TEST(AutoTaskOperations, ReadNeedsScheduleBrightnessAndVersion) {
  const Bytes brightness(24, 40);
  Bytes levels(24, 31);
  levels[0] = 0;
  levels[23] = 200;
  struct Row {
    const char* name;
    std::map<std::uint8_t, test::ControllerAnswer> answers;
    bool ok;
  };
  const Row rows[] = {
      {"all three",
       {{Code(Op::kReadPowerSchedule), {0, {7, 30, 22, 0}}},
        {Code(Op::kReadBrightness), {0, levels}},
        {kVersion, {0, {0x62, 98, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}}}},
       true},
      {"no version", {{Code(Op::kReadPowerSchedule), {0, {7, 30, 22, 0}}}, {Code(Op::kReadBrightness), {0, levels}}}, false},
      {"no brightness", {{Code(Op::kReadPowerSchedule), {0, {7, 30, 22, 0}}}, {kVersion, {0, Bytes(8)}}}, false},
      {"no schedule", {{Code(Op::kReadBrightness), {0, levels}}, {kVersion, {0, Bytes(8)}}}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ChannelLog log;
    log.answers = row.answers;
    const AutoTaskReading reading = ReadAutoTask(Target(), {9, 15}, On(log));
    EXPECT_EQ(reading.result.ok(), row.ok);
    EXPECT_EQ(log.openCount, 0);
    if (!row.ok) continue;
    EXPECT_EQ(reading.schedule, (PowerSchedule{true, {7, 30}, {22, 0}}));
    EXPECT_EQ(reading.brightness[0], 0);
    EXPECT_EQ(reading.brightness[1], 31);
    EXPECT_EQ(reading.brightness[23], -1);
    EXPECT_EQ(reading.versionInformation, "Version information:\nBIOS:\t1.2.3.4\nLOGIC:\t5.6.7.8\nAPP:\t9.10.11.12");
  }
}

TEST(AutoTaskOperations, BrightnessWrittenOnlyAfterTheSchedule) {
  std::array<int, kBrightnessHours> fields{};
  fields.fill(10);
  fields[5] = -1;
  fields[6] = 40;
  struct Row {
    const char* name;
    int scheduleStatus;   // -1: no answer
    int brightnessStatus;
    std::vector<std::uint8_t> operations;
    bool ok;
  };
  const std::uint8_t schedule = Code(Op::kWritePowerSchedule);
  const std::uint8_t brightness = Code(Op::kWriteBrightness);
  const Row rows[] = {
      {"both written", 0, 0, {schedule, brightness}, true},
      {"schedule refused", 2, 0, {schedule}, false},
      {"schedule not answered", -1, 0, {schedule}, false},
      {"brightness refused", 0, 2, {schedule, brightness}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ChannelLog log;
    if (row.scheduleStatus >= 0) log.answers[schedule] = {static_cast<std::uint8_t>(row.scheduleStatus), {}};
    log.answers[brightness] = {static_cast<std::uint8_t>(row.brightnessStatus), {}};
    const ScreenResult result = WriteAutoTask(Target(), {false, {7, 0}, {8, 0}}, fields, On(log));
    EXPECT_EQ(result.ok(), row.ok);
    EXPECT_EQ(Operations(log), row.operations);
    EXPECT_EQ(log.requests[0].data, (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    if (log.requests.size() > 1) {
      EXPECT_EQ(log.requests[1].data[0], 10);
      EXPECT_EQ(log.requests[1].data[5], 255);
      EXPECT_EQ(log.requests[1].data[6], 255);
    }
  }
}

TEST(InstantMessageOperations, PiecesInOrderStoppingAtTheFirstFailure) {
  const std::string text(278, 'a');  // a block of 300 bytes: pieces of 128, 128 and 44
  struct Row {
    const char* name;
    std::vector<int> statuses;  // per piece; -1: no answer
    std::size_t sent;
    bool ok;
  };
  const Row rows[] = {
      {"all three", {0, 0, 0}, 3, true},
      {"second refused", {0, 7, 0}, 2, false},
      {"first not answered", {-1, 0, 0}, 1, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ChannelLog log;
    // The answer table is per operation: answer each piece by replacing it as the pieces go.
    std::size_t piece = 0;
    ChannelOptions options = On(log);
    class PieceChannel : public test::AnsweringChannel {
    public:
      PieceChannel(ChannelLog& log, const std::vector<int>& statuses, std::size_t& piece)
          : AnsweringChannel(log), m_log(log), m_statuses(statuses), m_piece(piece) {}
      bool Send(std::span<const std::uint8_t> bytes) override {
        const int status = m_piece < m_statuses.size() ? m_statuses[m_piece] : 0;
        ++m_piece;
        m_log.answers.erase(Code(Op::kSendInstantMessage));
        if (status >= 0) m_log.answers[Code(Op::kSendInstantMessage)] = {static_cast<std::uint8_t>(status), {}};
        return AnsweringChannel::Send(bytes);
      }

    private:
      ChannelLog& m_log;
      const std::vector<int>& m_statuses;
      std::size_t& m_piece;
    };
    options.makeChannel = [&](tagCommParam&) -> std::unique_ptr<CUniComm> {
      return std::make_unique<PieceChannel>(log, row.statuses, piece);
    };
    InstantMessage message;
    message.speed = 30;
    const ScreenResult result = SendInstantMessageTo(Target(), message, text, options);
    EXPECT_EQ(result.ok(), row.ok);
    ASSERT_EQ(log.requests.size(), row.sent);
    const std::uint8_t flags[] = {1, 1, 17};
    const std::size_t offsets[] = {0, 128, 256};
    const std::size_t lengths[] = {128, 128, 44};
    for (std::size_t i = 0; i < log.requests.size(); ++i) {
      const Bytes& data = log.requests[i].data;
      ASSERT_EQ(data.size(), 3 + lengths[i]);
      EXPECT_EQ(data[0], flags[i]);
      EXPECT_EQ(data[1] + data[2] * 256u, offsets[i]) << "offset, little-endian";
    }
    const Bytes& first = log.requests[0].data;
    EXPECT_EQ(first[3], 119);
    EXPECT_EQ(first[3 + 8] * 256 + first[3 + 9], 320) << "the screen's width";
    EXPECT_EQ(first[3 + 10] * 256 + first[3 + 11], 32) << "the screen's height";
    EXPECT_EQ(first[3 + 18], 70);
  }
}

TEST(InstantMessageOperations, TextTooLongFailsWithoutTalking) {
  ChannelLog log;
  const ScreenResult result = SendInstantMessageTo(Target(), {}, std::string(6123, 'x'), On(log));
  EXPECT_EQ(ResultText(result), "Failed");
  EXPECT_EQ(log.created, 0);
  EXPECT_EQ(InstantMessageTextFor(Target().screen, std::string(6122, 'x')).size(), 6122u);
}

TEST(FontOperations, DetectReadsRunningInfoWithSelectorTwo) {
  ChannelLog log;
  log.answers[Code(Op::kReadRunningInfo)] = {0, {2, 1, 0, 0x00, 0x1D, 0x00, 0x1C, 0}};
  const FontDetection detection = DetectControllerFonts(Target(), On(log));
  ASSERT_TRUE(detection.result.ok());
  EXPECT_EQ(detection.settings, (FontSettings{1, 0x1D, 0x1C}));
  EXPECT_EQ(log.requests[0].data, Bytes{2});
}

TEST(RestartOperations, OlderRestartWhenTheFirstIsRefused) {
  struct Row {
    const char* name;
    std::map<std::uint8_t, test::ControllerAnswer> answers;
    std::vector<std::uint8_t> operations;
    bool ok;
  };
  const std::uint8_t restart = Code(Op::kRestart);
  const std::uint8_t legacy = Code(Op::kRestartLegacy);
  const Row rows[] = {
      {"restart", {{restart, {0, {1}}}}, {restart}, true},
      {"restart refused, older one taken", {{restart, {1, {}}}, {legacy, {0, {1}}}}, {restart, legacy}, true},
      {"neither", {}, {restart, legacy}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ChannelLog log;
    log.answers = row.answers;
    EXPECT_EQ(RestartController(Target(), On(log)).ok(), row.ok);
    EXPECT_EQ(Operations(log), row.operations);
  }
}

}  // namespace
}  // namespace vantorel
