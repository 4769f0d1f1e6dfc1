#include <gtest/gtest.h>

#include <vector>

#include "codec/Cp1251.h"
#include "frontend/HighScores.h"

namespace bd {
namespace {

std::vector<int32_t> Scores(const THighScoreTable& t) {
  std::vector<int32_t> s;
  for (const auto& e : t) s.push_back(e.Score);
  return s;
}

TEST(HighScores, DefaultTable) {
  const auto& t = DefaultHighScores();
  EXPECT_EQ(Scores(t), (std::vector<int32_t>{3000, 2500, 2000, 1500, 1000, 500, 400, 300, 200, 100}));
  for (const auto& e : t) EXPECT_EQ(e.Name, "\xC3\xEE\xED\xF9\xE8\xEA");  // "Гонщик" in Windows-1251
}

TEST(HighScores, EnteringInsertsAtTheRankAndMovesTheRestDown) {
  struct Case {
    int32_t score;
    int index;
    std::vector<int32_t> after;
  };
  const Case cases[] = {
      {1200, 4, {3000, 2500, 2000, 1500, 1200, 1000, 500, 400, 300, 200}},
      {150, 9, {3000, 2500, 2000, 1500, 1000, 500, 400, 300, 200, 150}},
      {100, -1, {3000, 2500, 2000, 1500, 1000, 500, 400, 300, 200, 100}},   // equal to the last
      {3000, 0, {3000, 3000, 2500, 2000, 1500, 1000, 500, 400, 300, 200}},  // tie goes first
      {1000, 4, {3000, 2500, 2000, 1500, 1000, 1000, 500, 400, 300, 200}},
      {99999, 0, {99999, 3000, 2500, 2000, 1500, 1000, 500, 400, 300, 200}},
      {-5, -1, {3000, 2500, 2000, 1500, 1000, 500, 400, 300, 200, 100}},
  };
  for (const auto& c : cases) {
    THighScoreTable t = DefaultHighScores();
    // Distinct names show that the entries themselves moved, not just scores.
    for (int i = 0; i < HighScoreCount; ++i) t[i].Name = std::to_string(i);
    EXPECT_EQ(EnterHighScore(t, "Vasya", c.score), c.index) << c.score;
    EXPECT_EQ(Scores(t), c.after) << c.score;
    for (int i = 0; i < HighScoreCount; ++i) {
      const std::string expected = c.index < 0 || i < c.index ? std::to_string(i)
                                   : i == c.index             ? "Vasya"
                                                              : std::to_string(i - 1);
      EXPECT_EQ(t[i].Name, expected) << "score " << c.score << " row " << i;
    }
  }
}

TEST(HighScores, BeatingTheTable) {
  const auto& t = DefaultHighScores();
  EXPECT_TRUE(BeatsHighScores(t, 101));
  EXPECT_FALSE(BeatsHighScores(t, 100));
  EXPECT_TRUE(BeatsAnyHighScore(t, 101));
  EXPECT_FALSE(BeatsAnyHighScore(t, 100));

  // A hand-edited table out of order: the two tests part ways, and entering
  // still keeps ten entries.
  THighScoreTable odd = t;
  odd[9].Score = 5000;
  EXPECT_FALSE(BeatsHighScores(odd, 4000));
  EXPECT_TRUE(BeatsAnyHighScore(odd, 4000));
  EXPECT_EQ(EnterHighScore(odd, "X", 4000), -1);
  EXPECT_EQ(odd, [&] {
    auto u = t;
    u[9].Score = 5000;
    return u;
  }());
}

}  // namespace
}  // namespace bd
