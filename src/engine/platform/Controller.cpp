#include "engine/platform/Controller.h"

#include <algorithm>

namespace bd {
namespace {

// Controls that hold keys are numbered: buttons by their own number, each
// direction of an axis after them.
int StickControl(PadAxis axis, int direction) {
  return 100 + 2 * static_cast<int>(axis) + (direction > 0 ? 1 : 0);
}

// The keys of the two directions of a stick axis; 0 for axes that drive nothing.
int StickKey(PadAxis axis, int direction) {
  switch (axis) {
    case PadAxis::LeftX:
      return direction < 0 ? vk::Left : vk::Right;
    case PadAxis::LeftY:
      return direction < 0 ? vk::Up : vk::Down;
    default:
      return 0;
  }
}

PlatformEvent KeyEvent(PlatformEvent::Type type, int key, uint8_t shift, bool repeat) {
  PlatformEvent e;
  e.type = type;
  e.Key = key;
  e.Shift = shift;
  e.Repeat = repeat;
  e.FromPad = true;
  return e;
}

}  // namespace

int KeyForPadButton(PadButton button) {
  switch (button) {
    case PadButton::A:
      return vk::Return;
    case PadButton::B:
      return vk::Control;
    case PadButton::X:
      return vk::Space;
    case PadButton::Start:
      return 'P';
    case PadButton::Back:
      return vk::Escape;
    case PadButton::DPadUp:
      return vk::Up;
    case PadButton::DPadDown:
      return vk::Down;
    case PadButton::DPadLeft:
      return vk::Left;
    case PadButton::DPadRight:
      return vk::Right;
    default:
      return 0;
  }
}

void TControllerTranslator::Translate(const ControllerInput& input, uint32_t nowMs, uint8_t keyboardShift,
                                      std::deque<PlatformEvent>& out) {
  using T = ControllerInput::Type;
  switch (input.type) {
    case T::ButtonDown:
      if (const int key = KeyForPadButton(input.Button); key != 0)
        Press(input.Device, static_cast<int>(input.Button), key, nowMs, keyboardShift, out);
      break;
    case T::ButtonUp:
      Release(input.Device, static_cast<int>(input.Button), keyboardShift, out);
      break;
    case T::Axis:
      MoveStick(input.Device, input.Axis, input.Value, nowMs, keyboardShift, out);
      break;
    case T::Removed:
      Unplug(input.Device, keyboardShift, out);
      break;
  }
}

bool TControllerTranslator::Holds(int key) const {
  return std::any_of(holds_.begin(), holds_.end(), [key](const Hold& h) { return h.key == key; });
}

uint8_t TControllerTranslator::Shift() const { return Holds(vk::Control) ? ssCtrl : 0; }

void TControllerTranslator::Press(int device, int control, int key, uint32_t nowMs, uint8_t keyboardShift,
                                  std::deque<PlatformEvent>& out) {
  const auto same = [&](const Hold& h) { return h.device == device && h.control == control; };
  if (std::any_of(holds_.begin(), holds_.end(), same)) return;
  // Two controls on the same key (the d-pad and the stick, two pads) hold it
  // together: it goes down with the first and up with the last.
  const bool alreadyHeld = Holds(key);
  holds_.push_back({device, control, key});
  if (alreadyHeld) return;
  out.push_back(KeyEvent(PlatformEvent::Type::KeyDown, key, Shift() | keyboardShift, false));
  repeatKey_ = key;
  repeatAt_ = nowMs + kRepeatDelayMs;
}

void TControllerTranslator::Release(int device, int control, uint8_t keyboardShift,
                                    std::deque<PlatformEvent>& out) {
  const auto it = std::find_if(holds_.begin(), holds_.end(),
                               [&](const Hold& h) { return h.device == device && h.control == control; });
  if (it == holds_.end()) return;
  const int key = it->key;
  holds_.erase(it);
  if (Holds(key)) return;
  out.push_back(KeyEvent(PlatformEvent::Type::KeyUp, key, Shift() | keyboardShift, false));
  if (repeatKey_ == key) repeatKey_ = 0;
}

void TControllerTranslator::MoveStick(int device, PadAxis axis, int value, uint32_t nowMs,
                                      uint8_t keyboardShift, std::deque<PlatformEvent>& out) {
  if (StickKey(axis, -1) == 0) return;
  auto it = std::find_if(sticks_.begin(), sticks_.end(),
                         [&](const StickState& s) { return s.device == device && s.axis == axis; });
  if (it == sticks_.end()) it = sticks_.insert(sticks_.end(), StickState{device, axis, 0});

  int direction = it->direction;
  // Leaving a direction takes a return close to the centre ...
  if ((direction < 0 && value > -kStickRelease) || (direction > 0 && value < kStickRelease)) direction = 0;
  // ... entering one takes a firm push; a flick straight across does both.
  if (direction == 0 && value <= -kStickPress) direction = -1;
  if (direction == 0 && value >= kStickPress) direction = 1;
  if (direction == it->direction) return;

  const int old = it->direction;
  it->direction = direction;
  if (old != 0) Release(device, StickControl(axis, old), keyboardShift, out);
  if (direction != 0)
    Press(device, StickControl(axis, direction), StickKey(axis, direction), nowMs, keyboardShift, out);
}

void TControllerTranslator::Unplug(int device, uint8_t keyboardShift, std::deque<PlatformEvent>& out) {
  std::vector<Hold> gone;
  for (const Hold& h : holds_)
    if (h.device == device) gone.push_back(h);
  for (const Hold& h : gone) Release(h.device, h.control, keyboardShift, out);
  std::erase_if(sticks_, [device](const StickState& s) { return s.device == device; });
}

void TControllerTranslator::ReleaseAll(uint8_t keyboardShift, std::deque<PlatformEvent>& out) {
  const std::vector<Hold> all = holds_;
  for (const Hold& h : all) Release(h.device, h.control, keyboardShift, out);
  // A stick still pushed when the focus comes back presses its key again
  // with its next movement.
  sticks_.clear();
}

void TControllerTranslator::Repeat(uint32_t nowMs, uint8_t keyboardShift, std::deque<PlatformEvent>& out) {
  if (repeatKey_ == 0 || static_cast<int32_t>(nowMs - repeatAt_) < 0) return;
  out.push_back(KeyEvent(PlatformEvent::Type::KeyDown, repeatKey_, Shift() | keyboardShift, true));
  repeatAt_ += kRepeatIntervalMs;
  // A late caller gets one repeat, not a burst of them.
  if (static_cast<int32_t>(nowMs - repeatAt_) >= 0) repeatAt_ = nowMs + kRepeatIntervalMs;
}

std::optional<uint32_t> TControllerTranslator::NextRepeat() const {
  if (repeatKey_ == 0) return std::nullopt;
  return repeatAt_;
}

}  // namespace bd
