#pragma once
// What the menu screens share with the form and the tests: the clear
// question's depth and the help pages' lines.

#include <cstdint>
#include <string_view>

namespace bd {

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
