#pragma once
// Stand-in game data for tests that start the whole game: image archives
// holding every picture the game asks for by name, at the sizes its fixed
// coordinates expect, each a plain colour; and a sound archive holding every
// sound as a short beep. The pictures are small on disk (run-length coded)
// and the same on every run, so tests can look at pixels.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bd::test {

struct TStandInImage {
  std::string Name;
  int32_t Width = 0;  // one pattern
  int32_t Height = 0;
  int32_t Patterns = 1;    // laid out in one row
  bool Invisible = false;  // all of it the transparent colour
};

// Every picture of the menu archive and of the race archive.
const std::vector<TStandInImage>& MenuImages();
const std::vector<TStandInImage>& RaceImages();
// Every sound of the sound archive.
const std::vector<std::string>& SoundNames();

// The plain colour (0x00BBGGRR) of a stand-in picture; distinct for every
// name, light, so black text on it stands out, and never the transparent colour.
uint32_t StandInColor(const std::string& name);
// The transparent colour of every stand-in picture.
inline constexpr uint32_t StandInKeyColor = 0x00FF00FF;

// Writes Data/GraphicsMenu.dxg, Data/GraphicsMain.dxg and Data/Sound.dxw
// under `dir`.
void WriteStandInGameData(const std::filesystem::path& dir);

}  // namespace bd::test
