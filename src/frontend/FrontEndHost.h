#pragma once
// What the screens and the menus' helpers need from the game's window. The
// main form implements it; the front end reaches the form only through it,
// as the race does through `IRaceHost`. The operations are grouped by what
// the screens do with them.

#include <cstdint>
#include <string>

#include "assets/AssetNames.h"
#include "engine/platform/Platform.h"
#include "frontend/HighScores.h"
#include "race/RaceInput.h"

namespace bd {

class IRaceHost;
class TRaceSession;
struct TRecording;
class TCanvas;
class TPictureCollectionItem;
class TQuestion;
class TScreen;
class TShareScreen;
class TSprite;
class TTimer;

// The checkable items of the form's popup menu that have a click of their
// own: the options, and the questions and panels that open over a screen.
enum class TFlag {
  FullScreen,
  Sound,
  Music,
  MainExit,        // the question whether to leave the game is open
  ClearHighScore,  // the question whether to clear the table is open
  EnterName,       // the name entry is open on the game-over screen
  SendResult,      // the name entry's "send online" box is ticked
};

class IFrontEndHost {
 public:
  virtual ~IFrontEndHost() = default;

  // Screens and switching.
  // The object of the screen shown now.
  virtual TScreen& Screen() const = 0;
  // Tears the current screen down and builds screen `n` (see ScreenNumbers.h).
  virtual void SwitchScreen(uint8_t n) = 0;
  // Handles a key as if it had come from the keyboard.
  virtual void PressKey(int key, uint8_t shift) = 0;
  // A close request, as from the window's close button.
  virtual void Close() = 0;
  // The program is ending: nothing on screen stays to be looked at.
  virtual bool Terminated() const = 0;
  // Goes to the exit screen, which shows itself or closes the program.
  virtual void LeaveGame() = 0;
  // The window's caption: the game's title, marked as paused or not.
  virtual void ShowPausedCaption(bool paused) = 0;

  // Sound effects and music; all do nothing while they are turned off.
  virtual void PlaySound(TSoundName name) = 0;
  virtual void StopSound(TSoundName name) = 0;
  virtual void StopAllSounds() = 0;
  virtual void PlayMusic(const std::string& number) = 0;
  virtual void StopMusic() = 0;
  // The menu's song waits to start again after a race; set when a race is
  // left, cleared by the next menu screen that starts it.
  virtual void SetMenuMusicPending(bool pending) = 0;
  // Starts the menu's song if it waits to start again after a race.
  virtual void ResumeMenuMusic() = 0;

  // The state flags. Clicking one toggles it and does what goes with it
  // (the display changes mode, a question's pictures come or go).
  virtual bool Checked(TFlag flag) const = 0;
  virtual void SetChecked(TFlag flag, bool checked) = 0;
  virtual void Click(TFlag flag) = 0;
  // The question that waits for its answer over the screen (the exit
  // question, or the clear question on the high-score screen), the
  // uppermost one where both are open; null when none is.
  virtual TQuestion* OpenQuestion() = 0;
  // While one is open the menu column does not answer.
  bool QuestionOpen() { return OpenQuestion() != nullptr; }
  // A text field has the typing (the country or the player's name).
  virtual bool Typing() const = 0;
  virtual void SetTyping(bool typing) = 0;

  // The text fields, Windows-1251: the buffers typed into, and the country
  // and the name as the game last took them from there.
  virtual std::string& CountryField() = 0;
  virtual std::string& NameField() = 0;
  virtual std::string& Country() = 0;
  virtual std::string& PlayerName() = 0;
  // Frames left before the next typed character is taken.
  virtual uint8_t& TypingDelay() = 0;
  // The caret's blink count, and the width of the country as last measured.
  virtual uint8_t& CaretBlink() = 0;
  virtual int32_t& CaretTextWidth() = 0;

  // The settings file, the high-score table and what lies outside the game.
  virtual void SaveSettings() = 0;
  virtual const THighScoreTable& HighScores() const = 0;
  // The clear question's yes: the built-in table, without recordings.
  virtual void ClearHighScores() = 0;
  // Puts the player's name and score into the table and shows it.
  virtual void EnterHighScore() = 0;
  // Scheme, host and port of the score server.
  virtual const std::string& ScoreServer() const = 0;
  virtual void GoWeb(const std::string& address) = 0;
  // Opens an optional local file (an Internet shortcut by its address).
  virtual void ShellOpenFile(const std::string& path) = 0;
  // The exit screen's buttons and countdown.
  virtual TShareScreen& ShareScreen() = 0;

