#include "race/RaceHud.h"

#include <cstdlib>

#include "codec/Cp1251.h"
#include "race/RaceFlow.h"

namespace bd {

namespace {

// "Уже близко..." stands at x 602 and ends before the road's painted right
// edge line, which begins at x 688 (the kerb and the destination sign lie
// beyond it).
constexpr int32_t kAlmostThereX = 602;
constexpr int32_t kRoadEdgeLine = 688;
constexpr int32_t kAlmostThereWidth = kRoadEdgeLine - 2 - kAlmostThereX;

}  // namespace

std::vector<THudText> RaceHudTexts(const TRaceState& s, bool levelIntro, bool exitConfirmShown) {
  using std::to_string;
  std::vector<THudText> out;
  auto add = [&out](std::string text, int32_t x, int32_t y, int size = 16, uint32_t color = HudBlack,
                    bool centred = false) {
    out.push_back({std::move(text), x, y, size, color, centred});
  };

  add(to_string(s.Score), 400, 5, 16, HudBlack, true);
  add("X " + to_string(s.Health), 75, 25);
  if (s.Speed >= 0)
    add("X " + to_string(10 * s.Speed), 70, 100);
  else
    add("X " + to_string(10 * std::abs(s.Speed)) + " R", 70, 100);
  add("X " + to_string(s.Lives), 70, 165);

  // Whole thousands still to drive, right-aligned by a fixed 8 pixels a character.
  const int32_t remaining = RemainingDistance(s);
  if (remaining >= 1000) {
    std::string text = to_string(remaining / 1000) + " X";
    const auto x = static_cast<int32_t>(710 - 8 * text.size());
    add(std::move(text), x, 25);
  } else {
    out.push_back({W("Уже близко..."), kAlmostThereX, 25, 16, HudBlack, false, kAlmostThereWidth});
  }
  add(W("Уровень"), 718, 72, 14);
  add(to_string(s.Level), 767, 95, 16, HudBlack, true);

  if (s.HasGuns) add(to_string(s.GunShots), 60, s.GunsMarkerY + 7, 16, HudNavy);
  if (s.HasStopMe) add(to_string(s.StopMeCount), 60, s.StopMeMarkerY + 7, 16, HudNavy);
  if (s.NitroOn) add(to_string(NitroDurationSeconds - s.NitroSeconds), 60, s.NitroMarkerY + 7, 16, HudNavy);

  if (s.Paused && !exitConfirmShown) add(W("Пауза"), 335, 270, 30);
  if (levelIntro && !s.Paused && !exitConfirmShown)
    add(W("Уровень ") + to_string(s.Level), 400, 250, 30, HudBlack, true);
  return out;
}

THudText LevelCompleteCaption() { return {W("Уровень пройден!"), 265, 400, 25, HudBlack, false}; }

}  // namespace bd
