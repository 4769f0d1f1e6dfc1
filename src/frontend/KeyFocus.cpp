#include "frontend/KeyFocus.h"

#include "app/MainForm.h"

namespace bd {
namespace {

constexpr THitRect kMenuColumn[] = {
    hit::StartGame, hit::Options, hit::HighScore, hit::Help, hit::VisitWebSiteMenuClick, hit::Exit, hit::FggMenuClick,
};
constexpr THitRect kAnswers[] = {hit::Yes, hit::No};
constexpr THitRect kHelpButtons[] = {hit::PanelLeft, hit::PanelBack, hit::PanelRightClick};
constexpr THitRect kTableButtons[] = {hit::PanelLeft, hit::HighScoreBackClick, hit::PanelRightClick};

int CentreX(const THitRect& r) { return (r.Left + r.Right) / 2; }
int CentreY(const THitRect& r) { return (r.Top + r.Bottom) / 2; }

// Runs `act` as if the pointer stood at the centre of `item`, then puts the
// pointer back where the player left it: the real pointer has not moved, and
// its next click acts where it is.
template <class TAct>
void AtItem(TMainForm& form, const THitRect& item, TAct act) {
  const int32_t x = form.PointerX, y = form.PointerY;
  const bool inWindow = form.PointerInWindow;
  form.PointerX = CentreX(item);
  form.PointerY = CentreY(item);
  act(form.PointerX, form.PointerY);
  form.PointerX = x;
  form.PointerY = y;
  form.PointerInWindow = inWindow;
}

}  // namespace

std::vector<THitRect> FocusItems(const TMainForm& form) {
  if (form.QuestionOpen() && form.CurrentScreen != screen::Race)
    return {std::begin(kAnswers), std::end(kAnswers)};
  switch (form.CurrentScreen) {
    case screen::MainMenu:
      return {std::begin(kMenuColumn), std::end(kMenuColumn)};
    case screen::Help:
      return {std::begin(kHelpButtons), std::end(kHelpButtons)};
    case screen::HighScores:
      return {std::begin(kTableButtons), std::end(kTableButtons)};
    case screen::Race:
      if (form.GameMainExit.Checked) return {std::begin(kAnswers), std::end(kAnswers)};
      return {};
    default:
      return {};
  }
}

bool MoveKeyFocus(TMainForm& form, int step) {
  const std::vector<THitRect> items = FocusItems(form);
  if (items.empty()) return false;
  const int count = static_cast<int>(items.size());
  int& focus = form.KeyFocus;
  if (focus < 0 || focus >= count)
    focus = step > 0 ? 0 : count - 1;
  else
    focus = ((focus + step) % count + count) % count;
  const THitRect item = items[static_cast<size_t>(focus)];
  // The hover of that item, highlight and sound, as the pointer makes it on
  // coming onto an item.
  const int kept = focus;
  form.HoverSoundArmed = true;
  AtItem(form, item, [&form](int x, int y) { form.DXDrawMouseMove(0, x, y); });
  form.KeyFocus = kept;
  return true;
}

bool ActivateKeyFocus(TMainForm& form) {
  const std::vector<THitRect> items = FocusItems(form);
  const int focus = form.KeyFocus;
  if (focus < 0 || focus >= static_cast<int>(items.size())) return false;
  const THitRect item = items[static_cast<size_t>(focus)];
  // What the click does may change the screen: the focus starts afresh there.
  form.KeyFocus = -1;
  AtItem(form, item, [&form](int x, int y) { form.DXDrawMouseDown(1, 0, x, y); });
  return true;
}

}  // namespace bd
