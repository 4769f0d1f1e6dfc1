#pragma once
// Handing files and addresses to the desktop's opener.

#include <sys/types.h>

#include <string>
#include <vector>

#include "engine/platform/Platform.h"

namespace bd {

// Opens files and addresses with xdg-open, started with an argument vector
// (never through a shell, so no text is ever interpreted as a command).
class TSdlShell : public IShell {
 public:
  ~TSdlShell() override;
  bool Open(const std::string& target) override;

 private:
  void Reap();
  std::vector<pid_t> children_;
};

}  // namespace bd
