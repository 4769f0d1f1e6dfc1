#include "app/CueSounds.h"

#include <algorithm>
#include <array>

namespace bd {

bool IsCueSound(std::string_view name) {
  static constexpr std::array<std::string_view, 6> kNotCues = {"button_up", "button_down", "back1",
                                                               "forward1",  "forward2",    "ruchnik"};
  return std::find(kNotCues.begin(), kNotCues.end(), name) == kNotCues.end();
}

}  // namespace bd
