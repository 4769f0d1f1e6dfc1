#pragma once
// The questions that can open over a screen, and the order in which they
// take the keys and the pointer: the exit question stands over the clear
// question (it may open over it), and both over the screen. The form hands
// every key and press to the open ones first, uppermost first, and gives the
// screen only what none of them took.

#include <array>
#include <cstdint>

#include "frontend/overlays/ClearQuestion.h"
#include "frontend/overlays/ExitQuestion.h"

namespace bd {

class TOverlays {
 public:
  explicit TOverlays(IFrontEndHost& host) : exit_(host), clear_(host) {}

  TExitQuestion& Exit() { return exit_; }
  TClearQuestion& Clear() { return clear_; }

  // The uppermost open question; null when none is open.
  TQuestion* Open();
  // True when an open question took the key.
  bool KeyDown(int key, uint8_t shift);
  bool PadKeyDown(int key, uint8_t shift);
  // Every open question shows the answer under the pointer.
  void PointerMove(int x, int y);
  // True when an open question's answer took the press.
  bool PointerDown(int button);

 private:
  TExitQuestion exit_;
  TClearQuestion clear_;
  // Uppermost first.
  const std::array<TQuestion*, 2> stack_{&exit_, &clear_};
};

}  // namespace bd
