#pragma once
// A text field of a fixed-size record. The stored form reserves Width bytes including the
// terminating NUL in the legacy code page of older installations (GB18030: two bytes for a Chinese
// character, four for an emoji), so the text kept is what takes at most Width - 1 bytes there: a
// name that filled the field on such a system fits here too. Text is UTF-8 in memory and is cut on
// a character boundary, never inside a multi-byte character.

#include <cstddef>
#include <string>
#include <string_view>

namespace vantorel {

// Longest prefix of `text` of at most `maxBytes` bytes that does not end inside a UTF-8 sequence.
std::string_view CutUtf8(std::string_view text, std::size_t maxBytes);
// Bytes `text` (UTF-8) takes in the legacy code page (platform/legacy_text.h).
std::size_t LegacyCodepageSize(std::string_view text);
// Longest prefix of `text` whose legacy code page form takes at most `maxBytes` bytes.
std::string_view CutToLegacySize(std::string_view text, std::size_t maxBytes);

template <std::size_t Width>
class FixedText {
  static_assert(Width >= 1, "a field holds at least its terminator");

public:
  static constexpr std::size_t kWidth = Width;
  static constexpr std::size_t kMaxBytes = Width - 1;  // in the legacy code page

  FixedText() = default;
  FixedText(std::string_view text) { Assign(text); }  // NOLINT(google-explicit-constructor)
  FixedText(const char* text) { Assign(text ? std::string_view(text) : std::string_view()); }  // NOLINT

  FixedText& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }
  FixedText& operator=(const char* text) {
    Assign(text ? std::string_view(text) : std::string_view());
    return *this;
  }

  void Assign(std::string_view text) {
    // Stored fields end at their first NUL, as the records they come from do.
    text = text.substr(0, text.find('\0'));
    m_text.assign(CutToLegacySize(text, kMaxBytes));
  }

  const std::string& str() const { return m_text; }
  std::string_view view() const { return m_text; }
  const char* c_str() const { return m_text.c_str(); }
  bool empty() const { return m_text.empty(); }
  std::size_t size() const { return m_text.size(); }  // UTF-8 bytes
  // Bytes in the legacy code page: what the field's width limits.
  std::size_t LegacySize() const { return LegacyCodepageSize(m_text); }
  void clear() { m_text.clear(); }

  operator std::string_view() const { return m_text; }  // NOLINT(google-explicit-constructor)
  friend bool operator==(const FixedText& a, const FixedText& b) = default;
  friend bool operator==(const FixedText& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const FixedText& a, const char* b) { return a.view() == std::string_view(b); }

private:
  std::string m_text;
};

}  // namespace vantorel
