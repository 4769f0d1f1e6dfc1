#pragma once
// The main form as the race sprites see it: the race state, the engine, the
// loaded images, the sounds, the random generator, the held keys, the end of
// a life and the race timers, all reached through the form.

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
  void Randomize() override;
  bool KeyDown(int key) const override;
  void ByeByeMyCar() override;
  bool LevelTimerEnabled() const override;
  bool LevelCompleteTimerEnabled() const override;
  bool NitroTimerEnabled() const override;
  void SetNitroTimerEnabled(bool enabled) override;

 private:
  TMainForm& form_;
};

}  // namespace bd
