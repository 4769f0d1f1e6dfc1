#pragma once
// Menus without a mouse: the arrow keys (and a pad's d-pad or stick, which
// send them) move a focus among the items of the screen shown now, in their
// visual order, and Enter does what a click on the focused item does. The
// focus is shown exactly as the pointer's hover shows an item: its highlight
// picture and its hover sound. Moving the pointer takes the focus away, so
// whichever was used last shows its highlight.

#include <vector>

#include "frontend/PointerRects.h"

namespace bd {

class TMainForm;

// The items the focus moves among now, each as the rectangle a click on it
// answers in; empty where the keys keep their other meanings.
std::vector<THitRect> FocusItems(const TMainForm& form);

// Moves the focus `step` items on (negative: back), wrapping around; the
// first arrow press focuses the first (or, going back, the last) item.
// Returns false when the screen has no items to focus.
bool MoveKeyFocus(TMainForm& form, int step);

// A click on the focused item. Returns false when nothing has the focus.
bool ActivateKeyFocus(TMainForm& form);

}  // namespace bd
