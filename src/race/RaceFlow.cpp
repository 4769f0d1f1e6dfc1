#include "race/RaceFlow.h"

#include <cstdint>

#include "engine/base/Types.h"
#include "race/RaceRunning.h"

namespace bd {

int32_t NextLevelLength(int32_t length) {
  // Some sixty levels on the length would leave the 32-bit range; stay at its top.
  const int64_t next = Round(length * 1.25);
  return next > INT32_MAX ? INT32_MAX : static_cast<int32_t>(next);
}

int32_t LevelLengthFor(int32_t level) {
  int32_t length = TRaceState{}.LevelLength;
  for (int32_t l = 2; l <= level; ++l) length = NextLevelLength(length);
  return length;
}

int32_t LevelBonus(int32_t level) { return level > 1 ? 50 * (level - 1) : 0; }

bool AdvanceLevel(TRaceState& s, const std::function<void()>& byeByeMyCar) {
  s.LevelEndState = 0;
  StopRace(s);
  ++s.Level;
  ++s.Lives;  // the end of the life below takes it again: a level change costs none
  byeByeMyCar();
  s.Distance = 0;
  const bool later = s.Level != 1;
  if (later) {
    // Held at their last positive values: Random gets MeteorOdds + 1 and
    // 2 * MeteorSpread + 1, which must not turn zero or negative.
    if (s.MeteorSpread - 7 > 0) s.MeteorSpread -= 7;
    if (s.Level % 2 == 0 && s.MeteorOdds - 1 > 0) s.MeteorOdds -= 1;
    s.Score += LevelBonus(s.Level);
    s.LevelLength = NextLevelLength(s.LevelLength);
  }
  StopRace(s);
  return later;
}

bool LoseLife(TRaceState& s) {
  StopRace(s);
  --s.Lives;
  s.Health = 100;
  s.HasGuns = false;
  s.ShotInFlight = false;
  s.GunShots = 0;
  s.Speed = 0;
  s.HasStopMe = false;
  s.StopMeCount = 0;
  s.ChasmPiece1 = s.ChasmPiece2 = s.ChasmPiece3 = false;
  s.NitroSeconds = 0;
  s.NitroOn = false;
  s.Returning = false;
  if (s.Lives <= 0) {
    s.GameOver = true;
    return false;
  }
  return true;
}

void StartLife(TRaceState& s) {
  s.Grace = true;
  RunRace(s);
  s.Paused = false;
}

bool LevelCompleteTick(TRaceState& s) {
  if (s.LevelEndTick != 10) {
    ++s.LevelEndTick;
    return false;
  }
  s.LevelEndTick = 0;
  return true;
}

bool NitroSecondTick(TRaceState& s) {
  if (++s.NitroSeconds < NitroDurationSeconds) return false;
  s.Speed = s.SpeedBeforeNitro;
  s.NitroSeconds = 0;
  s.NitroOn = false;
  return true;
}

void PaceStopAndHandbrake(TRaceState& s) {
  if (s.Speed <= 0) ++s.StoppedFrames;
  if (s.Handbrake) ++s.HandbrakeTick;
  if (s.Speed == 0) {
    s.HandbrakeTick = 0;
    s.Handbrake = false;
  }
  if (s.Handbrake && s.HandbrakeTick % 5 == 0) {
    if (s.Speed > 0)
      --s.Speed;
    else if (s.Speed < 0)
      ++s.Speed;
    s.Handbrake = false;
  }
}

void CoverDistance(TRaceState& s) {
  if (s.RaceRunning) s.Distance += s.Speed;
}

int32_t RemainingDistance(const TRaceState& s) {
  return s.LevelLength > s.Distance ? s.LevelLength - s.Distance : 0;
}

TSpawnKind SpawnKindFor(int32_t r) {
  if (r <= 10) return TSpawnKind::StopMe;
  if (r <= 20) return TSpawnKind::Guns;
  if (r <= 30) return TSpawnKind::Medic;
  if (r <= 34) return TSpawnKind::Live;
  if (r <= 70) return TSpawnKind::Rocks;
  if (r <= 80) return TSpawnKind::Nitro;
  return TSpawnKind::Bonus;
}

double ChasmStartY(int32_t level) { return level <= 1 ? 550 : 620; }

bool MeteorTrailsAppear(int32_t level) { return level > 1; }

int OpeningWallCount(int32_t level) { return level > 4 ? 3 : 2; }

}  // namespace bd
