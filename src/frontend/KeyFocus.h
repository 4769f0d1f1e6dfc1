#pragma once
// Menus without a mouse: the arrow keys (and a pad's d-pad or stick, which
// send them) move a focus among the items of the screen shown now, in their
// visual order, and Enter does what a click on the focused item does. An
// item the pointer highlights with a picture shows the focus the same way,
// picture and hover sound; items the pointer only shapes itself over (the
// options rows, the text fields, the send box) get a frame and the hover
// sound. Moving the pointer takes the focus away, so whichever was used last
// shows its highlight.

#include <initializer_list>
#include <vector>

#include "frontend/PointerRects.h"

namespace bd {

class TMainForm;
class TCanvas;

struct TFocusItem {
  enum class Kind {
    Button,      // a click at Click is what Enter does
    Choices,     // a row of two choices: Enter takes the other one, Left and Right take theirs
    Field,       // a text field: Enter gives it the typing, as a click does
    SendBox,     // the name entry's "send online" box: Enter ticks it, the typing stays in the name
    ExitButton,  // a button of the exit screen, which goes by where a press is
  };
  Kind kind = Kind::Button;
  THitRect Click{};
  THitRect Frame{0, -1, 0, -1};  // drawn round the focused item; empty for buttons with a highlight picture
  THitRect Left{}, Right{};      // Choices: where a click takes the left and the right choice
  bool HasFrame() const { return Frame.Left <= Frame.Right; }
};

// Buttons, in the order given.
std::vector<TFocusItem> FocusButtons(std::initializer_list<THitRect> rects);

// How far an arrow key moves the focus: Up and Left back, Down and Right on;
// 0 for other keys.
int FocusStep(int key);

// The items the focus moves among now, in visual order: an open question's
// answers, else the current screen's items; empty where the keys keep their
// other meanings.
std::vector<TFocusItem> FocusItems(const TMainForm& form);

// The focused item, or nullptr. Copies into `item`.
bool FocusedItem(const TMainForm& form, TFocusItem& item);

// Moves the focus `step` items on (negative: back), wrapping around; the
// first arrow press focuses the first (or, going back, the last) item.
// Returns false when the screen has no items to focus.
bool MoveKeyFocus(TMainForm& form, int step);

// Left (-1) or Right (+1) on a focused row of two choices takes that
// choice. Returns false when no such row has the focus.
bool ChooseWithKeys(TMainForm& form, int direction);

// What a click on the focused item does. Returns false when nothing has the
// focus. The focus stays on the item when the screen stays.
bool ActivateKeyFocus(TMainForm& form);

// The frame round the focused item, where it has one.
void DrawKeyFocusFrame(const TMainForm& form, TCanvas& canvas);

}  // namespace bd
