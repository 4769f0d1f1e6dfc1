#include "app/CommandLine.h"

#include <string_view>

namespace bd {

TCommandLineParse ParseCommandLine(const std::vector<std::string>& args) {
  TCommandLineParse parse;
  constexpr std::string_view kReplay = "--replay";
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::optional<std::string> file;
    if (arg == kReplay) {
      if (i + 1 == args.size()) {
        parse.Error = "--replay needs a file";
        return parse;
      }
      file = args[++i];
    } else if (arg.starts_with(std::string(kReplay) + "=")) {
      file = arg.substr(kReplay.size() + 1);
    } else {
      parse.Error = "unknown argument '" + arg + "'";
      return parse;
    }
    if (file->empty()) {
      parse.Error = "--replay needs a file";
      return parse;
    }
    if (parse.Line.ReplayFile) {
      parse.Error = "only one recording can be watched at a time";
      return parse;
    }
    parse.Line.ReplayFile = std::move(file);
  }
  return parse;
}

std::string CommandLineUsage(const std::string& program) {
  return "usage: " + program +
         " [--replay FILE]\n"
         "  --replay FILE  watch the recorded race in FILE (.bdrec), then go on to the main menu\n";
}

}  // namespace bd
