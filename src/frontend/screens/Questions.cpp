#include "frontend/screens/Questions.h"

#include "frontend/FrontEndHost.h"
#include "frontend/HighScores.h"
#include "frontend/screens/ScreenNumbers.h"
#include "race/RaceHost.h"

namespace bd {
namespace {

constexpr TPlace kYesHighlight{pic::YesHover, 240, 340, 902};
constexpr TPlace kNoHighlight{pic::NoHover, 414, 340, 902};

constexpr TItem Yes(void (*action)(IFrontEndHost&)) {
  return {.Highlight = kYesHighlight,
          .MakeHighlight = &HighlightAs<TMainExit_Yes>,
          .Hover = hit::Yes,
          .Click = hit::Yes,
          .Action = action};
}

constexpr TItem No(void (*action)(IFrontEndHost&)) {
  return {.Highlight = kNoHighlight,
          .MakeHighlight = &HighlightAs<TMainExit_No>,
          .Hover = hit::No,
          .Click = hit::No,
          .Action = action};
}

constexpr TItem kExitAnswers[] = {
    Yes([](IFrontEndHost& f) {
      ClickSound(f);
      f.Click(TFlag::MainExit);
      f.LeaveGame();
    }),
    No([](IFrontEndHost& f) {
      ClickSound(f);
      f.Click(TFlag::MainExit);
      f.SwitchScreen(screen::MainMenu);
    }),
};

constexpr TItem kRaceExitAnswers[] = {
    Yes([](IFrontEndHost& f) {
      ClickSound(f);
      f.RaceAnsweredYes();
      f.Click(TFlag::MainExit);
      const bool entersTable = BeatsHighScores(f.HighScores(), f.RaceHost().RaceState().Score);
      f.SwitchScreen(entersTable ? screen::GameOver : screen::MainMenu);
    }),
    No([](IFrontEndHost& f) {
      ClickSound(f);
      f.Click(TFlag::MainExit);  // closing it sets the race going again
    }),
};

constexpr TItem kClearAnswers[] = {
    Yes([](IFrontEndHost& f) {
      f.ResetHighScores();
      f.Click(TFlag::ClearHighScore);
      ClickSound(f);
    }),
    No([](IFrontEndHost& f) {
      f.Click(TFlag::ClearHighScore);
      ClickSound(f);
    }),
};

}  // namespace

std::span<const TItem> ExitAnswers() { return kExitAnswers; }
std::span<const TItem> RaceExitAnswers() { return kRaceExitAnswers; }
std::span<const TItem> ClearAnswers() { return kClearAnswers; }

}  // namespace bd
