#pragma once
// The game's desktop icon: the player's red car racing up a sunlit stretch
// of road, on a rounded tile, in the sizes desktops ask for.

#include <string>
#include <vector>

#include "ExitScreen.h"

namespace bd::art {

// Square sizes of the icon in pixels.
inline constexpr int kIconSizes[] = {32, 48, 64, 128, 256};

// The icon at one size, as a PNG file; empty if it cannot be encoded.
std::vector<uint8_t> IconPng(int size);

// One PNG per size, at "NxN/apps/<name>.png" as an icon theme lays them out.
std::vector<OutputFile> MakeIcons(const std::string& name);

// Writes them under `dir`, leaving files whose bytes are unchanged alone.
// Returns an error message, empty on success.
std::string WriteIcons(const std::string& dir, const std::string& name);

}  // namespace bd::art
