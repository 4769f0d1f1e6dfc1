// Program entry of the game: read the command line, set up the platform,
// create the main form, show it and run the message loop until the form
// closes. The game works in its run directory; its one option names a
// recorded race to watch at once.
#include <SDL.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/FrameLog.h"
#include "app/MainForm.h"
#include "app/Version.h"
#include "engine/loop/Application.h"
#include "engine/platform/sdl/SdlPlatform.h"

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  const bd::TCommandLineParse parse = bd::ParseCommandLine(args);
  if (!parse.Error.empty()) {
    // The player started the launcher, whatever the game's own file is called.
    std::fprintf(stderr, "bumperdash: %s\n%s", parse.Error.c_str(),
                 bd::CommandLineUsage("bumperdash").c_str());
    return 2;
  }
  // Timing records for measuring the game, only when asked for.
  const std::unique_ptr<bd::TFrameLog> frameLog = bd::TFrameLog::FromEnvironment();
  if (frameLog) frameLog->Started();
  try {
    bd::TSdlPlatform platform;
    bd::TApplication application(platform.Get());
    application.Title = bd::kGameTitle;
    bd::TMainForm form(application, frameLog.get());
    form.Show();
    if (parse.Line.ReplayFile) application.Guard([&] { form.WatchRecordingFile(*parse.Line.ReplayFile); });
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
