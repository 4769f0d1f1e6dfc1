#pragma once
// The main form as the race sees it: the engine, the loaded images, the
// sounds, the display the race draws on and the switch to the game-over
// screen, all reached through the form; the race state, and the race's
// generator, clocks, held keys and exit question come from the state and
// session the host is made with. The form has two: the game's own race, and
// the race of a recording being watched, whose state and session are its
// own so that watching leaves the game's race and its recording alone.

#include "race/RaceHost.h"

namespace bd {

class TMainForm;

class TRaceSession;

class TFormRaceHost final : public IRaceHost {
 public:
  enum class TKind {
    Game,     // the player's race: its end switches to the game-over screen
    Watched,  // a recording played again: its end is the replay screen's to show
  };
  TFormRaceHost(TMainForm& form, TRaceState& state, TRaceSession& session, TKind kind)
      : form_(form), state_(state), session_(session), kind_(kind) {}

  // While off, the race draws nothing: the frames a fast replay runs between
  // two pictures would only be drawn over.
  void SetDrawing(bool drawing) { drawing_ = drawing; }

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
  TRaceState& state_;
  TRaceSession& session_;
  const TKind kind_;
  bool drawing_ = true;
};

}  // namespace bd
