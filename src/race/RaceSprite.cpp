#include "race/RaceSprite.h"

#include "engine/images/PictureCollection.h"

namespace bd {

bool OnTheRoad(const TSprite& sprite) { return dynamic_cast<const TRaceSprite*>(&sprite) != nullptr; }

TRaceSprite::TRaceSprite(IRaceHost& host) : TImageSprite(&host.Engine()), host_(host) {}

void TRaceSprite::UseImage(TPictureName name) {
  Image = &host_.FindImage(name);
  Width = Image->Width();
  Height = Image->Height();
}

void TRaceSprite::LoopAnimation(double speed) {
  FrameCount = Image->PatternTotal();
  FrameLoop = true;
  FrameSpeed = speed;
  FramePos = 0;
  FrameStart = 0;
}

void TRaceSprite::PlayOnce(double speed) {
  FrameCount = Image->PatternTotal();
  FrameLoop = false;
  FrameSpeed = speed;
  FramePos = 0;
}

double TRaceSprite::RandomLane(int32_t offset) const {
  const TRaceState& s = State();
  return s.RoadLeft + host_.Random(4) * s.LaneWidth + offset;
}

void TRaceSprite::ScrollWithRoad() {
  if (State().RaceRunning) Y += State().Speed;
}

}  // namespace bd
