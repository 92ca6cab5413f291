#include "app/language_file.h"

#include <charconv>
#include <vector>

#include "platform/legacy_text.h"

namespace vantorel {
namespace {

constexpr int kMaxTextId = 0xFFFF;

bool Unescape(std::string_view escaped, std::string& text) {
  text.clear();
  text.reserve(escaped.size());
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] != '\\') {
      text.push_back(escaped[i]);
      continue;
    }
    if (++i == escaped.size()) return false;
    switch (escaped[i]) {
      case 'n': text.push_back('\n'); break;
      case 't': text.push_back('\t'); break;
      case '\\': text.push_back('\\'); break;
      default: return false;
    }
  }
  return true;
}

bool ParseLine(std::string_view line, std::map<int, std::string>& texts) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos || equals == 0) return false;
  const std::string_view number = line.substr(0, equals);
  int id = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), id);
  if (error != std::errc() || end != number.data() + number.size() || id < 0 || id > kMaxTextId) return false;
  std::string text;
  if (!Unescape(line.substr(equals + 1), text)) return false;
  return texts.emplace(id, std::move(text)).second;
}

// The argument list a format consumes: one entry per '*' and per conversion, with its length
// modifier, e.g. "%-5d of %lld" -> {"d", "lld"}.
std::vector<std::string> FormatArguments(std::string_view format) {
  std::vector<std::string> arguments;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (++i < format.size() && format[i] == '%') continue;
    while (i < format.size() && std::string_view("-+ #0").find(format[i]) != std::string_view::npos) ++i;
    for (int part = 0; part < 2; ++part) {  // width, then precision
      if (part == 1) {
        if (i >= format.size() || format[i] != '.') break;
        ++i;
      }
      if (i < format.size() && format[i] == '*') {
        arguments.emplace_back("*");
        ++i;
      }
      while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
    }
    std::string conversion;
    while (i < format.size() && std::string_view("hlLqjzt").find(format[i]) != std::string_view::npos) {
      conversion.push_back(format[i++]);
    }
    if (i < format.size()) conversion.push_back(format[i]);
    arguments.push_back(std::move(conversion));
  }
  return arguments;
}

}  // namespace

bool ParseLanguageFile(std::string_view content, std::map<int, std::string>& texts) {
  texts.clear();
  if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
  if (!IsValidUtf8(content)) return false;
  while (!content.empty()) {
    const auto newline = content.find('\n');
    std::string_view line = content.substr(0, newline);
    content.remove_prefix(newline == std::string_view::npos ? content.size() : newline + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    if (!ParseLine(line, texts)) return false;
  }
  return true;
}

std::string EscapeLanguageText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\n': escaped += "\\n"; break;
      case '\t': escaped += "\\t"; break;
      case '\\': escaped += "\\\\"; break;
      default: escaped.push_back(c);
    }
  }
  return escaped;
}

bool SameFormatArguments(std::string_view original, std::string_view translation) {
  return FormatArguments(original) == FormatArguments(translation);
}

}  // namespace vantorel
