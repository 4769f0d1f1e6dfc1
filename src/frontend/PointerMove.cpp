// Pointer moves: the highlights of the item under the pointer, the pointer's
// shape, the hover sound, and the sub-screens' rule that the pointer leaving
// the panel returns to the main menu (unless a question is open).
#include <span>

#include "app/MainForm.h"
#include "frontend/MenuSprites.h"
#include "frontend/PointerRects.h"

namespace bd {
namespace {

// One item of a hover group: where it answers and the highlight it shows.
struct THover {
  THitRect rect;
  void (*highlight)(TMainForm&);
};

constexpr THover kColumn[] = {
    {hit::StartGame, [](TMainForm& f) { AddPicture<Start_Game>(f, pic::StartGameHover, 514, 118, 1); }},
    {hit::Options, [](TMainForm& f) { AddPicture<Options>(f, pic::OptionsHover, 514, 188, 1); }},
    {hit::HighScore, [](TMainForm& f) { AddPicture<High_Score>(f, pic::HighScoreHover, 514, 258, 1); }},
    {hit::Help, [](TMainForm& f) { AddPicture<Help>(f, pic::HelpHover, 514, 328, 1); }},
    {hit::VisitWebSite,
     [](TMainForm& f) { AddPicture<Visit_Web_Site>(f, pic::VisitWebSiteHover, 514, 398, 1); }},
    {hit::Exit, [](TMainForm& f) { AddPicture<Exit_>(f, pic::ExitHover, 514, 468, 1); }},
};

constexpr THover kFgg[] = {
    {hit::Fgg, [](TMainForm& f) { AddPicture<fggActive>(f, pic::MoreGamesHover, 530, 531, 802); }},
};

constexpr THover kAnswers[] = {
    {hit::Yes, [](TMainForm& f) { AddPicture<TMainExit_Yes>(f, pic::YesHover, 240, 340, 902); }},
    {hit::No, [](TMainForm& f) { AddPicture<TMainExit_No>(f, pic::NoHover, 414, 340, 902); }},
};

// The help panel's buttons: the left one goes back a page, the right one on.
constexpr THover kHelpPanel[] = {
    {hit::PanelLeft, [](TMainForm& f) { AddPicture<HelpGame_Down>(f, pic::PreviousPageHover, 38, 523, 2); }},
    {hit::PanelBack, [](TMainForm& f) { AddPicture<HelpGame_Back>(f, pic::PanelBackHover, 187, 523, 2); }},
    {hit::PanelRight, [](TMainForm& f) { AddPicture<HelpGame_Up>(f, pic::NextPageHover, 336, 523, 2); }},
};

constexpr THover kOptionsBack[] = {
    {hit::PanelBack, [](TMainForm& f) { AddPicture<HelpGame_Back>(f, pic::PanelBackHover, 187, 523, 2); }},
};

constexpr THover kHighScorePanel[] = {
    {hit::PanelLeft, [](TMainForm& f) { AddPicture<HighScore_Clear>(f, pic::ClearScoresHover, 38, 523, 3); }},
    {hit::PanelBack, [](TMainForm& f) { AddPicture<HighScore_Back>(f, pic::ScoresBackHover, 187, 523, 3); }},
    {hit::PanelRight, [](TMainForm& f) { AddPicture<HighScore_View>(f, pic::ViewScoresHover, 336, 523, 3); }},
};

// Tests the pointer against one group. A hit shows the hand and the item's
// highlight and plays the hover sound if the previous groups left it armed;
// a miss re-arms it (unless told not to). Several groups run one after the
// other, so the last one decides whether the next hit sounds.
bool HoverGroup(TMainForm& form, std::span<const THover> group, bool rearmOnMiss = true) {
  for (const THover& item : group) {
    if (!item.rect.Contains(form.PointerX, form.PointerY)) continue;
    form.Window.SetPointer(PointerShape::Hand);
    item.highlight(form);
    if (form.HoverSoundArmed) {
      form.StopSound(snd::ButtonUp);
      form.PlaySound(snd::ButtonUp);
    }
    form.HoverSoundArmed = false;
    return true;
  }
  if (rearmOnMiss) form.HoverSoundArmed = true;
  return false;
}

// The main menu's groups, which every sub-screen runs too: the badge, then
// the confirmation's answers while it is open, else the column. Missing the
// badge does not re-arm the sound: the group after it decides, so moving
// within one column item sounds once, while every move over the badge sounds
// (the column after it misses and re-arms).
void MenuGroups(TMainForm& form) {
  HoverGroup(form, kFgg, false);
  if (form.GameMainExit.Checked)
    HoverGroup(form, kAnswers);
  else if (!form.QuestionOpen())
    HoverGroup(form, kColumn);
}

// The options rows only shape the pointer over their choices.
void OptionsGroups(TMainForm& form) {
  const int x = form.PointerX;
  const int y = form.PointerY;
  auto handOver = [&form, x, y](const THitRect& a, const THitRect& b) {
    if (a.Contains(x, y) || b.Contains(x, y)) form.Window.SetPointer(PointerShape::Hand);
  };
  if (y >= 258 && y <= 278) {
    handOver(hit::ModeWindowed, hit::ModeFullScreen);
  } else if (y >= 287 && y <= 309) {
    handOver(hit::MusicOn, hit::MusicOff);
  } else if (y >= 317 && y <= 338) {
    handOver(hit::SoundOn, hit::SoundOffHover);
  } else if (y >= 342 && y <= 370) {
    if (hit::CountryField.Contains(x, y)) form.Window.SetPointer(PointerShape::IBeam);
  } else if (y >= 523 && y <= 554) {
    HoverGroup(form, kOptionsBack);
  } else {
    form.HoverSoundArmed = true;
  }
}

void SubScreenMove(TMainForm& form) {
  // The groups below belong to the screen the pointer was moved on, even
  // when the panel rule has already switched to the main menu.
  const uint8_t shown = form.CurrentScreen;
  form.Window.SetPointer(PointerShape::Arrow);
  // A question's answers reach past the panel: while one is open the panel
  // rule waits, so the pointer can go to "Нет" without leaving the screen.
  if (!form.QuestionOpen() && !hit::Panel.Contains(form.PointerX, form.PointerY))
    form.SwitchScreen(screen::MainMenu);
  MenuGroups(form);
  switch (shown) {
    case screen::Help:
      if (!form.GameMainExit.Checked) HoverGroup(form, kHelpPanel);
      break;
    case screen::Options:
      if (!form.GameMainExit.Checked) OptionsGroups(form);
      break;
    default:
      if (form.GameClearHighScore.Checked || form.GameMainExit.Checked)
        HoverGroup(form, kAnswers);
      else
        HoverGroup(form, kHighScorePanel);
      break;
  }
}

}  // namespace

void TMainForm::DXDrawMouseMove(uint8_t /*shift*/, int x, int y) {
  KillAll<TMenuGame>(EngineRoot(*this));
  PointerX = x;
  PointerY = y;
  PointerInWindow = true;
  switch (CurrentScreen) {
    case screen::MainMenu:
      Window.SetPointer(PointerShape::Arrow);
      MenuGroups(*this);
      break;
    case screen::Race:
      // In the race only the exit confirmation answers, and leaving its
      // answers neither re-arms the sound nor changes the pointer.
      if (GameMainExit.Checked) HoverGroup(*this, kAnswers, false);
      break;
    case screen::Help:
    case screen::Options:
    case screen::HighScores:
      SubScreenMove(*this);
      break;
    case screen::GameOver:
      Window.SetPointer(hit::NameField.Contains(x, y) ? PointerShape::IBeam : PointerShape::Arrow);
      break;
    default:
      break;
  }
}

}  // namespace bd
