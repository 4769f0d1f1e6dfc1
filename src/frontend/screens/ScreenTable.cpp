#include "frontend/screens/ScreenTable.h"

#include "frontend/FrontEndHost.h"
#include "frontend/screens/ExitScreen.h"
#include "frontend/screens/GameOverScreen.h"
#include "frontend/screens/HelpScreen.h"
#include "frontend/screens/HighScoresScreen.h"
#include "frontend/screens/MainMenuScreen.h"
#include "frontend/screens/OptionsScreen.h"
#include "frontend/screens/RaceScreen.h"
#include "frontend/screens/ReplayScreen.h"
#include "frontend/screens/ScreenNumbers.h"
#include "frontend/screens/SplashScreen.h"

namespace bd {
namespace {

// The form before its first screen, and after the menu's pictures were lost:
// nothing to draw or answer, and the window's close button must still work.
class TNoScreen : public TScreen {
 public:
  using TScreen::TScreen;
  void Leave() override {}
  bool CloseQuery() override { return true; }
};

}  // namespace

TScreenTable::TScreenTable(IFrontEndHost& host) : other_(std::make_unique<TScreen>(host)) {
  auto& table = screens_;
  table[screen::None] = std::make_unique<TNoScreen>(host);
  table[screen::Splash] = std::make_unique<TSplashScreen>(host);
  table[screen::MainMenu] = std::make_unique<TMainMenuScreen>(host);
  table[screen::Race] = std::make_unique<TRaceScreen>(host);
  table[screen::Help] = std::make_unique<THelpScreen>(host);
  table[screen::Options] = std::make_unique<TOptionsScreen>(host);
  table[screen::HighScores] = std::make_unique<THighScoresScreen>(host);
  table[screen::Exit] = std::make_unique<TExitScreen>(host);
  table[screen::GameOver] = std::make_unique<TGameOverScreen>(host);
  table[screen::Replay] = std::make_unique<TReplayScreen>(host);
  for (auto& slot : table)
    if (!slot) slot = std::make_unique<TScreen>(host);
}

}  // namespace bd
