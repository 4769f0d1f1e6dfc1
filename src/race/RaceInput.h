#pragma once
// What the race reads from the player, apart from the seed: the keys held
// (as a mask of the six race keys), the keys pressed on the race screen, the
// exit question standing over the race, and the focus. The live game and a
// replay hand them to the race through the same operations, so the race
// does the same with them in both.

#include <cstdint>

#include "engine/platform/Platform.h"
#include "race/RaceHost.h"

namespace bd {

// The keys the race polls while they are held, and their bits in a mask.
inline constexpr int kRaceKeyCodes[] = {vk::Up, vk::Down, vk::Left, vk::Right, vk::Space, vk::Return};
inline constexpr int kRaceKeyCount = static_cast<int>(sizeof(kRaceKeyCodes) / sizeof(kRaceKeyCodes[0]));

// The bit of a race key in the mask; 0 for a key the race does not poll.
uint32_t RaceKeyBit(int key);

// The mask of the race keys for which `held(key)` is true.
template <typename THeld>
uint32_t RaceKeysHeld(THeld&& held) {
  uint32_t mask = 0;
  for (int i = 0; i < kRaceKeyCount; ++i)
    if (held(kRaceKeyCodes[i])) mask |= 1u << i;
  return mask;
}

// What a key going down on the race screen did to the race.
enum class TRaceKeyOutcome {
  Ignored,     // nothing: the race is as it was
  Applied,     // it paused, went on, fired, or marked the stop key as held
  AskToLeave,  // Escape: the race stopped and the exit question is to open
};

// A key press as a recording keeps it: the key code in the low 16 bits, the
// shift state above.
inline uint32_t PackKeyPress(int key, uint8_t shift) {
  return (static_cast<uint32_t>(key) & 0xFFFFu) | (uint32_t{shift} << 16);
}
inline int PressedKey(uint32_t packed) { return static_cast<int>(packed & 0xFFFFu); }
inline uint8_t PressedShift(uint32_t packed) { return static_cast<uint8_t>(packed >> 16); }

// A key going down on the race screen. Over the exit question only Enter
// matters to the race (the press that answers must not also spend a stop
// charge once the race goes on); the arrows and Escape there are the
// question's. Otherwise P pauses and goes on (not during the level caption
// or the level's end), any key with Ctrl, and Ctrl itself, fires, and Escape
// stops the race to ask whether to leave (not during the caption or the
// level-complete clock).
TRaceKeyOutcome ApplyRaceKey(IRaceHost& host, int key, uint8_t shift);

// The exit question as the race sees it, with the values a recording keeps.
enum class TExitQuestionEvent : uint32_t {
  Closed = 0,       // "Нет", Escape or the close button: the race goes on
  Opened = 1,       // the race stops while it stands
  AnsweredYes = 2,  // the game ends here
};

// The race's part of the question opening or closing: opening stops the
// road; closing sets it going again unless the level caption or the pause
// still holds it. A yes changes nothing here: the game is over.
void ApplyExitQuestion(IRaceHost& host, TExitQuestionEvent event);

}  // namespace bd
