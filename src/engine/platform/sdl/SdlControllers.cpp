#include "engine/platform/sdl/SdlControllers.h"

#include <algorithm>
#include <cstdio>

namespace bd {

// The pad's controls carry SDL's own numbers.
static_assert(static_cast<int>(PadButton::A) == SDL_CONTROLLER_BUTTON_A);
static_assert(static_cast<int>(PadButton::Start) == SDL_CONTROLLER_BUTTON_START);
static_assert(static_cast<int>(PadButton::DPadRight) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
static_assert(static_cast<int>(PadAxis::LeftY) == SDL_CONTROLLER_AXIS_LEFTY);
static_assert(static_cast<int>(PadAxis::TriggerRight) == SDL_CONTROLLER_AXIS_TRIGGERRIGHT);

TSdlControllers::~TSdlControllers() {
  for (auto& [id, pad] : open_) SDL_GameControllerClose(pad);
}

std::optional<ControllerInput> TSdlControllers::Translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      // `which` is a device index here, an instance id everywhere else.
      SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which);
      if (pad == nullptr) {
        std::fprintf(stderr, "A game controller cannot be opened: %s\n", SDL_GetError());
        return std::nullopt;
      }
      const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
      const bool known =
          std::any_of(open_.begin(), open_.end(), [id](const auto& p) { return p.first == id; });
      if (known)
        SDL_GameControllerClose(pad);  // opening again only raised its count
      else
        open_.emplace_back(id, pad);
      return std::nullopt;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
      const SDL_JoystickID id = e.cdevice.which;
      const auto it = std::find_if(open_.begin(), open_.end(), [id](const auto& p) { return p.first == id; });
      if (it != open_.end()) {
        SDL_GameControllerClose(it->second);
        open_.erase(it);
      }
      return ControllerInput::Unplugged(id);
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (e.cbutton.button > SDL_CONTROLLER_BUTTON_DPAD_RIGHT) return std::nullopt;
      return e.type == SDL_CONTROLLERBUTTONDOWN
                 ? ControllerInput::Press(e.cbutton.which, static_cast<PadButton>(e.cbutton.button))
                 : ControllerInput::Release(e.cbutton.which, static_cast<PadButton>(e.cbutton.button));
    case SDL_CONTROLLERAXISMOTION:
      if (e.caxis.axis >= SDL_CONTROLLER_AXIS_MAX) return std::nullopt;
      return ControllerInput::Move(e.caxis.which, static_cast<PadAxis>(e.caxis.axis), e.caxis.value);
    default:
      return std::nullopt;
  }
}

}  // namespace bd
