#pragma once
// The main form as the race sees it: the race state, the engine, the loaded
// images, the sounds, the display the race draws on and the switch to the
// game-over screen, all reached through the form; the race's generator,
// clocks, held keys and exit question come from the form's race session.

#include "race/RaceHost.h"

namespace bd {

class TMainForm;

class TFormRaceHost final : public IRaceHost {
 public:
  explicit TFormRaceHost(TMainForm& form) : form_(form) {}

  TRaceState& RaceState() override;
  TSpriteEngine& Engine() override;
  TPictureCollectionItem& FindImage(TPictureName name) override;
  void PlaySound(TSoundName name) override;
  void StopSound(TSoundName name) override;
  int32_t Random(int32_t n) override;
  bool KeyDown(int key) const override;
  bool LevelTimerEnabled() const override;
  bool LevelCompleteTimerEnabled() const override;
  bool NitroTimerEnabled() const override;
  void SetLevelTimerEnabled(bool enabled) override;
  void SetLevelCompleteTimerEnabled(bool enabled) override;
  void SetNitroTimerEnabled(bool enabled) override;
  bool ExitQuestionOpen() const override;
  void DrawSprites() override;
  void DrawHudText(const THudText& text) override;
  void ShowGameOver() override;

 private:
  TMainForm& form_;
};

}  // namespace bd
