#pragma once
// The short wait before the game-over screen gives way to the main menu, on
// a key and on a click alike: the click's sound is heard before the menu
// music starts, and the key that ends the screen does not also act on the
// menu.

#include <chrono>
#include <thread>

namespace bd {

inline void BriefPause() { std::this_thread::sleep_for(std::chrono::milliseconds(200)); }

}  // namespace bd
