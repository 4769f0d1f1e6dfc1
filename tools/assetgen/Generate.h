#pragma once
// Everything the asset builder writes, and writing it.

#include <filesystem>
#include <string>
#include <string_view>

#include "ExitScreen.h"

namespace bd::art {

// Every data file of the game, and the pictures of the score server's web
// pages, with their paths relative to the game's directory. The game's page
// tells where the scores go: to `scoreServer`, the game's score server.
std::vector<OutputFile> MakeGameData(std::string_view scoreServer);

// Writes the game's data under `runDir` and, when `sheet` is not empty, the
// contact sheet of every picture there. Files whose bytes are unchanged are
// left alone. Returns an error message, empty on success.
std::string Generate(const std::filesystem::path& runDir, std::string_view scoreServer,
                     const std::filesystem::path& sheet);

}  // namespace bd::art
