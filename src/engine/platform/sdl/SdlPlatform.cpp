#include "engine/platform/sdl/SdlPlatform.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <tuple>
#include <utility>

#include "codec/Cp1251.h"
#include "engine/platform/sdl/SdlKeys.h"

extern char** environ;

namespace bd {
namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;
constexpr TSize kPicture{kClientWidth, kClientHeight};

// Room left for the window's title bar and borders when the window's size is
// chosen, before the window manager has framed it and can say.
constexpr TSize kFrameAllowance{16, 48};

constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

// How long before a deadline the event wait hands over to a precise sleep;
// the event wait itself may wake a little late.
constexpr int kPreciseSleepMs = 2;

// How long after a return from full screen, and how often, the window is
// put back where it was when the window manager moves it.
constexpr uint64_t kHoldPlacementMs = 2000;
constexpr int kPlacementCorrections = 3;

std::runtime_error SdlError(const char* what) {
  return std::runtime_error(std::string(what) + ": " + SDL_GetError());
}

// A pointer position in the window as the game sees it, in the picture.
std::pair<int, int> PicturePosition(const TSdlWindow& window, int x, int y) {
  const TPoint p = window.ToPicture(x, y);
  return {p.X, p.Y};
}

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

// ---- clock ----

uint64_t TSdlClock::Elapsed64() const {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - epoch_)
          .count());
}

uint64_t TSdlClock::Microseconds() {
  // Truncated like Elapsed64, so the two never disagree about the millisecond.
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - epoch_)
          .count());
}

std::chrono::steady_clock::time_point TSdlClock::WhenReaches(uint32_t ms) const {
  const uint64_t now = Elapsed64();
  const int32_t delta = static_cast<int32_t>(ms - static_cast<uint32_t>(now));
  return epoch_ + std::chrono::milliseconds(static_cast<int64_t>(now) + delta);
}

// ---- events ----

bool TSdlEvents::Poll(PlatformEvent& event) {
  SDL_Event e;
  pads_.Repeat(clock_.Milliseconds(), ShiftFlagsFromMod(static_cast<uint16_t>(SDL_GetModState())), pending_);
  while (pending_.empty() && SDL_PollEvent(&e)) Translate(e);
  if (pending_.empty()) return false;
  event = pending_.front();
  pending_.pop_front();
  return true;
}

void TSdlEvents::WaitUntil(uint32_t deadlineMs) {
  if (!pending_.empty()) return;
  // A held pad control repeats its key on time.
  if (const auto repeat = pads_.NextRepeat(); repeat && static_cast<int32_t>(*repeat - deadlineMs) < 0)
    deadlineMs = *repeat;
  for (;;) {
    const int32_t remaining = static_cast<int32_t>(deadlineMs - clock_.Milliseconds());
    if (remaining <= 0) return;
    if (remaining > kPreciseSleepMs) {
      if (SDL_WaitEventTimeout(nullptr, remaining - kPreciseSleepMs) == 1) return;
      continue;
    }
    std::this_thread::sleep_until(clock_.WhenReaches(deadlineMs));
    return;
  }
}

