#include "engine/platform/sdl/SdlWindow.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "codec/Cp1251.h"
#include "engine/platform/sdl/SdlError.h"
#include "engine/platform/sdl/SdlPicture.h"

namespace bd {
namespace {

// Room left for the window's title bar and borders when the window's size is
// chosen, before the window manager has framed it and can say.
constexpr TSize kFrameAllowance{16, 48};

constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

// Whether the machine has a direct-rendering device (a graphics processor's
// driver, or a virtual one that still needs its GL string checked).
bool HasRenderingDevice() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error))
    if (entry.path().filename().string().rfind("renderD", 0) == 0 ||
        entry.path().filename().string().rfind("card", 0) == 0)
      return true;
  return false;
}

}  // namespace

TSdlWindow::TSdlWindow() {
  window_ = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kClientWidth, kClientHeight,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (window_ == nullptr) throw SdlError("The game window cannot be created");
  // The player may make the window larger, never smaller than the picture;
  // with no maximum the window manager offers maximising (which the game
  // turns into full screen).
  SDL_SetWindowMinimumSize(window_, kClientWidth, kClientHeight);
  ChooseRenderer();
  cursors_[0] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  cursors_[1] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
  cursors_[2] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_IBEAM);
}

void TSdlWindow::ChooseRenderer() {
  // The picture is composed in main memory. On a real graphics processor a
  // GL renderer scales it to the window or screen for next to nothing and
  // can wait for the display's refresh. Without one (a virtual machine, a
  // virtual X server) GL means a software rasteriser that keeps a core
  // busier than the whole game does, so the picture is then copied straight
  // into the window's own frame buffer by the game's scaler instead. SDL's
  // texture-backed frame buffer is not wanted for that: it would be GL again.
  // SDL_RENDER_DRIVER=software in the environment skips the GL attempt.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  const char* wanted = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  if (wanted != nullptr && std::string_view(wanted) == "software") return;
  // Without a direct-rendering device there is no graphics processor to
  // find, and asking GL would only load and start a software rasteriser
  // (tens of megabytes and a noticeable part of the start-up) to learn that.
  if (wanted == nullptr && !HasRenderingDevice()) return;
  SDL_Renderer* renderer = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
  if (renderer == nullptr) return;
  SDL_RendererInfo info{};
  std::string gl;
  if (SDL_GetRendererInfo(renderer, &info) == 0 && info.name != nullptr &&
      std::string_view(info.name).rfind("opengl", 0) == 0) {
    using GetString = const unsigned char* (*)(unsigned);
    if (const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"))) {
      if (const unsigned char* text = getString(kGlRenderer)) gl = reinterpret_cast<const char*>(text);
    }
  }
  if (IsSoftwareRenderer(info.name != nullptr ? info.name : "", gl)) {
    SDL_DestroyRenderer(renderer);
    return;
  }
  renderer_ = renderer;
  // Whole multiples stay crisp; nearest is also what the processor path does.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
}

TSdlWindow::~TSdlWindow() {
  for (SDL_Cursor* c : cursors_)
    if (c != nullptr) SDL_FreeCursor(c);
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  SDL_DestroyWindow(window_);
}

void TSdlWindow::Show() {
  if (!sized_) {
    // The largest whole multiple of the picture that fits the desktop the
    // window opens on, without its panels and the window's frame, centred
    // in that area.
    sized_ = true;
    const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
    SDL_Rect usable{0, 0, kClientWidth, kClientHeight};
    if (SDL_GetDisplayUsableBounds(display, &usable) == 0) {
      const int scale = ChooseWindowScale({usable.w, usable.h}, kFrameAllowance, kPicture);
      const int w = kClientWidth * scale, h = kClientHeight * scale;
      SDL_SetWindowSize(window_, w, h);
      openingPlace_ = TWindowPlace{usable.x + std::max(0, (usable.w - w) / 2),
                                   usable.y + std::max(0, (usable.h - h) / 2), w, h};
      SDL_SetWindowPosition(window_, openingPlace_.X, openingPlace_.Y);
      // Full screen taken before the window was first shown (the settings
      // ask for it) comes back to the opening window.
      placement_ = openingPlace_;
    }
  }
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
}

bool TSdlWindow::IsShown() const { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0; }

