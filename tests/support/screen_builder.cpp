#include "support/screen_builder.h"

namespace vantorel::test {

ScreenBuilder& ScreenBuilder::Type(std::uint16_t type) {
  m_screen.type = type;
  return *this;
}
ScreenBuilder& ScreenBuilder::Id(std::uint8_t number) {
  m_screen.number = number;
  return *this;
}
ScreenBuilder& ScreenBuilder::Name(std::string_view name) {
  m_screen.scrName = name;
  return *this;
}
ScreenBuilder& ScreenBuilder::Colour(std::uint16_t colour) {
  m_screen.color = colour;
  return *this;
}
ScreenBuilder& ScreenBuilder::Width(std::uint16_t width) {
  m_screen.width = width;
  return *this;
}
ScreenBuilder& ScreenBuilder::Height(std::uint16_t height) {
  m_screen.height = height;
  return *this;
}
ScreenBuilder& ScreenBuilder::Model(std::uint16_t model) {
  m_screen.model = model;
  return *this;
}
ScreenBuilder& ScreenBuilder::FontLib(std::uint16_t fontLib) {
  m_screen.fontLib = fontLib;
  return *this;
}

}  // namespace vantorel::test
