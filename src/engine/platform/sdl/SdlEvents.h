#pragma once
// SDL's events as the game's: window, keyboard, text, pointer (in picture
// coordinates) and game controllers (as keys), and a wait for the next one
// that sleeps instead of spinning.

#include <SDL.h>

#include <cstdint>
#include <deque>

#include "engine/platform/Controller.h"
#include "engine/platform/Platform.h"
#include "engine/platform/sdl/SdlClock.h"
#include "engine/platform/sdl/SdlControllers.h"

namespace bd {

class TSdlWindow;

class TSdlEvents : public IEventSource {
 public:
  TSdlEvents(TSdlClock& clock, TSdlWindow& window) : clock_(clock), window_(window) {}
  bool Poll(PlatformEvent& event) override;
  // Blocks in the event wait until shortly before the deadline, then sleeps
  // precisely for the rest: no core is kept busy, and the deadline is still
  // met to well under a millisecond.
  void WaitUntil(uint32_t deadlineMs) override;

 private:
  void Translate(const SDL_Event& e);

  TSdlClock& clock_;
  TSdlWindow& window_;
  std::deque<PlatformEvent> pending_;
  // Game controllers, whose buttons and stick arrive as key events.
  TSdlControllers controllers_;
  TControllerTranslator pads_;
};

}  // namespace bd
