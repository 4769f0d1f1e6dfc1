#include "engine/platform/headless/Headless.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace bd {

void THeadlessEvents::Insert(Timed timed) {
  // Keep the queue ordered by time; events of the same moment stay in the
  // order they were pushed.
  const auto pos = std::find_if(queue_.begin(), queue_.end(),
                                [&](const Timed& t) { return static_cast<int32_t>(t.at - timed.at) > 0; });
  queue_.insert(pos, std::move(timed));
}

void THeadlessEvents::PushAt(uint32_t ms, const PlatformEvent& event) { Insert(Timed{ms, event, {}}); }

void THeadlessEvents::PadAt(uint32_t ms, const ControllerInput& input) { Insert(Timed{ms, {}, input}); }

void THeadlessEvents::KeyDown(int key, uint8_t shift, bool repeat) {
  PlatformEvent e;
  e.type = PlatformEvent::Type::KeyDown;
  e.Key = key;
  e.Shift = shift;
  e.Repeat = repeat;
  Push(e);
}

void THeadlessEvents::KeyUp(int key, uint8_t shift) {
  PlatformEvent e;
  e.type = PlatformEvent::Type::KeyUp;
  e.Key = key;
  e.Shift = shift;
  Push(e);
}

void THeadlessEvents::Char(uint8_t cp1251) {
  PlatformEvent e;
  e.type = PlatformEvent::Type::Char;
  e.Char = cp1251;
  Push(e);
}

void THeadlessEvents::MouseMove(int x, int y) {
  PlatformEvent e;
  e.type = PlatformEvent::Type::MouseMove;
  e.X = x;
  e.Y = y;
  Push(e);
}

void THeadlessEvents::PointerLeave() {
  PlatformEvent e;
  e.type = PlatformEvent::Type::PointerLeft;
  Push(e);
}

void THeadlessEvents::MouseDown(int x, int y, int button) {
  PlatformEvent e;
  e.type = PlatformEvent::Type::MouseDown;
  e.X = x;
  e.Y = y;
  e.Button = button;
  Push(e);
}

void THeadlessEvents::Activate(bool active) {
  PlatformEvent e;
  e.type = active ? PlatformEvent::Type::Activate : PlatformEvent::Type::Deactivate;
  Push(e);
}

void THeadlessEvents::CloseRequest() {
  PlatformEvent e;
  e.type = PlatformEvent::Type::CloseRequest;
  Push(e);
}

bool THeadlessEvents::Poll(PlatformEvent& event) {
  for (;;) {
    if (!translated_.empty()) {
      event = translated_.front();
      translated_.pop_front();
      return true;
    }
    const uint32_t now = clock_.Milliseconds();
    const bool scriptDue = !queue_.empty() && static_cast<int32_t>(queue_.front().at - now) <= 0;
    // A pad's auto-repeat takes its turn among the scripted events by time.
    if (const auto repeat = pads_.NextRepeat();
        repeat && static_cast<int32_t>(*repeat - now) <= 0 &&
        (!scriptDue || static_cast<int32_t>(*repeat - queue_.front().at) < 0)) {
      pads_.Repeat(now, 0, translated_);
      continue;
    }
    if (!scriptDue) return false;
    Timed next = std::move(queue_.front());
    queue_.pop_front();
    if (next.pad) {
      pads_.Translate(*next.pad, next.at, 0, translated_);
      continue;
    }
    event = next.event;
    // Keys typed while a pad holds its fire button come with Ctrl, as on the
    // real platform.
    if (event.type == PlatformEvent::Type::KeyDown || event.type == PlatformEvent::Type::KeyUp)
      event.Shift |= pads_.Shift();
    // A scripted key goes down when it is delivered, unless the script says
    // it was pressed earlier.
    if (event.type == PlatformEvent::Type::KeyDown && !event.PressedAt) event.PressedAt = next.at;
    return true;
  }
}

void THeadlessEvents::WaitUntil(uint32_t deadlineMs) {
  uint32_t target = deadlineMs;
  if (!queue_.empty() && static_cast<int32_t>(queue_.front().at - target) < 0) target = queue_.front().at;
  if (const auto repeat = pads_.NextRepeat(); repeat && static_cast<int32_t>(*repeat - target) < 0)
    target = *repeat;
  if (!translated_.empty()) target = clock_.Milliseconds();
  // Time always passes a little while waiting, and never runs backwards.
  if (static_cast<int32_t>(target - clock_.Milliseconds()) > 0)
    clock_.Set(target);
  else
    clock_.Advance(1);
}

THeadlessWindow::THeadlessWindow() {
  // What a common desktop offers.
  modes_ = {{640, 480, 32}, {800, 600, 32}, {1024, 768, 32}, {1280, 1024, 32}, {1920, 1080, 32}};
}

bool THeadlessWindow::SetFullScreen(const DisplayMode* mode) {
  if (mode == nullptr) {
    fullScreenMode_ = DisplayMode{};
    return true;
  }
  if (std::find(modes_.begin(), modes_.end(), *mode) == modes_.end()) return false;
  fullScreenMode_ = *mode;
  return true;
}

void THeadlessWindow::Present(const SDL_Surface* backBuffer, const TRect& dest, bool /*waitVBlank*/) {
  SDL_Rect d{dest.Left, dest.Top, dest.Width(), dest.Height()};
  auto* src = const_cast<SDL_Surface*>(backBuffer);
  SDL_Surface* screen = screen_.Sdl();
  if (d.x == 0 && d.y == 0 && d.w == screen->w && d.h == screen->h && backBuffer->w == screen->w &&
      backBuffer->h == screen->h && backBuffer->pitch == screen->pitch &&
      backBuffer->format->format == screen->format->format) {
    // The usual case, a back buffer of the window's size: one block copy.
    std::memcpy(screen->pixels, backBuffer->pixels, static_cast<size_t>(screen->pitch) * screen->h);
  } else if (d.w == backBuffer->w && d.h == backBuffer->h) {
    SDL_BlitSurface(src, nullptr, screen, &d);
  } else {
    SDL_BlitScaled(src, nullptr, screen, &d);
  }
  lastDest_ = dest;
  ++presentCount_;
}

bool THeadlessWindow::RestoreSurfaces() {
  if (lost_ && restorable_) lost_ = false;
  return !lost_;
}

void THeadlessMessageBox::Show(const std::string& utf8Title, const std::string& utf8Text) {
  messages_.push_back({utf8Title, utf8Text});
  std::fprintf(stderr, "[message box] %s: %s\n", utf8Title.c_str(), utf8Text.c_str());
}

}  // namespace bd
