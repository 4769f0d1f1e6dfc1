#pragma once
// The soak's player: looks at the running game between slices of game time
// and queues plausible input on the headless platform's event script, as a
// person at the keyboard and mouse would produce it. It drives the race
// (steering round obstacles, or recklessly), goes through the menus, help
// pages, options and the score table, pauses, answers confirmations, enters
// names, toggles full screen, loses focus, and now and then leaves the game.
// All choices come from one seeded generator, and the game itself runs on
// the virtual clock, so a seed replays the same session.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>

#include "app/MainForm.h"
#include "engine/platform/headless/Headless.h"
#include "frontend/PointerRects.h"

namespace soak {

// What the bot did and saw, for the summary.
struct TPlayStats {
  int GamesStarted = 0;
  int GamesOver = 0;
  int NamesEntered = 0;
  int LevelsCompleted = 0;
  int MaxLevel = 0;
  int Pauses = 0;
  int ExitConfirmations = 0;
  int LeftTheGame = 0;
  int FullScreenToggles = 0;
  int FocusLosses = 0;
  int DisplayLosses = 0;
  int OptionToggles = 0;
  int HelpPageTurns = 0;
  int TableClears = 0;
  int Shots = 0;
  int PadGames = 0;  // games played on a game controller
  int KeyMedleys = 0;  // quick runs of Escape, Enter and P on any screen
  int KeyMenuChoices = 0;  // main-menu items chosen with the arrows and Enter
  int NoPointerVisits = 0;  // visits to the main menu after which the pointer was left alone
  int NoPointerActions = 0;  // things done on the menus, dialogs and exit screen with keys or a pad alone
  std::map<uint8_t, int> ScreenVisits;  // by screen number
};

// The screen's name for messages.
std::string ScreenName(uint8_t screen);

class TBot {
 public:
  // `leaveAfterMs`: game time an instance must have run before the bot may
  // answer Yes to leaving the game (which ends that instance).
  // `trace` prints every screen the game shows.
  TBot(uint64_t seed, uint32_t leaveAfterMs, bool trace = false);

  // A new game instance to play; the bot forgets the previous one.
  void Attach(bd::THeadlessPlatform& platform, bd::TMainForm& form);
  void Detach();

  // Looks at the game and queues the input due now. Called before every
  // slice of game time.
  void Tick();

  const TPlayStats& Stats() const { return stats_; }
  // Whether the bot is deliberately keeping the game still (paused, or
  // focus taken away), so that a standing race is not a stuck one.
  bool HoldingStill() const { return holdingStill_; }

 private:
  using TAction = std::function<void()>;
  struct TStep {
    uint32_t At;
    TAction Act;
  };

  uint32_t Now() const;
  // Random helpers.
  int Uniform(int low, int high);  // low..high inclusive
  bool Chance(double p);
  size_t Pick(std::initializer_list<int> weights);

  // The script: steps run in order, each once the clock reaches its time.
  // Then(ms, act) runs `act` `ms` after the previous step of the script.
  void Then(uint32_t ms, TAction act);
  void ClearScript();
  bool RunScript();

  // Input, delivered through the platform's event queue.
  void KeyDown(int key);
  void KeyUp(int key);
  void Tap(int key);
  void AltEnter();
  void Type(uint8_t cp1251);
  void ReleaseAll();
  void Hold(int key, bool down);
  void RepeatHeldKey();
  uint8_t Shift() const;
  bool IsHeld(int key) const { return held_.count(key) != 0 || padHeld_.count(key) != 0; }
  // Whether `key` is pressed on the controller now: one is in use, it has a
  // control for the key, and Alt (for Alt+Enter) is not held on the keyboard.
  bool OnPad(int key) const;
  // The controller input standing for `key` going down or up.
  bd::ControllerInput PadInput(int key, bool down);
  // The pointer moves along a short path to a point; a click there.
  void MoveTo(int x, int y);
  void MoveInto(const bd::THitRect& r);
  void ClickIn(const bd::THitRect& r, int button = 1);
  void Click(int button = 1);

  // Occasional things outside the game's own controls.
  void LoseFocus();
  void LoseDisplay();
  void Maximise();

  // What to do on each screen.
  void EnterScreen(uint8_t screen);
  void SplashTick();
  void MenuTick();
  void HelpTick();
  void OptionsTick();
  void ScoresTick();
  void RaceTick();
  void GameOverTick();
  void ExitScreenTick();
  void AnswerExitConfirmation();
  void Steer();
  // The x a careful driver steers for.
  double CarefulCourse(double carW, double carH);
  void TypeName();
  // Without the pointer: the arrows walk the items, Enter chooses, Escape
  // goes back; questions are answered and names entered from the keys or
  // the pad.
  void NoPointerTick();
  void AnswerWithKeys(bool leaveAllowed);
  void NameWithKeys();

  std::mt19937_64 rng_;
  uint32_t leaveAfterMs_;
  bool trace_;
  bd::THeadlessPlatform* platform_ = nullptr;
  bd::TMainForm* form_ = nullptr;
  uint32_t instanceStart_ = 0;

  std::deque<TStep> script_;
  uint32_t scriptEnd_ = 0;
  uint32_t nextDecision_ = 0;
  uint8_t screen_ = 0;
  int actionsOnScreen_ = 0;
  int menuErrands_ = 0;  // things to do on the main menu before a race

  std::set<int> held_;
  // A game is played either on the keyboard or on a controller, whose
  // arrows are the d-pad or the left stick; the pad repeats on its own.
  bool pad_ = false;
  // From a visit to the main menu to the next, now and then, the pointer is
  // left alone: the menus, the race's questions and the exit screen are all
  // worked from the keys, or from the pad.
  bool noPointer_ = false;
  bool padStick_ = false;
  std::set<int> padHeld_;
  std::map<int, int> stickLast_;  // per stick axis: the held direction pressed last
  int repeatKey_ = 0;
  uint32_t repeatAt_ = 0;
  int mouseX_ = 400, mouseY_ = 300;

  // Race.
  bool skilled_ = true;
  int recklessLane_ = 1;
  uint32_t recklessUntil_ = 0;
  int lastLevel_ = 0;
  int lastLives_ = 0;
  bool lastFalling_ = false;
  bool holdingStill_ = false;

  TPlayStats stats_;
};

}  // namespace soak
