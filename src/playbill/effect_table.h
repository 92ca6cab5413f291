#pragma once
// The transition effects of items (SHOWTYPE). The low 15 bits select one of 68 effects; bit 15
// marks a random effect (0x8000 itself is "Random"). The table is kept in the order lists show it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

inline constexpr std::uint16_t kEffectRandom = 0x8000;
inline constexpr int kEffectCount = 68;

struct EffectInfo {
  std::uint16_t code;
  int textId;  // its name in the text table
};

// The effect at list position `index`; positions outside 0..67 give the first entry ("Random").
const EffectInfo& EffectAt(int index);
// The list position of `code`: any code with bit 15 set is "Random"; -1 for codes not in the table.
int EffectIndexOfCode(std::uint16_t code);
// The name shown for `code` (the name of "Random" for codes not in the table).
std::string EffectName(std::uint16_t code);
// The code whose name equals `name`, compared without regard to ASCII case.
std::optional<std::uint16_t> EffectCodeByName(std::string_view name);

// Effect classes; all look at the low 15 bits only.
bool IsContinuousScroll(std::uint16_t code);   // 14, 15, 53, 54
bool IsHorizontalScroll(std::uint16_t code);   // 11, 12, 14, 15
bool IsVerticalScroll(std::uint16_t code);     // 10, 53, 54, 64
bool IsRightGoingScroll(std::uint16_t code);   // 12, 15
bool IsSingleScroll(std::uint16_t code);       // 10, 11, 12, 64
bool IsScroll(std::uint16_t code);             // every scroll above

}  // namespace vantorel
