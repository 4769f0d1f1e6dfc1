#include "frontend/overlays/ClearQuestion.h"

#include "frontend/FrontEndHost.h"
#include "frontend/FrontEndScreens.h"
#include "frontend/KeyFocus.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/Screen.h"
#include "frontend/screens/ScreenNumbers.h"

namespace bd {
namespace {

constexpr TItem kAnswers[] = {
    YesAnswer([](IFrontEndHost& f) {
      f.ClearHighScores();
      f.Click(TFlag::ClearHighScore);
      ClickSound(f);
    }),
    NoAnswer([](IFrontEndHost& f) {
      f.Click(TFlag::ClearHighScore);
      ClickSound(f);
    }),
};

}  // namespace

bool TClearQuestion::IsOpen() const {
  return host_.Checked(TFlag::ClearHighScore) && host_.Screen().OffersClearQuestion();
}

// It opens from the table screen's own button, which is there only where
// the question may open.
bool TClearQuestion::MayOpen() const { return true; }

void TClearQuestion::Open() {
  host_.SetChecked(TFlag::ClearHighScore, true);
  AddPictures<TClearHighScore, TClearHighScore_Word>(pic::ClearQuestion, kClearQuestionDepth);
}

void TClearQuestion::Close() {
  host_.SetChecked(TFlag::ClearHighScore, false);
  RemovePictures();
}

void TClearQuestion::Click() {
  host_.KeyFocus() = -1;  // the items on screen change
  if (host_.Checked(TFlag::ClearHighScore))
    Close();
  else if (MayOpen())
    Open();
}

void TClearQuestion::ScreenShown() {
  if (!host_.Screen().OffersClearQuestion()) host_.SetChecked(TFlag::ClearHighScore, false);
}

bool TClearQuestion::KeyDown(int key, uint8_t shift) {
  if (FocusStep(key) != 0) {
    MoveKeyFocus(host_, FocusStep(key));
  } else if (key == vk::Return && (shift & ssAlt) == 0) {
    ActivateKeyFocus(host_);
  } else if (key == vk::Escape) {
    // Rebuild the table screen and close the question, but stay.
    host_.SwitchScreen(screen::HighScores);
    Click();
  } else {
    return false;
  }
  return true;
}

std::span<const TItem> TClearQuestion::Answers() const { return kAnswers; }

}  // namespace bd
