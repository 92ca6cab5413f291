#include "platform/power_off.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace vantorel {

bool PowerOffComputer() {
  char program[] = "systemctl";
  char command[] = "poweroff";
  char* arguments[] = {program, command, nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, program, nullptr, nullptr, arguments, environ) != 0) return false;
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace vantorel
