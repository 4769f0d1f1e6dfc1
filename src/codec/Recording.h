#pragma once
// A recorded game: what it takes to play a game again exactly — the seed of
// the race's random generator and every input the race read, frame by
// frame — with a small header that says whose game it was and how it ended.
// The game writes one as it is played, watches them again, and sends one with
// a score report; the score server plays it again to check the score.
//
// In memory a recording is its header and a list of input events: on which
// race frame the input changed, what kind of input it was and its new value.
// A frame with no event reads the same inputs as the frame before it.

#include <cstdint>
#include <string>
#include <vector>

namespace bd {

// Where the race's seed came from.
enum class TSeedSource : uint8_t {
  Own = 0,     // the game seeded itself (the score server could not be reached)
  Server = 1,  // a seed the score server issued and signed for this game
  Daily = 2,   // the day's seed, the same for every player
};

// What an input event changes. The race reads nothing else that can differ
// between one run and another.
enum class TInputKind : uint8_t {
  // Whole frame-timer intervals this frame stands for (a late frame catches
  // up by more than one). The value before the first event is 1.
  Lag = 0,
  // The set of race keys held, one bit per key. Before the first event: none.
  KeysHeld = 1,
  // A key pressed on this frame, as the race screen received it: the key
  // code in the low 16 bits, the shift state above. Presses that changed
  // nothing in the race are left out.
  KeyPress = 2,
  // The window gained (1) or lost (0) the focus. Before the first event: 1.
  Focus = 3,
  // The exit question opened (1), was closed to go on (0) or answered "yes"
  // (2), which ends the game.
  ExitQuestion = 4,
};
inline constexpr uint8_t kInputKindCount = 5;

struct TInputEvent {
  uint32_t Frame = 0;  // race frames since the game started; never decreases
  TInputKind Kind = TInputKind::Lag;
  uint32_t Value = 0;

  bool operator==(const TInputEvent&) const = default;
};

struct TRecording {
  // The version of the race's rules that played it: a recording replays to
  // the same end only under the same rules.
  uint32_t RulesVersion = 0;
  uint32_t Seed = 0;
  TSeedSource SeedSource = TSeedSource::Own;
  // The server's signature of the seed, as the server issued it; empty for
  // an own seed.
  std::string SeedTicket;
  std::string PlayerName;  // Windows-1251, as entered; empty until entered
  int32_t FinalScore = 0;
  int32_t FinalLevel = 0;
  // Race frames played, the last event's frame included. A game left by a
  // yes to the exit question counts the frame of that answer, whose race
  // work never runs.
  uint32_t FrameCount = 0;
  std::vector<TInputEvent> Events;

  bool operator==(const TRecording&) const = default;
};

}  // namespace bd
