// Game controllers through the headless platform: what a pad does must come
// out as exactly the key events the keyboard gives for the same play.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "engine/platform/Controller.h"
#include "engine/platform/headless/Headless.h"

namespace bd {
namespace {

using In = ControllerInput;
using B = PadButton;
using A = PadAxis;
using Step = std::variant<In, PlatformEvent>;

PlatformEvent Down(int key, uint8_t shift = 0, bool repeat = false) {
  PlatformEvent e;
  e.type = PlatformEvent::Type::KeyDown;
  e.Key = key;
  e.Shift = shift;
  e.Repeat = repeat;
  return e;
}

PlatformEvent Up(int key, uint8_t shift = 0) {
  PlatformEvent e = Down(key, shift);
  e.type = PlatformEvent::Type::KeyUp;
  return e;
}

std::string Describe(const PlatformEvent& e) {
  std::string s = e.type == PlatformEvent::Type::KeyDown ? "down "
                  : e.type == PlatformEvent::Type::KeyUp ? "up "
                                                         : "other ";
  s += std::to_string(e.Key);
  if (e.Shift & ssCtrl) s += "+ctrl";
  if (e.Shift & ssAlt) s += "+alt";
  if (e.Repeat) s += " repeat";
  return s;
}

// Every event the source delivers now.
std::vector<std::string> Drain(THeadlessEvents& events) {
  std::vector<std::string> out;
  PlatformEvent e;
  while (events.Poll(e)) out.push_back(Describe(e));
  return out;
}

std::vector<std::string> Played(const std::vector<Step>& script) {
  THeadlessClock clock;
  THeadlessEvents events(clock);
  for (const Step& s : script) {
    if (const auto* pad = std::get_if<In>(&s))
      events.Pad(*pad);
    else
      events.Push(std::get<PlatformEvent>(s));
  }
  return Drain(events);
}

std::vector<std::string> Typed(const std::vector<PlatformEvent>& keys) {
  std::vector<std::string> out;
  for (const PlatformEvent& e : keys) out.push_back(Describe(e));
  return out;
}

struct Case {
  const char* what;
  std::vector<Step> pad;
  std::vector<PlatformEvent> keyboard;
};

TEST(Controller, PadPlaysAsTheKeyboard) {
  constexpr int kPad = 3, kOther = 7;
  const Case cases[] = {
      {"A is Enter", {In::Press(kPad, B::A), In::Release(kPad, B::A)}, {Down(13), Up(13)}},
      {"X is Space", {In::Press(kPad, B::X), In::Release(kPad, B::X)}, {Down(32), Up(32)}},
      {"Start is P", {In::Press(kPad, B::Start), In::Release(kPad, B::Start)}, {Down('P'), Up('P')}},
      {"Back is Escape", {In::Press(kPad, B::Back), In::Release(kPad, B::Back)}, {Down(27), Up(27)}},
      {"d-pad is the arrows",
       {In::Press(kPad, B::DPadLeft), In::Press(kPad, B::DPadUp), In::Release(kPad, B::DPadLeft),
        In::Press(kPad, B::DPadRight), In::Press(kPad, B::DPadDown), In::Release(kPad, B::DPadUp),
        In::Release(kPad, B::DPadRight), In::Release(kPad, B::DPadDown)},
       {Down(37), Down(38), Up(37), Down(39), Down(40), Up(38), Up(39), Up(40)}},
      {"B is Ctrl, held with its own key-down",
       {In::Press(kPad, B::B), In::Release(kPad, B::B)},
       {Down(17, ssCtrl), Up(17)}},
      {"keys pressed while B is held come with Ctrl",
       {In::Press(kPad, B::B), In::Press(kPad, B::DPadUp), In::Release(kPad, B::DPadUp), Down(13),
        In::Release(kPad, B::B), In::Press(kPad, B::A)},
       {Down(17, ssCtrl), Down(38, ssCtrl), Up(38, ssCtrl), Down(13, ssCtrl), Up(17), Down(13)}},
      {"the keyboard's own modifiers stay",
       {In::Press(kPad, B::B), Down(13, ssAlt)},
       {Down(17, ssCtrl), Down(13, ssAlt | ssCtrl)}},
      {"controls without a key do nothing",
       {In::Press(kPad, B::Y), In::Press(kPad, B::Guide), In::Press(kPad, B::LeftShoulder),
        In::Press(kPad, B::RightStick), In::Release(kPad, B::Y), In::Move(kPad, A::RightX, -32768),
        In::Move(kPad, A::TriggerRight, 32767), In::Release(kPad, B::A)},
       {}},
      {"a second press of a held button is no new key",
       {In::Press(kPad, B::A), In::Press(kPad, B::A)},
       {Down(13)}},
      {"stick: dead zone, firm push, hysteresis, release near the centre",
       {In::Move(kPad, A::LeftX, -12000), In::Move(kPad, A::LeftX, -20000), In::Move(kPad, A::LeftX, -10000),
        In::Move(kPad, A::LeftX, -16000), In::Move(kPad, A::LeftX, -8000), In::Move(kPad, A::LeftX, 15999),
        In::Move(kPad, A::LeftX, 16000), In::Move(kPad, A::LeftX, 9000), In::Move(kPad, A::LeftX, 0)},
       {Down(37), Up(37), Down(39), Up(39)}},
      {"stick flicked straight across",
       {In::Move(kPad, A::LeftX, 32767), In::Move(kPad, A::LeftX, -32768), In::Move(kPad, A::LeftX, 0)},
       {Down(39), Up(39), Down(37), Up(37)}},
      {"stick up and down, diagonals on both axes",
       {In::Move(kPad, A::LeftY, -30000), In::Move(kPad, A::LeftX, 30000), In::Move(kPad, A::LeftY, 30000),
        In::Move(kPad, A::LeftY, 0), In::Move(kPad, A::LeftX, 0)},
       {Down(38), Down(39), Up(38), Down(40), Up(40), Up(39)}},
      {"d-pad and stick on one arrow hold it together",
       {In::Press(kPad, B::DPadLeft), In::Move(kPad, A::LeftX, -30000), In::Release(kPad, B::DPadLeft),
        In::Move(kPad, A::LeftX, 0)},
       {Down(37), Up(37)}},
      {"two pads share a key; unplugging one keeps it held",
       {In::Press(kPad, B::A), In::Press(kOther, B::A), In::Unplugged(kPad), In::Release(kOther, B::A)},
       {Down(13), Up(13)}},
      {"unplugging lets go of everything the pad held",
       {In::Press(kPad, B::B), In::Move(kPad, A::LeftX, -30000), In::Press(kOther, B::X), In::Unplugged(kPad),
        In::Release(kOther, B::X)},
       {Down(17, ssCtrl), Down(37, ssCtrl), Down(32, ssCtrl), Up(17), Up(37), Up(32)}},
  };
  for (const Case& c : cases) EXPECT_EQ(Played(c.pad), Typed(c.keyboard)) << c.what;
}

// A held control repeats like a held key: the last one pressed, after a
// delay, at a steady rate, until it is let go; a stick does the same.
TEST(Controller, HeldControlsRepeatLikeKeys) {
  THeadlessClock clock;
  THeadlessEvents events(clock);
  events.PadAt(0, In::Press(1, B::B));
  events.PadAt(600, In::Press(1, B::DPadUp));
  events.PadAt(1150, In::Release(1, B::B));
  events.PadAt(1160, In::Release(1, B::DPadUp));
  events.PadAt(1200, In::Move(1, A::LeftX, 20000));
  events.PadAt(1710, In::Move(1, A::LeftX, 0));

  std::vector<std::string> timeline;
  PlatformEvent e;
  while (clock.Milliseconds() < 3000) {
    while (events.Poll(e)) timeline.push_back(std::to_string(clock.Milliseconds()) + " " + Describe(e));
    events.WaitUntil(3000);
  }
  const std::vector<std::string> expected = {
      "0 down 17+ctrl",
      "500 down 17+ctrl repeat",
      "533 down 17+ctrl repeat",
      "566 down 17+ctrl repeat",
      "599 down 17+ctrl repeat",
      "600 down 38+ctrl",
      "1100 down 38+ctrl repeat",
      "1133 down 38+ctrl repeat",
      "1150 up 17",
      "1160 up 38",
      "1200 down 39",
      "1700 down 39 repeat",
      "1710 up 39",
  };
  EXPECT_EQ(timeline, expected);
}

// The same translator answers directly: a late caller gets one repeat, not
// a burst, and losing the focus lets go of every held control.
TEST(Controller, LateRepeatAndReleaseAll) {
  TControllerTranslator pads;
  std::deque<PlatformEvent> out;
  pads.Translate(In::Press(1, B::B), 0, 0, out);
  pads.Translate(In::Move(1, A::LeftY, 32767), 10, 0, out);
  EXPECT_EQ(pads.Shift(), ssCtrl);
  EXPECT_EQ(pads.NextRepeat(), 510u);
  out.clear();
  pads.Repeat(5000, 0, out);
  pads.Repeat(5000, 0, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(Describe(out[0]), "down 40+ctrl repeat");
  EXPECT_EQ(pads.NextRepeat(), 5033u);

  out.clear();
  pads.ReleaseAll(ssAlt, out);
  std::vector<std::string> released;
  for (const PlatformEvent& ev : out) released.push_back(Describe(ev));
  EXPECT_EQ(released, (std::vector<std::string>{"up 17+alt", "up 40+alt"}));
  EXPECT_EQ(pads.Shift(), 0);
  EXPECT_FALSE(pads.NextRepeat().has_value());
  // The stick, still pushed, presses its arrow again when it next moves.
  out.clear();
  pads.Translate(In::Move(1, A::LeftY, 32000), 6000, 0, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(Describe(out[0]), "down 40");
}

}  // namespace
}  // namespace bd
