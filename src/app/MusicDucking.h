#pragma once
// The music's gain under the game's cues: while a cue sounds the music steps
// back so that the cue is heard over it, and then comes back. Every change is
// a ramp, never a jump, so nothing clicks: down over tens of milliseconds, held
// for as long as the cue lasts, back up over a few hundred. With no cue the
// music passes untouched, sample for sample.

#include <cstdint>

namespace bd {

class TMusicDucking {
 public:
  // How far the music steps back under a cue: about -12 dB.
  static constexpr double kDuckedGain = 0.25;
  static constexpr double kAttackSeconds = 0.03;
  static constexpr double kReleaseSeconds = 0.3;

  explicit TMusicDucking(int rate = 44100);
  // The output rate the ramps and holds are counted in (a change keeps the
  // present gain and hold time).
  void SetRate(int rate);

  // A cue of `seconds` starts now: the music ramps down and stays down until
  // the cue has ended (or a later cue that lasts longer has). Called from the
  // game thread under the same lock as Apply.
  void Duck(double seconds);

  // Scales `frames` stereo frames of music and moves the envelope on by them.
  void Apply(int16_t* stereo, int frames);

  double Gain() const { return gain_; }
  bool Idle() const { return holdFrames_ == 0 && gain_ >= 1.0; }

 private:
  int rate_;
  double attackStep_ = 1;   // gain factor per frame on the way down
  double releaseStep_ = 1;  // gain factor per frame on the way up
  int64_t holdFrames_ = 0;  // frames the music stays down from now
  double gain_ = 1.0;
};

}  // namespace bd
