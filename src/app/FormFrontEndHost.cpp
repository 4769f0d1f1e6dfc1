#include "app/FormFrontEndHost.h"

#include "app/MainForm.h"
#include "assets/PictureLookup.h"

namespace bd {
namespace {

TMenuItem& Item(TMainForm& form, TFlag flag) {
  switch (flag) {
    case TFlag::FullScreen:
      return form.GameFullScreen;
    case TFlag::Sound:
      return form.GameSound;
    case TFlag::Music:
      return form.GameMusic;
    case TFlag::MainExit:
      return form.GameMainExit;
    case TFlag::ClearHighScore:
      return form.GameClearHighScore;
    case TFlag::EnterName:
      return form.GameEnterName;
    case TFlag::SendResult:
      return form.GameSendResult;
  }
  return form.GameMainExit;  // not reached: every flag is listed
}

}  // namespace

TScreen& TFormFrontEndHost::Screen() const { return form_.Screen(); }
void TFormFrontEndHost::SwitchScreen(uint8_t n) { form_.SwitchScreen(n); }
void TFormFrontEndHost::PressKey(int key, uint8_t shift) { form_.FormKeyDown(key, shift); }
void TFormFrontEndHost::Close() { form_.Close(); }
bool TFormFrontEndHost::Terminated() const { return form_.Application.Terminated(); }
void TFormFrontEndHost::LeaveGame() { form_.LeaveGame(); }
void TFormFrontEndHost::ShowPausedCaption(bool paused) {
  form_.Window.SetCaption(paused ? PausedCaption() : RunningCaption());
}

void TFormFrontEndHost::PlaySound(TSoundName name) { form_.PlaySound(name); }
void TFormFrontEndHost::StopSound(TSoundName name) { form_.StopSound(name); }
void TFormFrontEndHost::StopAllSounds() { form_.StopAllSounds(); }
void TFormFrontEndHost::PlayMusic(const std::string& number) { form_.PlayMusic(number); }
void TFormFrontEndHost::StopMusic() { form_.StopMusic(); }
void TFormFrontEndHost::SetMenuMusicPending(bool pending) { form_.MenuMusicPending = pending; }

void TFormFrontEndHost::ResumeMenuMusic() {
  if (form_.MenuMusicPending) form_.PlayMusic("1");
  form_.MenuMusicPending = false;
}

bool TFormFrontEndHost::Checked(TFlag flag) const { return Item(form_, flag).Checked; }
void TFormFrontEndHost::SetChecked(TFlag flag, bool checked) { Item(form_, flag).Checked = checked; }

void TFormFrontEndHost::Click(TFlag flag) {
  switch (flag) {
    case TFlag::FullScreen:
      form_.GameFullScreenClick();
      return;
    case TFlag::Sound:
      form_.GameSoundClick();
      return;
    case TFlag::Music:
      form_.GameMusicClick();
      return;
    case TFlag::MainExit:
      form_.GameMainExitClick();
      return;
    case TFlag::ClearHighScore:
      form_.GameClearHighScoreClick();
      return;
    case TFlag::EnterName:
      form_.GameEnterNameClick();
      return;
    case TFlag::SendResult:
      form_.GameSendResultClick();
      return;
  }
}

TQuestion* TFormFrontEndHost::OpenQuestion() { return form_.OpenQuestion(); }
bool TFormFrontEndHost::Typing() const { return form_.GamegoEdit.Checked; }
void TFormFrontEndHost::SetTyping(bool typing) { form_.GamegoEdit.Checked = typing; }

std::string& TFormFrontEndHost::CountryField() { return form_.Edit1.Text; }
std::string& TFormFrontEndHost::NameField() { return form_.Edit2.Text; }
std::string& TFormFrontEndHost::Country() { return form_.Country; }
std::string& TFormFrontEndHost::PlayerName() { return form_.PlayerName; }
uint8_t& TFormFrontEndHost::TypingDelay() { return form_.TypingDelay; }
uint8_t& TFormFrontEndHost::CaretBlink() { return form_.CaretBlink; }
int32_t& TFormFrontEndHost::CaretTextWidth() { return form_.CaretTextWidth; }

void TFormFrontEndHost::SaveSettings() { form_.SaveSettings(); }
const THighScoreTable& TFormFrontEndHost::HighScores() const { return form_.HighScores; }
void TFormFrontEndHost::ClearHighScores() { form_.ClearHighScores(); }
void TFormFrontEndHost::EnterHighScore() { form_.EnterHighScore(); }
const std::string& TFormFrontEndHost::ScoreServer() const { return form_.ScoreServer; }
void TFormFrontEndHost::GoWeb(const std::string& address) { form_.GoWeb(address); }
void TFormFrontEndHost::ShellOpenFile(const std::string& path) { form_.ShellOpenFile(path); }
TShareScreen& TFormFrontEndHost::ShareScreen() { return form_.ShareScreen; }

TSprite& TFormFrontEndHost::Sprites() { return form_.SpriteEngine.Engine(); }
TPictureCollectionItem& TFormFrontEndHost::Image(TPictureName name) {
  return FindPicture(form_.ImageList, name);
}
void TFormFrontEndHost::SpriteFrame(int moveCount, bool clear) { form_.SpriteFrame(moveCount, clear); }
bool TFormFrontEndHost::DisplayUp() const { return form_.DXDraw.BackBuffer() != nullptr; }
int TFormFrontEndHost::DisplayWidth() const { return form_.DXDraw.SurfaceWidth(); }
int TFormFrontEndHost::DisplayHeight() const { return form_.DXDraw.SurfaceHeight(); }
TCanvas& TFormFrontEndHost::Canvas() { return form_.DXDraw.SurfaceCanvas(); }
void TFormFrontEndHost::ReleaseCanvas() { form_.DXDraw.ReleaseCanvas(); }
const std::string& TFormFrontEndHost::TextFont() const { return form_.TextFont; }

void TFormFrontEndHost::SetPointer(PointerShape shape) { form_.Window.SetPointer(shape); }
void TFormFrontEndHost::WarpPointer(int x, int y) { form_.Window.WarpPointer(x, y); }
int32_t TFormFrontEndHost::PointerX() const { return form_.PointerX; }
int32_t TFormFrontEndHost::PointerY() const { return form_.PointerY; }
bool TFormFrontEndHost::PointerInWindow() const { return form_.PointerInWindow; }
void TFormFrontEndHost::HoverAt(int x, int y) { form_.HoverAt(x, y); }
bool& TFormFrontEndHost::HoverSoundArmed() { return form_.HoverSoundArmed; }
int& TFormFrontEndHost::KeyFocus() { return form_.KeyFocus; }
uint8_t& TFormFrontEndHost::HelpPage() { return form_.HelpPage; }

TTimer& TFormFrontEndHost::ScreenTimer() { return form_.Timer1; }
void TFormFrontEndHost::StartShareTimer() { form_.sharetimer.SetEnabled(true); }

IRaceHost& TFormFrontEndHost::RaceHost() { return form_.RaceHost(); }
void TFormFrontEndHost::StartGame() { form_.StartGame(); }

void TFormFrontEndHost::RaceFrame(int lagCount) { form_.RaceFrame(lagCount); }

TRaceKeyOutcome TFormFrontEndHost::RaceKeyPress(int key, uint8_t shift) {
  return form_.RaceSession.KeyPress(form_.RaceHost(), key, shift);
}

void TFormFrontEndHost::RaceExitQuestion(TExitQuestionEvent event) {
  form_.RaceSession.ExitQuestion(form_.RaceHost(), event);
}

void TFormFrontEndHost::LoadMenuGraphicsAfterRace() { form_.LoadMenuGraphicsAfterRace(); }

void TFormFrontEndHost::WatchRecording(const TRecording& recording, uint8_t backTo) {
  form_.WatchRecording(recording, backTo);
}
const TRecording& TFormFrontEndHost::WatchedRecording() const { return form_.WatchedRecording(); }
uint8_t TFormFrontEndHost::WatchReturnScreen() const { return form_.WatchReturnScreen(); }
IRaceHost& TFormFrontEndHost::WatchedRaceHost() { return form_.WatchedRaceHost(); }
TRaceSession& TFormFrontEndHost::WatchedSession() { return form_.WatchedSession; }
void TFormFrontEndHost::SetWatchedRaceDrawing(bool drawing) { form_.WatchedRaceHost().SetDrawing(drawing); }
void TFormFrontEndHost::StartWatchedRace() { form_.StartWatchedRace(); }

}  // namespace bd
