#pragma once
// The real platform on SDL2: one resizable window that opens at a whole
// multiple of the 800 x 600 picture, the picture scaled to it and
// letter-boxed to 4:3 (by the graphics processor where there is a real one,
// by a pixel-duplicating copy into the window otherwise), keyboard and
// pointer events in picture coordinates, a monotonic clock, a wait that
// sleeps instead of spinning, message boxes and the desktop's opener.

#include <memory>

#include "engine/platform/Platform.h"
#include "engine/platform/sdl/SdlAudio.h"
#include "engine/platform/sdl/SdlClock.h"
#include "engine/platform/sdl/SdlEvents.h"
#include "engine/platform/sdl/SdlMessageBox.h"
#include "engine/platform/sdl/SdlShell.h"
#include "engine/platform/sdl/SdlWindow.h"

namespace bd {

// Everything the real game runs on. Throws when SDL's video cannot start.
class TSdlPlatform {
 public:
  TSdlPlatform();
  ~TSdlPlatform();
  TSdlPlatform(const TSdlPlatform&) = delete;
  TSdlPlatform& operator=(const TSdlPlatform&) = delete;

  Platform Get();
  TSdlWindow& Window() { return *window_; }

 private:
  TSdlClock clock_;
  std::unique_ptr<TSdlWindow> window_;
  std::unique_ptr<TSdlEvents> events_;
  std::unique_ptr<TSdlMessageBox> messageBox_;
  TSdlShell shell_;
  TSdlAudio audio_;
  bool controllersUp_ = false;
};

}  // namespace bd
