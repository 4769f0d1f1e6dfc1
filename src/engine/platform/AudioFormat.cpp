#include "engine/platform/AudioFormat.h"

namespace bd {

namespace {
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kMaxChannels = 8;
}  // namespace

bool SdlSampleFormat(const TWaveFormat& format, SDL_AudioFormat& sdlFormat) {
  if (format.Channels == 0 || format.Channels > kMaxChannels || format.SamplesPerSec == 0) return false;
  if (format.FormatTag == kFormatPcm) {
    switch (format.BitsPerSample) {
      case 8:
        sdlFormat = AUDIO_U8;
        return true;  // 8-bit wave samples are unsigned
      case 16:
        sdlFormat = AUDIO_S16LSB;
        return true;
      case 32:
        sdlFormat = AUDIO_S32LSB;
        return true;
      default:
        return false;
    }
  }
  if (format.FormatTag == kFormatFloat && format.BitsPerSample == 32) {
    sdlFormat = AUDIO_F32LSB;
    return true;
  }
  return false;
}

size_t FrameBytes(const TWaveFormat& format) {
  SDL_AudioFormat unused;
  if (!SdlSampleFormat(format, unused)) return 0;
  // The stored block alignment is not trusted: a record that disagrees with
  // its own channel count and sample size would make the reader run off the data.
  return static_cast<size_t>(format.Channels) * (format.BitsPerSample / 8);
}

}  // namespace bd
