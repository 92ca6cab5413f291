#include "send/auto_task.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "app/text_ids.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(PowerSchedule, ReadRulesForTimesOutOfRangeAndEqualTimes) {
  const ClockTime now{14, 25};
  struct Row {
    const char* name;
    Bytes answer;
    bool ok;
    PowerSchedule expected;
  };
  const Row rows[] = {
      {"enabled", {7, 30, 22, 15}, true, {true, {7, 30}, {22, 15}}},
      {"off before on", {22, 0, 6, 0}, true, {true, {22, 0}, {6, 0}}},
      {"edges of a day", {0, 0, 23, 59}, true, {true, {0, 0}, {23, 59}}},
      {"on hour 24", {24, 0, 22, 0}, true, {false, now, now}},
      {"off minute 60", {7, 0, 22, 60}, true, {false, now, now}},
      {"off hour 255", {7, 0, 255, 0}, true, {false, now, now}},
      {"written off", {0xFF, 0xFF, 0xFF, 0xFF}, true, {false, now, now}},
      {"on equals off", {8, 0, 8, 0}, true, {false, {8, 0}, {8, 0}}},
      {"longer answer", {7, 30, 22, 15, 1, 2}, true, {true, {7, 30}, {22, 15}}},
      {"three bytes", {7, 30, 22}, false, {}},
      {"nothing", {}, false, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<PowerSchedule> schedule = PowerScheduleOfAnswer(row.answer, now);
    ASSERT_EQ(schedule.ok(), row.ok);
    if (row.ok) {
      EXPECT_EQ(*schedule, row.expected);
    } else {
      EXPECT_EQ(schedule.status().text(), kTextFailed);
    }
  }
}

TEST(PowerSchedule, WrittenTimesOrFourTimes0xFF) {
  struct Row {
    const char* name;
    PowerSchedule schedule;
    Bytes expected;
  };
  const Row rows[] = {
      {"enabled", {true, {7, 30}, {22, 15}}, {7, 30, 22, 15}},
      {"not enabled", {false, {7, 30}, {22, 15}}, {0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto bytes = PowerScheduleBytes(row.schedule);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), row.expected);
    // What was written reads back as it was set.
    const Expected<PowerSchedule> back = PowerScheduleOfAnswer(bytes, {1, 2});
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back->enabled, row.schedule.enabled);
  }
}

