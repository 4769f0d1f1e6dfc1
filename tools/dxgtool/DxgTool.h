#pragma once
// The archive inspector for modders and the asset pipeline:
//   dxgtool list FILE         one line per image or sound of the archive
//   dxgtool extract FILE DIR  every picture as NAME.png, every recording as NAME.wav
//   dxgtool check FILE        exit status 1 and the loader's message on a bad archive

#include <iosfwd>
#include <string>
#include <vector>

namespace bd {

// Runs the tool with its arguments (without the program name). Returns the
// exit status: 0 success, 1 a bad or unreadable archive, 2 wrong usage.
int RunDxgTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace bd
