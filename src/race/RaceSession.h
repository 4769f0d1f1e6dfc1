#pragma once
// One game's race as a function of its seed and its inputs: the race's own
// random generator, seeded once when the game starts and never again; its
// three clocks, which count frames; the inputs the race reads (keys held
// and pressed, the exit question, the focus, each frame's lag count); and
// the recording of all of them. The live game and a replay both play a race
// through this class, so that a recording played again ends the same.
//
// Inputs arrive between frames and are applied at once; a frame then ticks
// the clocks, moves the sprites by its lag count and runs the race's part of
// the frame. Once the game is over (the last life lost, or a yes to the exit
// question) the recording is complete and further inputs are ignored.

#include <cstdint>
#include <string>
#include <vector>

#include "codec/Recording.h"
#include "engine/base/Types.h"
#include "race/RaceClocks.h"
#include "race/RaceHost.h"
#include "race/RaceInput.h"
#include "race/RaceRecorder.h"

namespace bd {

class TRaceSession {
 public:
  // A new game: the generator seeded with the seed, the clocks stopped, the
  // inputs at their starting values (lag 1, no keys, focused, no question)
  // and a fresh recording. Call before the race's new game is set up, which
  // already draws from the generator.
  void Begin(const TRaceSeed& seed);

  // Between Begin and the end of the game.
  bool Playing() const { return begun_ && !over_; }
  // The game is over and its recording complete.
  bool Over() const { return over_; }

  // What the host hands to the race.
  TRandom& Random() { return random_; }
  TRaceClocks& Clocks() { return clocks_; }
  const TRaceClocks& Clocks() const { return clocks_; }
  bool KeyHeld(int key) const { return (keysHeld_ & RaceKeyBit(key)) != 0; }
  bool ExitQuestionOpen() const { return questionOpen_; }
  bool Focused() const { return focused_; }

  // Inputs between frames, applied to the race at once and recorded.
  TRaceKeyOutcome KeyPress(IRaceHost& host, int key, uint8_t shift);
  void ExitQuestion(IRaceHost& host, TExitQuestionEvent event);
  void Focus(bool focused);

  // One race frame, `lagCount` frame intervals after the previous one, with
  // these race keys held (a mask, see RaceKeysHeld).
  void Frame(IRaceHost& host, int lagCount, uint32_t keysHeld);

  // Race frames run so far; the inputs that arrive now belong to the frame
  // of this number.
  uint32_t FrameNumber() const { return frame_; }
  // The race's fingerprint (RaceStateHash) after the frame on which each
  // level began, then the one the game ended with.
  const std::vector<uint64_t>& LevelHashes() const { return levelHashes_; }

  const TRecording& Recording() const { return recorder_.Recording(); }
  // The name the player entered for this game, once the game is over.
  void SetPlayerName(const std::string& name) { recorder_.SetPlayerName(name); }

 private:
  // The race stands still for the clocks: paused, asked whether to leave,
  // or with another window in front.
  bool Held(const TRaceState& s) const;
  void End(IRaceHost& host, uint32_t frameCount);
  uint64_t Hash(IRaceHost& host) const;

  bool begun_ = false;
  bool over_ = false;
  TRandom random_;
  TRaceClocks clocks_;
  uint32_t keysHeld_ = 0;
  bool questionOpen_ = false;
  bool focused_ = true;
  uint32_t frame_ = 0;
  int32_t hashedLevel_ = 0;
  std::vector<uint64_t> levelHashes_;
  TRaceRecorder recorder_;
};

}  // namespace bd
