#include <gtest/gtest.h>

#include <vector>

#include "engine/platform/Presentation.h"

namespace bd {
namespace {

constexpr TSize kPicture{800, 600};

TEST(Presentation, WindowScaleIsTheLargestWholeMultipleThatFits) {
  struct Case {
    TSize usable;
    TSize frame;
    int scale;
  };
  const Case cases[] = {
      {{1920, 1050}, {10, 37}, 1},  // a full-HD desktop with a panel
      {{2560, 1400}, {10, 37}, 2},
      {{3840, 2120}, {10, 37}, 3},
      {{3840, 2160}, {0, 0}, 3},
      {{5120, 2840}, {10, 37}, 4},
      {{1600, 1200}, {0, 0}, 2},   // exactly two pictures
      {{1600, 1200}, {2, 0}, 1},   // a frame one pixel too wide for two
      {{1600, 1200}, {0, 30}, 1},  // a title bar too tall for two
      {{2400, 1237}, {0, 37}, 2},  // the height decides
      {{3000, 1800}, {0, 0}, 3},   // width to spare
      {{2399, 1800}, {0, 0}, 2},   // one pixel short of three
      {{1024, 768}, {10, 37}, 1},
      {{640, 480}, {10, 37}, 1},  // smaller than one picture: still 1
      {{0, 0}, {0, 0}, 1},        // nothing known about the desktop
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseWindowScale(c.usable, c.frame, kPicture), c.scale)
        << c.usable.Width << "x" << c.usable.Height << " frame " << c.frame.Width << "x" << c.frame.Height;
}

TEST(Presentation, PictureKeepsItsShapeCentredWithBars) {
  struct Case {
    TSize output;
    TRect place;
  };
  const Case cases[] = {
      {{800, 600}, Bounds(0, 0, 800, 600)},
      {{1600, 1200}, Bounds(0, 0, 1600, 1200)},
      {{2400, 1800}, Bounds(0, 0, 2400, 1800)},
      // 1x would be too small on these: the largest 4:3 rectangle instead.
      {{1920, 1080}, Bounds(240, 0, 1440, 1080)},   // bars left and right
      {{1280, 1024}, Bounds(0, 32, 1280, 960)},     // bars above and below
      {{2560, 1600}, Bounds(213, 0, 2133, 1600)},   // 2x would be 3/4 of the height
      {{1201, 901}, Bounds(0, 0, 1201, 900)},       // rounding leaves a 1-pixel bar
      // A whole multiple four fifths as high as that or more: bars all round.
      {{3840, 2160}, Bounds(720, 180, 2400, 1800)},
      {{2560, 1440}, Bounds(480, 120, 1600, 1200)},
      {{5120, 2880}, Bounds(960, 240, 3200, 2400)},
      {{1000, 750}, Bounds(100, 75, 800, 600)},     // exactly four fifths
      {{1000, 600}, Bounds(100, 0, 800, 600)},
      {{800, 1000}, Bounds(0, 200, 800, 600)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitPicture(c.output, kPicture), c.place) << c.output.Width << "x" << c.output.Height;
}

TEST(Presentation, RendererDescriptionsTellAProcessorFromAGraphicsProcessor) {
  struct Case {
    const char* name;
    const char* gl;
    bool software;
  };
  const Case cases[] = {
      {"software", "", true},
      {"opengl", "llvmpipe (LLVM 15.0.6, 256 bits)", true},
      {"opengl", "Gallium 0.4 on softpipe", true},
      {"opengles2", "Software Rasterizer", true},
      {"opengl", "Mesa DRI swrast", true},
      {"opengl", "Google SwiftShader", true},
      {"opengl", "", true},  // the driver would not say
      {"opengl", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
      {"opengl", "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)", false},
      {"opengles2", "NVIDIA GeForce RTX 3060/PCIe/SSE2", false},
      {"OpenGL", "Mali-G52", false},
      {"direct3d", "", true},  // not a renderer of this platform
  };
  for (const Case& c : cases) EXPECT_EQ(IsSoftwareRenderer(c.name, c.gl), c.software) << c.name << " / " << c.gl;
}

// A picture whose every pixel holds its own coordinates.
std::vector<uint32_t> CoordinatePicture(TSize size) {
  std::vector<uint32_t> pixels(static_cast<size_t>(size.Width) * static_cast<size_t>(size.Height));
  for (int y = 0; y < size.Height; ++y)
    for (int x = 0; x < size.Width; ++x)
      pixels[static_cast<size_t>(y) * static_cast<size_t>(size.Width) + static_cast<size_t>(x)] =
          static_cast<uint32_t>(y) << 12 | static_cast<uint32_t>(x);
  return pixels;
}

// Every output pixel of the scaled picture, pointed at, maps back to the
// picture pixel shown there; whole multiples show k x k blocks of one pixel.
TEST(Presentation, PointerMapsBackToThePixelTheScalerShows) {
  const TSize outputs[] = {{800, 600}, {1600, 1200}, {2400, 1800}, {1920, 1080}, {3840, 2160},
                           {1000, 700}, {1024, 768}};
  const std::vector<uint32_t> picture = CoordinatePicture(kPicture);
  TPictureScaler scaler;
  for (TSize output : outputs) {
    const TRect place = FitPicture(output, kPicture);
    const TSize placeSize{place.Width(), place.Height()};
    // The destination rows are wider than the place, as in a window surface.
    const size_t pitch = static_cast<size_t>(placeSize.Width) + 7;
    std::vector<uint32_t> out(pitch * static_cast<size_t>(placeSize.Height), 0xFFFFFFFFu);
    scaler.Scale(picture.data(), 800, kPicture, out.data(), pitch, placeSize);
    const bool whole = placeSize.Width % 800 == 0 && placeSize.Width / 800 == placeSize.Height / 600;
    const int k = placeSize.Width / 800;
    int mismatches = 0;
    for (int y = 0; y < placeSize.Height; ++y) {
      for (int x = 0; x < static_cast<int>(pitch); ++x) {
        const uint32_t shown = out[static_cast<size_t>(y) * pitch + static_cast<size_t>(x)];
        if (x >= placeSize.Width) {
          mismatches += shown != 0xFFFFFFFFu;  // nothing written past the row
          continue;
        }
        const TPoint p = OutputToPicture(place.Left + x, place.Top + y, place, kPicture);
        mismatches += shown != (static_cast<uint32_t>(p.Y) << 12 | static_cast<uint32_t>(p.X));
        if (whole) mismatches += p.X != x / k || p.Y != y / k;
      }
    }
    EXPECT_EQ(mismatches, 0) << output.Width << "x" << output.Height;
    // The bars are outside the picture.
    if (place.Left > 0) {
      EXPECT_LT(OutputToPicture(place.Left - 1, place.Top, place, kPicture).X, 0);
      EXPECT_GE(OutputToPicture(place.Right, place.Top, place, kPicture).X, 800);
    }
    if (place.Top > 0) {
      EXPECT_LT(OutputToPicture(place.Left, place.Top - 1, place, kPicture).Y, 0);
      EXPECT_GE(OutputToPicture(place.Left, place.Bottom, place, kPicture).Y, 600);
    }
    // Warping the pointer to a picture pixel lands on that pixel.
    for (TPoint p : {TPoint{0, 0}, TPoint{799, 599}, TPoint{400, 300}, TPoint{123, 457}}) {
      const TPoint o = PictureToOutput(p.X, p.Y, place, kPicture);
      EXPECT_EQ(OutputToPicture(o.X, o.Y, place, kPicture), p) << output.Width << "x" << output.Height;
    }
  }
}

}  // namespace
}  // namespace bd
