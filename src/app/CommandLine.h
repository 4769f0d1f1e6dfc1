#pragma once
// The game's command line. It takes one option, a recorded game to watch
// (`--replay FILE` or `--replay=FILE`); anything else is a usage error.

#include <optional>
#include <string>
#include <vector>

namespace bd {

struct TCommandLine {
  std::optional<std::string> ReplayFile;
};

// The parsed command line, or the reason it is wrong (one English line).
struct TCommandLineParse {
  TCommandLine Line;
  std::string Error;  // empty: parsed
};

// `args` are the arguments after the program's name.
TCommandLineParse ParseCommandLine(const std::vector<std::string>& args);

// What the game says on the terminal about how to start it.
std::string CommandLineUsage(const std::string& program);

}  // namespace bd
