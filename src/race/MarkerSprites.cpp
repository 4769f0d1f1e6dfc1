#include "race/MarkerSprites.h"

#include <cmath>

namespace bd {

namespace {

constexpr double kMarkerX = 15;
constexpr int32_t kFirstMarkerY = 220;
constexpr int32_t kMarkerRow = 50;
constexpr int32_t kGrownSignWidth = 200;

}  // namespace

// ---- Car dressings ----

TGunsCar::TGunsCar(IRaceHost& host) : TRaceSprite(host) {
  const TRaceState& s = State();
  UseImage(pic::Gun);
  X = s.CarX + 6;
  Y = s.CarY + 20;
  ChangeZ(3);
  PlayOnce(0.25);
}

void TGunsCar::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  const TRaceState& s = State();
  X = s.CarX + 6;
  Y = s.CarY + 20;
  if (s.Falling || s.Health <= 0 || s.LevelEndState != 0) Kill();
}

TNitroCar::TNitroCar(IRaceHost& host) : TRaceSprite(host) {
  const TRaceState& s = State();
  UseImage(pic::NitroFlames);
  X = s.CarX;
  Y = s.CarY + 90;
  ChangeZ(2);
}

void TNitroCar::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  const TRaceState& s = State();
  if (!s.NitroOn) Kill();
  X = s.CarX;
  Y = s.CarY + 95 + 3 * std::sin(s.Distance / 3.0);
  if (s.Falling || s.Health <= 0) Kill();
}

// ---- Power-up markers ----

TPowerUpMarker::TPowerUpMarker(IRaceHost& host, TPictureName image, int32_t othersActive, int32_t& markerY)
    : TRaceSprite(host) {
  UseImage(image);
  X = kMarkerX;
  Y = kFirstMarkerY + kMarkerRow * othersActive;
  markerY = static_cast<int32_t>(Y);
  ChangeZ(10);
}

void TPowerUpMarker::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  if (!Active()) Kill();
}

TIndexGuns::TIndexGuns(IRaceHost& host)
    : TPowerUpMarker(host, pic::Guns, host.RaceState().HasStopMe + host.RaceState().NitroOn,
                     host.RaceState().GunsMarkerY) {}

TIndexStopMe::TIndexStopMe(IRaceHost& host)
    : TPowerUpMarker(host, pic::StopMe, host.RaceState().HasGuns + host.RaceState().NitroOn,
                     host.RaceState().StopMeMarkerY) {}

TIndexNitro::TIndexNitro(IRaceHost& host)
    : TPowerUpMarker(host, pic::Nitro, host.RaceState().HasStopMe + host.RaceState().HasGuns,
                     host.RaceState().NitroMarkerY) {}

// ---- Destination sign ----

TIndexGorod::TIndexGorod(IRaceHost& host) : TRaceSprite(host) {
  UseImage(pic::TownSign);
  X = 730;
  Y = 0;
  ChangeZ(10);
}

void TIndexGorod::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  TRaceState& s = State();
  if (s.LevelEndState != 1) return;
  // A sign already 200 or wider counts as grown, so the sequence always
  // goes on.
  if (Width >= kGrownSignWidth) {
    s.LevelEndState = 2;
    return;
  }
  X -= 3.3;
  Y += 1.5;
  ++Width;
  ++Height;
}

}  // namespace bd
