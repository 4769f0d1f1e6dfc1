#include "engine/platform/sdl/SdlEvents.h"

#include <thread>
#include <tuple>
#include <utility>

#include "engine/platform/sdl/SdlKeys.h"
#include "engine/platform/sdl/SdlWindow.h"

namespace bd {
namespace {

// How long before a deadline the event wait hands over to a precise sleep;
// the event wait itself may wake a little late.
constexpr int kPreciseSleepMs = 2;

// A pointer position in the window as the game sees it, in the picture.
std::pair<int, int> PicturePosition(const TSdlWindow& window, int x, int y) {
  const TPoint p = window.ToPicture(x, y);
  return {p.X, p.Y};
}

}  // namespace

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

}  // namespace bd
