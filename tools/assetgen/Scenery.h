#pragma once
// The sunny landscape behind the splash, the menu and the game-over picture.

#include <cairo.h>

namespace bd::art {

// Sky, sun, clouds, the smoking town on the horizon, hills and a road running
// into the distance. evening turns the light to a red, smoky dusk.
void Landscape(cairo_t* cr, double w, double h, double horizon, bool evening);
// The game's title in big outlined letters, centred on (cx, cy).
void TitleLogo(cairo_t* cr, double cx, double cy, double size);

}  // namespace bd::art
