#pragma once
// The race's host for a replay: its own race state, sprite engine and race
// session, the pictures shared by all replays, and nothing to draw on or
// play sounds through.

#include "engine/sprites/SpriteTree.h"
#include "race/RaceSession.h"
#include "race/replay/RaceImages.h"

namespace bd {

class TReplayHost final : public IRaceHost {
 public:
  explicit TReplayHost(const TRaceImages& images) : images_(images) {}
  ~TReplayHost() override { engine_.ClearChildren(); }
  TReplayHost(const TReplayHost&) = delete;
  TReplayHost& operator=(const TReplayHost&) = delete;

  TRaceSession& Session() { return session_; }

  TRaceState& RaceState() override { return state_; }
  TSpriteEngine& Engine() override { return engine_; }
  TPictureCollectionItem& FindImage(TPictureName name) override { return images_.Find(name); }
  void PlaySound(TSoundName /*name*/) override {}
  void StopSound(TSoundName /*name*/) override {}
  int32_t Random(int32_t n) override { return session_.Random().Next(n); }
  bool KeyDown(int key) const override { return session_.KeyHeld(key); }
  bool LevelTimerEnabled() const override { return session_.Clocks().Level.Enabled(); }
  bool LevelCompleteTimerEnabled() const override { return session_.Clocks().LevelComplete.Enabled(); }
  bool NitroTimerEnabled() const override { return session_.Clocks().Nitro.Enabled(); }
  void SetLevelTimerEnabled(bool enabled) override { session_.Clocks().Level.SetEnabled(enabled); }
  void SetLevelCompleteTimerEnabled(bool enabled) override {
    session_.Clocks().LevelComplete.SetEnabled(enabled);
  }
  void SetNitroTimerEnabled(bool enabled) override { session_.Clocks().Nitro.SetEnabled(enabled); }
  bool ExitQuestionOpen() const override { return session_.ExitQuestionOpen(); }
  void DrawSprites() override {}
  void DrawHudText(const THudText& /*text*/) override {}
  // The session has already taken the game's end on this frame.
  void ShowGameOver() override {}

 private:
  const TRaceImages& images_;
  TRaceState state_;
  TRaceSession session_;
  TSpriteEngine engine_;
};

}  // namespace bd
