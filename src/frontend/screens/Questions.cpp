#include "frontend/screens/Questions.h"

#include "app/MainForm.h"
#include "frontend/HighScores.h"

namespace bd {
namespace {

constexpr TPlace kYesHighlight{pic::YesHover, 240, 340, 902};
constexpr TPlace kNoHighlight{pic::NoHover, 414, 340, 902};

constexpr TItem Yes(void (*action)(TMainForm&)) {
  return {.Highlight = kYesHighlight,
          .MakeHighlight = &HighlightAs<TMainExit_Yes>,
          .Hover = hit::Yes,
          .Click = hit::Yes,
          .Action = action};
}

constexpr TItem No(void (*action)(TMainForm&)) {
  return {.Highlight = kNoHighlight,
          .MakeHighlight = &HighlightAs<TMainExit_No>,
          .Hover = hit::No,
          .Click = hit::No,
          .Action = action};
}

constexpr TItem kExitAnswers[] = {
    Yes([](TMainForm& f) {
      ClickSound(f);
      f.GameMainExitClick();
      f.LeaveGame();
    }),
    No([](TMainForm& f) {
      ClickSound(f);
      f.GameMainExitClick();
      f.SwitchScreen(screen::MainMenu);
    }),
};

constexpr TItem kRaceExitAnswers[] = {
    Yes([](TMainForm& f) {
      ClickSound(f);
      f.GameMainExitClick();
      const bool entersTable = BeatsHighScores(f.HighScores, f.RaceState.Score);
      f.SwitchScreen(entersTable ? screen::GameOver : screen::MainMenu);
    }),
    No([](TMainForm& f) {
      ClickSound(f);
      f.GameMainExitClick();  // closing it sets the race going again
    }),
};

constexpr TItem kClearAnswers[] = {
    Yes([](TMainForm& f) {
      f.ResetHighScores();
      f.GameClearHighScoreClick();
      ClickSound(f);
    }),
    No([](TMainForm& f) {
      f.GameClearHighScoreClick();
      ClickSound(f);
    }),
};

}  // namespace

std::span<const TItem> ExitAnswers() { return kExitAnswers; }
std::span<const TItem> RaceExitAnswers() { return kRaceExitAnswers; }
std::span<const TItem> ClearAnswers() { return kClearAnswers; }

}  // namespace bd
