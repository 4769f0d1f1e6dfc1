#include "app/CueSounds.h"

#include <algorithm>
#include <array>

namespace bd {

bool IsCueSound(TSoundName name) {
  static constexpr std::array<TSoundName, 6> kNotCues = {snd::ButtonUp,  snd::ButtonDown, snd::EngineIdle,
                                                         snd::EngineMid, snd::EngineHigh, snd::Handbrake};
  return std::find(kNotCues.begin(), kNotCues.end(), name) == kNotCues.end();
}

}  // namespace bd
