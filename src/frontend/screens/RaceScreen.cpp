#include "frontend/screens/RaceScreen.h"

#include "frontend/FrontEndHost.h"
#include "frontend/screens/Questions.h"

namespace bd {

void TRaceScreen::Build() { host_.StartGame(); }

void TRaceScreen::Leave() {
  TScreen::Leave();
  host_.SetMenuMusicPending(true);
  host_.StopAllSounds();
  host_.LoadMenuGraphicsAfterRace();
}

void TRaceScreen::Frame(int lagCount) {
  // Race sprites move by the frame intervals that passed.
  host_.RaceFrame(lagCount);
}

void TRaceScreen::KeyDown(int key, uint8_t shift) {
  const bool asked = host_.Checked(TFlag::MainExit);
  // The race takes its share of the key first (race/RaceInput.h), so that a
  // replay, which has no screens, does the same with it.
  const TRaceKeyOutcome outcome = host_.RaceKeyPress(key, shift);
  if (asked) {
    // The question is answered from the keys as with the pointer: the arrows
    // choose, Enter answers the chosen one, Escape says "Нет".
    if (FocusStep(key) != 0) {
      MoveKeyFocus(host_, FocusStep(key));
    } else if (key == vk::Return) {
      ActivateKeyFocus(host_);
    } else if (key == vk::Escape)
      host_.Click(TFlag::MainExit);
    return;
  }
  if (outcome == TRaceKeyOutcome::AskToLeave) host_.Click(TFlag::MainExit);
}

bool TRaceScreen::PadKeyDown(int key, uint8_t shift) {
  // B fires in a race; over the race's exit question it says "Нет".
  if (!host_.Checked(TFlag::MainExit)) return false;
  return TScreen::PadKeyDown(key, shift);
}

void TRaceScreen::PointerMove(int x, int y) {
  // In the race only the exit question answers, and leaving its answers
  // neither re-arms the sound nor changes the pointer.
  if (host_.Checked(TFlag::MainExit)) HoverItems(host_, RaceExitAnswers(), x, y, false);
}

void TRaceScreen::PointerDown(int /*button*/, int /*pressX*/, int /*pressY*/) {
  if (host_.Checked(TFlag::MainExit))
    ClickItems(host_, RaceExitAnswers(), host_.PointerX(), host_.PointerY());
}

std::vector<TItem> TRaceScreen::FocusItems() const {
  if (!host_.Checked(TFlag::MainExit)) return {};
  const std::span<const TItem> answers = RaceExitAnswers();
  return {answers.begin(), answers.end()};
}

bool TRaceScreen::CloseQuery() {
  host_.PlaySound(snd::ButtonDown);
  host_.Click(TFlag::MainExit);
  return false;
}

}  // namespace bd
