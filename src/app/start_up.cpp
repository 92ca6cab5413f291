#include "app/start_up.h"

#include <algorithm>
#include <charconv>

namespace vantorel {

std::optional<long long> ParseScreenSwitch(std::string_view argument) {
  if (argument.size() < 3 || (argument[0] != '/' && argument[0] != '-')) return std::nullopt;
  if (argument[1] != 's' && argument[1] != 'S') return std::nullopt;
  const std::string_view digits = argument.substr(2);
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
  long long number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  // A number too large to hold names no screen: it chooses the first one, as any number out of range.
  if (error == std::errc::result_out_of_range) return 0;
  return end == digits.data() + digits.size() ? std::optional<long long>(number) : std::nullopt;
}

StartArguments ParseStartArguments(std::span<const std::string> arguments) {
  StartArguments parsed;
  bool switchesEnd = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!switchesEnd) {
      if (argument == "--") {
        switchesEnd = true;
        continue;
      }
      if (const auto number = ParseScreenSwitch(argument)) {
        parsed.screenNumber = number;
        continue;
      }
      if (argument.starts_with('-')) continue;
    }
    if (parsed.file.empty() && !argument.empty()) parsed.file = argument;
  }
  return parsed;
}

int ChooseStartScreen(int screenCount, std::optional<long long> number) {
  if (number && *number >= 1 && *number <= screenCount) return static_cast<int>(*number - 1);
  return 0;
}

}  // namespace vantorel
