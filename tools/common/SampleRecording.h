#pragma once
// Recordings with the input of a plausible player, for the tests, the
// benchmarks and the fuzz seeds: the accelerator held most of the time,
// steering taps every 5 to 30 frames, now and then the handbrake, a shot or
// a pause, and a late frame of 2 or 3 intervals every few seconds. The same
// seed gives the same recording on every machine.

#include <cstdint>
#include <string>

#include "codec/Recording.h"

namespace bd {

// The bits of KeysHeld that the sample player uses.
namespace sample_keys {
inline constexpr uint32_t Up = 1u << 0;
inline constexpr uint32_t Down = 1u << 1;
inline constexpr uint32_t Left = 1u << 2;
inline constexpr uint32_t Right = 1u << 3;
inline constexpr uint32_t Space = 1u << 4;
inline constexpr uint32_t Return = 1u << 5;
}  // namespace sample_keys

// The game's frame rate: one frame per 15 ms timer interval.
inline constexpr uint32_t kSampleFramesPerMinute = 4000;

// A game of `frames` race frames played by a player drawn from `seed`, with
// a server's seed and ticket, a name and a plausible final score and level.
TRecording MakeSampleRecording(uint32_t seed, uint32_t frames);

// Writes the file size and checksum of a recording file whose other bytes
// were made or changed by hand, so that a reader looks past them at the
// rest. Files shorter than the checksum's end are left alone.
void ResealRecording(std::string& bytes);

}  // namespace bd
