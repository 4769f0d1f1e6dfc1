#pragma once
// Writes a game's recording as it is played: the seed, and every input the
// race read as an event on the frame that read it, only where it changed
// (a frame without events reads the same as the frame before). At the end
// of the game it fills in the header: rules, final score, level and frames.

#include <cstdint>
#include <string>

#include "codec/Recording.h"

namespace bd {

// The seed a game starts with, and where it came from.
struct TRaceSeed {
  uint32_t Value = 0;
  TSeedSource Source = TSeedSource::Own;
  std::string Ticket;  // the server's signature of the seed; empty for an own seed
};

class TRaceRecorder {
 public:
  // Starts a fresh recording for a game with this seed.
  void Begin(const TRaceSeed& seed);

  // The inputs of frame `frame` (the number of race frames before it): its
  // lag count and the race keys held as it starts. Recorded when they differ
  // from the frame before.
  void FrameInputs(uint32_t frame, int lagCount, uint32_t keysHeld);
  // Inputs that arrive before frame `frame`, recorded in their order.
  void KeyPress(uint32_t frame, uint32_t packedKey);
  void Focus(uint32_t frame, bool focused);
  void ExitQuestion(uint32_t frame, uint32_t value);

  // The game is over after `frameCount` frames, with this score and level.
  void Finish(uint32_t frameCount, int32_t score, int32_t level);
  void SetPlayerName(const std::string& name) { recording_.PlayerName = name; }

  const TRecording& Recording() const { return recording_; }

 private:
  void Add(uint32_t frame, TInputKind kind, uint32_t value);

  TRecording recording_;
  // What a frame without events reads: the values before the first event.
  uint32_t lag_ = 1;
  uint32_t keys_ = 0;
  bool focused_ = true;
};

}  // namespace bd
