#include "frontend/screens/MenuParts.h"

#include "app/MainForm.h"
#include "engine/BackgroundSprite.h"
#include "engine/PictureCollection.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/TextWriter.h"

namespace bd {
namespace {

constexpr int kLeftButton = 1;

constexpr THover kColumn[] = {
    {hit::StartGame, [](TMainForm& f) { AddPicture<Start_Game>(f, "Start Game_d", 514, 118, 1); }},
    {hit::Options, [](TMainForm& f) { AddPicture<Options>(f, "Options_d", 514, 188, 1); }},
    {hit::HighScore, [](TMainForm& f) { AddPicture<High_Score>(f, "High Score_d", 514, 258, 1); }},
    {hit::Help, [](TMainForm& f) { AddPicture<Help>(f, "Help_d", 514, 328, 1); }},
    {hit::VisitWebSite, [](TMainForm& f) { AddPicture<Visit_Web_Site>(f, "Visit Web Site_d", 514, 398, 1); }},
    {hit::Exit, [](TMainForm& f) { AddPicture<Exit_>(f, "Exit_d", 514, 468, 1); }},
};

constexpr THover kFgg[] = {
    {hit::Fgg, [](TMainForm& f) { AddPicture<fggActive>(f, "fgg_active", 530, 531, 802); }},
};

constexpr THover kAnswers[] = {
    {hit::Yes, [](TMainForm& f) { AddPicture<TMainExit_Yes>(f, "Exit_Main_Yes_d", 240, 340, 902); }},
    {hit::No, [](TMainForm& f) { AddPicture<TMainExit_No>(f, "Exit_Main_No_d", 414, 340, 902); }},
};

}  // namespace

void AddPictures(TMainForm& form, std::initializer_list<TPicture> pictures) {
  for (const TPicture& p : pictures) AddPicture<TImageSprite>(form, p.Image, p.X, p.Y, p.Z);
}

void AddMenuColumn(TMainForm& form) {
  AddPictures(form, {
                        {"Start Game_n", 514, 118, 0},
                        {"Options_n", 514, 188, 0},
                        {"High Score_n", 514, 258, 0},
                        {"Help_n", 514, 328, 0},
                        {"Visit Web Site_n", 514, 398, 0},
                        {"Exit_n", 514, 468, 0},
                        {"fgg_inactiv", 530, 530, 0},
                    });
}

void AddBackground(TMainForm& form) {
  TPictureCollectionItem& image = MenuImage(form, "menu");
  auto* background = new TBackgroundSprite(&EngineRoot(form));
  background->ResizeMap(1, 1);
  background->Image = &image;
  background->Endless = true;
  background->ChangeZ(0);
}

void PointerHandOver(TMainForm& form) {
  if (form.PointerX > 512) form.Window.WarpPointer(255, 320);
}

void ClickSound(TMainForm& form) { form.PlaySound("button_down"); }

bool HoverGroup(TMainForm& form, std::span<const THover> group, int x, int y, bool rearmOnMiss) {
  for (const THover& item : group) {
    if (!item.rect.Contains(x, y)) continue;
    form.Window.SetPointer(PointerShape::Hand);
    item.highlight(form);
    if (form.HoverSoundArmed) {
      form.StopSound("button_up");
      form.PlaySound("button_up");
    }
    form.HoverSoundArmed = false;
    return true;
  }
  if (rearmOnMiss) form.HoverSoundArmed = true;
  return false;
}

std::span<const THover> AnswerHovers() { return kAnswers; }

// Missing the badge does not re-arm the sound: the group after it decides,
// so moving within one column item sounds once, while every move over the
// badge sounds (the column after it misses and re-arms).
void MenuGroups(TMainForm& form, int x, int y) {
  HoverGroup(form, kFgg, x, y, false);
  if (form.GameMainExit.Checked)
    HoverGroup(form, kAnswers, x, y);
  else if (!form.QuestionOpen())
    HoverGroup(form, kColumn, x, y);
}

void ExitAnswerClick(TMainForm& form, int x, int y) {
  if (hit::Yes.Contains(x, y)) {
    ClickSound(form);
    form.GameMainExitClick();
    form.LeaveGame();
  } else if (hit::No.Contains(x, y)) {
    ClickSound(form);
    form.GameMainExitClick();
    form.SwitchScreen(screen::MainMenu);
  }
}

void ColumnClick(TMainForm& form, int x, int y, const THitRect& visitWebSite) {
  struct TSwitch {
    THitRect rect;
    uint8_t screen;
  };
  static constexpr TSwitch kSwitches[] = {
      {hit::StartGame, screen::Race},
      {hit::Options, screen::Options},
      {hit::HighScore, screen::HighScores},
      {hit::Help, screen::Help},
  };
  for (const TSwitch& item : kSwitches) {
    if (item.rect.Contains(x, y)) {
      form.SwitchScreen(item.screen);
      ClickSound(form);
      return;
    }
  }
  if (visitWebSite.Contains(x, y)) {
    form.ShellOpenFile("moregames.url");
    ClickSound(form);
  } else if (hit::Exit.Contains(x, y)) {
    form.GameMainExitClick();
    ClickSound(form);
  }
}

void TPanelScreen::Frame(int /*lagCount*/) {
  form_.SpriteFrame(16, true);
  if (form_.DXDraw.BackBuffer() == nullptr) return;
  TTextWriter out(form_);
  DrawTexts(out);
  out.FocusFrame();
}

void TPanelScreen::PointerMove(int x, int y) {
  form_.Window.SetPointer(PointerShape::Arrow);
  // A question's answers reach past the panel: while one is open the panel
  // rule waits, so the pointer can go to "Нет" without leaving the screen.
  if (!form_.QuestionOpen() && !hit::Panel.Contains(x, y)) form_.SwitchScreen(screen::MainMenu);
  MenuGroups(form_, x, y);
  // The panel's groups are this screen's, even when the panel rule has
  // already switched to the main menu.
  PanelHover(x, y);
}

void TPanelScreen::PointerDown(int button, int /*pressX*/, int /*pressY*/) {
  if (button != kLeftButton) return;
  const int x = form_.PointerX;
  const int y = form_.PointerY;
  if (hit::FggPanelClick.Contains(x, y)) {
    form_.ShellOpenFile("moregames.url");
    ClickSound(form_);
  }
  if (form_.GameMainExit.Checked)
    ExitAnswerClick(form_, x, y);
  else if (!form_.QuestionOpen())
    ColumnClick(form_, x, y, hit::VisitWebSite);
  // The panel's own buttons answer whether or not the column did, and also
  // with the question open; the screen may have changed meanwhile.
  form_.Screen().PanelClick(x, y);
}

}  // namespace bd
