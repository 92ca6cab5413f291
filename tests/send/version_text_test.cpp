#include "send/version_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/text_ids.h"

namespace vantorel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(VersionText, NibblesWhenByteOneIs98ElseLowNibbles) {
  struct Row {
    const char* name;
    Bytes answer;
    const char* numbers;  // null: Failed
  };
  const Row rows[] = {
      {"nibble form", {0x62, 98, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}, "1.2.3.4-5.6.7.8-9.10.11.12"},
      {"nibble form, zeros and fifteens", {0, 98, 0x00, 0xFF, 0x0F, 0xF0, 0x10, 0x01}, "0.0.15.15-0.15.15.0-1.0.0.1"},
      {"other byte 1: low nibbles only", {0x30, 97, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}, "2.4-6.8-10.12"},
      {"byte 1 zero", {0x30, 0, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06}, "1.2-3.4-5.6"},
      {"longer answer", {0, 98, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}, "1.1.2.2-3.3.4.4-5.5.6.6"},
      {"seven bytes", {0, 98, 0x11, 0x22, 0x33, 0x44, 0x55}, nullptr},
      {"two bytes", {0, 98}, nullptr},
      {"nothing", {}, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<std::string> numbers = VersionNumbers(row.answer);
    const Expected<std::string> text = VersionText(row.answer);
    if (row.numbers == nullptr) {
      ASSERT_FALSE(numbers.ok());
      EXPECT_EQ(numbers.status().text(), kTextFailed);
      EXPECT_FALSE(text.ok());
    } else {
      ASSERT_TRUE(numbers.ok());
      EXPECT_EQ(*numbers, row.numbers);
      ASSERT_TRUE(text.ok());
      EXPECT_EQ(*text, std::string("\n\n") + row.numbers);
    }
  }
}

TEST(VersionInformationText, BiosLogicAppLinesOrOneBracketedLine) {
  struct Row {
    const char* name;
    Bytes answer;
    const char* expected;
  };
  const Row rows[] = {
      {"nibble form", {0x62, 98, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC},
       "Version information:\nBIOS:\t1.2.3.4\nLOGIC:\t5.6.7.8\nAPP:\t9.10.11.12"},
      {"low nibbles", {0x30, 1, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}, "(Version information: 2.4-6.8-10.12)  "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Expected<std::string> text = VersionInformationText(row.answer, "Version information");
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(*text, row.expected);
  }
  EXPECT_FALSE(VersionInformationText(Bytes{0, 98, 1, 2, 3}, "Version information").ok());
}

}  // namespace
}  // namespace vantorel
