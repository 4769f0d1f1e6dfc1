#pragma once
// Menus without a mouse: the arrow keys (and a pad's d-pad or stick, which
// send them) move a focus among the items of the screen shown now, in their
// visual order, and Enter runs the focused item's action, as a click on it
// does. An item the pointer highlights with a picture shows the focus the
// same way, picture and hover sound; items the pointer only shapes itself
// over (the options rows, the text fields, the send box) get a frame and the
// hover sound. Moving the pointer takes the focus away, so whichever was
// used last shows its highlight.

#include <vector>

#include "frontend/Item.h"

namespace bd {

class IFrontEndHost;
class TCanvas;

// How far an arrow key moves the focus: Up and Left back, Down and Right on;
// 0 for other keys.
int FocusStep(int key);

// A game controller's B (sent as Control) goes back as Escape does, with
// Ctrl let go. False for every other key.
bool PadBackAsEscape(IFrontEndHost& host, int key, uint8_t shift);

// The items the focus moves among now, in visual order: an open question's
// answers, else the current screen's items; empty where the keys keep their
// other meanings.
std::vector<TItem> FocusItems(IFrontEndHost& host);

// The focused item, or false. Copies into `item`.
bool FocusedItem(IFrontEndHost& host, TItem& item);

// Moves the focus `step` items on (negative: back), wrapping around; the
// first arrow press focuses the first (or, going back, the last) item.
// Returns false when the screen has no items to focus.
bool MoveKeyFocus(IFrontEndHost& host, int step);

// Left (-1) or Right (+1) on a focused row of two choices takes that
// choice. Returns false when no such row has the focus.
bool ChooseWithKeys(IFrontEndHost& host, int direction);

// Runs the focused item's action. Returns false when nothing has the focus.
// The focus stays on the item when the screen stays.
bool ActivateKeyFocus(IFrontEndHost& host);

// The frame round the focused item, where it has one.
void DrawKeyFocusFrame(IFrontEndHost& host, TCanvas& canvas);

}  // namespace bd
