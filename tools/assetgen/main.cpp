// assetgen RUN_DIR SCORE_SERVER [CONTACT_SHEET.png]
//   Writes the game's pictures, sounds, songs, sample exit screen and web
//   page under RUN_DIR, for a game that reports to SCORE_SERVER
//   (scheme://host[:port]), and the contact sheet of every picture when a
//   path is given.
// assetgen --scenes RUN_DIR OUT_DIR
//   Puts whole screens together from the built archives for review.
// assetgen --icons DIR NAME
//   Writes the desktop icon as DIR/NxN/apps/NAME.png in every size.

#include <cstdio>
#include <string>

#include "Generate.h"
#include "Icon.h"
#include "Paint.h"
#include "Scenes.h"
#include "codec/ScoreServerAddress.h"

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--scenes") {
    std::string error = bd::art::WriteScenes(argv[2], argv[3]);
    bd::art::ReleaseFonts();
    if (!error.empty()) std::fprintf(stderr, "assetgen: %s\n", error.c_str());
    return error.empty() ? 0 : 1;
  }
  if (argc == 4 && std::string(argv[1]) == "--icons") {
    std::string error = bd::art::WriteIcons(argv[2], argv[3]);
    bd::art::ReleaseFonts();
    if (!error.empty()) std::fprintf(stderr, "assetgen: %s\n", error.c_str());
    return error.empty() ? 0 : 1;
  }
  if (argc < 3 || argc > 4 || !bd::IsScoreServerBase(argv[2])) {
    std::fprintf(stderr,
                 "usage: %s RUN_DIR SCORE_SERVER [CONTACT_SHEET.png] | --scenes RUN_DIR OUT_DIR | "
                 "--icons DIR NAME\n",
                 argv[0]);
    return 2;
  }
  std::string error = bd::art::Generate(argv[1], argv[2], argc == 4 ? argv[3] : "");
  bd::art::ReleaseFonts();
  if (!error.empty()) {
    std::fprintf(stderr, "assetgen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
