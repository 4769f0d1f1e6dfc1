#include "frontend/screens/GameOverScreen.h"

#include <iterator>

#include "codec/Cp1251.h"
#include "engine/display/Canvas.h"
#include "engine/loop/Application.h"
#include "frontend/BriefPause.h"
#include "frontend/FrontEndHost.h"
#include "frontend/HighScores.h"
#include "frontend/MenuSprites.h"
#include "frontend/NameWheel.h"
#include "frontend/screens/ScreenNumbers.h"
#include "race/RaceHost.h"

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
         [](IFrontEndHost& f) {
           f.SetTyping(true);
           f.PlaySound(snd::ButtonDown);
         },
     .Frame = kNameFrame},
    // A click there takes the typing from the name; the keys leave it.
    {.kind = Kind::SendBox,
     .Click = hit::SendBox,
     .Action =
         [](IFrontEndHost& f) {
           f.Click(TFlag::SendResult);
           f.PlaySound(snd::ButtonDown);
         },
     .Frame = kSendFrame},
};

}  // namespace

void TGameOverScreen::Build() {
  AddPicture<TImageSprite>(host_, pic::GameOver, 0, 0, -1);
  host_.PlayMusic("3");
  host_.ScreenTimer().SetEnabled(false);
  host_.ScreenTimer().SetInterval(5000);
  host_.ScreenTimer().SetEnabled(true);
}

void TGameOverScreen::Leave() {
  TScreen::Leave();
  host_.RaceHost().RaceState().GameOver = false;
  host_.SetChecked(TFlag::EnterName, false);
  host_.SetTyping(false);
  host_.SetChecked(TFlag::SendResult, false);
  host_.SaveSettings();
}

void TGameOverScreen::Frame(int /*lagCount*/) {
  host_.SpriteFrame(16, true);
  DrawTexts();
}

void TGameOverScreen::DrawTexts() {
  TCanvas& canvas = host_.Canvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = host_.TextFont();
  canvas.Font.Color = 0;
  canvas.Font.Size = 20;
  canvas.Font.Style = 0;
  auto centred = [&canvas](int y, const std::string& text) {
    canvas.TextOut(static_cast<int>(400 - Round(canvas.TextWidth(text) / 2.0)), y, text);
  };
  const std::string score = std::to_string(host_.RaceHost().RaceState().Score);
  const std::string level = std::to_string(host_.RaceHost().RaceState().Level);
  if (host_.Checked(TFlag::EnterName)) {
    host_.PlayerName() = host_.NameField();
    centred(210, score);
    centred(310, host_.PlayerName());
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
  DrawKeyFocusFrame(host_, canvas);
  host_.ReleaseCanvas();
}

void TGameOverScreen::KeyDown(int key, uint8_t shift) {
  IFrontEndHost& host = host_;
  const bool alt = (shift & ssAlt) != 0;
  const bool enter = key == vk::Return;
  const bool escape = key == vk::Escape;
  const bool beatsTable = BeatsHighScores(host.HighScores(), host.RaceHost().RaceState().Score);
  if ((escape || enter) && !beatsTable && !host.ScreenTimer().Enabled()) {
    BriefPause();
    host.SwitchScreen(screen::MainMenu);
  }
  if (key == vk::Back && host.Typing() && !host.NameField().empty()) host.NameField().pop_back();
  if (FocusStep(key) != 0) MoveKeyFocus(host, FocusStep(key));
  // Enter ticks the send box when the keys' focus is on it. Space never
  // does: the name takes the typing, and a key typed as part of a name
  // must not publish the score (a pad's X ticks it, see PadKeyDown).
  TItem focused;
  const bool onSendBox = FocusedItem(host, focused) && focused.kind == Kind::SendBox;
  if (host.Checked(TFlag::EnterName) && enter && !alt && onSendBox) {
    focused.Action(host);
  } else if (enter && !alt && !host.PlayerName().empty() && beatsTable) {
    // Not bound to the first five seconds: a remembered name enters the
    // score at once.
    host.EnterHighScore();
  }
}

void TGameOverScreen::KeyPress(uint8_t key) {
  if (host_.NameField().size() < 10) host_.NameField() += static_cast<char>(key);
}

bool TGameOverScreen::PadKeyDown(int key, uint8_t shift) {
  if (TScreen::PadKeyDown(key, shift)) return true;
  if (!host_.Checked(TFlag::EnterName)) return false;
  // A pad has no letters: on the name entry its d-pad turns them.
  if (TurnNameWheel(host_.NameField(), key)) {
    host_.SetTyping(true);
    host_.KeyFocus() = -1;
    return true;
  }
  // X, which cannot be part of a name, ticks the send box.
  if (key == vk::Space) {
    host_.Click(TFlag::SendResult);
    host_.PlaySound(snd::ButtonDown);
    return true;
  }
  return false;
}

void TGameOverScreen::PointerMove(int x, int y) {
  host_.SetPointer(hit::NameField.Contains(x, y) ? PointerShape::IBeam : PointerShape::Arrow);
}

void TGameOverScreen::PointerDown(int button, int /*pressX*/, int /*pressY*/) {
  IFrontEndHost& host = host_;
  if (button != 1) return;
  // Nothing answers during the first five seconds.
  if (host.ScreenTimer().Enabled()) return;
  if (host.RaceHost().RaceState().Score < HighScoreThreshold(host.HighScores())) {
    BriefPause();
    host.SwitchScreen(screen::MainMenu);
    return;
  }
  const int x = host.PointerX();
  const int y = host.PointerY();
  if (!host.NameField().empty()) host.SetTyping(false);
  ClickItems(host, kNameEntry, x, y);
}

// The name is drawn centred on x 400; the caret follows its right end.
bool TGameOverScreen::CaretPlace(double& x, double& y) {
  TCanvas& canvas = host_.Canvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = host_.TextFont();
  canvas.Font.Size = 20;
  const int width = canvas.TextWidth(host_.PlayerName());
  host_.ReleaseCanvas();
  x = static_cast<double>(Round(width / 2.0) + 402);
  y = 330;
  return true;
}

std::vector<TItem> TGameOverScreen::FocusItems() const {
  if (!host_.Checked(TFlag::EnterName)) return {};
  return {std::begin(kNameEntry), std::end(kNameEntry)};
}

void TGameOverScreen::TimerTick() {
  host_.SetPointer(PointerShape::Arrow);
  if (BeatsAnyHighScore(host_.HighScores(), host_.RaceHost().RaceState().Score))
    host_.Click(TFlag::EnterName);
}

}  // namespace bd
