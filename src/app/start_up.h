#pragma once
// The editor's command line (after Qt took its own options): the switch that chooses the screen
// whose playbill opens, the letter s (either case) after "/" or "-" directly followed by the
// 1-based screen number ("/s3", "-S2"), and a playbill file to open into that screen's playbill,
// as File > Open does (the desktop passes a double-clicked file so).

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantorel {

// The screen number of one argument, or nullopt when it is not the switch (other text, a blank
// or letters after the digits, no digits).
std::optional<long long> ParseScreenSwitch(std::string_view argument);

struct StartArguments {
  std::optional<long long> screenNumber;  // the last screen switch
  std::filesystem::path file;             // the first argument that is no switch; empty: none
};

// Reads `arguments` (arguments[0] is the program). An argument that starts with "-" is a switch
// (others than the screen switch are left alone) and so is "/s<N>"; any other one, an absolute
// path "/home/..." included, names a file. After "--" every argument names a file.
StartArguments ParseStartArguments(std::span<const std::string> arguments);

// The screen index the run starts on: number - 1 when 1 <= number <= screenCount, else 0.
int ChooseStartScreen(int screenCount, std::optional<long long> number);

}  // namespace vantorel
