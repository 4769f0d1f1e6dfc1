#pragma once
// The pictures of both archives, each with the encoding it is stored in.

#include <functional>
#include <string>
#include <vector>

#include "Paint.h"

namespace bd::art {

// How a picture is stored in its archive. The mix is deliberate: every reader
// path of the game (8-bit plain and run-length, true colour, a whole bitmap
// file, JPEG) sees real data.
enum class Encoding { Dib8, Dib8Rle, Dib8TopDown, Dib24, Dib32, BitmapFile, Jpeg };

// How the transparent colour is written: as a colour identifier, as a plain
// number, or not at all (a picture drawn without a key).
enum class KeyStyle { Identifier, Number, None };

struct ArtItem {
  std::string name;
  Raster pic;
  int patternWidth = 0;  // 0: the whole picture is one pattern
  int patternHeight = 0;
  Encoding encoding = Encoding::Dib8Rle;
  KeyStyle key = KeyStyle::Identifier;
  int Frames() const {
    int cols = patternWidth > 0 ? pic.w / patternWidth : 1;
    int rows = patternHeight > 0 ? pic.h / patternHeight : 1;
    return cols * rows;
  }
};

// Draws `frames` patterns of w x h side by side in one strip; draw(cr, i, t)
// paints frame i with t = i / frames, with the origin at the frame's corner.
Raster Strip(int w, int h, int frames, const std::function<void(cairo_t*, int, double)>& draw);

std::vector<ArtItem> MakeMenuArt();
std::vector<ArtItem> MakeRaceArt();

// Shared by the menu and the race pictures.
// A car seen from above, nose up, filling w x h. style: 0 saloon, 1 hatchback,
// 2 pick-up, 3 van, 4 the player's sports car. damage 0..3 adds dents, cracks
// and smoke; burnt turns it into a charred wreck.
void DrawCar(cairo_t* cr, double w, double h, Rgb body, int style, int damage, bool burnt);
// A soft puff of smoke or steam.
void Puff(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha);
void DrawRabbit(cairo_t* cr, double cx, double cy, double scale);

}  // namespace bd::art
