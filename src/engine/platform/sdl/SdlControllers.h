#pragma once
// SDL's game controllers: pads are opened as they are plugged in (those
// present at start-up arrive the same way) and closed as they go, and their
// buttons and axes become the platform-independent controller input.

#include <SDL.h>

#include <optional>
#include <utility>
#include <vector>

#include "engine/platform/Controller.h"

namespace bd {

class TSdlControllers {
 public:
  TSdlControllers() = default;
  ~TSdlControllers();
  TSdlControllers(const TSdlControllers&) = delete;
  TSdlControllers& operator=(const TSdlControllers&) = delete;

  // Takes one SDL event: opens or closes a pad, or says what a pad did.
  // Empty for events that are not a pad's input.
  std::optional<ControllerInput> Translate(const SDL_Event& e);

 private:
  std::vector<std::pair<SDL_JoystickID, SDL_GameController*>> open_;
};

}  // namespace bd
