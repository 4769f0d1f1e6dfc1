#include "frontend/KeyFocus.h"

#include <algorithm>
#include <iterator>

#include "app/MainForm.h"
#include "engine/display/Canvas.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/Questions.h"
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
void Show(TMainForm& form, const TItem& item, bool sound) {
  if (item.kind == Kind::ExitButton) return;
  KillAll<TMenuGame>(EngineRoot(form));
  if (item.HasFrame()) {
    if (sound) HoverSound(form);
    return;
  }
  form.HoverSoundArmed = sound;
  form.Screen().PointerMove(CentreX(item.Click), CentreY(item.Click));
}

// What a click on the item does.
void Act(TMainForm& form, const TItem& item) {
  if (item.kind == Kind::ExitButton) {
    // The exit screen's buttons go by where a press is, not by the pointer.
    form.Screen().PointerDown(1, CentreX(item.Click), CentreY(item.Click));
  } else if (item.Action != nullptr) {
    item.Action(form);
  }
}

}  // namespace

int FocusStep(int key) {
  if (key == vk::Up || key == vk::Left) return -1;
  if (key == vk::Down || key == vk::Right) return 1;
  return 0;
}

std::vector<TItem> FocusItems(const TMainForm& form) {
  // The race answers its own question (the race screen's items).
  if (form.QuestionOpen() && form.CurrentScreen != screen::Race) {
    const std::span<const TItem> answers = form.GameMainExit.Checked ? ExitAnswers() : ClearAnswers();
    return {answers.begin(), answers.end()};
  }
  return form.Screen().FocusItems();
}

bool FocusedItem(const TMainForm& form, TItem& item) {
  // Most frames nothing has the keys' focus: no list to build then.
  if (form.KeyFocus < 0) return false;
  const std::vector<TItem> items = FocusItems(form);
  if (form.KeyFocus < 0 || form.KeyFocus >= static_cast<int>(items.size())) return false;
  item = items[static_cast<size_t>(form.KeyFocus)];
  return true;
}

bool MoveKeyFocus(TMainForm& form, int step) {
  const std::vector<TItem> items = FocusItems(form);
  if (items.empty()) return false;
  const int count = static_cast<int>(items.size());
  int& focus = form.KeyFocus;
  if (focus < 0 || focus >= count)
    focus = step > 0 ? 0 : count - 1;
  else
    focus = ((focus + step) % count + count) % count;
  const TItem& item = items[static_cast<size_t>(focus)];
  // The name field focused is the name being typed, as at the start.
  if (form.CurrentScreen == screen::GameOver && item.kind == Kind::Field) form.GamegoEdit.Checked = true;
  Show(form, item, true);
  return true;
}

bool ChooseWithKeys(TMainForm& form, int direction) {
  TItem item;
  if (!FocusedItem(form, item) || item.kind != Kind::Choices) return false;
  const THitRect& wanted = direction < 0 ? item.Left : item.Right;
  // Only the choice not taken answers a click.
  if (CentreX(wanted) == CentreX(item.Click)) ActivateKeyFocus(form);
  return true;
}

bool ActivateKeyFocus(TMainForm& form) {
  TItem item;
  if (!FocusedItem(form, item)) return false;
  const int focus = form.KeyFocus;
  const uint8_t shown = form.CurrentScreen;
  const bool asked = form.QuestionOpen();
  const size_t count = FocusItems(form).size();
  form.KeyFocus = -1;
  Act(form, item);
  // Where the click left the same items on screen (a page turned, an option
  // changed, a file opened) the focus stays; elsewhere it starts afresh.
  if (form.CurrentScreen != shown || form.QuestionOpen() != asked || form.Application.Terminated()) return true;
  const std::vector<TItem> after = FocusItems(form);
  if (after.size() != count) return true;
  form.KeyFocus = focus;
  Show(form, after[static_cast<size_t>(focus)], false);
  return true;
}

void DrawKeyFocusFrame(const TMainForm& form, TCanvas& canvas) {
  TItem item;
  if (!FocusedItem(form, item) || !item.HasFrame()) return;
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
