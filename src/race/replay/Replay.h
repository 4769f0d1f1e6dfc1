#pragma once
// Plays a recorded game again without a window, drawing or sound, with the
// race's own code: the same sprites, collisions, clocks and draws from the
// recorded seed, fed the recorded inputs on their frames. The game plays a
// recording this way to check it, and the score server to check a score.

#include <cstdint>
#include <limits>
#include <vector>

#include "codec/Recording.h"
#include "race/replay/RaceImages.h"

namespace bd {

// How a replay ended.
enum class TReplayEnd {
  GameOver,     // the last life was lost
  AnsweredYes,  // the player left the game from the exit question
  OutOfFrames,  // the recording's frames ran out with the game still going
  FrameLimit,   // the caller's frame limit was reached first
  OtherRules,   // recorded under other rules: not played at all
};

struct TReplayResult {
  TReplayEnd End = TReplayEnd::OutOfFrames;
  int32_t FinalScore = 0;
  int32_t FinalLevel = 0;
  // Frames of the recording played, counted as the recording counts them
  // (the frame of a yes answer included).
  uint32_t Frames = 0;
  // The race's fingerprint after the frame on which each level began, then
  // the one the game ended with.
  std::vector<uint64_t> LevelHashes;

  bool Finished() const { return End == TReplayEnd::GameOver || End == TReplayEnd::AnsweredYes; }
};

// Plays `recording` from its seed, at most `maxFrames` frames.
TReplayResult ReplayRecording(const TRecording& recording, const TRaceImages& images,
                              uint32_t maxFrames = std::numeric_limits<uint32_t>::max());

// Whether the replay ended the game as the recording says it ended: the same
// score, level and number of frames.
bool ReplayConfirms(const TRecording& recording, const TReplayResult& result);

}  // namespace bd
