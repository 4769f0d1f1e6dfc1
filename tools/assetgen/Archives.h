#pragma once
// Turns the drawn pictures and synthesised sounds into the game's archive files.

#include <cstdint>
#include <vector>

#include "Art.h"
#include "Sounds.h"

namespace bd::art {

std::vector<uint8_t> BuildImageArchive(const std::vector<ArtItem>& items);
std::vector<uint8_t> BuildSoundArchive(const std::vector<synth::SoundItem>& sounds);

// Raster pixels (0x00RRGGBB) as a bitmap file, for files outside the archives.
std::vector<uint8_t> BitmapFile(const Raster& r);
std::vector<uint8_t> JpegFile(const Raster& r, int quality);

}  // namespace bd::art
