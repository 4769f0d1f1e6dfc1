#pragma once
// Everything the asset builder writes, and writing it.

#include <filesystem>
#include <string>

#include "ExitScreen.h"

namespace bd::art {

// Every data file of the game, and the pictures of the score server's web
// pages, with their paths relative to the game's directory.
std::vector<OutputFile> MakeGameData();

// Writes the game's data under `runDir` and, when `sheet` is not empty, the
// contact sheet of every picture there. Files whose bytes are unchanged are
// left alone. Returns an error message, empty on success.
std::string Generate(const std::filesystem::path& runDir, const std::filesystem::path& sheet);

}  // namespace bd::art
