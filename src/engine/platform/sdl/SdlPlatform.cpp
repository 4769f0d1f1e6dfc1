#include "engine/platform/sdl/SdlPlatform.h"

#include <SDL.h>

#include <cstdio>

#include "engine/platform/sdl/SdlError.h"

namespace bd {

TSdlPlatform::TSdlPlatform() {
  // The close button is the game's to handle; only a real quit (a signal,
  // the session ending) ends the program at once.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
    throw SdlError("The display cannot be opened");
  try {
    window_ = std::make_unique<TSdlWindow>();
  } catch (...) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    throw;
  }
  // Game controllers are welcome but not needed.
  controllersUp_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!controllersUp_) std::fprintf(stderr, "Game controllers are not available: %s\n", SDL_GetError());
  events_ = std::make_unique<TSdlEvents>(clock_, *window_);
  messageBox_ = std::make_unique<TSdlMessageBox>(window_.get());
  SDL_StartTextInput();
}

TSdlPlatform::~TSdlPlatform() {
  audio_.Close();
  messageBox_.reset();
  events_.reset();
  if (controllersUp_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  window_.reset();
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

Platform TSdlPlatform::Get() {
  Platform p;
  p.clock = &clock_;
  p.events = events_.get();
  p.window = window_.get();
  p.messageBox = messageBox_.get();
  p.shell = &shell_;
  p.audio = &audio_;
  return p;
}

}  // namespace bd
