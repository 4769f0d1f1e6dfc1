#include "engine/platform/sdl/SdlMessageBox.h"

#include <SDL.h>

#include <cstdio>

#include "engine/platform/sdl/SdlWindow.h"

namespace bd {

void TSdlMessageBox::Show(const std::string& utf8Title, const std::string& utf8Text) {
  std::fprintf(stderr, "%s: %s\n", utf8Title.c_str(), utf8Text.c_str());
  SDL_Window* parent = window_ != nullptr ? window_->Sdl() : nullptr;
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Title.c_str(), utf8Text.c_str(), parent) !=
          0 &&
      parent != nullptr) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Title.c_str(), utf8Text.c_str(), nullptr);
  }
}

}  // namespace bd
