#pragma once
// A stand-in for the main form as the race sees it: an engine, a race state,
// in-memory pictures of the race's images at their real sizes, a recorded
// sound log, scripted and logged random draws, a key table, the three race
// timers and the exit question as plain flags, and a log of what the race
// drew.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/images/PictureCollection.h"
#include "engine/sprites/SpriteTree.h"
#include "engine/base/Types.h"
#include "race/RaceHost.h"
#include "race/RaceHud.h"

namespace bd::test {

class TFakeRaceHost : public IRaceHost {
 public:
  TFakeRaceHost() {
    struct TSize {
      const char* Name;
      int W, H, Patterns;
    };
    static constexpr TSize kImages[] = {
        {"background", 800, 200, 1},  {"All_car", 54, 100, 4},      {"bulet", 8, 20, 1},
        {"pistolet", 16, 40, 4},      {"nitroFlames", 54, 40, 1},   {"cars_ok1", 106, 56, 1},
        {"cars_ok2", 106, 56, 1},     {"cars_ok3", 106, 56, 1},     {"cars_ok4", 106, 56, 1},
        {"cars_broken1", 106, 56, 1}, {"cars_broken2", 106, 56, 1}, {"cars_broken3", 106, 56, 1},
        {"cars_broken4", 106, 56, 1}, {"stolb", 240, 60, 1},        {"tree", 300, 100, 1},
        {"rocks", 100, 120, 1},       {"luja", 140, 70, 1},         {"lujaUje", 130, 80, 1},
        {"propast", 800, 140, 4},     {"propastPlus", 800, 150, 4}, {"cr_pr", 800, 60, 1},
        {"zzz", 800, 100, 1},         {"meteorit", 40, 64, 6},      {"sledMeteorita", 80, 140, 6},
        {"boom", 96, 96, 8},          {"live", 30, 30, 4},          {"helth", 40, 40, 4},
        {"guns", 40, 40, 4},          {"stopMe", 40, 40, 4},        {"nitro", 40, 40, 4},
        {"bonus", 40, 40, 4},         {"m_helth", 70, 70, 1},       {"m_speed", 60, 60, 1},
        {"m_lives", 60, 60, 1},       {"m_gorod", 70, 60, 1},
    };
    for (const TSize& i : kImages) {
      // Patterns side by side, each filled with one opaque colour.
      std::vector<uint32_t> pixels(static_cast<size_t>(i.W * i.Patterns * i.H), 0x00336699);
      images_[i.Name] =
          TPictureCollectionItem::FromPixels(i.W * i.Patterns, i.H, std::move(pixels), i.W, i.H, 0x00FF00FF);
    }
    State.RaceRunning = true;
  }

  ~TFakeRaceHost() override { Engine_.ClearChildren(); }

  // --- IRaceHost ---
  TRaceState& RaceState() override { return State; }
  TSpriteEngine& Engine() override { return Engine_; }
  TPictureCollectionItem& FindImage(TPictureName name) override {
    auto it = images_.find(std::string(name.Text()));
    if (it == images_.end())
      throw EPictureCollectionError(Format("Image '%s' not found", std::string(name.Text()).c_str()));
    return *it->second;
  }
  void PlaySound(TSoundName name) override { Sounds.emplace_back(name.Text()); }
  void StopSound(TSoundName /*name*/) override {}
  // Scripted draws come first (each must lie in the range asked for); then
  // the program's generator with a fixed seed.
  int32_t Random(int32_t n) override {
    Asked.push_back(n);
    if (!Draws.empty()) {
      const int32_t v = Draws.front();
      Draws.pop_front();
      EXPECT_TRUE(v >= 0 && (v < n || (n == 0 && v == 0)))
          << "scripted draw " << v << " for Random(" << n << ")";
      return v;
    }
    return Generator.Next(n);
  }
  bool KeyDown(int key) const override { return Keys[static_cast<size_t>(key)]; }
  bool LevelTimerEnabled() const override { return LevelTimer; }
  bool LevelCompleteTimerEnabled() const override { return LevelCompleteTimer; }
  bool NitroTimerEnabled() const override { return NitroTimer; }
  void SetLevelTimerEnabled(bool enabled) override { LevelTimer = enabled; }
  void SetLevelCompleteTimerEnabled(bool enabled) override { LevelCompleteTimer = enabled; }
  void SetNitroTimerEnabled(bool enabled) override { NitroTimer = enabled; }
  bool ExitQuestionOpen() const override { return ExitQuestion; }
  void DrawSprites() override { ++SpriteDrawings; }
  void DrawHudText(const THudText& text) override { Texts.push_back(text); }
  void ShowGameOver() override { ++GameOverShown; }

  // --- Helpers for tests ---
  bool Played(const std::string& name) const {
    return std::find(Sounds.begin(), Sounds.end(), name) != Sounds.end();
  }
  // Live (not killed) sprites of class T.
  template <typename T>
  std::vector<T*> Live() const {
    std::vector<T*> found;
    for (int32_t i = 0; i < Engine_.ChildCount(); ++i)
      if (auto* s = dynamic_cast<T*>(Engine_.ChildAt(i)); s != nullptr && !s->IsDead()) found.push_back(s);
    return found;
  }
  void Frame(int moveCount = 1) {
    Engine_.MoveTree(moveCount);
    Engine_.RemoveDead();
  }

  TRaceState State;
  std::vector<std::string> Sounds;
  std::deque<int32_t> Draws;
  std::vector<int32_t> Asked;  // the range of every draw, in order
  TRandom Generator{12345};
  std::array<bool, 256> Keys{};
  bool LevelTimer = false;
  bool LevelCompleteTimer = false;
  bool NitroTimer = false;
  bool ExitQuestion = false;
  int SpriteDrawings = 0;
  std::vector<THudText> Texts;
  int GameOverShown = 0;

 private:
  TSpriteEngine Engine_;
  std::map<std::string, std::unique_ptr<TPictureCollectionItem>> images_;
};

}  // namespace bd::test
