#pragma once
// An error that carries SDL's own reason after the game's message.

#include <SDL.h>

#include <stdexcept>
#include <string>

namespace bd {

inline std::runtime_error SdlError(const char* what) {
  return std::runtime_error(std::string(what) + ": " + SDL_GetError());
}

}  // namespace bd
