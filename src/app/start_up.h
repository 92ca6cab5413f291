#pragma once
// The command-line switch that chooses the screen whose playbill opens: the letter s (either case)
// after "/" or "-", directly followed by the 1-based screen number ("/s3", "-S2").

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantorel {

// The screen number of one argument, or nullopt when it is not the switch (other text, a blank
// or letters after the digits, no digits).
std::optional<long long> ParseScreenSwitch(std::string_view argument);
// The last screen switch among `arguments` (arguments[0] is the program).
std::optional<long long> FindScreenSwitch(std::span<const std::string> arguments);

// The screen index the run starts on: number - 1 when 1 <= number <= screenCount, else 0.
int ChooseStartScreen(int screenCount, std::optional<long long> number);

}  // namespace vantorel
