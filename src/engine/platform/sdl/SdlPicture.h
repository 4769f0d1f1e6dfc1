#pragma once
// The game's picture as the SDL window code sizes, scales and maps it.

#include "engine/platform/Presentation.h"

namespace bd {

inline constexpr int kClientWidth = 800;
inline constexpr int kClientHeight = 600;
inline constexpr TSize kPicture{kClientWidth, kClientHeight};

}  // namespace bd
