#pragma once
// The sample exit screen: its description file, backdrop, button pictures
// and the small files its buttons open.

#include <cstdint>
#include <string>
#include <vector>

namespace bd::art {

struct OutputFile {
  std::string path;  // relative to the game's directory
  std::vector<uint8_t> bytes;
};

std::vector<OutputFile> MakeExitScreen();

}  // namespace bd::art