TEST(PowerSchedule, ClockTimesAsUsersWriteThem) {
  struct Row {
    const char* text;
    bool ok;
    ClockTime expected;
  };
  const Row rows[] = {{"07:30", true, {7, 30}}, {"7:30", true, {7, 30}}, {"23:59", true, {23, 59}},
                      {"00:00", true, {0, 0}},  {"24:00", false, {}},    {"12:60", false, {}},
                      {"12:5", false, {}},      {"1230", false, {}},     {":30", false, {}},
                      {"-1:30", false, {}},     {"123:00", false, {}},   {"", false, {}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const std::optional<ClockTime> time = ParseClockTime(row.text);
    ASSERT_EQ(time.has_value(), row.ok);
    if (row.ok) {
      EXPECT_EQ(*time, row.expected);
      EXPECT_EQ(ParseClockTime(ClockTimeText(*time)), time);
    }
  }
}

TEST(Brightness, SliderFieldAndWrittenByteOfEachValue) {
  struct Row {
    int value;
    int slider;
    int field;
  };
  const Row rows[] = {{0, 31, 0}, {1, 30, 1}, {16, 15, 16}, {31, 0, 31}, {32, 32, -1}, {200, 32, -1}, {255, 32, -1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.value);
    const auto value = static_cast<std::uint8_t>(row.value);
    EXPECT_EQ(BrightnessSliderOf(value), row.slider);
    EXPECT_EQ(BrightnessFieldOf(value), row.field);
    EXPECT_EQ(BrightnessFieldOfSlider(row.slider), row.field);
  }
  struct Written {
    int field;
    int byte;
  };
  const Written written[] = {{-1, 255}, {-5, 255}, {0, 0}, {31, 31}, {32, 255}, {1000, 255}};
  for (const Written& row : written) {
    SCOPED_TRACE(row.field);
    EXPECT_EQ(BrightnessByteOf(row.field), row.byte);
  }
}

TEST(Brightness, AnswerOfTwentyFourHoursOrFailed) {
  Bytes answer(24);
  for (std::size_t hour = 0; hour < answer.size(); ++hour) answer[hour] = static_cast<std::uint8_t>(hour * 2);
  const auto fields = BrightnessFieldsOfAnswer(answer);
  ASSERT_TRUE(fields.ok());
  EXPECT_EQ((*fields)[0], 0);
  EXPECT_EQ((*fields)[15], 30);
  EXPECT_EQ((*fields)[16], -1);
  EXPECT_EQ((*fields)[23], -1);
  const auto bytes = BrightnessBytes(*fields);
  EXPECT_EQ(bytes[15], 30);
  EXPECT_EQ(bytes[16], 255);
  answer.pop_back();
  EXPECT_FALSE(BrightnessFieldsOfAnswer(answer).ok());
}

TEST(Brightness, OneSixOrTwentyFourValuesFillTheHours) {
  struct Row {
    const char* name;
    std::vector<std::string> values;
    bool ok;
    int hour0, hour3, hour4, hour23;
  };
  std::vector<std::string> every;
  for (int hour = 0; hour < 24; ++hour) every.push_back(std::to_string(hour));
  const Row rows[] = {
      {"one for all", {"12"}, true, 12, 12, 12, 12},
      {"one automatic", {"auto"}, true, -1, -1, -1, -1},
      {"six groups", {"1", "2", "3", "4", "5", "-1"}, true, 1, 1, 2, -1},
      {"twenty-four", every, true, 0, 3, 4, 23},
      {"two", {"1", "2"}, false, 0, 0, 0, 0},
      {"none", {}, false, 0, 0, 0, 0},
      {"not a number", {"bright"}, false, 0, 0, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto fields = BrightnessFieldsOf(row.values);
    ASSERT_EQ(fields.ok(), row.ok);
    if (!row.ok) continue;
    EXPECT_EQ((*fields)[0], row.hour0);
    EXPECT_EQ((*fields)[3], row.hour3);
    EXPECT_EQ((*fields)[4], row.hour4);
    EXPECT_EQ((*fields)[23], row.hour23);
  }
}

TEST(Brightness, TextShowsTheFourHourGroups) {
  std::array<int, kBrightnessHours> fields{};
  fields.fill(31);
  fields[4] = -1;
  fields[23] = 0;
  EXPECT_EQ(BrightnessText(fields),
            "0-4: 31 31 31 31  4-8: auto 31 31 31  8-12: 31 31 31 31  12-16: 31 31 31 31  16-20: 31 31 31 31  "
            "20-24: 31 31 31 0");
}

TEST(Brightness, CellsShareTheValueOfTheirHoursOrAreMixed) {
  using Fields = std::array<int, kBrightnessHours>;
  Fields fields{};
  fields.fill(20);
  Fields mixedGroup = fields;
  mixedGroup[5] = -1;  // hour 5 of 4-8
  Fields lastHour = fields;
  lastHour[23] = 3;
  struct Row {
    const char* name;
    Fields fields;
    std::size_t cell;
    std::optional<int> shared;
  };
  const Row rows[] = {
      {"0-4, all alike", fields, 0, 20},
      {"ALL, all alike", fields, kAllHoursCell, 20},
      {"4-8 with an automatic hour", mixedGroup, 1, std::nullopt},
      {"0-4 beside a mixed group", mixedGroup, 0, 20},
      {"ALL with one hour apart", mixedGroup, kAllHoursCell, std::nullopt},
      {"20-24, its last hour apart", lastHour, 5, std::nullopt},
      {"16-20 before it", lastHour, 4, 20},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(BrightnessOfCell(row.fields, row.cell), row.shared);
  }
}

TEST(Brightness, SettingACellSetsExactlyItsHours) {
  struct Row {
    const char* name;
    std::size_t cell;
    int field;
    std::size_t first;  // the hours set: [first, end)
    std::size_t end;
  };
  const Row rows[] = {
      {"0-4", 0, 7, 0, 4},
      {"8-12 automatic", 2, -1, 8, 12},
      {"20-24", 5, 31, 20, 24},
      {"ALL", kAllHoursCell, 0, 0, 24},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::array<int, kBrightnessHours> fields{};
    fields.fill(15);
    SetBrightnessOfCell(fields, row.cell, row.field);
    for (std::size_t hour = 0; hour < kBrightnessHours; ++hour) {
      EXPECT_EQ(fields[hour], hour >= row.first && hour < row.end ? row.field : 15) << "hour " << hour;
    }
    EXPECT_EQ(FirstHourOfCell(row.cell), row.first);
  }
}

}  // namespace
}  // namespace vantorel
