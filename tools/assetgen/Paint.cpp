#include "Paint.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace bd::art {

Rgb Hex(uint32_t v) { return Rgb{((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0}; }

Rgb Mix(Rgb a, Rgb b, double t) {
  return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

namespace {

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::vector<uint8_t> Canvas::Png() const {
  cairo_surface_flush(surface_);
  std::vector<uint8_t> bytes;
  if (cairo_surface_write_to_png_stream(surface_, AppendBytes, &bytes) != CAIRO_STATUS_SUCCESS) bytes.clear();
  return bytes;
}

Canvas::Canvas(int w, int h)
    : w_(w),
      h_(h),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h)),
      cr_(cairo_create(surface_)) {
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

namespace {

// Un-premultiplies one ARGB32 pixel into 0x00RRGGBB.
uint32_t Straight(uint32_t argb) {
  uint32_t a = argb >> 24;
  if (a == 0) return 0;
  auto ch = [&](int shift) {
    uint32_t c = (argb >> shift) & 0xFF;
    return std::min<uint32_t>(255, (c * 255 + a / 2) / a);
  };
  return (ch(16) << 16) | (ch(8) << 8) | ch(0);
}

}  // namespace

Raster Canvas::Keyed() const {
  cairo_surface_flush(surface_);
  Raster out{w_, h_, std::vector<uint32_t>(static_cast<size_t>(w_) * h_)};
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < h_; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < w_; ++x) {
      uint32_t p = row[x];
      uint32_t c = kKeyRgb;
      if ((p >> 24) >= 128) {
        c = Straight(p);
        if (c == kKeyRgb) c = 0xFE00FE;
      }
      out.px[static_cast<size_t>(y) * w_ + x] = c;
    }
  }
  return out;
}

Raster Canvas::Opaque(Rgb backdrop) const {
  cairo_surface_flush(surface_);
  Raster out{w_, h_, std::vector<uint32_t>(static_cast<size_t>(w_) * h_)};
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  int stride = cairo_image_surface_get_stride(surface_);
  uint32_t br = static_cast<uint32_t>(std::lround(backdrop.r * 255));
  uint32_t bg = static_cast<uint32_t>(std::lround(backdrop.g * 255));
  uint32_t bb = static_cast<uint32_t>(std::lround(backdrop.b * 255));
  for (int y = 0; y < h_; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < w_; ++x) {
      uint32_t p = row[x];
      uint32_t a = p >> 24;
      auto ch = [&](int shift, uint32_t back) {
        return std::min<uint32_t>(255, ((p >> shift) & 0xFF) + (back * (255 - a) + 127) / 255);
      };
      out.px[static_cast<size_t>(y) * w_ + x] = (ch(16, br) << 16) | (ch(8, bg) << 8) | ch(0, bb);
    }
  }
  return out;
}

void SetColor(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  const double pi = std::numbers::pi;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
  cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
  cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
  cairo_close_path(cr);
}

namespace {
void SetPattern(cairo_t* cr, cairo_pattern_t* p) {
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}
}  // namespace

void VerticalGradient(cairo_t* cr, double y0, double y1, Rgb c0, Rgb c1) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(p, 0, c0.r, c0.g, c0.b);
  cairo_pattern_add_color_stop_rgb(p, 1, c1.r, c1.g, c1.b);
  SetPattern(cr, p);
}

void HorizontalGradient(cairo_t* cr, double x0, double x1, Rgb c0, Rgb c1) {
  cairo_pattern_t* p = cairo_pattern_create_linear(x0, 0, x1, 0);
  cairo_pattern_add_color_stop_rgb(p, 0, c0.r, c0.g, c0.b);
  cairo_pattern_add_color_stop_rgb(p, 1, c1.r, c1.g, c1.b);
  SetPattern(cr, p);
}

void RadialGradient(cairo_t* cr, double cx, double cy, double r, Rgb c0, Rgb c1, double a0, double a1) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  cairo_pattern_add_color_stop_rgba(p, 0, c0.r, c0.g, c0.b, a0);
  cairo_pattern_add_color_stop_rgba(p, 1, c1.r, c1.g, c1.b, a1);
  SetPattern(cr, p);
}

void FillInk(cairo_t* cr, double lineWidth, Rgb ink) {
  cairo_fill_preserve(cr);
  SetColor(cr, ink);
  cairo_set_line_width(cr, lineWidth);
  cairo_stroke(cr);
}

void FillInk(cairo_t* cr, Rgb fill, double lineWidth, Rgb ink) {
  SetColor(cr, fill);
  FillInk(cr, lineWidth, ink);
}

void Shadow(cairo_t* cr, double dx, double dy, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, dx, dy);
  cairo_set_source_rgba(cr, 0, 0, 0, alpha);
  cairo_fill_preserve(cr);
  cairo_restore(cr);
}

namespace {
void SelectFont(cairo_t* cr, double size, bool bold, Font font = Font::Sans) {
  cairo_select_font_face(cr, font == Font::Sans ? "DejaVu Sans" : "DejaVu Serif", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
}
}  // namespace

void Label(cairo_t* cr, const std::string& utf8, double cx, double cy, double size, Rgb fill, Rgb outline,
           double outlineWidth, Font font) {
  cairo_save(cr);
  SelectFont(cr, size, true, font);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, utf8.c_str(), &ext);
  // Across by the ink; up and down by the capital letters alone, so that a
  // breve (Й), a descender (Д, Щ) or a comma does not lift or drop one label
  // against its neighbours.
  cairo_text_extents_t caps;
  cairo_text_extents(cr, "Н", &caps);
  double x = cx - ext.width / 2 - ext.x_bearing;
  double y = cy - caps.height / 2 - caps.y_bearing;
  cairo_new_path(cr);
  cairo_move_to(cr, x, y);
  cairo_text_path(cr, utf8.c_str());
  if (outlineWidth > 0) {
    SetColor(cr, outline);
    cairo_set_line_width(cr, outlineWidth);
    cairo_stroke_preserve(cr);
  }
  SetColor(cr, fill);
  cairo_fill(cr);
  cairo_restore(cr);
}

void Text(cairo_t* cr, const std::string& utf8, double x, double y, double size, Rgb fill, bool bold) {
  cairo_save(cr);
  SelectFont(cr, size, bold);
  SetColor(cr, fill);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, utf8.c_str());
  cairo_restore(cr);
}

double TextWidth(cairo_t* cr, const std::string& utf8, double size, bool bold) {
  cairo_save(cr);
  SelectFont(cr, size, bold);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, utf8.c_str(), &ext);
  cairo_restore(cr);
  return ext.x_advance;
}

void StarPath(cairo_t* cr, double cx, double cy, double rOuter, double rInner, int points, double rotation) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < points * 2; ++i) {
    double r = (i % 2 == 0) ? rOuter : rInner;
    double a = rotation - std::numbers::pi / 2 + i * std::numbers::pi / points;
    cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
  }
  cairo_close_path(cr);
}

void ReleaseFonts() {
  cairo_debug_reset_static_data();
  FcFini();
}

}  // namespace bd::art
