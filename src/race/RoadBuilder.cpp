#include "race/RoadBuilder.h"

#include "engine/sprites/ImageSprite.h"
#include "engine/images/PictureCollection.h"
#include "race/CarSprites.h"
#include "race/ChasmSprites.h"
#include "race/MarkerSprites.h"
#include "race/PickupSprites.h"
#include "race/RoadSprites.h"
#include "race/ServiceSprites.h"

namespace bd {

namespace {

// An icon of the head-up display: a plain picture above everything else.
void AddIcon(IRaceHost& host, TPictureName image, double x, double y) {
  auto* icon = new TImageSprite(&host.Engine());
  try {
    icon->Image = &host.FindImage(image);
  } catch (...) {
    delete icon;
    throw;
  }
  icon->Width = icon->Image->Width();
  icon->Height = icon->Image->Height();
  icon->X = x;
  icon->Y = y;
  icon->ChangeZ(10);
}

}  // namespace

void KillAllSprites(TSpriteEngine& engine) {
  for (int32_t i = 0; i < engine.ChildCount(); ++i) engine.ChildAt(i)->Kill();
}

void BuildRoadForLife(IRaceHost& host) {
  const TRaceState& s = host.RaceState();
  new TScrollBackground(host);
  new TCarSprite(host);
  new TFirstWallSprite(host, s.FirstWallY1);
  new TFirstWallSprite(host, s.FirstWallY2);
  if (OpeningWallCount(s.Level) > 2) new TFirstWallSprite(host, s.FirstWallY2 - 200);
  new Tcr_prSprite(host);
  new Tcr_prSprite1(host);
  new Tcr_prSprite2(host);
  new TPropast(host);
  AddIcon(host, pic::HudHealth, 0, 0);
  AddIcon(host, pic::HudSpeed, 5, 80);
  AddIcon(host, pic::HudLives, 5, 150);
  new TIndexGorod(host);
}

void SpawnPickup(IRaceHost& host, TSpawnKind kind) {
  switch (kind) {
    case TSpawnKind::StopMe:
      new TStopMeSprite(host);
      break;
    case TSpawnKind::Guns:
      new TGunsSprite(host);
      break;
    case TSpawnKind::Medic:
      new TMedicSprite(host);
      break;
    case TSpawnKind::Live:
      new TLiveSprite(host);
      break;
    case TSpawnKind::Rocks:
      new TRocksMassovka(host);
      break;
    case TSpawnKind::Nitro:
      new TNitroSprite(host);
      break;
    case TSpawnKind::Bonus:
      new TBonusSprite(host);
      break;
  }
}

}  // namespace bd
