#pragma once
// Molten lava computed per pixel: glowing veins between darker crust, which
// pulse frame by frame and tile seamlessly up and down.

#include <cairo.h>

namespace bd::art {

// Paints lava into the rectangle (x0, y0, w, h) of an ARGB32 surface for
// animation phase t in 0 .. 1 (phase 1 equals phase 0). The texture repeats
// every `period` rows, counted from y0.
void PaintLava(cairo_surface_t* surface, int x0, int y0, int w, int h, int period, double t);

}  // namespace bd::art
