#include "race/EngineSound.h"

namespace bd {

void PlayEngineLayers(IRaceHost& host) {
  const int32_t speed = host.RaceState().Speed;
  if (speed > 0) host.PlaySound(snd::EngineIdle);
  if (speed > 3) host.PlaySound(snd::EngineMid);
  if (speed > 8) host.PlaySound(snd::EngineHigh);
  if (speed < 0) host.PlaySound(snd::EngineIdle);
}

}  // namespace bd
