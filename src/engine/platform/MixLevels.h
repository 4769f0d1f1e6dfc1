#pragma once
// How loud the music and the sound effects play in the mix. The output adds
// every voice and the music into 16-bit samples and clamps what does not
// fit, which is heard as distortion, so the levels leave room for what can
// sound together in a race:
//
//   the music at its loudest                         kMusicGain x song peak
// + the engine's overlapping layers at top speed      kVoiceGain x engine peak
// + two effects at the peak of their kind             kVoiceGain x 2 x effect peak
//
// stays below full scale. The asset builder levels every effect to the
// loudness and peak of its kind (tools/assetgen/Sounds.cpp), and the sound
// archive's tests check this sum against the built songs and sounds.

namespace bd {

// Linear gain of every sound-effect voice (0.5 is -6 dB).
inline constexpr double kVoiceGain = 0.5;
// Linear gain of the rendered music (0.35 is about -9 dB).
inline constexpr double kMusicGain = 0.35;

}  // namespace bd
