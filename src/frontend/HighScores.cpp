#include "frontend/HighScores.h"

#include <algorithm>

#include "codec/Cp1251.h"

namespace bd {

const THighScoreTable& DefaultHighScores() {
  static const THighScoreTable table = [] {
    const int32_t scores[HighScoreCount] = {3000, 2500, 2000, 1500, 1000, 500, 400, 300, 200, 100};
    const std::string name = W("Гонщик");
    THighScoreTable t;
    for (int i = 0; i < HighScoreCount; ++i) t[i] = {name, scores[i]};
    return t;
  }();
  return table;
}

int32_t HighScoreThreshold(const THighScoreTable& table) { return table[HighScoreCount - 1].Score; }

bool BeatsHighScores(const THighScoreTable& table, int32_t score) {
  return score > HighScoreThreshold(table);
}

bool BeatsAnyHighScore(const THighScoreTable& table, int32_t score) {
  return std::any_of(table.begin(), table.end(),
                     [score](const TLocal_HighScores& e) { return score > e.Score; });
}

int EnterHighScore(THighScoreTable& table, const std::string& name, int32_t score) {
  if (!BeatsHighScores(table, score)) return -1;
  // The rank counts the entries above the last that the score equals or
  // beats; in a descending table that is the first entry not above it.
  int pos = HighScoreCount;
  for (int k = HighScoreCount - 2; k >= 0; --k)
    if (table[k].Score <= score) --pos;
  const int index = pos - 1;
  // Make room: everything from the rank down moves one place, the last drops.
  std::move_backward(table.begin() + index, table.end() - 1, table.end());
  table[index] = {name, score};
  return index;
}

}  // namespace bd