void TSdlWindow::SetCaption(const std::string& cp1251Caption) {
  caption_ = cp1251Caption;
  SDL_SetWindowTitle(window_, Cp1251ToUtf8(cp1251Caption).c_str());
}

WindowState TSdlWindow::State() const {
  const uint32_t flags = SDL_GetWindowFlags(window_);
  if (flags & SDL_WINDOW_MINIMIZED) return WindowState::Minimized;
  if (flags & SDL_WINDOW_MAXIMIZED) return WindowState::Maximized;
  return WindowState::Normal;
}

void TSdlWindow::SetState(WindowState state) {
  switch (state) {
    case WindowState::Normal:
      if (State() != WindowState::Normal) SDL_RestoreWindow(window_);
      break;
    case WindowState::Minimized:
      SDL_MinimizeWindow(window_);
      break;
    case WindowState::Maximized:
      SDL_MaximizeWindow(window_);
      break;
  }
}

void TSdlWindow::SetBorderless(bool borderless) {
  SDL_SetWindowBordered(window_, borderless ? SDL_FALSE : SDL_TRUE);
}

std::vector<DisplayMode> TSdlWindow::DisplayModes() {
  std::vector<DisplayMode> modes;
  const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
  const int count = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(display, i, &m) != 0) continue;
    // Four-byte formats (XRGB) are what the game calls 32 bits.
    const DisplayMode mode{m.w, m.h, static_cast<int>(SDL_BYTESPERPIXEL(m.format)) * 8};
    if (std::find(modes.begin(), modes.end(), mode) == modes.end()) modes.push_back(mode);
  }
  return modes;
}

void TSdlWindow::NoteDisplaySwitch() {
  if (pointerOnDesktop_) pointerAtSwitch_ = pointerOnDesktop_;
}

bool TSdlWindow::PointerMovedSinceSwitch(int x, int y) {
  // Where the event puts the pointer on the desktop: its place in the
  // window from the window's own place, both as the window system last
  // told them.
  SDL_Point at{x, y};
  int left = 0, top = 0;
  SDL_GetWindowPosition(window_, &left, &top);
  at.x += left;
  at.y += top;
  if (pointerAtSwitch_ && at.x == pointerAtSwitch_->x && at.y == pointerAtSwitch_->y) return false;
  pointerAtSwitch_.reset();
  pointerOnDesktop_ = at;
  return true;
}

bool TSdlWindow::SetFullScreen(const DisplayMode* mode) {
  NoteDisplaySwitch();
  if (mode == nullptr) {
    // Back to the window the player had (the placement brings back its size
    // and place); a window already in a window keeps its size.
    if (IsFullScreen() && SDL_SetWindowFullscreen(window_, 0) != 0) return false;
    return true;
  }
  // Exclusive use of the display at the chosen mode where the display can
  // switch to it; otherwise the desktop mode, with the picture scaled.
  const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
  SDL_DisplayMode wanted{};
  wanted.w = mode->Width;
  wanted.h = mode->Height;
  SDL_DisplayMode closest{};
  if (SDL_GetClosestDisplayMode(display, &wanted, &closest) != nullptr && closest.w == mode->Width &&
      closest.h == mode->Height && SDL_SetWindowDisplayMode(window_, &closest) == 0 &&
      SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) == 0) {
    return true;
  }
  return SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

bool TSdlWindow::IsFullScreen() const {
  return (SDL_GetWindowFlags(window_) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)) != 0;
}

TPoint TSdlWindow::ToPicture(int x, int y) const {
  int w = kClientWidth, h = kClientHeight;
  SDL_GetWindowSize(window_, &w, &h);
  return OutputToPicture(x, y, FitPicture({w, h}, kPicture), kPicture);
}

void TSdlWindow::SetPointer(PointerShape shape) {
  if (shape == PointerShape::Hidden) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_Cursor* cursor = cursors_[static_cast<int>(shape)];
  if (cursor != nullptr) SDL_SetCursor(cursor);
  SDL_ShowCursor(SDL_ENABLE);
}

void TSdlWindow::WarpPointer(int x, int y) {
  // From picture coordinates to the window's, through the scaling.
  int w = kClientWidth, h = kClientHeight;
  SDL_GetWindowSize(window_, &w, &h);
  const TPoint at = PictureToOutput(x, y, FitPicture({w, h}, kPicture), kPicture);
  SDL_WarpMouseInWindow(window_, at.X, at.Y);
}

}  // namespace bd