void TSdlEvents::Translate(const SDL_Event& e) {
  PlatformEvent out;
  using T = PlatformEvent::Type;
  switch (e.type) {
    case SDL_QUIT:
      out.type = T::Quit;
      pending_.push_back(out);
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          out.type = T::CloseRequest;
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (window_.IsActive()) return;
          window_.SetActive(true);
          out.type = T::Activate;
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          if (!window_.IsActive()) return;
          window_.SetActive(false);
          // Pads fall silent without the focus: let go of what they hold.
          pads_.ReleaseAll(ShiftFlagsFromMod(static_cast<uint16_t>(SDL_GetModState())), pending_);
          out.type = T::Deactivate;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          window_.Reshaped();
          out.type = T::Expose;
          break;
        case SDL_WINDOWEVENT_LEAVE:
          out.type = T::PointerLeft;
          break;
        case SDL_WINDOWEVENT_MOVED:
          window_.Moved();
          return;
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          window_.Reshaped();
          window_.PlaceChanged();
          out.type = T::Resized;
          break;
        default:
          return;
      }
      pending_.push_back(out);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const int key = VirtualKeyFromScancode(e.key.keysym.scancode);
      if (key == 0) return;
      out.type = e.type == SDL_KEYDOWN ? T::KeyDown : T::KeyUp;
      out.Key = key;
      out.Shift = ShiftFlagsFromMod(e.key.keysym.mod) | pads_.Shift();
      out.Repeat = e.key.repeat != 0;
      // SDL stamps the event when it takes it from the window system, on its
      // own millisecond clock: its age carries it over to the game's clock.
      out.PressedAt = clock_.Milliseconds() - (static_cast<uint32_t>(SDL_GetTicks()) - e.key.timestamp);
      pending_.push_back(out);
      if (e.type == SDL_KEYDOWN) {
        if (const uint8_t c = ControlCharForKey(key); c != 0) {
          PlatformEvent ch;
          ch.type = T::Char;
          ch.Char = c;
          pending_.push_back(ch);
        }
      }
      break;
    }
    case SDL_TEXTINPUT:
      for (char c : TypedTextToCp1251(e.text.text)) {
        out.type = T::Char;
        out.Char = static_cast<uint8_t>(c);
        pending_.push_back(out);
      }
      break;
    case SDL_MOUSEMOTION:
      if (!window_.PointerMovedSinceSwitch(e.motion.x, e.motion.y)) return;
      out.type = T::MouseMove;
      std::tie(out.X, out.Y) = PicturePosition(window_, e.motion.x, e.motion.y);
      out.Shift = ShiftFlagsFromMod(static_cast<uint16_t>(SDL_GetModState()));
      pending_.push_back(out);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      out.type = e.type == SDL_MOUSEBUTTONDOWN ? T::MouseDown : T::MouseUp;
      std::tie(out.X, out.Y) = PicturePosition(window_, e.button.x, e.button.y);
      out.Button = e.button.button == SDL_BUTTON_LEFT ? 1 : e.button.button == SDL_BUTTON_MIDDLE ? 2 : 3;
      out.Shift = ShiftFlagsFromMod(static_cast<uint16_t>(SDL_GetModState()));
      pending_.push_back(out);
      break;
    default:
      if (const auto input = controllers_.Translate(e))
        pads_.Translate(*input, clock_.Milliseconds(),
                        ShiftFlagsFromMod(static_cast<uint16_t>(SDL_GetModState())), pending_);
      break;
  }
}

// ---- window ----

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

TWindowPlace TSdlWindow::CurrentPlace() const {
  TWindowPlace place;
  SDL_GetWindowPosition(window_, &place.X, &place.Y);
  SDL_GetWindowSize(window_, &place.Width, &place.Height);
  return place;
}

bool TSdlWindow::IsPlain() const {
  return IsShown() && !IsFullScreen() && State() == WindowState::Normal && !HoldingPlacement();
}

bool TSdlWindow::HoldingPlacement() const {
  if (!holdPlacement_ || placementCorrections_ == 0) return false;
  return holdPlacementUntil_ == 0 || SDL_GetTicks64() <= holdPlacementUntil_;
}

bool TSdlWindow::IsFramingPush(int dx, int dy) const {
  int top = 0, left = 0, bottom = 0, right = 0;
  // Before the frame's size is known, any move may be the push.
  if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0 || (top == 0 && left == 0))
    return true;
  return dx >= 0 && dy >= 0 && dx <= left && dy <= top;
}

void TSdlWindow::StartPlacementHold() {
  if (holdPlacement_ && holdPlacementUntil_ == 0) holdPlacementUntil_ = SDL_GetTicks64() + kHoldPlacementMs;
}

void TSdlWindow::SavePlacement() {
  if (IsPlain()) {
    // The window the player has now.
    placement_ = CurrentPlace();
    plainPlace_.Take(placement_);
  } else if (IsShown()) {
    // Maximising is the way into full screen: coming back, the window is
    // the plain one the player had before, where it was.
    placement_ = plainPlace_.Last(SDL_GetTicks64()).value_or(openingPlace_);
  }
  // A window not yet shown is placed when it is first shown.
  placementSaved_ = true;
  holdPlacement_ = false;
}

