#pragma once
// The answers of the two questions that open over a screen: whether to
// leave the game (on the menus and in the race), and whether to clear the
// high-score table. The answers are parts of the question's picture; only
// their highlights are sprites of their own.

#include <span>

#include "frontend/Item.h"

namespace bd {

// "Да" and "Нет" of the exit question on the menu screens: leave the game,
// or go on from the main menu.
std::span<const TItem> ExitAnswers();
// The same question in the race: "Да" ends the game (with the name entry
// when the score enters the table), "Нет" sets the race going again.
std::span<const TItem> RaceExitAnswers();
// The clear question's answers on the high-score screen.
std::span<const TItem> ClearAnswers();

}  // namespace bd
