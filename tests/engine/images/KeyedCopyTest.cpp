// Pattern copies of the image list against SDL's own blits: every pattern of
// a few pictures, keyed and not, drawn unscaled and stretched at positions
// that cover every way a copy can be clipped (inside, across each edge and
// corner, just off and far off the surface), and a whole frame of
// overlapping sprites with text written between them. The picture must be
// the one SDL_BlitSurface gives with the same colour key.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/display/Canvas.h"
#include "engine/display/Fonts.h"
#include "engine/images/PictureCollection.h"

namespace bd {
namespace {

constexpr uint32_t kKey = 0xFF00FF;  // 0x00BBGGRR

// A reference surface of the same format, owned.
struct TSdlSurface {
  TSdlSurface(int w, int h) : s(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_XRGB8888)) {
    SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
  }
  ~TSdlSurface() { SDL_FreeSurface(s); }
  TSdlSurface(const TSdlSurface&) = delete;
  TSdlSurface& operator=(const TSdlSurface&) = delete;
  uint32_t& At(int x, int y) {
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch)[x];
  }
  SDL_Surface* s;
};

// A picture given by a colour function, held both as an image-list item and
// as an SDL surface of the same pixels with the same colour key.
struct TPicture {
  TPicture(int w, int h, int pw, int ph, int skip, const std::function<uint32_t(int, int)>& color)
      : ref(w, h) {
    std::vector<uint32_t> colors;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        colors.push_back(color(x, y));
        ref.At(x, y) = ColorToRaw(colors.back());
      }
    item = TPictureCollectionItem::FromPixels(w, h, std::move(colors), pw, ph, kKey);
    if (skip > 0) {
      item->SetSkipWidth(skip);
      item->SetSkipHeight(skip);
      item->Restore();
    }
  }
  void SetTransparent(bool on) {
    item->SetTransparent(on);
    SDL_SetColorKey(ref.s, on ? SDL_TRUE : SDL_FALSE, ColorToRaw(kKey));
  }
  std::unique_ptr<TPictureCollectionItem> item;
  TSdlSurface ref;
};

// Mixed colours from a small generator, keyed where `keyed` says so.
std::function<uint32_t(int, int)> Colours(std::function<bool(int, int)> keyed) {
  return [keyed](int x, int y) {
    if (keyed(x, y)) return kKey;
    const uint32_t h = (static_cast<uint32_t>(x) * 73856093u) ^ (static_cast<uint32_t>(y) * 19349663u);
    return (h * 2654435761u) & 0xFFFFFF & ~0x000001u;  // red even: never the key
  };
}

// Runs of every length: keyed pixels where the row's own rhythm says, a keyed
// first column, keyed rows, a fully keyed pattern and a pattern without key.
bool SheetKey(int x, int y) {
  const int px = x % 15, py = y % 11;  // 13 x 9 patterns with a skip of 2
  const int pattern = (x / 15) + 2 * (y / 11);
  if (pattern == 2) return true;
  if (pattern == 3) return false;
  if (px == 0 || py == 4) return true;
  return (px * (py + 1)) % 7 < py % 3;
}

void FillBackdrop(SDL_Surface* s) {
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x < s->w; ++x)
      reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch)[x] =
          0x00102030u + static_cast<uint32_t>(x * 3 + y * 5);
}

// Where the first pixel differs, or "" when the surfaces are equal.
std::string FirstDifference(const SDL_Surface* a, const SDL_Surface* b) {
  for (int y = 0; y < a->h; ++y)
    for (int x = 0; x < a->w; ++x) {
      const auto pa =
          reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(a->pixels) + y * a->pitch)[x];
      const auto pb =
          reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(b->pixels) + y * b->pitch)[x];
      if (pa != pb) return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
  return "";
}

// Left or top edges for a copy of `size` pixels onto `extent` pixels: far
// off, just off, across the near edge, inside, across the far edge, just off.
std::vector<int> Edges(int size, int extent) {
  return {-1000000000, -size - 5,         -size,         -size + 1,         -1,         0,
          3,           extent - size - 1, extent - size, extent - size + 1, extent - 1, extent,
          extent + 7,  1000000000};
}

struct TCase {
  const char* name;
  int w, h, pw, ph, skip;
  bool (*keyed)(int, int);
};

const TCase kPictures[] = {
    {"sprite sheet", 28, 20, 13, 9, 2, SheetKey},
    {"checkerboard", 16, 16, 0, 0, 0, [](int x, int y) { return (x + y) % 2 == 0; }},
    {"keyed border", 24, 6, 0, 0, 0, [](int x, int y) { return x == 0 || y == 0 || x == 23 || y == 5; }},
    {"opaque tile", 40, 20, 0, 0, 0, [](int, int) { return false; }},
    // As wide as the surfaces below: rows without key follow each other in
    // both, between rows with one key pixel.
    {"surface-wide tile", 32, 12, 0, 0, 0,
     [](int x, int y) { return (y == 3 && x == 31) || (y == 7 && x == 9); }},
    {"all keyed", 5, 4, 0, 0, 0, [](int, int) { return true; }},
};

TEST(KeyedCopy, UnscaledPatternsMatchSdlAtEveryClipping) {
  for (const TCase& c : kPictures) {
    TPicture picture(c.w, c.h, c.pw, c.ph, c.skip, Colours(c.keyed));
    for (bool transparent : {true, false}) {
      picture.SetTransparent(transparent);
      TDirectDrawSurface dest(32, 24);
      TSdlSurface ref(32, 24);
      FillBackdrop(dest.Sdl());
      FillBackdrop(ref.s);
      for (int32_t index = 0; index < picture.item->PatternTotal(); ++index) {
        const TRect r = picture.item->PatternBounds(index);
        for (int y : Edges(r.Height(), 24))
          for (int x : Edges(r.Width(), 32)) {
            picture.item->DrawPattern(dest, x, y, index);
            SDL_Rect src{r.Left, r.Top, r.Width(), r.Height()};
            SDL_Rect dst{x, y, r.Width(), r.Height()};
            SDL_BlitSurface(picture.ref.s, &src, ref.s, &dst);
            ASSERT_EQ(FirstDifference(dest.Sdl(), ref.s), "")
                << c.name << (transparent ? " keyed" : " opaque") << " pattern " << index << " at " << x
                << ", " << y;
          }
      }
    }
  }
}

