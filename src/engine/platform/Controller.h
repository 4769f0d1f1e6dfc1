#pragma once
// Game controllers stand in for the keyboard. A controller's buttons and
// left stick are turned into the very key-down and key-up events the
// keyboard gives, with the same virtual-key codes, so every screen and the
// race's table of held keys work with a pad without knowing about it:
//
//   d-pad and left stick  arrows          A      Enter
//   X                     Space           B      Ctrl (fire)
//   Start                 P (pause)       Back   Escape
//
// Every event made here is marked as coming from a pad: off the race the
// game takes B as Escape (back, "Нет") and the d-pad as the name entry's
// letter wheel.
//
// The translator knows nothing of SDL; the SDL platform feeds it real pads
// and the headless platform scripted ones.

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "engine/platform/Platform.h"

namespace bd {

// The controls of a pad in the common console layout (numbered as SDL's
// game-controller buttons and axes are).
enum class PadButton : uint8_t {
  A,
  B,
  X,
  Y,
  Back,
  Guide,
  Start,
  LeftStick,
  RightStick,
  LeftShoulder,
  RightShoulder,
  DPadUp,
  DPadDown,
  DPadLeft,
  DPadRight,
};
enum class PadAxis : uint8_t { LeftX, LeftY, RightX, RightY, TriggerLeft, TriggerRight };

// One thing a pad did. Device tells pads apart (SDL's instance id).
struct ControllerInput {
  enum class Type { ButtonDown, ButtonUp, Axis, Removed };
  Type type = Type::ButtonDown;
  int Device = 0;
  PadButton Button = PadButton::A;
  PadAxis Axis = PadAxis::LeftX;
  int Value = 0;  // axis position, -32768 (left, up) .. 32767 (right, down)

  static ControllerInput Press(int device, PadButton b) { return {Type::ButtonDown, device, b, {}, 0}; }
  static ControllerInput Release(int device, PadButton b) { return {Type::ButtonUp, device, b, {}, 0}; }
  static ControllerInput Move(int device, PadAxis a, int value) { return {Type::Axis, device, {}, a, value}; }
  static ControllerInput Unplugged(int device) { return {Type::Removed, device, {}, {}, 0}; }
};

// The virtual key a button stands for, or 0 when it has none.
int KeyForPadButton(PadButton button);

class TControllerTranslator {
 public:
  // A stick direction counts as pressed beyond kStickPress and as released
  // again only inside kStickRelease: a stick resting off-centre or wobbling
  // around one threshold never chatters between pressed and released.
  static constexpr int kStickPress = 16000;
  static constexpr int kStickRelease = 9000;
  // A held control repeats its key-down as a held key does on a desktop
  // keyboard: the most recently pressed one, after a delay, at a steady rate.
  static constexpr uint32_t kRepeatDelayMs = 500;
  static constexpr uint32_t kRepeatIntervalMs = 33;

  // Appends the key events `input` causes at `nowMs`. `keyboardShift` holds
  // the keyboard's own modifier flags, merged into every event sent.
  void Translate(const ControllerInput& input, uint32_t nowMs, uint8_t keyboardShift,
                 std::deque<PlatformEvent>& out);
  // Appends the auto-repeat key-down that is due at `nowMs`, if any.
  void Repeat(uint32_t nowMs, uint8_t keyboardShift, std::deque<PlatformEvent>& out);
  // When the next auto-repeat is due; empty while nothing repeats.
  std::optional<uint32_t> NextRepeat() const;
  // Lets go of every held control (the window lost the focus): a key-up for
  // each key a pad was holding.
  void ReleaseAll(uint8_t keyboardShift, std::deque<PlatformEvent>& out);
  // The modifier flags pads hold now: Ctrl while a fire button is down. The
  // keyboard's events carry them too.
  uint8_t Shift() const;
  bool Holds(int key) const;

 private:
  // A control holding a key: a button, or one direction of one axis.
  struct Hold {
    int device;
    int control;
    int key;
  };
  struct StickState {
    int device;
    PadAxis axis;
    int direction;  // -1, 0, +1
  };
  void Press(int device, int control, int key, uint32_t nowMs, uint8_t keyboardShift,
             std::deque<PlatformEvent>& out);
  void Release(int device, int control, uint8_t keyboardShift, std::deque<PlatformEvent>& out);
  void MoveStick(int device, PadAxis axis, int value, uint32_t nowMs, uint8_t keyboardShift,
                 std::deque<PlatformEvent>& out);
  void Unplug(int device, uint8_t keyboardShift, std::deque<PlatformEvent>& out);

  std::vector<Hold> holds_;
  std::vector<StickState> sticks_;
  int repeatKey_ = 0;  // 0: nothing repeats
  uint32_t repeatAt_ = 0;
};

}  // namespace bd
