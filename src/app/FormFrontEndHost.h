#pragma once
// The main form as the screens see it: switching screens, sounds and music,
// the state flags, the text fields, the settings and the table, the sprites
// and the display, the pointer, the screens' timers and the race's door,
// all reached through the form.

#include "frontend/FrontEndHost.h"

namespace bd {

class TMainForm;

class TFormFrontEndHost final : public IFrontEndHost {
 public:
  explicit TFormFrontEndHost(TMainForm& form) : form_(form) {}

  TScreen& Screen() const override;
  void SwitchScreen(uint8_t n) override;
  void PressKey(int key, uint8_t shift) override;
  void Close() override;
  bool Terminated() const override;
  void LeaveGame() override;
  void ShowPausedCaption(bool paused) override;

  void PlaySound(TSoundName name) override;
  void StopSound(TSoundName name) override;
  void StopAllSounds() override;
  void PlayMusic(const std::string& number) override;
  void StopMusic() override;
  void SetMenuMusicPending(bool pending) override;
  void ResumeMenuMusic() override;

  bool Checked(TFlag flag) const override;
  void SetChecked(TFlag flag, bool checked) override;
  void Click(TFlag flag) override;
  TQuestion* OpenQuestion() override;
  bool Typing() const override;
  void SetTyping(bool typing) override;

  std::string& CountryField() override;
  std::string& NameField() override;
  std::string& Country() override;
  std::string& PlayerName() override;
  uint8_t& TypingDelay() override;
  uint8_t& CaretBlink() override;
  int32_t& CaretTextWidth() override;

  void SaveSettings() override;
  const THighScoreTable& HighScores() const override;
  void ClearHighScores() override;
  void EnterHighScore() override;
  const std::string& ScoreServer() const override;
  void GoWeb(const std::string& address) override;
  void ShellOpenFile(const std::string& path) override;
  TShareScreen& ShareScreen() override;

  TSprite& Sprites() override;
  TPictureCollectionItem& Image(TPictureName name) override;
  void SpriteFrame(int moveCount, bool clear) override;
  bool DisplayUp() const override;
  int DisplayWidth() const override;
  int DisplayHeight() const override;
  TCanvas& Canvas() override;
  void ReleaseCanvas() override;
  const std::string& TextFont() const override;

  void SetPointer(PointerShape shape) override;
  void WarpPointer(int x, int y) override;
  int32_t PointerX() const override;
  int32_t PointerY() const override;
  bool PointerInWindow() const override;
  void HoverAt(int x, int y) override;
  bool& HoverSoundArmed() override;
  int& KeyFocus() override;
  uint8_t& HelpPage() override;

  TTimer& ScreenTimer() override;
  void StartShareTimer() override;

  IRaceHost& RaceHost() override;
  void StartGame() override;
  void RaceFrame(int lagCount) override;
  TRaceKeyOutcome RaceKeyPress(int key, uint8_t shift) override;
  void RaceExitQuestion(TExitQuestionEvent event) override;
  void LoadMenuGraphicsAfterRace() override;

  void WatchRecording(const TRecording& recording, uint8_t backTo) override;
  const TRecording& WatchedRecording() const override;
  uint8_t WatchReturnScreen() const override;
  IRaceHost& WatchedRaceHost() override;
  TRaceSession& WatchedSession() override;
  void SetWatchedRaceDrawing(bool drawing) override;
  void StartWatchedRace() override;

 private:
  TMainForm& form_;
};

}  // namespace bd
