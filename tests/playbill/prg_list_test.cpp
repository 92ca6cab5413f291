#include "playbill/prg_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "playbill/selection_summary.h"
#include "support/record_builders.h"

namespace vantorel {
namespace {

using test::I;
using test::P;
using test::W;

std::vector<std::uint32_t> Keys(const PrgList& list) {
  std::vector<std::uint32_t> keys;
  for (const tagPrgItem& record : list) keys.push_back(record.positionKey);
  return keys;
}

TEST(Renumber, PositionKeysByLevel) {
  PrgList list = {P(), W(), I(), I(), W(), I(), P(), W(), I(), I(), I()};
  EXPECT_TRUE(Renumber(list));
  const std::uint32_t w00 = 1u << 20;
  const std::uint32_t w01 = (1u << 20) | (1u << 16);
  const std::uint32_t w10 = 2u << 20;
  EXPECT_EQ(Keys(list), (std::vector<std::uint32_t>{0, w00, w00, w00 + 1, w01, w01, 1u << 20, w10, w10, w10 + 1,
                                                     w10 + 2}));
  EXPECT_FALSE(Renumber(list));

  // Keys belong to places, not to records.
  std::swap(list[2], list[3]);
  EXPECT_TRUE(Renumber(list));
  EXPECT_EQ(list[2].positionKey, w00);
  list.erase(list.begin() + 4, list.begin() + 6);
  EXPECT_FALSE(Renumber(list)) << "the later program's keys do not depend on earlier windows";
  list.insert(list.begin(), P());
  EXPECT_TRUE(Renumber(list));
  EXPECT_EQ(list[1].positionKey, 1u << 20);
  EXPECT_EQ(list[2].positionKey, 2u << 20);
}

TEST(Renumber, WindowNumberWrapsAfterSixteen) {
  PrgList list = {P()};
  for (int w = 0; w < 18; ++w) {
    list.push_back(W());
    list.push_back(I());
  }
  Renumber(list);
  EXPECT_EQ(list[1].positionKey, 1u << 20);
  EXPECT_EQ(list[1 + 2 * 15].positionKey, (1u << 20) | (15u << 16));
  EXPECT_EQ(list[1 + 2 * 16].positionKey, 1u << 20);
  EXPECT_EQ(list[1 + 2 * 17].positionKey, (1u << 20) | (1u << 16));
}

TEST(Renumber, ScreenHeadersAndStrayRecordsGetZero) {
  tagPrgItem header;
  header.level = kLevelScreen;
  header.positionKey = 77;
  PrgList list = {header, I(), P()};
  list[1].positionKey = 5;
  EXPECT_TRUE(Renumber(list));
  EXPECT_EQ(Keys(list), (std::vector<std::uint32_t>{0, 0, 0}));
}

TEST(SelectionSummary, EveryFieldForEverySelection) {
  //                0    1    2    3    4    5    6    7    8
  const PrgList list = {P(), W(), I(), I(), W(), I(), P(), W(), I()};
  const struct {
    int current;
    SelectionSummary expected;
  } cases[] = {
      {-1, {9, -1, 2, -1, -1, -1, -1, -1, -1, -1, -1}},
      {0, {9, 0, 2, 0, 0, 2, -1, -1, -1, -1, -1}},
      {1, {9, 1, 2, 0, 0, 2, 0, 1, 2, -1, -1}},
      {2, {9, 2, 2, 0, 0, 2, 0, 1, 2, 0, 2}},
      {3, {9, 3, 2, 0, 0, 2, 0, 1, 2, 1, 3}},
      {4, {9, 4, 2, 0, 0, 2, 1, 4, 1, -1, -1}},
      {5, {9, 5, 2, 0, 0, 2, 1, 4, 1, 0, 5}},
      {6, {9, 6, 2, 1, 6, 1, -1, -1, -1, -1, -1}},
      {7, {9, 7, 2, 1, 6, 1, 0, 7, 1, -1, -1}},
      {8, {9, 8, 2, 1, 6, 1, 0, 7, 1, 0, 8}},
      {9, {9, -1, 2, -1, -1, -1, -1, -1, -1, -1, -1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Summarize(list, c.current), c.expected) << c.current;
  }
  EXPECT_EQ(Summarize({}, 0), (SelectionSummary{0, -1, 0, -1, -1, -1, -1, -1, -1, -1, -1}));
  // A program without windows and a window without items.
  EXPECT_EQ(Summarize({P(), P(), W()}, 0), (SelectionSummary{3, 0, 2, 0, 0, 0, -1, -1, -1, -1, -1}));
  EXPECT_EQ(Summarize({P(), P(), W()}, 2), (SelectionSummary{3, 2, 2, 1, 1, 1, 0, 2, 0, -1, -1}));
}

TEST(PrgList, Subtrees) {
  const PrgList list = {P(), W(), I(), I(), W(), I(), P(), W(), I()};
  EXPECT_EQ(SubtreeEnd(list, 0), 6);
  EXPECT_EQ(SubtreeEnd(list, 1), 4);
  EXPECT_EQ(SubtreeEnd(list, 2), 3);
  EXPECT_EQ(SubtreeEnd(list, 6), 9);
  EXPECT_EQ(SubtreeEnd(list, 9), 9);
  EXPECT_EQ(ProgramRecordAt(list, 1), 6);
  EXPECT_EQ(ProgramRecordAt(list, 2), -1);
  EXPECT_EQ(ProgramRecordAt(list, -1), -1);
  EXPECT_EQ(ProgramRecordOf(list, 5), 0);
  EXPECT_EQ(WindowRecordOf(list, 5), 4);
  EXPECT_EQ(WindowRecordOf(list, 6), -1);
}

}  // namespace
}  // namespace vantorel
