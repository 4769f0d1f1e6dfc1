#include "race/PickupSprites.h"

#include <algorithm>

#include "race/CarSprites.h"
#include "race/MarkerSprites.h"
#include "race/RaceFlow.h"

namespace bd {

namespace {

constexpr int32_t kPickupLaneOffset = 55;
constexpr double kAboveThePicture = -40;
constexpr double kGoneAtY = 1000;
constexpr int32_t kChargesPerKit = 5;

}  // namespace

TPickupSprite::TPickupSprite(IRaceHost& host, TPictureName image, int32_t laneOffset, double y,
                             bool leavesAt1000)
    : TRaceSprite(host), leavesAt1000_(leavesAt1000) {
  UseImage(image);
  X = RandomLane(laneOffset);
  Y = y;
  ChangeZ(2);
  LoopAnimation(0.2);
}

void TPickupSprite::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  Collide();
  if (leavesAt1000_ && Y >= kGoneAtY) Kill();
  ScrollWithRoad();
}

void TPickupSprite::HandleCollision(TSprite& other, bool& /*done*/) {
  if (dynamic_cast<TCarSprite*>(&other) == nullptr) return;
  Collect();
}

TLiveSprite::TLiveSprite(IRaceHost& host) : TPickupSprite(host, pic::Life, 60, 25, true) {}

void TLiveSprite::Collect() {
  TRaceState& s = State();
  Host().PlaySound(snd::ExtraLife);
  Kill();
  ++s.Lives;
  s.Score += 20;
}

TMedicSprite::TMedicSprite(IRaceHost& host)
    : TPickupSprite(host, pic::Health, kPickupLaneOffset, kAboveThePicture, true) {}

void TMedicSprite::Collect() {
  TRaceState& s = State();
  Host().PlaySound(snd::Beep);
  Kill();
  s.Health = std::min(s.Health + 20, 100);
  s.Score += 20;
}

TGunsSprite::TGunsSprite(IRaceHost& host)
    : TPickupSprite(host, pic::Guns, kPickupLaneOffset, kAboveThePicture, true) {}

void TGunsSprite::Collect() {
  TRaceState& s = State();
  Host().PlaySound(snd::Bell);
  Kill();
  s.HasGuns = true;
  new TGunsCar(Host());
  // A second gun adds shots and dresses the car again, but keeps one marker.
  if (s.GunShots <= 0) new TIndexGuns(Host());
  s.GunShots += kChargesPerKit;
  s.Score += 20;
}

TStopMeSprite::TStopMeSprite(IRaceHost& host)
    : TPickupSprite(host, pic::StopMe, kPickupLaneOffset, kAboveThePicture, false) {}

void TStopMeSprite::Collect() {
  TRaceState& s = State();
  Host().PlaySound(snd::Beep);
  Kill();
  s.HasStopMe = true;
  if (s.StopMeCount <= 0) new TIndexStopMe(Host());
  s.StopMeCount += kChargesPerKit;
  s.Score += 20;
}

TNitroSprite::TNitroSprite(IRaceHost& host)
    : TPickupSprite(host, pic::Nitro, kPickupLaneOffset, kAboveThePicture, false) {}

void TNitroSprite::Collect() {
  TRaceState& s = State();
  Host().PlaySound(snd::Beep);
  Kill();
  s.NitroOn = true;
  if (!Host().NitroTimerEnabled()) new TIndexNitro(Host());
  // A second nitro restarts the count; the speed it restores is then the
  // nitro speed the first one holds.
  s.SpeedBeforeNitro = s.Speed;
  s.Speed = NitroSpeed;
  s.NitroSeconds = 0;
  new TNitroCar(Host());
  Host().SetNitroTimerEnabled(true);
  s.Score += 50;
}

TBonusSprite::TBonusSprite(IRaceHost& host)
    : TPickupSprite(host, pic::Bonus, kPickupLaneOffset, kAboveThePicture, true) {}

void TBonusSprite::Collect() {
  Host().PlaySound(snd::Beep);
  Kill();
  State().Score += 100;
}

}  // namespace bd
