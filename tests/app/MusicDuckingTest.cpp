#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/MusicDucking.h"

namespace bd {
namespace {

constexpr int kRate = 44100;
constexpr int16_t kLevel = 20000;

// The envelope on a steady signal: what comes out is the gain, frame by frame.
std::vector<int> Through(TMusicDucking& ducking, int frames) {
  std::vector<int16_t> stereo(static_cast<size_t>(frames) * 2, kLevel);
  ducking.Apply(stereo.data(), frames);
  std::vector<int> left;
  for (int f = 0; f < frames; ++f) left.push_back(stereo[2 * f]);
  return left;
}

int LargestStep(int before, const std::vector<int>& v) {
  int largest = 0;
  for (int x : v) {
    largest = std::max(largest, std::abs(x - before));
    before = x;
  }
  return largest;
}

TEST(MusicDucking, StepsDownUnderACueHoldsAndComesBackWithoutAJump) {
  TMusicDucking ducking(kRate);
  EXPECT_EQ(Through(ducking, 1000), std::vector<int>(1000, kLevel));  // no cue: untouched

  const int ducked = static_cast<int>(kLevel * TMusicDucking::kDuckedGain);
  ducking.Duck(0.2);
  const std::vector<int> attack = Through(ducking, kRate * 30 / 1000);
  EXPECT_EQ(attack.back(), ducked);
  EXPECT_GT(attack[attack.size() / 2], ducked);  // a ramp, not a step
  EXPECT_LE(LargestStep(kLevel, attack), 30);    // at most ~0.15 % of the level from one frame to the next

  // Held down for the rest of the cue.
  const std::vector<int> held = Through(ducking, kRate * 170 / 1000);
  EXPECT_EQ(held, std::vector<int>(held.size(), ducked));

  // Back up over 300 ms, evenly, and then untouched again.
  const std::vector<int> release = Through(ducking, kRate * 300 / 1000);
  EXPECT_GT(release[release.size() / 2], ducked);
  EXPECT_LT(release[release.size() / 2], kLevel);
  EXPECT_GE(release.back(), kLevel - 1);
  EXPECT_LE(LargestStep(ducked, release), 5);
  EXPECT_EQ(Through(ducking, 100), std::vector<int>(100, kLevel));
  EXPECT_TRUE(ducking.Idle());
}

TEST(MusicDucking, CuesOverlapIntoOneHoldAndACueInTheReleaseRampsDownFromThere) {
  TMusicDucking ducking(kRate);
  const int ducked = static_cast<int>(kLevel * TMusicDucking::kDuckedGain);
  ducking.Duck(0.5);
  Through(ducking, kRate / 10);
  ducking.Duck(0.1);  // a shorter cue under a longer one does not cut it short
  const std::vector<int> held = Through(ducking, kRate * 39 / 100);
  EXPECT_EQ(held, std::vector<int>(held.size(), ducked));

  // Half way back up, another cue: down again from where the music is.
  Through(ducking, kRate * 12 / 100);
  const std::vector<int> rising = Through(ducking, kRate / 10);
  ASSERT_GT(rising.back(), ducked * 2);
  ducking.Duck(0.1);
  const std::vector<int> again = Through(ducking, kRate / 10);
  EXPECT_LE(LargestStep(rising.back(), again), 30);
  EXPECT_EQ(again.back(), ducked);

  // Nothing, a zero or a negative length do not duck.
  TMusicDucking quiet(kRate);
  quiet.Duck(0);
  quiet.Duck(-1);
  EXPECT_EQ(Through(quiet, 100), std::vector<int>(100, kLevel));
}

TEST(MusicDucking, TheRampsTakeTheSameTimeAtAnyRate) {
  for (int rate : {22050, 44100, 48000}) {
    TMusicDucking ducking(rate);
    ducking.Duck(1.0);
    const std::vector<int> attack = Through(ducking, rate * 30 / 1000);
    EXPECT_LE(attack.back(), static_cast<int>(kLevel * TMusicDucking::kDuckedGain) + 10) << rate;
    EXPECT_GT(attack[attack.size() * 3 / 4], attack.back()) << rate;
  }
}

}  // namespace
}  // namespace bd
