#pragma once
// One screen of the game as an object. The form keeps the screen number
// (`CurrentScreen`) and a table of these objects indexed by it; its frame,
// key and pointer handlers hand each event to the current screen's object.
// A screen that switches to another in the middle of an event finishes the
// event itself: the objects live as long as the form.

#include <cstdint>
#include <vector>

#include "frontend/Item.h"
#include "frontend/KeyFocus.h"

namespace bd {

class IFrontEndHost;

class TScreen {
 public:
  explicit TScreen(IFrontEndHost& host) : host_(host) {}
  virtual ~TScreen() = default;
  TScreen(const TScreen&) = delete;
  TScreen& operator=(const TScreen&) = delete;

  // Puts the screen's pictures up and starts what it plays.
  virtual void Build() {}
  // Tears the screen down before the next one is built; by default its
  // pictures go.
  virtual void Leave();
  // The screen's part of the frame handler; `lagCount` is the time since the
  // previous frame, which only the race moves by.
  virtual void Frame(int /*lagCount*/) {}
  virtual void KeyDown(int /*key*/, uint8_t /*shift*/) {}
  // A character typed while a text field has the typing.
  virtual void KeyPress(uint8_t /*key*/) {}
  // A key sent by a game controller, where the pad means something of its
  // own; false leaves it to KeyDown. A pad's B goes back as Escape does.
  // (Keys and presses reach the screen only when no open question took
  // them.)
  virtual bool PadKeyDown(int key, uint8_t shift);
  // The pointer moved to (x, y); the form has already taken the highlights
  // away and noted the position. An open question shows its answers' hover
  // after this.
  virtual void PointerMove(int /*x*/, int /*y*/) {}
  // A button press; the menus act where the pointer last moved, the exit
  // screen where the press itself was.
  virtual void PointerDown(int /*button*/, int /*pressX*/, int /*pressY*/) {}
  // A click on a sub-screen's panel, also when the menu column has just
  // switched to this screen in the same click.
  virtual void PanelClick(int /*x*/, int /*y*/) {}
  // The items the keys' focus moves among, in visual order.
  virtual std::vector<TItem> FocusItems() const { return {}; }
  // Once per drawn frame, with a display to measure on: measures the text
  // being typed, whose width is the room the typing has left.
  virtual void MeasureTyping() {}
  // Where the text caret stands this frame; false leaves it where it is.
  virtual bool CaretPlace(double& /*x*/, double& /*y*/) { return false; }
  // The splash and game-over timer's tick.
  virtual void TimerTick() {}
  // The window's close button: true lets the program close.
  virtual bool CloseQuery() { return false; }
  // Whether a text field the keys focus takes the typing at once.
  virtual bool FocusedFieldTakesTyping() const { return false; }
  // Whether the race runs on this screen: its clocks hold while it is held,
  // and closing the exit question sets it going again.
  virtual bool RunsRace() const { return false; }
  // Whether the exit question may open over this screen.
  virtual bool OffersExitQuestion() const { return false; }
  // Whether the clear question belongs to this screen.
  virtual bool OffersClearQuestion() const { return false; }
  // The song the music watchdog starts again when it has played through;
  // null lets the song play on as the library plays it.
  virtual const char* Song() const { return nullptr; }

 protected:
  IFrontEndHost& host_;
};

}  // namespace bd
