// Program entry of the game: set up the platform, create the main form,
// show it and run the message loop until the form closes. The game takes no
// command-line options; it works in its run directory.
#include <SDL.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "app/FrameLog.h"
#include "app/MainForm.h"
#include "app/Version.h"
#include "engine/loop/Application.h"
#include "engine/platform/sdl/SdlPlatform.h"

int main(int /*argc*/, char** /*argv*/) {
  // Timing records for measuring the game, only when asked for.
  const std::unique_ptr<bd::TFrameLog> frameLog = bd::TFrameLog::FromEnvironment();
  if (frameLog) frameLog->Started();
  try {
    bd::TSdlPlatform platform;
    bd::TApplication application(platform.Get());
    application.Title = bd::kGameTitle;
    bd::TMainForm form(application, frameLog.get());
    form.Show();
    application.Run();
  } catch (const std::exception& e) {
    // Nothing to draw on: say why on the terminal and, where a desktop is
    // there to show it, in a message box.
    const std::string message = std::string("The game cannot start: ") + e.what();
    std::fprintf(stderr, "%s\n", message.c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, bd::kGameTitle, message.c_str(), nullptr);
    return 1;
  }
  SDL_Quit();
  return 0;
}
