#pragma once
// The texts of the race's head-up display, computed from the race state so
// that the frame only has to draw them. Texts are Windows-1251.

#include <cstdint>
#include <string>
#include <vector>

#include "race/RaceState.h"

namespace bd {

inline constexpr uint32_t HudBlack = 0x00000000;  // colours are 0x00BBGGRR
inline constexpr uint32_t HudNavy = 0x00800000;   // red 0, green 0, blue 128

struct THudText {
  std::string Text;
  int32_t X = 0;  // the left edge, or the centre when Centred
  int32_t Y = 0;
  int Size = 16;
  uint32_t Color = HudBlack;
  // Drawn at X - Round(width / 2) once the text's width is known.
  bool Centred = false;
  // Above 0: the widest the text may be. A wider one is drawn at the largest
  // smaller size that fits, kept on the same middle line.
  int32_t MaxWidth = 0;

  bool operator==(const THudText&) const = default;
};

// Everything the display shows while a level is being driven, in drawing
// order. `levelIntro` is true while the level caption's timer runs;
// `exitConfirmShown` while the exit confirmation is open.
std::vector<THudText> RaceHudTexts(const TRaceState& s, bool levelIntro, bool exitConfirmShown);

// The caption shown while the level-complete clock runs.
THudText LevelCompleteCaption();

}  // namespace bd
