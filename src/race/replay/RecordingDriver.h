#pragma once
// Drives a race session with a recording's inputs, frame by frame. This is
// the one place that decides how a recording drives the race: the headless
// replay (Replay.h) and the game's replay screen both play through it, so a
// recording watched on the screen ends exactly as its check does.
//
// Each step applies the events recorded for the session's next frame
// through the session's own input operations, then runs that frame with the
// lag count and held keys in force. An event on an earlier frame than the
// one before it (which the game never writes) is taken on the frame at hand;
// an input kind's value the game never writes changes nothing.

#include <cstddef>
#include <cstdint>

#include "codec/Recording.h"
#include "race/RaceHost.h"
#include "race/RaceSession.h"

namespace bd {

class TRecordingDriver {
 public:
  // Plays `recording` (kept by reference: it must outlive the driver) on
  // `host`, whose race reads its generator, clocks and inputs from
  // `session`.
  TRecordingDriver(const TRecording& recording, IRaceHost& host, TRaceSession& session)
      : recording_(recording), host_(host), session_(session) {}

  // Begins the recorded game: the session seeded with the recorded seed and
  // the race's new game set up. The caller has checked the rules version.
  void Start();

  // Plays the next recorded frame. Does nothing once Done().
  void Step();

  // The game is over (its last life lost or left by a yes) or the recording
  // has no frame left.
  bool Done() const { return session_.Over() || session_.FrameNumber() >= recording_.FrameCount; }

  // The recorded frames played so far.
  uint32_t FramesPlayed() const { return session_.FrameNumber(); }

 private:
  void Apply(const TInputEvent& e);

  const TRecording& recording_;
  IRaceHost& host_;
  TRaceSession& session_;
  size_t next_ = 0;
  // The inputs that hold from one frame to the next, at their values before
  // the first event.
  int lag_ = 1;
  uint32_t keys_ = 0;
};

}  // namespace bd
