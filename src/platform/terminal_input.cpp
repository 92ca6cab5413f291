#include "platform/terminal_input.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>

namespace vantorel {

bool StandardInputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

std::optional<std::string> ReadHiddenLine(std::string_view prompt) {
  if (!StandardInputIsTerminal()) return std::nullopt;
  std::cerr << prompt << std::flush;
  termios saved{};
  const bool changed = ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (changed) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;  // the line end still shows, so the next output starts on a new line
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string line;
  const bool read = static_cast<bool>(std::getline(std::cin, line));
  if (changed) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  if (!read) return std::nullopt;
  return line;
}

}  // namespace vantorel
