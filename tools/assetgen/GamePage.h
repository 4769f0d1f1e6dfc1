#pragma once
// The game's own web page, "pdata/site.html", with its logo: what the game
// is, how it is played and where its scores go. It ships with the game and
// needs no network; every "site" link of the game opens it (the menus through
// "moregames.url", the exit screen directly).

#include <string_view>
#include <vector>

#include "ExitScreen.h"

namespace bd::art {

// The page for a game that reports its scores to `scoreServer`
// (scheme://host[:port]): a server on this machine, or a public one whose
// table the page links.
std::vector<OutputFile> MakeGamePage(std::string_view scoreServer);

}  // namespace bd::art
