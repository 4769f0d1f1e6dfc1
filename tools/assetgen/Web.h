#pragma once
// The pictures of the score server's web pages: the game's title logo on a
// transparent ground, drawn at twice the size the pages show it for sharp
// phone screens, and the desktop icon as the favicon. Both go to "www/"
// beside the game, where the server looks for them by default.

#include <vector>

#include "ExitScreen.h"

namespace bd::art {

std::vector<OutputFile> MakeWebFiles();

}  // namespace bd::art
