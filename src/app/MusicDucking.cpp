#include "app/MusicDucking.h"

#include <algorithm>
#include <cmath>

namespace bd {

TMusicDucking::TMusicDucking(int rate) : rate_(rate) { SetRate(rate); }

void TMusicDucking::SetRate(int rate) {
  rate_ = std::max(rate, 1);
  // The ramps are steps of equal ratio, which are heard as an even fade
  // (straight lines in decibels).
  attackStep_ = std::pow(kDuckedGain, 1.0 / std::max(1.0, kAttackSeconds * rate_));
  releaseStep_ = std::pow(1.0 / kDuckedGain, 1.0 / std::max(1.0, kReleaseSeconds * rate_));
}

void TMusicDucking::Duck(double seconds) {
  if (!(seconds > 0)) return;
  const auto frames = static_cast<int64_t>(std::ceil(std::min(seconds, 3600.0) * rate_));
  holdFrames_ = std::max(holdFrames_, frames);
}

void TMusicDucking::Apply(int16_t* stereo, int frames) {
  for (int f = 0; f < frames; ++f) {
    if (Idle()) return;  // the rest passes as it is
    if (holdFrames_ > 0) {
      --holdFrames_;
      gain_ = std::max(kDuckedGain, gain_ * attackStep_);
    } else {
      gain_ = std::min(1.0, gain_ * releaseStep_);
    }
    for (int c = 0; c < 2; ++c) {
      int16_t& s = stereo[2 * f + c];
      s = static_cast<int16_t>(std::lround(s * gain_));
    }
  }
}

}  // namespace bd