void TSdlWindow::RestorePlacement() {
  if (!placementSaved_) return;
  NoteDisplaySwitch();
  SDL_SetWindowSize(window_, placement_.Width, placement_.Height);
  SDL_SetWindowPosition(window_, placement_.X, placement_.Y);
  plainPlace_.Take(placement_);
  // The window is still without its frame here (it comes back with the
  // windowed display), and a window manager that keeps the frame's corner
  // in place then pushes the window down and right by the frame's size, at
  // every return from full screen. Such a move is undone when it arrives,
  // by which time the size of the frame is known. The time for it counts
  // from the first event the game reads after the return: the display's
  // start-up in between may take long on a busy machine, and the move is
  // waiting among those events.
  holdPlacement_ = true;
  holdPlacementUntil_ = 0;
  placementCorrections_ = kPlacementCorrections;
}

void TSdlWindow::Moved() {
  StartPlacementHold();
  if (HoldingPlacement() && !IsFullScreen()) {
    int x = 0, y = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    if (x == placement_.X && y == placement_.Y) return;
    if (IsFramingPush(x - placement_.X, y - placement_.Y)) {
      --placementCorrections_;
      SDL_SetWindowPosition(window_, placement_.X, placement_.Y);
      return;
    }
  }
  // Any other move is the player's (or the desktop's): it is left alone,
  // and the place is noted as the player's window.
  holdPlacement_ = false;
  PlaceChanged();
}

void TSdlWindow::PlaceChanged() {
  StartPlacementHold();
  plainPlace_.Observe(CurrentPlace(), IsPlain(), SDL_GetTicks64());
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

void TSdlWindow::Reshaped() { sendWhole_ = true; }

TRect TSdlWindow::OutputRect(TSize output, const TRect& dest) {
  const TRect place = FitPicture(output, kPicture);
  auto x = [&](int v) {
    return place.Left + static_cast<int>(static_cast<int64_t>(v) * place.Width() / kClientWidth);
  };
  auto y = [&](int v) {
    return place.Top + static_cast<int>(static_cast<int64_t>(v) * place.Height() / kClientHeight);
  };
  return TRect{x(dest.Left), y(dest.Top), x(dest.Right), y(dest.Bottom)};
}

TPoint TSdlWindow::ToPicture(int x, int y) const {
  int w = kClientWidth, h = kClientHeight;
  SDL_GetWindowSize(window_, &w, &h);
  return OutputToPicture(x, y, FitPicture({w, h}, kPicture), kPicture);
}

void TSdlWindow::Present(const SDL_Surface* backBuffer, const TRect& dest, bool waitVBlank) {
  if (renderer_ != nullptr)
    PresentOnGpu(backBuffer, dest, waitVBlank);
  else
    PresentOnProcessor(backBuffer, dest);
}

void TSdlWindow::PresentOnGpu(const SDL_Surface* backBuffer, const TRect& dest, bool waitVBlank) {
  // A GL renderer really waits for the display's refresh, which is asked
  // for in full screen only: a window shares the display with the desktop's
  // compositor, and there the frame timer alone paces the game as it does
  // on the processor path.
  const bool vsync = waitVBlank && IsFullScreen();
  if (vsync != vsync_) {
    SDL_RenderSetVSync(renderer_, vsync ? 1 : 0);
    vsync_ = vsync;
  }
  if (texture_ == nullptr || textureW_ != backBuffer->w || textureH_ != backBuffer->h) {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 backBuffer->w, backBuffer->h);
    if (texture_ == nullptr) return;
    textureW_ = backBuffer->w;
    textureH_ = backBuffer->h;
  }
  SDL_UpdateTexture(texture_, nullptr, backBuffer->pixels, backBuffer->pitch);
  SDL_RenderClear(renderer_);
  int w = kClientWidth, h = kClientHeight;
  SDL_GetRendererOutputSize(renderer_, &w, &h);
  const TRect r = OutputRect({w, h}, dest);
  const SDL_Rect d{r.Left, r.Top, r.Width(), r.Height()};
  SDL_RenderCopy(renderer_, texture_, nullptr, &d);
  SDL_RenderPresent(renderer_);
}

