#pragma once
// The local table of the ten best results. Index 0 is rank 1; the table is
// kept in descending order by the way scores enter it, nothing sorts it.

#include <array>
#include <cstdint>
#include <string>

namespace bd {

// One entry of the table. The name is Windows-1251 text.
struct TLocal_HighScores {
  std::string Name;
  int32_t Score = 0;

  bool operator==(const TLocal_HighScores&) const = default;
};

inline constexpr int HighScoreCount = 10;
using THighScoreTable = std::array<TLocal_HighScores, HighScoreCount>;

// The built-in table: ten entries named "Гонщик" with 3000, 2500, 2000, 1500,
// 1000, 500, 400, 300, 200 and 100 points. A fresh game and the clear command
// start from it.
const THighScoreTable& DefaultHighScores();

// The tenth entry's score: the threshold that a result must exceed to enter
// the table.
int32_t HighScoreThreshold(const THighScoreTable& table);

// True when `score` is greater than the threshold (the name entry, Enter
// and the menu's exit from a race use this).
bool BeatsHighScores(const THighScoreTable& table, int32_t score);

// True when `score` is greater than the score of at least one entry. For a
// table in descending order this is the same as BeatsHighScores; the
// game-over timer asks it this way before it opens the name entry. A table
// read from a hand-edited settings file need not be in order, and there the
// two answers differ, so this is not folded into BeatsHighScores.
bool BeatsAnyHighScore(const THighScoreTable& table, int32_t score);

// Puts (name, score) into the table when the score beats it: the new entry
// takes the place of the best-ranked entry it equals or beats, that entry and
// the ones below it move down by one and only the last entry drops out.
// Returns the index of the new entry, or -1 when the score does not beat the
// table (the table is then unchanged).
int EnterHighScore(THighScoreTable& table, const std::string& name, int32_t score);

}  // namespace bd
