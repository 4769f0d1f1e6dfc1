#pragma once
// The question whether to clear the high-score table, over the high-score
// screen, one layer below where the exit question stands. "Да" puts the
// default table back, "Нет" leaves the table as it is.

#include "frontend/overlays/Question.h"

namespace bd {

class TClearQuestion : public TQuestion {
 public:
  using TQuestion::TQuestion;
  // Its flag may stay set while its screen is rebuilt; it is open only over
  // a screen that offers it.
  bool IsOpen() const override;
  bool MayOpen() const override;
  void Open() override;
  void Close() override;
  void Click() override;
  // A new screen took over: a question left open under the exit question,
  // whose answers leave the table screen, is not found open when the table
  // comes back. Rebuilding the table itself keeps it (Escape and "Да"
  // rebuild the table, then close the question).
  void ScreenShown();
  // The arrows choose an answer, Enter answers, Escape rebuilds the table
  // screen without the question.
  bool KeyDown(int key, uint8_t shift) override;

 protected:
  std::span<const TItem> Answers() const override;
};

}  // namespace bd
