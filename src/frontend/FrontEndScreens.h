#pragma once
// The front end's part of the screen state machine: building the main menu,
// help, options and high-score screens, what leaving them does, and the
// texts their frames draw over the sprites.

#include <cstdint>
#include <string_view>

namespace bd {

class TMainForm;

// Builds screen n when it is one of the front end's (main menu, help,
// options, high scores); other screens are left alone.
void BuildFrontEndScreen(TMainForm& form, uint8_t n);
// Called before any screen is torn down. An exit confirmation does not
// outlive the screen it was opened on: its pictures go with the screen, so
// it is closed here rather than left answering (and holding a race still)
// on a screen that does not show it.
void LeaveFrontEndScreen(TMainForm& form);
// The texts of the help, options and high-score frames, drawn after the
// sprites.
void DrawFrontEndTexts(TMainForm& form, uint8_t n);

// The depth of the high-score screen's clear question: its frame lies here,
// its words and answers above.
constexpr int32_t kClearQuestionDepth = 801;

// The lines of help page `page` (1 to 3) as they are drawn: position, point
// size and Windows-1251 text. Nothing for other pages.
struct THelpLine {
  int X;
  int Y;
  int Size;
  const char* Utf8;
};
struct THelpPage {
  const THelpLine* Lines;
  int Count;
};
THelpPage HelpPageLines(int page);
// Page 3 for a game that reports to `scoreServer`. The public server's
// address it shows stays valid until the next call.
THelpPage AboutPage(std::string_view scoreServer);

}  // namespace bd