// The picture stretched to the size of `to` the way the image list samples
// it (the source pixel under each destination pixel's centre), written out
// for the sizes used here: a whole multiple takes each source pixel that many
// times, half the size takes the second of each pair.
void Stretch(TPicture& from, TSdlSurface& to, bool transparent) {
  auto source = [](int d, int size, int srcSize) { return size >= srcSize ? d * srcSize / size : 2 * d + 1; };
  for (int y = 0; y < to.s->h; ++y)
    for (int x = 0; x < to.s->w; ++x)
      to.At(x, y) = from.ref.At(source(x, to.s->w, from.ref.s->w), source(y, to.s->h, from.ref.s->h));
  SDL_SetColorKey(to.s, transparent ? SDL_TRUE : SDL_FALSE, ColorToRaw(kKey));
}

TEST(KeyedCopy, StretchedPatternsMatchSdlAtEveryClipping) {
  struct TSize {
    int w, h;
  };
  // 24 x 6 pictures: doubled, tripled, halved; 1030 x 3 doubled is wider
  // than any kept stretched copy and is drawn straight onto the surface.
  TPicture border(24, 6, 0, 0, 0, Colours(kPictures[2].keyed));
  TPicture wide(1030, 3, 0, 0, 0, Colours([](int x, int y) { return (x / 3 + y) % 4 == 0; }));
  const struct {
    TPicture& picture;
    TSize size;
  } cases[] = {{border, {48, 12}}, {border, {72, 18}}, {border, {12, 3}}, {wide, {2060, 6}}};
  for (const auto& c : cases) {
    for (bool transparent : {true, false}) {
      c.picture.SetTransparent(transparent);
      TSdlSurface stretched(c.size.w, c.size.h);
      Stretch(c.picture, stretched, transparent);
      TDirectDrawSurface dest(32, 24);
      TSdlSurface ref(32, 24);
      FillBackdrop(dest.Sdl());
      FillBackdrop(ref.s);
      for (int y : Edges(c.size.h, 24))
        for (int x : Edges(c.size.w, 32)) {
          c.picture.item->DrawPatternScaled(dest, Bounds(x, y, c.size.w, c.size.h), 0);
          SDL_Rect dst{x, y, c.size.w, c.size.h};
          SDL_BlitSurface(stretched.s, nullptr, ref.s, &dst);
          ASSERT_EQ(FirstDifference(dest.Sdl(), ref.s), "")
              << c.size.w << " x " << c.size.h << (transparent ? " keyed" : " opaque") << " at " << x << ", "
              << y;
        }
    }
  }
}

TEST(KeyedCopy, FrameOfOverlappingSpritesAndTextMatchesSdl) {
  TPicture road(800, 200, 0, 0, 0, Colours([](int x, int y) { return y % 50 == 0 && x > 700; }));
  TPicture cars(180, 60, 45, 60, 0, Colours([](int x, int y) {
                  const int px = x % 45;
                  return (px < 6 || px > 38) && (y < 8 || y > 51);  // rounded corners
                }));
  TPicture sheet(28, 20, 13, 9, 2, Colours(SheetKey));
  TDirectDrawSurface dest(800, 600);
  TSdlSurface ref(800, 600);
  auto blit = [&](TPicture& p, int x, int y, int32_t index) {
    p.item->DrawPattern(dest, x, y, index);
    const TRect r = p.item->PatternBounds(index);
    SDL_Rect src{r.Left, r.Top, r.Width(), r.Height()};
    SDL_Rect dst{x, y, r.Width(), r.Height()};
    SDL_BlitSurface(p.ref.s, &src, ref.s, &dst);
  };
  // Text written by the canvas, and SDL's blend of the whole rendered text.
  auto text = [&](int x, int y, const std::string& s) {
    TCanvas canvas(dest.Sdl());
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Size = 16;
    canvas.Font.Color = 0x00FFFFFF;
    canvas.TextOut(x, y, s);
    TFontLibrary& fonts = TFontLibrary::Instance();
    const TRenderedText* rendered = fonts.RenderText(fonts.Font(canvas.Font.Name, 16, 0), 0x00FFFFFF, s);
    ASSERT_NE(rendered, nullptr);
    SDL_Rect to{x, y, rendered->surface->w, rendered->surface->h};
    SDL_BlitSurface(rendered->surface, nullptr, ref.s, &to);
  };
  road.SetTransparent(true);
  cars.SetTransparent(true);
  sheet.SetTransparent(true);
  // The road scrolled by 37 pixels, tiled past the top and bottom edges,
  // and once shifted sideways.
  for (int y = -200 + 37; y < 600; y += 200) blit(road, 0, y, 0);
  blit(road, -389, 150, 0);
  text(370, 5, "12345");
  for (int i = 0; i < 24; ++i) blit(cars, -30 + i * 37, -40 + (i * 83) % 700, i % 4);
  text(75, 25, "X 100");
  for (int i = 0; i < 12; ++i) blit(sheet, 790 - i * 67, 590 - i * 51, i % 4);
  text(780, 590, "edge");
  EXPECT_EQ(FirstDifference(dest.Sdl(), ref.s), "");
}

}  // namespace
}  // namespace bd
