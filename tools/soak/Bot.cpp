#include "Bot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "frontend/HighScores.h"
#include "frontend/PointerRects.h"
#include "race/CarSprites.h"
#include "race/MeteorSprites.h"
#include "race/PickupSprites.h"
#include "race/RoadSprites.h"

namespace soak {

using bd::THitRect;
namespace vk = bd::vk;
namespace screen = bd::screen;
namespace hit = bd::hit;

namespace {

// A held key repeats like a real keyboard's: after half a second, then 30
// times a second; only the key pressed last repeats.
constexpr uint32_t kRepeatDelay = 500;
constexpr uint32_t kRepeatInterval = 33;

// Where the sub-screens put the pointer when they are chosen from the column.
constexpr int kPanelX = 255;
constexpr int kPanelY = 320;

// The characters a player may type into the name and country fields (and a
// few that the fields refuse).
uint8_t RandomCharacter(std::mt19937_64& rng) {
  static constexpr std::string_view kLatin = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static constexpr std::string_view kRefused = " .-_!%";
  std::uniform_int_distribution<int> kind(0, 9);
  const int k = kind(rng);
  if (k < 4) return static_cast<uint8_t>(kLatin[std::uniform_int_distribution<size_t>(0, kLatin.size() - 1)(rng)]);
  if (k < 9) return static_cast<uint8_t>(std::uniform_int_distribution<int>(192, 255)(rng));
  return static_cast<uint8_t>(kRefused[std::uniform_int_distribution<size_t>(0, kRefused.size() - 1)(rng)]);
}

// Things on the road a careful driver keeps out of the way of.
bool IsObstacle(const bd::TSprite& s) {
  return dynamic_cast<const bd::TWallSprite*>(&s) || dynamic_cast<const bd::TFirstWallSprite*>(&s) ||
         dynamic_cast<const bd::TStolb*>(&s) || dynamic_cast<const bd::TTree*>(&s) ||
         dynamic_cast<const bd::TMeteorit*>(&s) || dynamic_cast<const bd::TSledMeteoritaSprite*>(&s) ||
         dynamic_cast<const bd::TLuja*>(&s);
}

void CollectObstacles(const bd::TSprite& parent, std::vector<const bd::TSprite*>& out) {
  for (int32_t i = 0; i < parent.ChildCount(); ++i) {
    const bd::TSprite* c = parent.ChildAt(i);
    if (!c->IsDead() && IsObstacle(*c)) out.push_back(c);
    CollectObstacles(*c, out);
  }
}

}  // namespace

TBot::TBot(uint64_t seed, uint32_t leaveAfterMs, bool trace)
    : rng_(seed), leaveAfterMs_(leaveAfterMs), trace_(trace) {}

std::string ScreenName(uint8_t s) {
  switch (s) {
    case screen::Splash: return "splash";
    case screen::MainMenu: return "main menu";
    case screen::Race: return "race";
    case screen::Help: return "help";
    case screen::Options: return "options";
    case screen::HighScores: return "high scores";
    case screen::Exit: return "exit screen";
    case screen::GameOver: return "game over";
    default: return "screen " + std::to_string(s);
  }
}

void TBot::Attach(bd::THeadlessPlatform& platform, bd::TMainForm& form) {
  platform_ = &platform;
  form_ = &form;
  instanceStart_ = Now();
  script_.clear();
  scriptEnd_ = Now();
  nextDecision_ = Now();
  screen_ = 0;
  held_.clear();
  padHeld_.clear();
  stickLast_.clear();
  pad_ = false;
  repeatKey_ = 0;
  holdingStill_ = false;
  mouseX_ = 400;
  mouseY_ = 300;
}

void TBot::Detach() {
  platform_ = nullptr;
  form_ = nullptr;
}

uint32_t TBot::Now() const { return platform_ ? platform_->clock.Milliseconds() : 0; }

int TBot::Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

bool TBot::Chance(double p) { return std::bernoulli_distribution(p)(rng_); }

size_t TBot::Pick(std::initializer_list<int> weights) {
  std::discrete_distribution<size_t> d(weights.begin(), weights.end());
  return d(rng_);
}

// --- script ---------------------------------------------------------------

void TBot::Then(uint32_t ms, TAction act) {
  const uint32_t start = script_.empty() ? Now() : scriptEnd_;
  scriptEnd_ = start + ms;
  script_.push_back({scriptEnd_, std::move(act)});
}

void TBot::ClearScript() { script_.clear(); }

bool TBot::RunScript() {
  if (script_.empty()) return false;
  const uint32_t now = Now();
  while (!script_.empty() && static_cast<int32_t>(now - script_.front().At) >= 0) {
    TAction act = std::move(script_.front().Act);
    script_.pop_front();
    act();
  }
  return true;
}

// --- input ----------------------------------------------------------------

uint8_t TBot::Shift() const {
  uint8_t shift = 0;
  if (held_.count(vk::Control)) shift |= bd::ssCtrl;
  if (held_.count(vk::Menu)) shift |= bd::ssAlt;
  return shift;
}

namespace {

// The controller button for a key, from the game's own mapping turned
// round; empty for a key no button stands for.
std::optional<bd::PadButton> PadButtonFor(int key) {
  for (int b = 0; b <= static_cast<int>(bd::PadButton::DPadRight); ++b)
    if (bd::KeyForPadButton(static_cast<bd::PadButton>(b)) == key) return static_cast<bd::PadButton>(b);
  return std::nullopt;
}

}  // namespace

bool TBot::OnPad(int key) const { return pad_ && !held_.count(vk::Menu) && PadButtonFor(key).has_value(); }

bd::ControllerInput TBot::PadInput(int key, bool down) {
  using bd::ControllerInput;
  constexpr int kPad = 1;
  const bool vertical = key == vk::Up || key == vk::Down;
  if (padStick_ && (vertical || key == vk::Left || key == vk::Right)) {
    // The stick shows the direction of its axis pressed last and still held.
    const int other = key == vk::Up ? vk::Down : key == vk::Down ? vk::Up : key == vk::Left ? vk::Right : vk::Left;
    int& shown = stickLast_[vertical ? 1 : 0];
    if (down)
      shown = key;
    else if (shown == key)
      shown = padHeld_.count(other) ? other : 0;
    const int value = shown == 0 ? 0 : (shown == vk::Up || shown == vk::Left) ? -32768 : 32767;
    return ControllerInput::Move(kPad, vertical ? bd::PadAxis::LeftY : bd::PadAxis::LeftX, value);
  }
  const bd::PadButton b = *PadButtonFor(key);
  return down ? ControllerInput::Press(kPad, b) : ControllerInput::Release(kPad, b);
}

void TBot::KeyDown(int key) {
  if (!IsHeld(key) && OnPad(key)) {
    padHeld_.insert(key);
    platform_->events.Pad(PadInput(key, true));
    return;
  }
  held_.insert(key);
  platform_->events.KeyDown(key, Shift());
  repeatKey_ = key;
  repeatAt_ = Now() + kRepeatDelay;
}

void TBot::KeyUp(int key) {
  // A control pressed on the pad is let go there.
  if (padHeld_.erase(key)) {
    platform_->events.Pad(PadInput(key, false));
    return;
  }
  if (!held_.erase(key)) return;
  platform_->events.KeyUp(key, Shift());
  if (repeatKey_ == key) repeatKey_ = 0;
}

void TBot::Tap(int key) {
  KeyDown(key);
  KeyUp(key);
}

void TBot::AltEnter() {
  ++stats_.FullScreenToggles;
  KeyDown(vk::Menu);
  Tap(vk::Return);
  KeyUp(vk::Menu);
}

void TBot::Type(uint8_t cp1251) {
  // A key goes down, its character arrives, the key comes up. The key code
  // of a letter is its upper-case ASCII code; other characters use a
  // neutral key that no screen reacts to.
  int key = vk::F1;
  if (cp1251 >= 'a' && cp1251 <= 'z') key = cp1251 - 'a' + 'A';
  if ((cp1251 >= 'A' && cp1251 <= 'Z') || (cp1251 >= '0' && cp1251 <= '9')) key = cp1251;
  KeyDown(key);
  platform_->events.Char(cp1251);
  KeyUp(key);
}

void TBot::Hold(int key, bool down) {
  if (down == IsHeld(key)) return;
  if (down)
    KeyDown(key);
  else
    KeyUp(key);
}

void TBot::ReleaseAll() {
  std::set<int> keys = held_;
  keys.insert(padHeld_.begin(), padHeld_.end());
  for (int key : keys) KeyUp(key);
}

void TBot::RepeatHeldKey() {
  if (repeatKey_ == 0 || static_cast<int32_t>(Now() - repeatAt_) < 0) return;
  platform_->events.KeyDown(repeatKey_, Shift(), true);
  repeatAt_ = Now() + kRepeatInterval;
}

void TBot::MoveTo(int x, int y) {
  // A few intermediate points a frame apart, as a hand moves a mouse.
  const int steps = Uniform(1, 5);
  const int fromX = mouseX_, fromY = mouseY_;
  for (int i = 1; i <= steps; ++i) {
    const int px = fromX + (x - fromX) * i / steps;
    const int py = fromY + (y - fromY) * i / steps;
    Then(15, [this, px, py] { platform_->events.MouseMove(px, py); });
  }
  mouseX_ = x;
  mouseY_ = y;
}

void TBot::MoveInto(const THitRect& r) { MoveTo(Uniform(r.Left, r.Right), Uniform(r.Top, r.Bottom)); }

void TBot::Click(int button) {
  Then(Uniform(30, 250), [this, button] {
    platform_->events.MouseDown(mouseX_, mouseY_, button);
    bd::PlatformEvent up;
    up.type = bd::PlatformEvent::Type::MouseUp;
    up.X = mouseX_;
    up.Y = mouseY_;
    up.Button = button;
    platform_->events.Push(up);
  });
}

void TBot::ClickIn(const THitRect& r, int button) {
  MoveInto(r);
  Click(button);
}

void TBot::LoseFocus() {
  ++stats_.FocusLosses;
  Then(0, [this] {
    holdingStill_ = true;
    platform_->window.SetActive(false);
    platform_->events.Activate(false);
  });
  Then(static_cast<uint32_t>(Uniform(300, 4000)), [this] {
    platform_->window.SetActive(true);
    platform_->events.Activate(true);
    holdingStill_ = false;
  });
}

void TBot::LoseDisplay() {
  // Another program takes the display for a moment; the next restore works.
  ++stats_.DisplayLosses;
  Then(0, [this] { platform_->window.LoseSurfaces(true); });
}

void TBot::Maximise() {
  // The window manager maximises the window, which the game answers with
  // full screen.
  ++stats_.FullScreenToggles;
  Then(0, [this] {
    platform_->window.SetState(bd::WindowState::Maximized);
    bd::PlatformEvent e;
    e.type = bd::PlatformEvent::Type::Resized;
    platform_->events.Push(e);
  });
}

// --- the game -------------------------------------------------------------

void TBot::Tick() {
  if (form_ == nullptr) return;
  if (form_->CurrentScreen != screen_) EnterScreen(form_->CurrentScreen);
  RepeatHeldKey();
  if (form_->CurrentScreen == screen::Race) {
    const int level = form_->RaceState.Level;
    if (level > lastLevel_) {
      if (lastLevel_ > 0) ++stats_.LevelsCompleted;
      lastLevel_ = level;
      stats_.MaxLevel = std::max(stats_.MaxLevel, level);
      if (trace_) std::printf("soak: %8.1f s  level %d\n", static_cast<double>(Now() - instanceStart_) / 1000.0, level);
    }
    if (trace_ && form_->RaceState.Lives < lastLives_)
      std::printf("soak: %8.1f s  life lost on level %d (%s, %s driver)\n",
                  static_cast<double>(Now() - instanceStart_) / 1000.0, level,
                  lastFalling_ ? "fell into the chasm" : "crashed", skilled_ ? "careful" : "reckless");
    lastLives_ = form_->RaceState.Lives;
    lastFalling_ = form_->RaceState.Falling;
    Steer();
  }
  if (RunScript()) return;
  if (static_cast<int32_t>(Now() - nextDecision_) < 0) return;
  ++actionsOnScreen_;
  const uint8_t now = form_->CurrentScreen;
  if ((now == screen::Splash || now == screen::Help || now == screen::Options || now == screen::HighScores ||
       now == screen::GameOver) &&
      Chance(0.03)) {
    // The window's close button, which these screens refuse.
    Then(0, [this] { platform_->events.CloseRequest(); });
    return;
  }
  if (Chance(0.02)) {
    // A quick medley of the keys that open, answer and close things, in any
    // order (Escape then Enter on the main menu starts a race under the
    // exit question): the game must come out of it in a state it can leave.
    ++stats_.KeyMedleys;
    for (int i = Uniform(2, 3); i > 0; --i) {
      static constexpr int kKeys[] = {vk::Escape, vk::Return, 'P'};
      const int key = kKeys[Uniform(0, 2)];
      Then(static_cast<uint32_t>(Uniform(30, 300)), [this, key] { Tap(key); });
    }
    return;
  }
  if (noPointer_ && now != screen::Splash && (now != screen::Race || form_->GameMainExit.Checked)) {
    NoPointerTick();
    return;
  }
  switch (now) {
    case screen::Splash:
      SplashTick();
      break;
    case screen::MainMenu:
      MenuTick();
      break;
    case screen::Help:
      HelpTick();
      break;
    case screen::Options:
      OptionsTick();
      break;
    case screen::HighScores:
      ScoresTick();
      break;
    case screen::Race:
      RaceTick();
      break;
    case screen::GameOver:
      GameOverTick();
      break;
    case screen::Exit:
      ExitScreenTick();
      break;
    default:
      break;
  }
}

void TBot::EnterScreen(uint8_t s) {
  const uint8_t old = screen_;
  screen_ = s;
  actionsOnScreen_ = 0;
  ++stats_.ScreenVisits[s];
  // What was planned for the old screen makes no sense on the new one.
  ClearScript();
  holdingStill_ = false;
  if (old == screen::Race || s == screen::Race) ReleaseAll();
  nextDecision_ = Now() + static_cast<uint32_t>(Uniform(100, 900));
  if (s == screen::Race) {
    ++stats_.GamesStarted;
    lastLevel_ = 0;
    lastLives_ = 0;
    lastFalling_ = false;
    skilled_ = Chance(0.75);
    recklessUntil_ = 0;
    // Every fourth game or so is played on a controller, until the next
    // race; one come from the menus on the pad goes on with it.
    if (!noPointer_ || !pad_) pad_ = Chance(0.25);
    padStick_ = Chance(0.5);
    if (pad_) ++stats_.PadGames;
    // Foot down, a moment after the level caption appears.
    Then(static_cast<uint32_t>(Uniform(0, 2500)), [this] { Hold(vk::Up, true); });
  }
  if (s == screen::GameOver) ++stats_.GamesOver;
  if (s == screen::MainMenu) {
    menuErrands_ = Uniform(0, 4);
    noPointer_ = Chance(0.25);
    if (noPointer_) {
      ++stats_.NoPointerVisits;
      // The couch: the pad in hand for the menus too, now and then.
      pad_ = Chance(0.4);
      padStick_ = Chance(0.5);
    }
  }
  if (trace_)
    std::printf("soak: %8.1f s  %s\n", static_cast<double>(Now() - instanceStart_) / 1000.0, ScreenName(s).c_str());
  if (!noPointer_ && (s == screen::Help || s == screen::Options || s == screen::HighScores)) {
    // The screen put the system pointer into its panel; the next move
    // starts from there.
    if (old == screen::MainMenu && mouseX_ > 512) {
      mouseX_ = kPanelX;
      mouseY_ = kPanelY;
    }
    MoveTo(std::clamp(mouseX_ + Uniform(-20, 20), hit::Panel.Left, hit::Panel.Right),
           std::clamp(mouseY_ + Uniform(-20, 20), hit::Panel.Top, hit::Panel.Bottom));
  }
}

void TBot::SplashTick() {
  // Enter at once, or wait for the splash to end by itself.
  switch (Pick({5, 1, 4})) {
    case 0:
      Tap(vk::Return);
      break;
    case 1:
      AltEnter();
      break;
    default:
      break;
  }
  nextDecision_ = Now() + static_cast<uint32_t>(Uniform(500, 3000));
}

void TBot::AnswerExitConfirmation() {
  ++stats_.ExitConfirmations;
  Then(static_cast<uint32_t>(Uniform(200, 2000)), [] {});
  // Leaving ends this run of the program; the soak starts another.
  const bool leave = Now() - instanceStart_ >= leaveAfterMs_ && Chance(0.5);
  if (leave) {
    ++stats_.LeftTheGame;
    ClickIn(hit::Yes);
    return;
  }
  if (Chance(0.2)) MoveInto(hit::Yes);  // hesitate over Yes first
  if (form_->CurrentScreen == screen::MainMenu && Chance(0.25))
    Then(0, [this] { Tap(vk::Escape); });
  else
    ClickIn(hit::No, form_->CurrentScreen == screen::Race ? Uniform(1, 3) : 1);
}

void TBot::MenuTick() {
  nextDecision_ = Now() + static_cast<uint32_t>(Uniform(300, 1500));
  if (form_->GameMainExit.Checked) {
    AnswerExitConfirmation();
    return;
  }
  static constexpr std::array<THitRect, 6> kColumn{hit::StartGame, hit::Options, hit::HighScore,
                                                   hit::Help,      hit::VisitWebSite, hit::Exit};
  // A few other things first, then a race.
  const int race = actionsOnScreen_ > menuErrands_ ? 30 : 0;
  switch (Pick({race * 3 / 5, race * 2 / 5, 10, 10, 10, 12, 5, 3, 2, 4, 1, 3, 2, 2, 8})) {
    case 0:
      Tap(vk::Return);
      break;
    case 1:
      ClickIn(hit::StartGame);
      break;
    case 2:
      ClickIn(hit::Options);
      break;
    case 3:
      ClickIn(hit::HighScore);
      break;
    case 4:
      ClickIn(hit::Help);
      break;
    case 5:
      // Wander over the column and the badge.
      for (int i = Uniform(2, 5); i > 0; --i) {
        MoveInto(Chance(0.8) ? kColumn[static_cast<size_t>(Uniform(0, 5))] : hit::Fgg);
        Then(static_cast<uint32_t>(Uniform(50, 600)), [] {});
      }
      break;
    case 6:
      ClickIn(hit::Exit);
      break;
    case 7:
      Tap(vk::Escape);
      break;
    case 8:
      Then(0, [this] { platform_->events.CloseRequest(); });
      break;
    case 9:
      AltEnter();
      break;
    case 10:
      Maximise();
      break;
    case 11:
      ClickIn(Chance(0.5) ? hit::VisitWebSiteMenuClick : hit::FggMenuClick, Chance(0.8) ? 1 : 3);
      break;
    case 12:
      LoseFocus();
      break;
    case 13:
      LoseDisplay();
      break;
    default:
      // Without the mouse: walk the column with the arrows (or the pad's
      // d-pad) and choose the item reached.
      ++stats_.KeyMenuChoices;
      for (int i = Uniform(1, 7); i > 0; --i) {
        const int arrow = Chance(0.8) ? vk::Down : vk::Up;
        Then(static_cast<uint32_t>(Uniform(80, 400)), [this, arrow] { Tap(arrow); });
      }
      Then(static_cast<uint32_t>(Uniform(100, 600)), [this] { Tap(vk::Return); });
      break;
  }
}

void TBot::HelpTick() {
  nextDecision_ = Now() + static_cast<uint32_t>(Uniform(400, 2500));
  if (form_->GameMainExit.Checked) {
    AnswerExitConfirmation();
    return;
  }
  switch (Pick({30, 15, 10, 8, 6, 4, actionsOnScreen_ > 8 ? 40 : 2})) {
    case 0:
      ClickIn(hit::PanelRightClick);
      ++stats_.HelpPageTurns;
      break;
    case 1:
      ClickIn(hit::PanelLeft);
      ++stats_.HelpPageTurns;
      break;
    case 2:
      MoveInto(bd::THitRect{40, 470, 150, 500});  // reading
      break;
    case 3:
      Tap(vk::Escape);
      break;
    case 4:
      // Off the panel: back to the menu without a click.
      MoveTo(Uniform(520, 790), Uniform(100, 590));
      break;
    case 5:
      AltEnter();
      break;
    default:
      ClickIn(hit::PanelBack);
      break;
  }
}

void TBot::OptionsTick() {
  nextDecision_ = Now() + static_cast<uint32_t>(Uniform(400, 2000));
  if (form_->GameMainExit.Checked) {
    AnswerExitConfirmation();
    return;
  }
  // Sound and music are mostly wanted on: what is off is put back on first.
  if (!form_->GameSound.Checked && Chance(0.7)) {
    ++stats_.OptionToggles;
    ClickIn(hit::SoundOn);
    return;
  }
  if (!form_->GameMusic.Checked && Chance(0.6)) {
    ++stats_.OptionToggles;
    ClickIn(hit::MusicOn);
    return;
  }
  switch (Pick({6, 6, 6, 10, 5, 3, 4, 3, actionsOnScreen_ > 8 ? 40 : 3})) {
    case 0:
      ++stats_.OptionToggles;
      ClickIn(form_->GameFullScreen.Checked ? hit::ModeWindowed : hit::ModeFullScreen);
      break;
    case 1:
      ++stats_.OptionToggles;
      ClickIn(form_->GameMusic.Checked ? hit::MusicOff : hit::MusicOn);
      break;
    case 2:
      ++stats_.OptionToggles;
      ClickIn(form_->GameSound.Checked ? hit::SoundOffClick : hit::SoundOn);
      break;
    case 3:
      // The country: click the field, type a few letters, some faster than
      // the field takes them.
      ClickIn(hit::CountryField);
      for (int i = Uniform(1, 8); i > 0; --i) {
        const uint8_t c = RandomCharacter(rng_);
        Then(static_cast<uint32_t>(Uniform(10, 200)), [this, c] { Type(c); });
      }
      break;
    case 4:
      for (int i = Uniform(1, 6); i > 0; --i) Then(static_cast<uint32_t>(Uniform(30, 200)), [this] { Tap(vk::Back); });
      break;
    case 5:
      Tap(vk::Escape);
      break;
    case 6:
      MoveInto(bd::THitRect{40, 470, 250, 380});
      break;
    case 7:
      MoveTo(Uniform(500, 790), Uniform(100, 590));
      break;
    default:
      ClickIn(hit::PanelBack);
      break;
  }
}

void TBot::ScoresTick() {
  nextDecision_ = Now() + static_cast<uint32_t>(Uniform(400, 2500));
  if (form_->GameClearHighScore.Checked) {
    Then(static_cast<uint32_t>(Uniform(200, 1500)), [] {});
    switch (Pick({2, 5, 3})) {
      case 0:
        ++stats_.TableClears;
        ClickIn(hit::Yes);
        break;
      case 1:
        ClickIn(hit::No);
        break;
      default:
        Then(0, [this] { Tap(vk::Escape); });
        break;
    }
    return;
  }
  if (form_->GameMainExit.Checked) {
    AnswerExitConfirmation();
    return;
  }
  switch (Pick({6, 5, 8, 8, 5, 4, actionsOnScreen_ > 6 ? 40 : 3})) {
    case 0:
      ClickIn(hit::PanelLeft);  // clear the table?
      break;
    case 1:
      ClickIn(hit::PanelRightClick);  // the online table
      break;
    case 2:
      MoveInto(bd::THitRect{40, 470, 160, 560});
      break;
    case 3:
      Tap(vk::Escape);
      break;
    case 4:
      MoveTo(Uniform(500, 790), Uniform(100, 590));
      break;
    case 5:
      LoseFocus();
      break;
    default:
      ClickIn(hit::HighScoreBackClick);
      break;
  }
}

void TBot::RaceTick() {
  const bd::TRaceState& s = form_->RaceState;
  nextDecision_ = Now() + static_cast<uint32_t>(Uniform(1500, 8000));
  if (form_->GameMainExit.Checked) {
    // Leaving a race ends the game, not the program; rarely wanted.
    nextDecision_ = Now() + 200;
    const bool giveUp = Chance(skilled_ ? 0.05 : 0.25);
    Then(static_cast<uint32_t>(Uniform(300, 2500)), [] {});
    if (giveUp) {
      ClickIn(hit::Yes, Uniform(1, 3));
    } else {
      if (Chance(0.3)) MoveInto(hit::Yes);
      ClickIn(hit::No, Uniform(1, 3));
    }
    return;
  }
  if (s.Paused) {
    // Paused by something the bot did not see through: carry on.
    Then(static_cast<uint32_t>(Uniform(300, 1500)), [this] { Tap('P'); });
    return;
  }
  if (!IsHeld(vk::Up)) Hold(vk::Up, true);
  // A careful driver seldom lets the car slow down: the chasm follows.
  switch (Pick({8, 5, 2, 8, 4, skilled_ ? 2 : 4, skilled_ ? 2 : 4, skilled_ ? 0 : 4, 2, 1, 2, 1, 1, 1})) {
    case 0:
      ++stats_.Pauses;
      Tap('P');
      Then(0, [this] { holdingStill_ = true; });
      Then(static_cast<uint32_t>(Uniform(300, 4000)), [this] {
        holdingStill_ = false;
        Tap('P');
      });
      break;
    case 1:
      ++stats_.ExitConfirmations;
      Tap(vk::Escape);  // the confirmation is answered at the next decision
      nextDecision_ = Now() + 100;
      break;
    case 2:
      // The window's close button asks the same.
      ++stats_.ExitConfirmations;
      Then(0, [this] { platform_->events.CloseRequest(); });
      nextDecision_ = Now() + 100;
      break;
    case 3:
      // Fire: Ctrl held with its repeats, sometimes with other keys pressed
      // meanwhile.
      Hold(vk::Control, true);
      if (Chance(0.3)) Then(static_cast<uint32_t>(Uniform(50, 400)), [this] { Tap(vk::Space); });
      Then(static_cast<uint32_t>(Uniform(100, 1500)), [this] { Hold(vk::Control, false); });
      break;
    case 4:
      if (s.HasStopMe) Tap(vk::Return);
      break;
    case 5:
      // Handbrake for a moment.
      Hold(vk::Down, true);
      Then(static_cast<uint32_t>(Uniform(100, 800)), [this] { Hold(vk::Down, false); });
      break;
    case 6:
      // Off the accelerator for a while.
      Hold(vk::Up, false);
          Then(static_cast<uint32_t>(Uniform(300, 2000)), [this] { Hold(vk::Up, true); });
      break;
    case 7:
      // Stop, wait for reverse gear, back up, then drive on.
      Hold(vk::Up, false);
      Hold(vk::Down, true);
      Then(static_cast<uint32_t>(Uniform(1500, 3500)), [this] { Hold(vk::Down, false); });
      Then(static_cast<uint32_t>(Uniform(1000, 2500)), [this] { Hold(vk::Space, true); });
      Then(static_cast<uint32_t>(Uniform(300, 1500)), [this] { Hold(vk::Space, false); });
      Then(0, [this] { Hold(vk::Up, true); });
      break;
    case 8:
      AltEnter();
      break;
    case 9:
      Maximise();
      break;
    case 10:
      LoseFocus();
      break;
    case 11:
      // Keys that mean nothing in a race.
      Type(RandomCharacter(rng_));
      break;
    case 12:
      MoveTo(Uniform(0, 799), Uniform(0, 599));
      break;
    default:
      LoseDisplay();
      break;
  }
}

void TBot::Steer() {
  const bd::TRaceState& s = form_->RaceState;
  if (!s.RaceRunning) return;
  const bd::TSprite* car = nullptr;
  const bd::TSpriteEngine& engine = form_->SpriteEngine.Engine();
  for (int32_t i = 0; i < engine.ChildCount() && car == nullptr; ++i)
    car = dynamic_cast<const bd::TCarSprite*>(engine.ChildAt(i));
  const double carW = car ? car->Width : 55;
  const double carH = car ? car->Height : 100;
  double target = s.CarX;
  if (!skilled_) {
    // Reckless: a lane picked now and then, whatever stands in it.
    if (static_cast<int32_t>(Now() - recklessUntil_) >= 0) {
      recklessLane_ = Uniform(0, 3);
      recklessUntil_ = Now() + static_cast<uint32_t>(Uniform(500, 4000));
    }
    target = s.RoadLeft + recklessLane_ * s.LaneWidth + (s.LaneWidth - carW) / 2;
  } else {
    target = CarefulCourse(carW, carH);
  }
  Hold(vk::Left, s.CarX > target + 3);
  Hold(vk::Right, s.CarX < target - 3);
}

double TBot::CarefulCourse(double carW, double carH) {
  // Where the car may stand across the road, and how many frames it would
  // have there before something reaches it: obstacles ahead come down at
  // the car's speed, meteorites rise from below at their own. The car moves
  // sideways as fast as it drives, so a place is only reachable when every
  // place on the way stays clear until the car has passed it.
  const bd::TRaceState& s = form_->RaceState;
  const bd::TSpriteEngine& engine = form_->SpriteEngine.Engine();
  std::vector<const bd::TSprite*> obstacles;
  CollectObstacles(engine, obstacles);
  const double speed = std::max(std::abs(s.Speed), 1);
  constexpr double kStep = 10;
  constexpr double kMargin = 6;
  constexpr double kMeteorRise = 10;
  constexpr double kEnough = 40;  // frames of room that need no change of course
  const double left = s.RoadLeft + 5;
  const double right = s.ScreenWidth - s.RoadLeft - 60;
  auto framesLeft = [&](double x) {
    double frames = 1e9;
    for (const bd::TSprite* o : obstacles) {
      if (o->X >= x + carW + kMargin || o->X + o->Width <= x - kMargin) continue;
      const bool rising = dynamic_cast<const bd::TMeteorit*>(o) != nullptr;
      double f = 0;
      if (o->Y > s.CarY + carH) {
        if (!rising) continue;  // already behind the car
        f = (o->Y - s.CarY - carH) / kMeteorRise;
      } else if (o->Y + o->Height < s.CarY) {
        f = (s.CarY - o->Y - o->Height) / speed;
      }
      // A trail or a puddle only slows the car: worth avoiding, not at all costs.
      if (dynamic_cast<const bd::TLuja*>(o) || dynamic_cast<const bd::TSledMeteoritaSprite*>(o)) f += 25;
      frames = std::min(frames, f);
    }
    return frames;
  };
  std::vector<double> xs, frames;
  for (double x = left; x <= right; x += kStep) {
    xs.push_back(x);
    frames.push_back(framesLeft(x));
  }
  auto reachable = [&](double to) {
    const double lo = std::min(s.CarX, to), hi = std::max(s.CarX, to);
    for (size_t j = 0; j < xs.size(); ++j)
      if (xs[j] >= lo && xs[j] <= hi && frames[j] <= std::abs(xs[j] - s.CarX) / speed + 2) return false;
    return true;
  };

  const double here = framesLeft(s.CarX);
  if (here >= kEnough) {
    // Room enough: collect the nearest pickup ahead if the way there is clear.
    const bd::TSprite* pickup = nullptr;
    for (int32_t i = 0; i < engine.ChildCount(); ++i) {
      const bd::TSprite* c = engine.ChildAt(i);
      if (c->IsDead() || !dynamic_cast<const bd::TPickupSprite*>(c)) continue;
      if (c->Y + c->Height > s.CarY || c->Y < s.CarY - 450) continue;
      if (!pickup || c->Y > pickup->Y) pickup = c;
    }
    if (pickup) {
      const double to = std::clamp(pickup->X + pickup->Width / 2 - carW / 2, left, right);
      if (reachable(to) && framesLeft(to) >= kEnough) return to;
    }
    return s.CarX;
  }

  // Otherwise the nearest place with room enough, or else the one with most.
  double best = s.CarX;
  double bestFrames = here;
  bool bestSafe = false;
  for (size_t i = 0; i < xs.size(); ++i) {
    if (!reachable(xs[i])) continue;
    const bool safe = frames[i] >= kEnough;
    const bool nearer = std::abs(xs[i] - s.CarX) < std::abs(best - s.CarX);
    if ((safe && (!bestSafe || nearer)) || (!safe && !bestSafe && frames[i] > bestFrames + 3)) {
      best = xs[i];
      bestFrames = frames[i];
      bestSafe = safe;
    }
  }
  // Shoot what stands ahead when there is no way round it.
  if (s.HasGuns && !s.ShotInFlight && bestFrames < 25 && !IsHeld(vk::Control)) {
    ++stats_.Shots;
    Tap(vk::Control);
  }
  return best;
}

void TBot::TypeName() {
  ++stats_.NamesEntered;
  if (Chance(0.7)) ClickIn(hit::NameField);
  for (int i = Uniform(0, 4); i > 0; --i) Then(static_cast<uint32_t>(Uniform(40, 250)), [this] { Tap(vk::Back); });
  for (int i = Uniform(1, 11); i > 0; --i) {
    const uint8_t c = RandomCharacter(rng_);
    Then(static_cast<uint32_t>(Uniform(40, 300)), [this, c] { Type(c); });
  }
  if (Chance(0.25)) ClickIn(hit::SendBox);  // report it online, or stop doing so
  if (Chance(0.2)) Then(static_cast<uint32_t>(Uniform(100, 500)), [this] { Tap(vk::Escape); });
  Then(static_cast<uint32_t>(Uniform(200, 1500)), [this] { Tap(vk::Return); });
}

void TBot::AnswerWithKeys(bool leaveAllowed) {
  ++stats_.ExitConfirmations;
  Then(static_cast<uint32_t>(Uniform(200, 1500)), [] {});
  // Right from nothing reaches "Да", Left "Нет"; Escape says "Нет" too.
  if (leaveAllowed && Chance(0.5)) {
    if (form_->CurrentScreen != screen::Race) ++stats_.LeftTheGame;
    Then(static_cast<uint32_t>(Uniform(80, 400)), [this] { Tap(vk::Right); });
  } else if (Chance(0.3)) {
    Then(static_cast<uint32_t>(Uniform(80, 400)), [this] { Tap(vk::Escape); });
    return;
  } else {
    Then(static_cast<uint32_t>(Uniform(80, 400)), [this] { Tap(vk::Left); });
  }
  Then(static_cast<uint32_t>(Uniform(100, 600)), [this] { Tap(vk::Return); });
}

void TBot::NameWithKeys() {
  ++stats_.NamesEntered;
  if (pad_) {
    // The d-pad turns the letters; X ticks the send box.
    for (int i = Uniform(1, 12); i > 0; --i) {
      static constexpr int kWheel[] = {vk::Up, vk::Up, vk::Down, vk::Right, vk::Left};
      const int key = kWheel[Uniform(0, 4)];
      Then(static_cast<uint32_t>(Uniform(60, 300)), [this, key] { Tap(key); });
    }
  } else {
    if (Chance(0.5)) Then(static_cast<uint32_t>(Uniform(60, 300)), [this] { Tap(vk::Down); });
    for (int i = Uniform(0, 3); i > 0; --i) Then(static_cast<uint32_t>(Uniform(40, 250)), [this] { Tap(vk::Back); });
    for (int i = Uniform(1, 11); i > 0; --i) {
      const uint8_t c = RandomCharacter(rng_);
      Then(static_cast<uint32_t>(Uniform(40, 300)), [this, c] { Type(c); });
    }
  }
  if (Chance(0.25)) Then(static_cast<uint32_t>(Uniform(60, 300)), [this] { Tap(vk::Space); });
  // Enter on the send box ticks it; on the name (or with nothing focused)
  // it enters the score.
  if (Chance(0.2)) Then(static_cast<uint32_t>(Uniform(60, 300)), [this] { Tap(vk::Down); });
  Then(static_cast<uint32_t>(Uniform(200, 1500)), [this] { Tap(vk::Return); });
}

void TBot::NoPointerTick() {
  ++stats_.NoPointerActions;
  nextDecision_ = Now() + static_cast<uint32_t>(Uniform(300, 1500));
  const uint8_t now = form_->CurrentScreen;
  if (form_->GameMainExit.Checked) {
    // Leaving a race ends the game, not the program, and is rarely wanted.
    const bool leave = now == screen::Race ? Chance(skilled_ ? 0.05 : 0.25)
                                           : Now() - instanceStart_ >= leaveAfterMs_;
    AnswerWithKeys(leave);
    return;
  }
  if (now == screen::GameOver) {
    if (form_->Timer1.Enabled()) return;
    if (form_->GameEnterName.Checked)
      NameWithKeys();
    else
      Tap(Chance(0.5) ? vk::Return : vk::Escape);
    return;
  }
  // A walk with the arrows that then chooses, or only looks, or goes back;
  // the longer the stay, the likelier the way back.
  const size_t pick = Pick({10, 3, actionsOnScreen_ > 6 ? 20 : 2, now == screen::Options && !pad_ ? 3 : 0});
  switch (pick) {
    case 0:
    case 1: {
      const bool choose = pick == 0;
      for (int i = Uniform(1, 5); i > 0; --i) {
        static constexpr int kArrows[] = {vk::Down, vk::Down, vk::Up, vk::Right, vk::Left};
        const int arrow = kArrows[Uniform(0, 4)];
        Then(static_cast<uint32_t>(Uniform(80, 400)), [this, arrow] { Tap(arrow); });
      }
      if (choose) Then(static_cast<uint32_t>(Uniform(100, 600)), [this] { Tap(vk::Return); });
      break;
    }
    case 2:
      Tap(vk::Escape);
      break;
    default:
      // The country field, if the walk gave it the typing.
      for (int i = Uniform(1, 6); i > 0; --i) {
        const uint8_t c = RandomCharacter(rng_);
        Then(static_cast<uint32_t>(Uniform(10, 200)), [this, c] { Type(c); });
      }
      break;
  }
}

void TBot::GameOverTick() {
  nextDecision_ = Now() + static_cast<uint32_t>(Uniform(500, 1500));
  const int32_t tenth = form_->HighScores[bd::HighScoreCount - 1].Score;
  const bool beats = form_->RaceState.Score > tenth;
  if (form_->Timer1.Enabled()) {
    // The first five seconds: keys and clicks mostly do nothing yet.
    if (Chance(0.15)) Tap(Chance(0.5) ? vk::Return : vk::Escape);
    if (Chance(0.1)) ClickIn(hit::NameField);
    return;
  }
  if (beats) {
    if (form_->GameEnterName.Checked || actionsOnScreen_ > 3) TypeName();
    return;
  }
  switch (Pick({4, 4, 3, 1})) {
    case 0:
      Tap(vk::Escape);
      break;
    case 1:
      Tap(vk::Return);
      break;
    case 2:
      ClickIn(bd::THitRect{0, 799, 0, 599});
      break;
    default:
      AltEnter();
      break;
  }
}

void TBot::ExitScreenTick() {
  nextDecision_ = Now() + static_cast<uint32_t>(Uniform(300, 1500));
  const bd::TShareScreen& share = form_->ShareScreen;
  const bd::TButton_2* exitButton = nullptr;
  std::vector<const bd::TButton_2*> links;
  for (const bd::TButton_2& b : share.Buttons) {
    if (b.IsExit())
      exitButton = &b;
    else
      links.push_back(&b);
  }
  auto rectOf = [](const bd::TButton_2& b) {
    return THitRect{b.X + 2, b.X + std::max(2, b.Width - 2), b.Y + 2, b.Y + std::max(2, b.Height - 2)};
  };
  switch (Pick({3, 2, 2, share.Countdown == 0 ? 6 : 1, share.Countdown == 0 ? 2 : 1})) {
    case 0:
      MoveTo(Uniform(0, 799), Uniform(0, 599));
      break;
    case 1:
      if (!links.empty()) ClickIn(rectOf(*links[static_cast<size_t>(Uniform(0, static_cast<int>(links.size()) - 1))]));
      break;
    case 2:
      if (exitButton) MoveInto(rectOf(*exitButton));
      break;
    case 3:
      if (exitButton)
        ClickIn(rectOf(*exitButton));
      else
        Then(0, [this] { platform_->events.CloseRequest(); });
      break;
    default:
      Then(0, [this] { platform_->events.CloseRequest(); });
      break;
  }
}

}  // namespace soak
