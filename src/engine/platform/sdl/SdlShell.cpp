#include "engine/platform/sdl/SdlShell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>

extern char** environ;

namespace bd {

TSdlShell::~TSdlShell() { Reap(); }

void TSdlShell::Reap() {
  // Openers normally hand over to the desktop and exit at once.
  children_.erase(std::remove_if(children_.begin(), children_.end(),
                                 [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; }),
                  children_.end());
}

bool TSdlShell::Open(const std::string& target) {
  Reap();
  std::string program = "xdg-open";
  std::string argument = target;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "xdg-open could not be started for %s\n", target.c_str());
    return false;
  }
  children_.push_back(pid);
  return true;
}

}  // namespace bd
