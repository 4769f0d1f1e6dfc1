#include "engine/platform/sdl/SdlPlatform.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "codec/Cp1251.h"
#include "engine/platform/sdl/SdlKeys.h"

extern char** environ;

namespace bd {
namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 600;

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
      out.type = T::MouseMove;
      out.X = e.motion.x;
      out.Y = e.motion.y;
      out.Shift = ShiftFlagsFromMod(static_cast<uint16_t>(SDL_GetModState()));
      pending_.push_back(out);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      out.type = e.type == SDL_MOUSEBUTTONDOWN ? T::MouseDown : T::MouseUp;
      out.X = e.button.x;
      out.Y = e.button.y;
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
                             SDL_WINDOW_HIDDEN);
  if (window_ == nullptr) throw SdlError("The game window cannot be created");
  // The picture is composed in main memory and, in a window, shown as it
  // is: SDL's software renderer on the window's plain frame buffer does that
  // with a few copies per frame and without a graphics driver in the
  // process. A GL renderer costs tens of megabytes of driver and, on a
  // machine without a GPU, a software rasteriser that keeps a core busier
  // than the whole game does. SDL_RENDER_DRIVER and
  // SDL_FRAMEBUFFER_ACCELERATION in the environment still choose otherwise.
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) {
    SDL_DestroyWindow(window_);
    throw SdlError("The game window cannot be drawn on");
  }
  SDL_RendererInfo info{};
  softwareRenderer_ = SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  // The picture is always 800 x 600; a larger output (full screen on a
  // bigger mode or the desktop) scales it and letter-boxes it to 4:3, and
  // pointer positions come back in picture coordinates.
  SDL_RenderSetLogicalSize(renderer_, kClientWidth, kClientHeight);
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  cursors_[0] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  cursors_[1] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
  cursors_[2] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_IBEAM);
}

TSdlWindow::~TSdlWindow() {
  for (SDL_Cursor* c : cursors_)
    if (c != nullptr) SDL_FreeCursor(c);
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  SDL_DestroyRenderer(renderer_);
  SDL_DestroyWindow(window_);
}

void TSdlWindow::Show() {
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

void TSdlWindow::SavePlacement() {
  SDL_GetWindowPosition(window_, &placement_.x, &placement_.y);
  SDL_GetWindowSize(window_, &placement_.w, &placement_.h);
  placementSaved_ = true;
  holdPlacementUntil_ = 0;
}

void TSdlWindow::RestorePlacement() {
  if (!placementSaved_) return;
  SDL_SetWindowSize(window_, placement_.w, placement_.h);
  SDL_SetWindowPosition(window_, placement_.x, placement_.y);
  // The window is still without its frame here (it comes back with the
  // windowed display), and a window manager that keeps the frame's corner
  // in place then pushes the window down and right by the frame's size, at
  // every return from full screen. Such a move is undone when it arrives,
  // by which time the size of the frame is known.
  holdPlacementUntil_ = SDL_GetTicks64() + kHoldPlacementMs;
  placementCorrections_ = kPlacementCorrections;
}

void TSdlWindow::Moved() {
  if (holdPlacementUntil_ == 0) return;
  if (IsFullScreen() || SDL_GetTicks64() > holdPlacementUntil_ || placementCorrections_ == 0) {
    holdPlacementUntil_ = 0;
    return;
  }
  int x = 0, y = 0;
  SDL_GetWindowPosition(window_, &x, &y);
  if (x == placement_.x && y == placement_.y) return;
  --placementCorrections_;
  SDL_SetWindowPosition(window_, placement_.x, placement_.y);
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

bool TSdlWindow::SetFullScreen(const DisplayMode* mode) {
  if (mode == nullptr) {
    if (IsFullScreen() && SDL_SetWindowFullscreen(window_, 0) != 0) return false;
    SDL_SetWindowSize(window_, kClientWidth, kClientHeight);
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

void TSdlWindow::Present(const SDL_Surface* backBuffer, const TRect& dest, bool waitVBlank) {
  // Asked to wait for the refresh, SDL's software renderer, which cannot,
  // sleeps whole milliseconds until a 60th of a second after the previous
  // picture instead: that holds every frame back past the moment the frame
  // timer set for the next one. It presents at once; only a renderer on the
  // display's own refresh waits.
  const bool vsync = waitVBlank && !softwareRenderer_;
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
  const SDL_Rect d{dest.Left, dest.Top, dest.Width(), dest.Height()};
  SDL_RenderCopy(renderer_, texture_, nullptr, &d);
  SDL_RenderPresent(renderer_);
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
  int wx = x, wy = y;
  SDL_RenderLogicalToWindow(renderer_, static_cast<float>(x), static_cast<float>(y), &wx, &wy);
  SDL_WarpMouseInWindow(window_, wx, wy);
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
