// assetgen RUN_DIR [CONTACT_SHEET.png]
// Writes the game's pictures, sounds, songs and sample exit screen under
// RUN_DIR, and the contact sheet of every picture when a path is given.

#include <cstdio>

#include "Generate.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s RUN_DIR [CONTACT_SHEET.png]\n", argv[0]);
    return 2;
  }
  std::string error = bd::art::Generate(argv[1], argc == 3 ? argv[2] : "");
  if (!error.empty()) {
    std::fprintf(stderr, "assetgen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
