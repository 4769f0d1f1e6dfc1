#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "codec/Cp1251.h"
#include "race/RaceHud.h"

namespace bd {
namespace {

std::optional<THudText> Find(const std::vector<THudText>& texts, const std::string& text) {
  const auto it = std::find_if(texts.begin(), texts.end(), [&](const THudText& t) { return t.Text == text; });
  if (it == texts.end()) return std::nullopt;
  return *it;
}

TEST(RaceHud, TextsAndPlaces) {
  struct Case {
    const char* what;
    int32_t distance, speed;
    THudText expected;
  };
  const Case cases[] = {
      {"start of level 1", 0, 0, {"15 X", 678, 25}},
      {"standing", 0, 0, {"X 0", 70, 100}},
      {"reversing", 0, -2, {"X 20 R", 70, 100}},
      {"driving", 0, 14, {"X 140", 70, 100}},
      {"one thousand left", 14000, 3, {"1 X", 686, 25}},
      // Kept clear of the road's edge line at x 688, the kerb and the sign beyond.
      {"almost there", 14001, 3, {W("Уже близко..."), 602, 25, 16, HudBlack, false, 84}},
      {"overshot", 15100, 3, {W("Уже близко..."), 602, 25, 16, HudBlack, false, 84}},
      {"behind the start", -1000, -1, {"16 X", 678, 25}},
  };
  for (const auto& c : cases) {
    TRaceState s;
    s.Level = 1;
    s.Distance = c.distance;
    s.Speed = c.speed;
    const auto texts = RaceHudTexts(s, false, false);
    EXPECT_EQ(Find(texts, c.expected.Text), c.expected) << c.what;
  }
}

TEST(RaceHud, FixedTextsAndCounters) {
  TRaceState s;
  s.Level = 12;
  s.Score = 4321;
  s.Health = 55;
  s.Lives = 2;
  s.HasGuns = true;
  s.GunShots = 7;
  s.GunsMarkerY = 220;
  s.NitroOn = true;
  s.NitroSeconds = 2;
  s.NitroMarkerY = 270;
  const auto texts = RaceHudTexts(s, false, false);
  const THudText expected[] = {
      {"4321", 400, 5, 16, HudBlack, true},
      {"X 55", 75, 25},
      {"X 2", 70, 165},
      {W("Уровень"), 718, 72, 14},
      {"12", 767, 95, 16, HudBlack, true},
      {"7", 60, 227, 16, HudNavy},
      {"3", 60, 277, 16, HudNavy},
  };
  for (const auto& e : expected) EXPECT_EQ(Find(texts, e.Text), e) << e.Text;
  EXPECT_FALSE(Find(texts, "0"));  // no stop-me counter without the power-up
}

TEST(RaceHud, PauseAndLevelCaption) {
  struct Case {
    bool paused, intro, exitShown, pauseText, caption;
  };
  const Case cases[] = {
      {false, true, false, false, true},   {true, true, false, true, false},
      {true, false, true, false, false},   {false, true, true, false, false},
      {false, false, false, false, false},
  };
  for (const auto& c : cases) {
    TRaceState s;
    s.Level = 3;
    s.Paused = c.paused;
    const auto texts = RaceHudTexts(s, c.intro, c.exitShown);
    const auto pause = Find(texts, W("Пауза"));
    const auto caption = Find(texts, W("Уровень 3"));
    EXPECT_EQ(pause.has_value(), c.pauseText) << c.paused << c.intro << c.exitShown;
    EXPECT_EQ(caption.has_value(), c.caption) << c.paused << c.intro << c.exitShown;
    if (pause) {
      EXPECT_EQ(*pause, (THudText{W("Пауза"), 335, 270, 30}));
    }
    if (caption) {
      EXPECT_EQ(*caption, (THudText{W("Уровень 3"), 400, 250, 30, HudBlack, true}));
    }
  }
}

}  // namespace
}  // namespace bd
