#include "frontend/overlays/Question.h"

#include "engine/images/PictureCollection.h"
#include "frontend/FrontEndHost.h"
#include "frontend/KeyFocus.h"
#include "frontend/MenuSprites.h"

namespace bd {
namespace {

constexpr int kLeftButton = 1;

}  // namespace

bool TQuestion::PadKeyDown(int key, uint8_t shift) { return PadBackAsEscape(host_, key, shift); }

void TQuestion::PointerMove(int x, int y) { HoverItems(host_, Answers(), x, y, RearmsHoverSound()); }

bool TQuestion::PointerDown(int button) {
  if (button != kLeftButton && !AnyButtonAnswers()) return false;
  return ClickItems(host_, Answers(), host_.PointerX(), host_.PointerY());
}

std::vector<TItem> TQuestion::FocusItems() const {
  const std::span<const TItem> answers = Answers();
  return {answers.begin(), answers.end()};
}

void TQuestion::FramePlace(double& x, double& y) const {
  TPictureCollectionItem& image = MenuImage(host_, pic::QuestionFrame);
  x = (host_.DisplayWidth() - image.Width()) / 2.0;
  y = (host_.DisplayHeight() - image.Height()) / 2.0 - 5;
}

void TQuestion::RemovePictures() {
  TSprite& engine = EngineRoot(host_);
  KillAll<TMenu>(engine);
  KillAll<TMenuGame>(engine);
}

}  // namespace bd
