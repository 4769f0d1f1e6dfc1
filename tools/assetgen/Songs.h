#pragma once
// The three songs: a bright menu loop, a driving race theme and a short, sad
// game-over tune, composed here from the synthesised instruments.

#include <cstdint>
#include <string>
#include <vector>

namespace bd::xm {

struct Song {
  std::string name;  // file name without ".xm"
  std::vector<uint8_t> bytes;
};

std::vector<Song> MakeSongs();

}  // namespace bd::xm
