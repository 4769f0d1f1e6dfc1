#pragma once
// Which recordings the mixer can take, shared by the real and the headless
// output so that both accept and refuse exactly the same formats.

#include <SDL_audio.h>

#include <cstddef>

#include "engine/platform/Audio.h"

namespace bd {

// The SDL sample format of an uncompressed recording: 8-bit unsigned, 16- or
// 32-bit signed integers, or 32-bit floats, 1 to 8 channels at a positive
// rate. False for anything else (compressed data, 24-bit samples, no channels).
bool SdlSampleFormat(const TWaveFormat& format, SDL_AudioFormat& sdlFormat);

// Bytes of one sample frame (all channels), 0 when the format is not playable.
size_t FrameBytes(const TWaveFormat& format);

}  // namespace bd
