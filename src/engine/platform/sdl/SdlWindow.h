#pragma once
// The game's one window on SDL2: it opens at a whole multiple of the
// 800 x 600 picture, keeps the player's plain window across full screen,
// and presents the picture scaled and letter-boxed to 4:3, by the graphics
// processor where there is a real one and by a pixel-duplicating copy into
// the window otherwise.

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/platform/PlainWindowPlace.h"
#include "engine/platform/Platform.h"
#include "engine/platform/Presentation.h"

namespace bd {

class TSdlWindow : public IWindow {
 public:
  // Creates the hidden window (sized and centred when first shown); throws
  // when the display cannot be opened.
  TSdlWindow();
  ~TSdlWindow() override;
  TSdlWindow(const TSdlWindow&) = delete;
  TSdlWindow& operator=(const TSdlWindow&) = delete;

  void Show() override;
  bool IsShown() const override;
  void SetCaption(const std::string& cp1251Caption) override;
  std::string Caption() const override { return caption_; }
  WindowState State() const override;
  void SetState(WindowState state) override;
  void SetBorderless(bool borderless) override;
  void SavePlacement() override;
  void RestorePlacement() override;
  bool IsActive() const override { return active_; }

  std::vector<DisplayMode> DisplayModes() override;
  bool SetFullScreen(const DisplayMode* mode) override;
  bool IsFullScreen() const override;

  void Present(const SDL_Surface* backBuffer, const TRect& dest, bool waitVBlank) override;

  void SetPointer(PointerShape shape) override;
  void WarpPointer(int x, int y) override;

  SDL_Window* Sdl() const { return window_; }
  // Kept by the event source from focus changes.
  void SetActive(bool active) { active_ = active; }
  // Told by the event source whenever the window has moved.
  void Moved();
  // Told by the event source when the window changed size or state (a move
  // goes through Moved): a plain window's place is remembered.
  void PlaceChanged();
  // Told by the event source when the window changed size or was exposed:
  // the whole window, bars included, is sent again with the next picture.
  void Reshaped();
  // Whether the pointer has really moved on the desktop since the game last
  // switched the display. A switch moves the picture under a still pointer,
  // and the window system reports that as a pointer move: such a report is
  // no player's move and must not act (say, as the pointer leaving a panel).
  // (x, y) is the event's position in the window.
  bool PointerMovedSinceSwitch(int x, int y);
  // A position in the window (as pointer events give it) in picture
  // coordinates, through the current scaling.
  TPoint ToPicture(int x, int y) const;
  // Whether a graphics processor scales the picture (otherwise the processor
  // copies it into the window).
  bool ScalesOnGpu() const { return renderer_ != nullptr; }

 private:
  // Keeps the GL renderer when it runs on a real graphics processor.
  void ChooseRenderer();
  void PresentOnGpu(const SDL_Surface* backBuffer, const TRect& dest, bool waitVBlank);
  void PresentOnProcessor(const SDL_Surface* backBuffer, const TRect& dest);
  // The rectangle of the window or output that `dest` (picture coordinates)
  // covers when the picture fits an output of `output`.
  static TRect OutputRect(TSize output, const TRect& dest);

  SDL_Window* window_ = nullptr;
  // Only on a real graphics processor; null on the processor path.
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int textureW_ = 0;
  int textureH_ = 0;
  bool vsync_ = false;
  TPictureScaler scaler_;
  // The window surface and picture place of the last processor present:
  // the bars are cleared and sent only when these change.
  SDL_Surface* lastSurface_ = nullptr;
  TSize lastSurfaceSize_;
  TRect lastPlace_;
  bool sendWhole_ = true;
  bool sized_ = false;
  bool active_ = true;
  std::string caption_;
  // Where leaving full screen puts the window (its client area): the
  // plain window the player had before full screen, or before maximising.
  TWindowPlace placement_{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600};
  bool placementSaved_ = false;
  // The window's opening place, for a return to a window that was never
  // seen plain (full screen from the start, or maximised at once).
  TWindowPlace openingPlace_{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600};
  TPlainWindowPlace plainPlace_;
  // After a restored placement the window is put back where it belongs
  // when the window manager moves it (a few times at most), until a while
  // after the first window event that follows (holdPlacementUntil_, 0
  // before that event).
  bool holdPlacement_ = false;
  uint64_t holdPlacementUntil_ = 0;
  int placementCorrections_ = 0;
  bool HoldingPlacement() const;
  void StartPlacementHold();
  // Whether a move by (dx, dy) from the restored place is the window
  // manager's push by the frame's size, rather than a move of the player's.
  bool IsFramingPush(int dx, int dy) const;
  // The client area's place on the desktop and size, as last reported.
  TWindowPlace CurrentPlace() const;
  // Whether the window is a plain one: shown, not maximised, minimised or
  // full screen, and not being put back after full screen.
  bool IsPlain() const;
  SDL_Cursor* cursors_[3] = {nullptr, nullptr, nullptr};
  // Where the last pointer move put the pointer on the desktop, and where
  // it stood at the last display switch, until it moves from there.
  std::optional<SDL_Point> pointerOnDesktop_;
  std::optional<SDL_Point> pointerAtSwitch_;
  void NoteDisplaySwitch();
};

}  // namespace bd
