// Image archives (".dxg"): the container, every item's properties and its
// picture, then what the game does with a loaded image: the pattern grid, the
// display copy, drawing and the pixel hit test.
#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/images/PictureCollection.h"
#include "engine/display/Surface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bd::TPictureCollection images;
  try {
    images.LoadFromMemory(std::span<const uint8_t>(data, size));
  } catch (const bd::EError&) {
    // A refused archive keeps the items read before the fault; they must
    // still be safe to use, so go on with them.
  }
  images.BuildColorTable();

  bd::TDirectDrawSurface screen(64, 48);
  for (int32_t i = 0; i < images.Count(); ++i) {
    bd::TPictureCollectionItem& item = images.Items(i);
    (void)images.FindOrNull(item.Name());
    item.Initialize();
    item.Restore();
    const int32_t last = item.PatternTotal() - 1;
    for (const int32_t pattern : {-1, 0, last, last + 1}) {
      const bd::TRect r = item.PatternBounds(pattern);
      item.DrawPattern(screen, -3, 5, pattern);
      item.DrawPatternScaled(screen, bd::TRect{2, 2, 40, 30}, pattern);
      for (const int32_t x : {-1, 0, r.Width() / 2, r.Width() - 1, r.Width()})
        (void)item.PatternPixel(pattern, x, r.Height() / 2);
    }
    item.Finalize();
  }
  return 0;
}
