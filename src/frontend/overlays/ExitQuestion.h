#pragma once
// The question whether to leave the game, over the menus and the race. It
// holds the race and the screen's timer while it waits, and pauses the
// window's caption. Over the menus "Да" leaves the game and "Нет" goes on
// from the main menu; over the race "Да" ends the game (with the name entry
// when the score enters the table) and "Нет" sets the race going again.

#include "frontend/overlays/Question.h"

namespace bd {

class TExitQuestion : public TQuestion {
 public:
  using TQuestion::TQuestion;
  bool IsOpen() const override;
  // Never during the level-complete sequence, and only where there is a
  // game or a menu to leave. A paused race may be left: the question
  // stands over the pause.
  bool MayOpen() const override;
  void Open() override;
  // The game runs on under the plain caption: a race goes on at once, or
  // when its level caption has had its time; a paused one stays paused.
  void Close() override;
  void Click() override;
  // It does not outlive the screen it was opened on: its pictures go with
  // the screen, so it closes before any screen is torn down rather than
  // answering (and holding a race still) on a screen that does not show it.
  void CloseWithScreen();
  bool KeyDown(int key, uint8_t shift) override;

 protected:
  std::span<const TItem> Answers() const override;
  // Over the race, leaving its answers neither re-arms the sound nor
  // changes the pointer, and every button answers.
  bool RearmsHoverSound() const override;
  bool AnyButtonAnswers() const override;

 private:
  bool OverRace() const;
};

}  // namespace bd
