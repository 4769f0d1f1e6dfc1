// The desktop icon: a real PNG of each size, a rounded tile with see-through
// corners and the red car in the middle.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>

#include "Icon.h"

namespace bd::art {
namespace {

struct Reader {
  const std::vector<uint8_t>* bytes;
  size_t pos = 0;
};

cairo_status_t ReadBytes(void* closure, unsigned char* data, unsigned int length) {
  auto* r = static_cast<Reader*>(closure);
  if (r->pos + length > r->bytes->size()) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, r->bytes->data() + r->pos, length);
  r->pos += length;
  return CAIRO_STATUS_SUCCESS;
}

TEST(Icon, EverySizeIsATileWithTheCar) {
  const std::vector<OutputFile> icons = MakeIcons("org.example.Game");
  ASSERT_EQ(icons.size(), std::size(kIconSizes));
  for (size_t i = 0; i < icons.size(); ++i) {
    const int size = kIconSizes[i];
    SCOPED_TRACE(size);
    EXPECT_EQ(icons[i].path,
              std::to_string(size) + "x" + std::to_string(size) + "/apps/org.example.Game.png");
    Reader reader{&icons[i].bytes};
    cairo_surface_t* png = cairo_image_surface_create_from_png_stream(ReadBytes, &reader);
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_width(png), size);
    ASSERT_EQ(cairo_image_surface_get_height(png), size);
    const auto* px = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(png));
    const int stride = cairo_image_surface_get_stride(png) / 4;
    const auto at = [&](int x, int y) { return px[y * stride + x]; };
    // Premultiplied ARGB: alpha in the top byte.
    EXPECT_EQ(at(0, 0) >> 24, 0u);
    EXPECT_EQ(at(size - 1, size - 1) >> 24, 0u);
    EXPECT_EQ(at(size / 2, 3 * size / 32) >> 24, 255u);  // the tile's edge is solid
    // The middle of the tile belongs to the red car.
    int red = 0;
    for (int y = size * 3 / 8; y < size * 5 / 8; ++y)
      for (int x = size * 3 / 8; x < size * 5 / 8; ++x) {
        const uint32_t p = at(x, y);
        const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
        if (r > 150 && g < 90 && b < 90) ++red;
      }
    EXPECT_GT(red, size * size / 64 / 3);
    cairo_surface_destroy(png);
  }
}

}  // namespace
}  // namespace bd::art
