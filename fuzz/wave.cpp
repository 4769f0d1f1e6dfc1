// A lone RIFF WAVE recording: reading it, its format record and handing its
// samples to the mixer, which converts them to the output format.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "FuzzAudio.h"
#include "engine/sound/Wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bd::TWave wave;
  try {
    wave.LoadFromBytes(data, size);
  } catch (const bd::EError&) {
    return 0;
  }
  const bd::TWaveFormat format = wave.Format();
  std::unique_ptr<bd::ISoundBuffer> voice = bd::fuzz::Audio().CreateBuffer(format, wave.Data(), wave.Size());
  if (voice) {
    voice->Play(false);
    voice->Stop();
  }
  return 0;
}
