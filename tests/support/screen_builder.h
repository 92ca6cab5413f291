#pragma once
// Screen records with named fields, starting from a record's own defaults:
//   ScreenBuilder().Type(6).Width(64).Height(32).Colour(0x77).Id(3).Build()

#include <cstdint>
#include <string_view>

#include "screen/screen_data.h"

namespace vantorel::test {

class ScreenBuilder {
public:
  ScreenBuilder& Type(std::uint16_t type);
  ScreenBuilder& Id(std::uint8_t number);
  ScreenBuilder& Name(std::string_view name);
  ScreenBuilder& Colour(std::uint16_t colour);
  ScreenBuilder& Width(std::uint16_t width);
  ScreenBuilder& Height(std::uint16_t height);
  ScreenBuilder& Model(std::uint16_t model);
  ScreenBuilder& FontLib(std::uint16_t fontLib);
  tagScreenInfo Build() const { return m_screen; }

private:
  tagScreenInfo m_screen;
};

}  // namespace vantorel::test
