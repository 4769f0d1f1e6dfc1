#pragma once
// One item of a screen (a button, an options row, a text field, the send
// box, an exit-screen button) as one row: its pictures, where it answers,
// and what it does. Building a screen, the pointer's hover and clicks, and
// the keys' focus all read the same rows, so an item is added in one place.

#include <cstdint>
#include <optional>
#include <span>

#include "assets/AssetNames.h"
#include "frontend/MenuSprites.h"
#include "frontend/PointerRects.h"

namespace bd {

class IFrontEndHost;

// A picture at its own size: image, place and depth.
struct TPlace {
  std::optional<TPictureName> Image{};  // empty: none
  int X = 0;
  int Y = 0;
  int Z = 0;
};

struct TItem {
  enum class Kind {
    Button,      // Enter does what a click does
    Choices,     // a row of two choices: Enter takes the other one, Left and Right take theirs
    Field,       // a text field: Enter gives it the typing, as a click does
    SendBox,     // the name entry's "send online" box: Enter ticks it, the typing stays in the name
    ExitButton,  // a button of the exit screen, which goes by where a press is
  };
  Kind kind = Kind::Button;
  // The picture the screen shows for it; none where the screen's backdrop
  // or a question's frame carries it.
  TPlace Picture{};
  // The highlight laid over it while the pointer or the keys' focus is on
  // it, as a sprite of its own class; none where the pointer only changes
  // its shape.
  TPlace Highlight{};
  TImageSprite& (*MakeHighlight)(IFrontEndHost&, const TPlace&) = nullptr;
  THitRect Hover{};  // where the pointer highlights it
  THitRect Click{};  // where a click acts; the keys' focus stands at its middle
  // What a click and Enter do, the click's sound included; null: nothing.
  void (*Action)(IFrontEndHost&) = nullptr;
  THitRect Frame{0, -1, 0, -1};  // drawn round it when focused; empty for items with a highlight
  THitRect Left{}, Right{};      // Choices: where a click takes the left and the right choice
  bool HasFrame() const { return Frame.Left <= Frame.Right; }
};

// Creates an item's highlight as a sprite of class T.
template <class T>
TImageSprite& HighlightAs(IFrontEndHost& host, const TPlace& place) {
  return AddPicture<T>(host, *place.Image, place.X, place.Y, place.Z);
}

// Adds the pictures of the items that have one, in the rows' order.
void AddItemPictures(IFrontEndHost& host, std::span<const TItem> items);

// Tests (x, y) against the hover areas of a group of items. A hit shows the
// hand and the item's highlight and plays the hover sound if the previous
// groups left it armed; a miss re-arms it (unless told not to). Several
// groups run one after the other, so the last one decides whether the next
// hit sounds.
bool HoverItems(IFrontEndHost& host, std::span<const TItem> items, int x, int y, bool rearmOnMiss = true);

// Runs the action of the first item whose click area holds (x, y).
bool ClickItems(IFrontEndHost& host, std::span<const TItem> items, int x, int y);

// The click's sound, which every action of the menus plays.
void ClickSound(IFrontEndHost& host);
// The hover sound, started afresh.
void HoverSound(IFrontEndHost& host);

}  // namespace bd
