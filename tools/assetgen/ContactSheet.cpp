#include "ContactSheet.h"

#include <algorithm>
#include <cstddef>

namespace bd::art {

namespace {

constexpr int kSheetWidth = 1700;
constexpr int kGap = 14;
constexpr int kCaption = 18;

struct Placed {
  const ArtItem* item;
  int x, y;
};

// Copies a keyed raster onto the sheet, showing key pixels as a checkerboard.
void Blit(cairo_surface_t* sheet, const Raster& r, int x0, int y0) {
  unsigned char* data = cairo_image_surface_get_data(sheet);
  int stride = cairo_image_surface_get_stride(sheet);
  for (int y = 0; y < r.h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y0 + y) * stride);
    for (int x = 0; x < r.w; ++x) {
      uint32_t p = r.At(x, y);
      if (p == kKeyRgb) p = (((x / 6) + (y / 6)) % 2) ? 0xB8C4CC : 0xA4B0BA;
      row[x0 + x] = 0xFF000000u | p;
    }
  }
}

// Name, size and pattern count, written above each picture.
std::string Caption(const ArtItem& it) {
  std::string caption = it.name + "  " + std::to_string(it.pic.w) + "x" + std::to_string(it.pic.h);
  if (it.Frames() > 1) caption += " /" + std::to_string(it.Frames());
  return caption;
}

}  // namespace

bool WriteContactSheet(const std::string& path, const std::vector<const ArtItem*>& items) {
  // Shelf layout: pictures left to right, a new shelf when the row is full.
  std::vector<Placed> placed;
  int x = kGap, y = kGap, shelf = 0;
  for (const ArtItem* it : items) {
    // Wide enough for the caption too (about 7 pixels a character).
    int w = std::max(it->pic.w, static_cast<int>(Caption(*it).size()) * 7), h = it->pic.h + kCaption;
    if (x + w + kGap > kSheetWidth && x > kGap) {
      x = kGap;
      y += shelf + kGap;
      shelf = 0;
    }
    placed.push_back({it, x, y});
    x += w + kGap;
    shelf = std::max(shelf, h);
  }
  int height = y + shelf + kGap;
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSheetWidth, height);
  cairo_t* cr = cairo_create(sheet);
  SetColor(cr, Hex(0x3a4450));
  cairo_paint(cr);
  cairo_surface_flush(sheet);
  for (const Placed& p : placed) Blit(sheet, p.item->pic, p.x, p.y + kCaption);
  cairo_surface_mark_dirty(sheet);
  for (const Placed& p : placed) {
    const ArtItem& it = *p.item;
    Text(cr, Caption(it), p.x, p.y + 13, 12, Hex(0xf0f0f0), false);
    // Pattern grid in thin yellow lines.
    if (it.Frames() > 1) {
      SetColor(cr, Hex(0xffe040), 0.9);
      cairo_set_line_width(cr, 1);
      int pw = it.patternWidth > 0 ? it.patternWidth : it.pic.w;
      int ph = it.patternHeight > 0 ? it.patternHeight : it.pic.h;
      for (int gx = pw; gx < it.pic.w; gx += pw) {
        cairo_move_to(cr, p.x + gx + 0.5, p.y + kCaption);
        cairo_line_to(cr, p.x + gx + 0.5, p.y + kCaption + it.pic.h);
      }
      for (int gy = ph; gy < it.pic.h; gy += ph) {
        cairo_move_to(cr, p.x, p.y + kCaption + gy + 0.5);
        cairo_line_to(cr, p.x + it.pic.w, p.y + kCaption + gy + 0.5);
      }
      cairo_stroke(cr);
    }
  }
  cairo_destroy(cr);
  bool ok = cairo_surface_write_to_png(sheet, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(sheet);
  return ok;
}

}  // namespace bd::art
