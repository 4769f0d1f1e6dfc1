#pragma once
// Review pictures of whole screens (menu, options, high scores, race, game
// over) put together from the built archives through the game's own image
// loader, with the game's black texts at their places, so the art can be
// judged where it is used.

#include <filesystem>
#include <string>

namespace bd::art {

// Reads the archives under `runDir` and writes scene-*.png into `outDir`.
// Returns an error message, empty on success.
std::string WriteScenes(const std::filesystem::path& runDir, const std::filesystem::path& outDir);

}  // namespace bd::art