  // The sprites, the images and the display.
  // The engine that owns every sprite of the window.
  virtual TSprite& Sprites() = 0;
  // A named image of the loaded archive; raises when there is none.
  virtual TPictureCollectionItem& Image(TPictureName name) = 0;
  // Steps, cleans up and draws the sprites; `clear` blacks the frame first.
  virtual void SpriteFrame(int moveCount, bool clear) = 0;
  // The display is up: there is a picture to draw and measure on.
  virtual bool DisplayUp() const = 0;
  // The size of the picture drawn, in pixels.
  virtual int DisplayWidth() const = 0;
  virtual int DisplayHeight() const = 0;
  // The display's canvas, held until ReleaseCanvas; texts take TextFont.
  virtual TCanvas& Canvas() = 0;
  virtual void ReleaseCanvas() = 0;
  virtual const std::string& TextFont() const = 0;

  // The window's pointer and the menus' state.
  virtual void SetPointer(PointerShape shape) = 0;
  virtual void WarpPointer(int x, int y) = 0;
  // Where the pointer was at its last move, and whether it is still in the
  // window.
  virtual int32_t PointerX() const = 0;
  virtual int32_t PointerY() const = 0;
  virtual bool PointerInWindow() const = 0;
  // Shows what the pointer would highlight at (x, y), on the screen and on
  // an open question, without moving the pointer.
  virtual void HoverAt(int x, int y) = 0;
  // The next item the pointer comes onto sounds.
  virtual bool& HoverSoundArmed() = 0;
  // The item the arrow keys focused (KeyFocus.h); -1: none.
  virtual int& KeyFocus() = 0;
  // The help page shown, 1 to 3.
  virtual uint8_t& HelpPage() = 0;

  // Timers: the splash's and the game-over screen's, and the exit screen's
  // countdown.
  virtual TTimer& ScreenTimer() = 0;
  virtual void StartShareTimer() = 0;

  // The race, for the race screen and the questions over it.
  virtual IRaceHost& RaceHost() = 0;
  virtual void StartGame() = 0;
  // One race frame: the race's clocks, its sprites moved by the time that
  // passed, then the race's part of the frame.
  virtual void RaceFrame(int lagCount) = 0;
  // A key going down on the race screen, as the race takes it (and records
  // it): pause, fire, or Escape stopping the race to ask whether to leave.
  virtual TRaceKeyOutcome RaceKeyPress(int key, uint8_t shift) = 0;
  // The exit question over the race opened, closed to go on, or was
  // answered yes (the game ends there), as the race takes it (and records it).
  virtual void RaceExitQuestion(TExitQuestionEvent event) = 0;
  // Brings the menu's pictures back when a race is left.
  virtual void LoadMenuGraphicsAfterRace() = 0;

  // Watching a recorded game on the replay screen.
  // Plays `recording` there; the replay screen goes back to screen `backTo`
  // when it ends or is left. One made under other race rules is refused
  // with a message, and the game goes to `backTo` at once.
  virtual void WatchRecording(const TRecording& recording, uint8_t backTo) = 0;
  // The recording being watched, and the screen the replay goes back to.
  virtual const TRecording& WatchedRecording() const = 0;
  virtual uint8_t WatchReturnScreen() const = 0;
  // The watched game's race: the form's display, sounds and sprites with a
  // race state and session of its own, so that watching leaves the game's
  // own race, its recording and the table alone. Its end shows no game-over
  // screen.
  virtual IRaceHost& WatchedRaceHost() = 0;
  virtual TRaceSession& WatchedSession() = 0;
  // While off, the watched race draws nothing (the frames a faster replay
  // runs between two pictures).
  virtual void SetWatchedRaceDrawing(bool drawing) = 0;
  // The race's pictures and song for the watched game; throws when the
  // pictures cannot be read, after going back.
  virtual void StartWatchedRace() = 0;
};

}  // namespace bd
