#pragma once
// The numbers of the screens, as the form keeps the current one
// (`CurrentScreen`); 0 means none has been built yet. Each is an object of
// frontend/screens/, found through the screen table.

#include <cstdint>

namespace bd::screen {

constexpr uint8_t None = 0;
constexpr uint8_t Splash = 1;
constexpr uint8_t MainMenu = 2;
constexpr uint8_t Race = 3;
constexpr uint8_t Help = 4;
constexpr uint8_t Options = 5;
constexpr uint8_t HighScores = 6;
constexpr uint8_t Exit = 8;
constexpr uint8_t GameOver = 9;
constexpr uint8_t Replay = 10;

}  // namespace bd::screen
