#pragma once
// Where the player keeps the game's window when it is a plain window (not
// maximised, minimised or full screen), so that leaving full screen can put
// it back there. The window system reports the window's place and state as
// separate events, and a window manager that maximises a window may report
// the maximised place a moment before the maximised state: a place counts
// only once it has stood for a short while with the window still plain.

#include <cstdint>
#include <optional>

namespace bd {

// The window's client area on the desktop.
struct TWindowPlace {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const TWindowPlace&) const = default;
};

class TPlainWindowPlace {
 public:
  // How long a reported place must stand, with the window plain, before it
  // counts: longer than a window manager takes between a maximise's place
  // and its state, shorter than a person takes to move a window and then
  // maximise it.
  static constexpr uint64_t kSettleMs = 250;

  // The window was reported at `place` at `nowMs`; `plain` tells whether it
  // was a plain window then.
  void Observe(const TWindowPlace& place, bool plain, uint64_t nowMs);
  // A place known to be the plain window's, counting at once (the game has
  // just read it from a plain window, or put the window there itself).
  void Take(const TWindowPlace& place);
  // The last place that counted by `nowMs`; none before the first.
  std::optional<TWindowPlace> Last(uint64_t nowMs);

 private:
  void Settle(uint64_t nowMs);

  std::optional<TWindowPlace> settled_;
  std::optional<TWindowPlace> pending_;
  uint64_t pendingSince_ = 0;
};

}  // namespace bd
