#include "frontend/screens/GameOverScreen.h"

#include <iterator>

#include "app/MainForm.h"
#include "codec/Cp1251.h"
#include "engine/display/Canvas.h"
#include "frontend/BriefPause.h"
#include "frontend/HighScores.h"
#include "frontend/MenuSprites.h"
#include "frontend/NameWheel.h"

namespace bd {
namespace {

using Kind = TItem::Kind;

// The dark brown of the name entry panel's own captions.
constexpr uint32_t kPanelInk = 0x00141721;  // 0x00BBGGRR

// The frames the keys' focus draws round the name field and round the send
// box with its words.
constexpr THitRect kNameFrame{206, 594, 304, 347};
constexpr THitRect kSendFrame{206, 560, 359, 429};

// The name entry's field and its "send online" box.
constexpr TItem kNameEntry[] = {
    {.kind = Kind::Field,
     .Click = hit::NameField,
     .Action =
         [](TMainForm& f) {
           f.GamegoEdit.Checked = true;
           f.PlaySound(snd::ButtonDown);
         },
     .Frame = kNameFrame},
    // A click there takes the typing from the name; the keys leave it.
    {.kind = Kind::SendBox,
     .Click = hit::SendBox,
     .Action =
         [](TMainForm& f) {
           f.GameSendResultClick();
           f.PlaySound(snd::ButtonDown);
         },
     .Frame = kSendFrame},
};

}  // namespace

void TGameOverScreen::Build() {
  AddPicture<TImageSprite>(form_, pic::GameOver, 0, 0, -1);
  form_.PlayMusic("3");
  form_.Timer1.SetEnabled(false);
  form_.Timer1.SetInterval(5000);
  form_.Timer1.SetEnabled(true);
}

void TGameOverScreen::Leave() {
  TScreen::Leave();
  form_.RaceState.GameOver = false;
  form_.GameEnterName.Checked = false;
  form_.GamegoEdit.Checked = false;
  form_.GameSendResult.Checked = false;
  form_.SaveSettings();
}

void TGameOverScreen::Frame(int /*lagCount*/) {
  form_.SpriteFrame(16, true);
  DrawTexts();
}

void TGameOverScreen::DrawTexts() {
  TCanvas& canvas = form_.DXDraw.SurfaceCanvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = form_.TextFont;
  canvas.Font.Color = 0;
  canvas.Font.Size = 20;
  canvas.Font.Style = 0;
  auto centred = [&canvas](int y, const std::string& text) {
    canvas.TextOut(static_cast<int>(400 - Round(canvas.TextWidth(text) / 2.0)), y, text);
  };
  const std::string score = std::to_string(form_.RaceState.Score);
  const std::string level = std::to_string(form_.RaceState.Level);
  if (form_.GameEnterName.Checked) {
    form_.PlayerName = form_.Edit2.Text;
    centred(210, score);
    centred(310, form_.PlayerName);
    // The level, in the panel's own lettering, between the score's plate
    // and the line that asks for the name.
    canvas.Font.Size = 11;
    canvas.Font.Style = fsBold;
    canvas.Font.Color = kPanelInk;
    centred(247, W("УРОВЕНЬ ") + level);
    canvas.Font.Style = 0;
  } else {
    // The two clouds carry the score and the level reached: for good when
    // the score stays below the table; when it enters the table, until the
    // name entry opens over them.
    centred(210, W("СЧЁТ: ") + score);
    centred(310, W("УРОВЕНЬ: ") + level);
  }
  DrawKeyFocusFrame(form_, canvas);
  form_.DXDraw.ReleaseCanvas();
}

void TGameOverScreen::KeyDown(int key, uint8_t shift) {
  TMainForm& form = form_;
  const bool alt = (shift & ssAlt) != 0;
  const bool enter = key == vk::Return;
  const bool escape = key == vk::Escape;
  const bool beatsTable = BeatsHighScores(form.HighScores, form.RaceState.Score);
  if ((escape || enter) && !beatsTable && !form.Timer1.Enabled()) {
    BriefPause();
    form.SwitchScreen(screen::MainMenu);
  }
  if (key == vk::Back && form.GamegoEdit.Checked && !form.Edit2.Text.empty()) form.Edit2.Text.pop_back();
  if (FocusStep(key) != 0) MoveKeyFocus(form, FocusStep(key));
  // Enter ticks the send box when the keys' focus is on it. Space never
  // does: the name takes the typing, and a key typed as part of a name
  // must not publish the score (a pad's X ticks it, see PadKeyDown).
  TItem focused;
  const bool onSendBox = FocusedItem(form, focused) && focused.kind == Kind::SendBox;
  if (form.GameEnterName.Checked && enter && !alt && onSendBox) {
    focused.Action(form);
  } else if (enter && !alt && !form.PlayerName.empty() && beatsTable) {
    // Not bound to the first five seconds: a remembered name enters the
    // score at once.
    form.EnterHighScore();
  }
}

void TGameOverScreen::KeyPress(uint8_t key) {
  if (form_.Edit2.Text.size() < 10) form_.Edit2.Text += static_cast<char>(key);
}

bool TGameOverScreen::PadKeyDown(int key, uint8_t shift) {
  if (TScreen::PadKeyDown(key, shift)) return true;
  if (!form_.GameEnterName.Checked) return false;
  // A pad has no letters: on the name entry its d-pad turns them.
  if (TurnNameWheel(form_.Edit2.Text, key)) {
    form_.GamegoEdit.Checked = true;
    form_.KeyFocus = -1;
    return true;
  }
  // X, which cannot be part of a name, ticks the send box.
  if (key == vk::Space) {
    form_.GameSendResultClick();
    form_.PlaySound(snd::ButtonDown);
    return true;
  }
  return false;
}

void TGameOverScreen::PointerMove(int x, int y) {
  form_.Window.SetPointer(hit::NameField.Contains(x, y) ? PointerShape::IBeam : PointerShape::Arrow);
}

void TGameOverScreen::PointerDown(int button, int /*pressX*/, int /*pressY*/) {
  TMainForm& form = form_;
  if (button != 1) return;
  // Nothing answers during the first five seconds.
  if (form.Timer1.Enabled()) return;
  if (form.RaceState.Score < HighScoreThreshold(form.HighScores)) {
    BriefPause();
    form.SwitchScreen(screen::MainMenu);
    return;
  }
  const int x = form.PointerX;
  const int y = form.PointerY;
  if (!form.Edit2.Text.empty()) form.GamegoEdit.Checked = false;
  ClickItems(form, kNameEntry, x, y);
}

// The name is drawn centred on x 400; the caret follows its right end.
bool TGameOverScreen::CaretPlace(double& x, double& y) {
  TCanvas& canvas = form_.DXDraw.SurfaceCanvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = form_.TextFont;
  canvas.Font.Size = 20;
  const int width = canvas.TextWidth(form_.PlayerName);
  form_.DXDraw.ReleaseCanvas();
  x = static_cast<double>(Round(width / 2.0) + 402);
  y = 330;
  return true;
}

std::vector<TItem> TGameOverScreen::FocusItems() const {
  if (!form_.GameEnterName.Checked) return {};
  return {std::begin(kNameEntry), std::end(kNameEntry)};
}

void TGameOverScreen::TimerTick() {
  form_.Window.SetPointer(PointerShape::Arrow);
  if (BeatsAnyHighScore(form_.HighScores, form_.RaceState.Score)) form_.GameEnterNameClick();
}

}  // namespace bd