void TSdlWindow::PresentOnProcessor(const SDL_Surface* backBuffer, const TRect& dest) {
  // The window's frame buffer has no wait for the display's refresh: the
  // picture goes out at once, paced by the frame timer alone.
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr) return;
  const TSize size{surface->w, surface->h};
  const TRect r = OutputRect(size, dest);
  const SDL_Rect d{r.Left, r.Top, r.Width(), r.Height()};
  if (surface != lastSurface_ || size != lastSurfaceSize_ || r != lastPlace_) {
    // A new surface or place: the bars are black once, then left alone.
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    lastSurface_ = surface;
    lastSurfaceSize_ = size;
    lastPlace_ = r;
    sendWhole_ = true;
  }
  if (surface->format->BytesPerPixel == 4 && surface->format->format == backBuffer->format->format &&
      SDL_LockSurface(surface) == 0) {
    uint32_t* to =
        static_cast<uint32_t*>(surface->pixels) + static_cast<size_t>(r.Top) * (surface->pitch / 4) + r.Left;
    scaler_.Scale(static_cast<const uint32_t*>(backBuffer->pixels),
                  static_cast<size_t>(backBuffer->pitch / 4), {backBuffer->w, backBuffer->h}, to,
                  static_cast<size_t>(surface->pitch / 4), {r.Width(), r.Height()});
    SDL_UnlockSurface(surface);
  } else {
    // A frame buffer of another pixel format: SDL converts (slowly, but no
    // desktop of today has one).
    SDL_Rect to = d;
    SDL_BlitScaled(const_cast<SDL_Surface*>(backBuffer), nullptr, surface, &to);
  }
  if (sendWhole_) {
    SDL_UpdateWindowSurface(window_);
    sendWhole_ = false;
  } else {
    SDL_UpdateWindowSurfaceRects(window_, &d, 1);
  }
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

// ---- message box ----

void TSdlMessageBox::Show(const std::string& utf8Title, const std::string& utf8Text) {
  std::fprintf(stderr, "%s: %s\n", utf8Title.c_str(), utf8Text.c_str());
  SDL_Window* parent = window_ != nullptr ? window_->Sdl() : nullptr;
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Title.c_str(), utf8Text.c_str(), parent) !=
          0 &&
      parent != nullptr) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Title.c_str(), utf8Text.c_str(), nullptr);
  }
}

// ---- shell ----

TSdlShell::~TSdlShell() { Reap(); }

void TSdlShell::Reap() {
  // Openers normally hand over to the desktop and exit at once.
  children_.erase(std::remove_if(children_.begin(), children_.end(),
                                 [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; }),
                  children_.end());
}

bool TSdlShell::Open(const std::string& target) {
  Reap();
  std::string program = "xdg-open";
  std::string argument = target;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "xdg-open could not be started for %s\n", target.c_str());
    return false;
  }
  children_.push_back(pid);
  return true;
}

// ---- the whole platform ----

TSdlPlatform::TSdlPlatform() {
  // The close button is the game's to handle; only a real quit (a signal,
  // the session ending) ends the program at once.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
    throw SdlError("The display cannot be opened");
  try {
    window_ = std::make_unique<TSdlWindow>();
  } catch (...) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    throw;
  }
  // Game controllers are welcome but not needed.
  controllersUp_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!controllersUp_) std::fprintf(stderr, "Game controllers are not available: %s\n", SDL_GetError());
  events_ = std::make_unique<TSdlEvents>(clock_, *window_);
  messageBox_ = std::make_unique<TSdlMessageBox>(window_.get());
  SDL_StartTextInput();
}

TSdlPlatform::~TSdlPlatform() {
  audio_.Close();
  messageBox_.reset();
  events_.reset();
  if (controllersUp_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  window_.reset();
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

Platform TSdlPlatform::Get() {
  Platform p;
  p.clock = &clock_;
  p.events = events_.get();
  p.window = window_.get();
  p.messageBox = messageBox_.get();
  p.shell = &shell_;
  p.audio = &audio_;
  return p;
}

}  // namespace bd
