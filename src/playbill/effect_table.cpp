#include "playbill/effect_table.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "app/text_table.h"

namespace vantorel {
namespace {

// Read column by column from the editor's effect chooser.
constexpr std::array<EffectInfo, kEffectCount> kEffects{{
    {0x8000, 148},  // Random
    {0, 149},       // Instant
    {1, 150},       // Open left
    {2, 151},       // Open right
    {3, 152},       // Open horizontal
    {4, 153},       // Open vertical
    {5, 154},       // Shutter(vertical)
    {6, 155},       // Shift left
    {7, 156},       // Shift right
    {8, 157},       // Shift up
    {9, 158},       // Shift down
    {10, 159},      // Scroll up
    {11, 160},      // Scroll left
    {14, 419},      // Scroll left continuously
    {12, 339},      // Scroll right
    {15, 420},      // Scroll right continuously
    {13, 161},      // Blink
    {16, 425},      // Shutter(horizontal)
    {17, 426},      // Open clockwise
    {18, 427},      // Open anticlockwise
    {19, 428},      // Windmill(clockwise)
    {20, 429},      // Windmill(anticlockwise)
    {21, 430},      // Rectangle out
    {22, 431},      // Rectangle in
    {23, 432},      // Corner out
    {24, 433},      // Corner in
    {25, 470},      // Round out
    {26, 471},      // Round in
    {27, 434},      // Open top-left
    {28, 435},      // Open top-right
    {29, 436},      // Open bottom-left
    {30, 437},      // Open bottom-right
    {31, 438},      // Open slash
    {32, 439},      // Open backslash
    {33, 440},      // Slide top-left
    {34, 441},      // Slide top-right
    {35, 442},      // Slide bottom-left
    {36, 443},      // Slide bottom-right
    {37, 444},      // Open cross in
    {38, 445},      // Open cross out
    {39, 446},      // Zebra cross(horizontal)
    {40, 447},      // Zebra cross(vertical)
    {41, 448},      // Mosaic(large)
    {42, 449},      // Mosaic(small)
    {43, 450},      // Laser line(upward)
    {44, 451},      // Laser line(downward)
    {45, 452},      // Scrape up
    {46, 453},      // Drop down
    {47, 454},      // Slide left & right
    {48, 455},      // Slide top & bottom
    {49, 456},      // Slewing out
    {50, 457},      // Slewing in
    {51, 458},      // Chessboard(horizontal)
    {52, 459},      // Chessboard(vertical)
    {53, 460},      // Scroll up continuously
    {54, 461},      // Scroll down continuously
    {57, 464},      // Expand from top
    {58, 465},      // Expand from bottom
    {60, 467},      // Expand vertical
    {61, 468},      // Blind(horizontal)
    {62, 469},      // Blind(vertical)
    {63, 482},      // Snow fall
    {64, 483},      // Scroll down
    {65, 484},      // Open left & right
    {66, 485},      // Open up & down
    {67, 486},      // Open 2-fan
    {69, 488},      // Slide zebra(horizontal)
    {70, 489},      // Slide zebra(vertical)
}};

bool InClass(std::uint16_t code, std::initializer_list<std::uint16_t> members) {
  const auto effect = static_cast<std::uint16_t>(code & 0x7FFF);
  return std::find(members.begin(), members.end(), effect) != members.end();
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

const EffectInfo& EffectAt(int index) {
  if (index < 0 || index >= kEffectCount) return kEffects[0];
  return kEffects[static_cast<std::size_t>(index)];
}

int EffectIndexOfCode(std::uint16_t code) {
  if (code & kEffectRandom) return 0;
  const auto found = std::find_if(kEffects.begin(), kEffects.end(),
                                  [code](const EffectInfo& effect) { return effect.code == code; });
  return found == kEffects.end() ? -1 : static_cast<int>(found - kEffects.begin());
}

std::string EffectName(std::uint16_t code) { return LoadText(EffectAt(EffectIndexOfCode(code)).textId); }

std::optional<std::uint16_t> EffectCodeByName(std::string_view name) {
  for (const EffectInfo& effect : kEffects) {
    if (EqualIgnoringCase(LoadText(effect.textId), name)) return effect.code;
  }
  return std::nullopt;
}

bool IsContinuousScroll(std::uint16_t code) { return InClass(code, {14, 15, 53, 54}); }
bool IsHorizontalScroll(std::uint16_t code) { return InClass(code, {11, 12, 14, 15}); }
bool IsVerticalScroll(std::uint16_t code) { return InClass(code, {10, 53, 54, 64}); }
bool IsRightGoingScroll(std::uint16_t code) { return InClass(code, {12, 15}); }
bool IsSingleScroll(std::uint16_t code) { return InClass(code, {10, 11, 12, 64}); }
bool IsScroll(std::uint16_t code) { return InClass(code, {10, 11, 12, 14, 15, 53, 54, 64}); }

}  // namespace vantorel
