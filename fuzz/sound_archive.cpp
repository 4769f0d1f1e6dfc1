// Sound archives (".dxw"): the container, every item's properties and its
// wave file, then loading the recordings into the mixer and playing them as
// the game does.
#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzAudio.h"
#include "engine/sound/DXSounds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bd::TDXSound sound(&bd::fuzz::Audio());
  if (!sound.Initialized()) sound.Initialize();

  bd::TWaveCollection waves;
  try {
    waves.LoadFromMemory(std::span<const uint8_t>(data, size));
  } catch (const bd::EError&) {
    // The sounds read before the fault stay and must still be playable.
  }
  waves.Initialize(sound);
  waves.Restore();
  for (int i = 0; i < waves.Count(); ++i) {
    bd::TWaveCollectionItem& item = waves.Items(i);
    (void)waves.Find(item.Name());
    item.PlayWave();
    item.PlayWave();
    item.StopWave();
  }
  waves.Finalize();
  return 0;
}
