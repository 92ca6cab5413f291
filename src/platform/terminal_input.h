#pragma once
// Reading a secret from the user's terminal: the command line asks for a password this way when
// it was not given as an option.

#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

// Whether standard input is a terminal (not a file, a pipe or /dev/null).
bool StandardInputIsTerminal();

// Writes `prompt` to standard error and reads one line from the terminal without showing what is
// typed; nullopt when standard input is not a terminal or ends before a line.
std::optional<std::string> ReadHiddenLine(std::string_view prompt);

}  // namespace vantorel
