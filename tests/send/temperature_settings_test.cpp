#include "send/temperature_settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/text_ids.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(TemperatureText, SignsDegreesTenthsAndTheAdjustment) {
  struct Row {
    const char* name;
    Bytes answer;
    const char* expected;  // null: Failed
  };
  const Row rows[] = {
      {"no sensor: nothing shown", {0x00, 0x01, 0x93, 0x04, 0xD5, 0x02}, ""},
      {"no sensor, short answer: nothing shown", {0x02}, ""},
      {"plain", {0x01, 0x01, 0x93, 0x04, 0xD5, 0x02}, "25.3C ( 77.5F ) [ +2C ]"},
      {"only bit 0 counts", {0xFF, 0x01, 0x93, 0x04, 0xD5, 0x02}, "25.3C ( 77.5F ) [ +2C ]"},
      {"below zero", {0x01, 0x80, 0x52, 0x01, 0x7A, 0x43}, "-5.2C ( 23.10F ) [ -3C ]"},
      {"fahrenheit below zero", {0x01, 0x81, 0x40, 0x80, 0x30, 0x00}, "-20.0C ( -3.0F ) [ +0C ]"},
      {"largest values", {0x01, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF}, "2047.15C ( -2047.15F ) [ -63F ]"},
      {"adjustment in Fahrenheit", {0x01, 0x00, 0x00, 0x00, 0x00, 0x85}, "0.0C ( 0.0F ) [ +5F ]"},
      {"sensor, five bytes", {0x01, 0x01, 0x93, 0x04, 0xD5}, nullptr},
      {"sensor, one byte", {0x01}, nullptr},
      {"nothing", {}, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<std::string> text = TemperatureText(row.answer);
    if (row.expected == nullptr) {
      ASSERT_FALSE(text.ok());
      EXPECT_EQ(text.status().text(), kTextFailed);
    } else {
      ASSERT_TRUE(text.ok()) << text.status().detail();
      EXPECT_EQ(*text, row.expected);
    }
  }
}

TEST(TemperatureAdjust, UnitSignAndSizeInOneByte) {
  struct Row {
    const char* text;
    int expected;  // -1: refused
  };
  const Row rows[] = {
      {"0", 0x00},   {"2", 0x02},    {"+2", 0x02},  {"-3", 0x43},  {"-3F", 0xC3}, {"4f", 0x84},
      {"5C", 0x05},  {"-5c", 0x45},  {"63", 0x3F},  {"-63F", 0xFF}, {"64", -1},   {"-64", -1},
      {"", -1},      {"F", -1},      {"x", -1},     {"+-3", -1},   {"--3", -1},  {"3K", -1},
      {"3 ", -1},    {"1.5", -1},    {"+", -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const Expected<std::uint8_t> value = ParseTemperatureAdjust(row.text);
    if (row.expected < 0) {
      EXPECT_FALSE(value.ok());
    } else {
      ASSERT_TRUE(value.ok()) << value.status().detail();
      EXPECT_EQ(*value, row.expected);
    }
  }
}

TEST(TemperatureAdjust, BlockCarriesTheValueAtByteFour) {
  const auto block = TemperatureAdjustBlock(0xC3);
  EXPECT_EQ(Bytes(block.begin(), block.end()), (Bytes{0, 4, 0, 0, 0xC3, 0}));
  // What was written reads back as the adjustment of a temperature answer.
  const Bytes answer{0x01, 0x01, 0x90, 0x04, 0xD0, block[4]};
  EXPECT_EQ(TemperatureText(answer).value_or(""), "25.0C ( 77.0F ) [ -3F ]");
}

}  // namespace
}  // namespace vantorel
