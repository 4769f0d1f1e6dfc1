#include "race/EngineSound.h"

namespace bd {

void PlayEngineLayers(IRaceHost& host) {
  const int32_t speed = host.RaceState().Speed;
  if (speed > 0) host.PlaySound("back1");
  if (speed > 3) host.PlaySound("forward1");
  if (speed > 8) host.PlaySound("forward2");
  if (speed < 0) host.PlaySound("back1");
}

}  // namespace bd
