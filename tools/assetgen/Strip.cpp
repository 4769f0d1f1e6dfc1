#include "Art.h"

namespace bd::art {

Raster Strip(int w, int h, int frames, const std::function<void(cairo_t*, int, double)>& draw) {
  Canvas c(w * frames, h);
  for (int i = 0; i < frames; ++i) {
    cairo_save(c.cr());
    cairo_translate(c.cr(), i * w, 0);
    cairo_rectangle(c.cr(), 0, 0, w, h);
    cairo_clip(c.cr());
    cairo_new_path(c.cr());
    draw(c.cr(), i, static_cast<double>(i) / frames);
    cairo_restore(c.cr());
  }
  return c.Keyed();
}

}  // namespace bd::art
