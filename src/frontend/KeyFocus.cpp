#include "frontend/KeyFocus.h"

#include <algorithm>
#include <iterator>

#include "engine/display/Canvas.h"
#include "frontend/FrontEndHost.h"
#include "frontend/MenuSprites.h"
#include "frontend/overlays/Question.h"
#include "frontend/screens/Screen.h"

namespace bd {
namespace {

using Kind = TItem::Kind;

// Bright against the options panel's blue and the name entry's cream.
constexpr uint32_t kFrameColor = 0x0000A5FF;  // 0x00BBGGRR: orange
constexpr int kFrameThickness = 3;

int CentreX(const THitRect& r) { return (r.Left + r.Right) / 2; }
int CentreY(const THitRect& r) { return (r.Top + r.Bottom) / 2; }

// Shows the focus on `item`: an item with a highlight picture shows it as
// the screen's hover over the item's middle does, with the hover sound when
// `sound` (the pointer itself stays where the player left it); any other
// item loses the pointer's highlights to its frame. The exit screen's frame
// hovers the focused button itself.
void Show(IFrontEndHost& host, const TItem& item, bool sound) {
  if (item.kind == Kind::ExitButton) return;
  KillAll<TMenuGame>(EngineRoot(host));
  if (item.HasFrame()) {
    if (sound) HoverSound(host);
    return;
  }
  host.HoverSoundArmed() = sound;
  host.HoverAt(CentreX(item.Click), CentreY(item.Click));
}

// What a click on the item does.
void Act(IFrontEndHost& host, const TItem& item) {
  if (item.kind == Kind::ExitButton) {
    // The exit screen's buttons go by where a press is, not by the pointer.
    host.Screen().PointerDown(1, CentreX(item.Click), CentreY(item.Click));
  } else if (item.Action != nullptr) {
    item.Action(host);
  }
}

}  // namespace

int FocusStep(int key) {
  if (key == vk::Up || key == vk::Left) return -1;
  if (key == vk::Down || key == vk::Right) return 1;
  return 0;
}

bool PadBackAsEscape(IFrontEndHost& host, int key, uint8_t shift) {
  if (key != vk::Control) return false;
  host.PressKey(vk::Escape, static_cast<uint8_t>(shift & ~ssCtrl));
  return true;
}

std::vector<TItem> FocusItems(IFrontEndHost& host) {
  if (TQuestion* question = host.OpenQuestion()) return question->FocusItems();
  return host.Screen().FocusItems();
}

bool FocusedItem(IFrontEndHost& host, TItem& item) {
  // Most frames nothing has the keys' focus: no list to build then.
  if (host.KeyFocus() < 0) return false;
  const std::vector<TItem> items = FocusItems(host);
  if (host.KeyFocus() < 0 || host.KeyFocus() >= static_cast<int>(items.size())) return false;
  item = items[static_cast<size_t>(host.KeyFocus())];
  return true;
}

bool MoveKeyFocus(IFrontEndHost& host, int step) {
  const std::vector<TItem> items = FocusItems(host);
  if (items.empty()) return false;
  const int count = static_cast<int>(items.size());
  int& focus = host.KeyFocus();
  if (focus < 0 || focus >= count)
    focus = step > 0 ? 0 : count - 1;
  else
    focus = ((focus + step) % count + count) % count;
  const TItem& item = items[static_cast<size_t>(focus)];
  // Where the screen says so (the game-over screen's name), the field
  // focused is the field being typed into, as at the start.
  if (item.kind == Kind::Field && host.Screen().FocusedFieldTakesTyping()) host.SetTyping(true);
  Show(host, item, true);
  return true;
}

bool ChooseWithKeys(IFrontEndHost& host, int direction) {
  TItem item;
  if (!FocusedItem(host, item) || item.kind != Kind::Choices) return false;
  const THitRect& wanted = direction < 0 ? item.Left : item.Right;
  // Only the choice not taken answers a click.
  if (CentreX(wanted) == CentreX(item.Click)) ActivateKeyFocus(host);
  return true;
}

bool ActivateKeyFocus(IFrontEndHost& host) {
  TItem item;
  if (!FocusedItem(host, item)) return false;
  const int focus = host.KeyFocus();
  const TScreen* shown = &host.Screen();
  const bool asked = host.QuestionOpen();
  const size_t count = FocusItems(host).size();
  host.KeyFocus() = -1;
  Act(host, item);
  // Where the click left the same items on screen (a page turned, an option
  // changed, a file opened) the focus stays; elsewhere it starts afresh.
  if (&host.Screen() != shown || host.QuestionOpen() != asked || host.Terminated()) return true;
  const std::vector<TItem> after = FocusItems(host);
  if (after.size() != count) return true;
  host.KeyFocus() = focus;
  Show(host, after[static_cast<size_t>(focus)], false);
  return true;
}

void DrawKeyFocusFrame(IFrontEndHost& host, TCanvas& canvas) {
  TItem item;
  if (!FocusedItem(host, item) || !item.HasFrame()) return;
  const THitRect& f = item.Frame;
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = kFrameColor;
  const int t = kFrameThickness;
  canvas.FillRect({f.Left, f.Top, f.Right + 1, f.Top + t});
  canvas.FillRect({f.Left, f.Bottom + 1 - t, f.Right + 1, f.Bottom + 1});
  canvas.FillRect({f.Left, f.Top, f.Left + t, f.Bottom + 1});
  canvas.FillRect({f.Right + 1 - t, f.Top, f.Right + 1, f.Bottom + 1});
  canvas.Brush.Style = TBrushStyle::bsClear;
}

}  // namespace bd
