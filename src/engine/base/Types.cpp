#include "engine/base/Types.h"

#include <cfenv>
#include <cmath>

namespace bd {

int64_t Round(double v) {
  // nearbyint follows the current rounding mode, which is round-to-nearest-even
  // unless someone changed it; do not rely on that.
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double r = std::nearbyint(v);
  std::fesetround(saved);
  return static_cast<int64_t>(r);
}

}  // namespace bd
