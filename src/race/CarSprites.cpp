#include "race/CarSprites.h"

#include <cstdlib>

#include "engine/base/Types.h"
#include "engine/platform/Platform.h"
#include "race/MarkerSprites.h"
#include "race/MeteorSprites.h"
#include "race/RoadSprites.h"

namespace bd {

namespace {

// The car's lateral limits: back to 105 (not 100) on the left, the right
// edge of the last lane on the right.
constexpr double kLeftReset = 105;
constexpr int32_t kRightMargin = 55 + 5;
constexpr double kTopLimit = 5;
constexpr int32_t kCarLaneOffset = 48;

}  // namespace

TCarSprite::TCarSprite(IRaceHost& host) : TRaceSprite(host) {
  UseImage(pic::PlayerCar);
  X = RandomLane(kCarLaneOffset);
  Y = State().CarBaseY();
  ChangeZ(2);
}

void TCarSprite::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);  // the car never animates: this puts FramePos back to 0
  TRaceState& s = State();
  if (s.Paused) {
    // A fresh life's blink must not leave the car hidden for the whole
    // pause: the player looks at the stopped road to plan the next move.
    if (s.Grace && !s.Falling) Visible = true;
    return;
  }

  // The level is done: drive off upward, faster in the middle of the clock.
  if (Host().LevelCompleteTimerEnabled() && !Host().LevelTimerEnabled()) {
    Y -= s.LevelEndTick * 0.4 * (10 - s.LevelEndTick);
    s.CarY = Y;
    return;
  }

  if (s.Speed > 2) {
    s.Grace = false;
    Visible = true;
  }
  if (s.Grace) {
    // A fresh life blinks every 20 frames.
    if (++s.BlinkTick > 20) {
      Visible = !Visible;
      s.BlinkTick = 1;
    }
  }
  if (!s.RaceRunning) return;
  if (s.Health < 0) s.Health = 0;

  if (s.Falling) {
    // Hidden in the chasm; with Speed -1 the car sinks a pixel per frame.
    Y -= s.Speed;
    s.CarY = Y;
    return;
  }

  ChooseDamageClass();
  Steer();
  if (Host().KeyDown(vk::Up)) Accelerate();
  if (Host().KeyDown(vk::Space) && s.StoppedFrames > 120) Reverse();
  if (Host().KeyDown(vk::Down) && s.Speed != 0) PullHandbrake();
  // One press of Enter spends one charge: only the step that sees the key go
  // down stops the car; holding it (or its auto-repeat) spends no more.
  const bool stopKey = Host().KeyDown(vk::Return);
  if (stopKey && !s.StopKeyHeld && s.HasStopMe && !s.Returning) StopInstantly();
  s.StopKeyHeld = stopKey;
  if (!Host().KeyDown(vk::Down) && !Host().KeyDown(vk::Up)) Coast();
  KeepOnRoad();
  LimitSpeed();

  s.CarX = X;
  s.CarY = Y;
  s.CarZ = Z();
  Collide();
}

void TCarSprite::ChooseDamageClass() {
  TRaceState& s = State();
  struct TDamageClass {
    int32_t MinHealth;
    int32_t Pattern;
    int32_t MaxSpeed;
    int32_t AccelDelay;
  };
  static constexpr TDamageClass kClasses[] = {
      {75, 0, 14, 30},
      {50, 1, 11, 60},
      {25, 2, 8, 90},
      {0, 3, 6, 120},
  };
  // Above 100 (after backing into obstacles) the class stays as it was.
  if (s.Health > 100) return;
  for (const TDamageClass& c : kClasses) {
    if (s.Health >= c.MinHealth) {
      FramePos = c.Pattern;
      s.MaxSpeed = c.MaxSpeed;
      s.AccelDelay = c.AccelDelay;
      return;
    }
  }
}

void TCarSprite::Steer() {
  // The car moves sideways by the road's speed: standing, it cannot steer.
  TRaceState& s = State();
  if (s.Returning) return;
  const int32_t step = std::abs(s.Speed);
  if (Host().KeyDown(vk::Left)) X -= step;
  if (Host().KeyDown(vk::Right)) X += step;
}

void TCarSprite::Accelerate() {
  TRaceState& s = State();
  if (s.Returning) {
    s.Returning = false;
    s.SpeedTick = s.AccelDelay + 5;
  }
  if (s.Handbrake) return;
  if (s.SpeedTick == 20) Y -= 1;
  if (s.SpeedTick > s.AccelDelay) {
    ++s.Speed;
    s.SpeedTick = 0;
  } else {
    ++s.SpeedTick;
  }
}

void TCarSprite::Reverse() {
  TRaceState& s = State();
  if (s.Returning) {
    s.Returning = false;
    s.SpeedTick = s.AccelDelay + 5;
  }
  if (s.SpeedTick == 8) Y += 1;
  if (s.SpeedTick > s.AccelDelay) {
    --s.Speed;
    s.SpeedTick = 0;
  } else {
    ++s.SpeedTick;
  }
}

void TCarSprite::PullHandbrake() {
  // The race frame takes the speed down while the flag is set.
  TRaceState& s = State();
  if (s.SpeedTick == 8) Y -= 1;
  Host().PlaySound(snd::Handbrake);
  s.Handbrake = true;
}

void TCarSprite::StopInstantly() {
  TRaceState& s = State();
  s.Speed = 0;
  Host().PlaySound(snd::HardStop);
  if (--s.StopMeCount <= 0) s.HasStopMe = false;
}

void TCarSprite::Coast() {
  // Three checks in a row, each seeing what the one before did.
  TRaceState& s = State();
  if (s.Speed > 0) {
    if (s.SpeedTick == 8) Y -= 1;
    // No coasting loss in the first 500 units of a level.
    if (s.SpeedTick > 30 && s.Distance > 500) {
      --s.Speed;
      s.SpeedTick = 0;
    } else {
      ++s.SpeedTick;
    }
  }
  if (s.Speed < 0) {
    if (s.SpeedTick == 8) Y += 1;
    if (s.SpeedTick > 30) {
      ++s.Speed;
      s.SpeedTick = 0;
    } else {
      ++s.SpeedTick;
    }
  }
  if (s.Speed == 0 && Y < s.CarBaseY()) {
    // A crash pushed the standing car up: it rolls back to its base line at
    // speed 1, with steering and the instant stop locked.
    Y += 1;
    s.Speed = 1;
    s.Returning = true;
    s.SpeedTick = s.AccelDelay + 5;
  }
}

void TCarSprite::KeepOnRoad() {
  TRaceState& s = State();
  if (X < s.RoadLeft) X = kLeftReset;
  const double right = s.ScreenWidth - s.RoadLeft - kRightMargin;
  if (X > right) X = right;
  if (Y > s.CarBaseY()) {
    Y = s.CarBaseY();
    s.Returning = false;
  }
  if (Y < kTopLimit) Y = kTopLimit;
}

void TCarSprite::LimitSpeed() {
  TRaceState& s = State();
  if (s.Speed > s.MaxSpeed && !s.NitroOn) s.Speed = s.MaxSpeed;
  const int32_t reverseLimit = -static_cast<int32_t>(Round(s.MaxSpeed / 2.0));
  if (s.Speed < reverseLimit) s.Speed = reverseLimit;
  if (s.Grace && s.Speed < 0) s.Speed = 0;
}

void TCarSprite::HandleCollision(TSprite& other, bool& /*done*/) {
  TRaceState& s = State();
  if (dynamic_cast<TSledMeteoritaSprite*>(&other) != nullptr) {
    // A scorched trail under the car's front slows it to a crawl and ends nitro.
    if (other.Y - Y > 15) {
      if (s.NitroOn) {
        s.NitroOn = false;
        Host().SetNitroTimerEnabled(false);
        s.NitroSeconds = 0;
      }
      s.Speed = 1;
    }
  } else if (dynamic_cast<TGunsCar*>(&other) != nullptr) {
    if (!s.HasGuns) other.Kill();
  } else if (dynamic_cast<TLuja*>(&other) != nullptr) {
    Host().PlaySound(snd::PuddleSplash);
    new TLujaUje(Host(), other.X, other.Y);
    other.Kill();
  } else if (dynamic_cast<TLujaUje*>(&other) != nullptr) {
    // Once the car's front has reached the puddle's middle it skids across.
    if (Y - other.Y <= other.Height / 2.0) SkidOn(other);
  }
}

void TCarSprite::SkidOn(TSprite& puddle) {
  TRaceState& s = State();
  // The extra offset spans 0 .. |Speed| - 1, also while reversing.
  const int32_t extra = Host().Random(std::abs(s.Speed));
  if (X + Width / 2.0 >= puddle.X + puddle.Width / 2.0)
    X = puddle.X - Width - 2 - extra;
  else
    X = puddle.X + puddle.Width + 2 + extra;
  Y = Y - 5 - s.Speed;
}

// ---- Shots ----

TBuletSprite::TBuletSprite(IRaceHost& host) : TRaceSprite(host) {
  TRaceState& s = State();
  s.ShotInFlight = true;
  UseImage(pic::Bullet);
  X = s.CarX + 8;
  Y = s.CarY;
  ChangeZ(s.CarZ);
  s.Score += 5;
  Host().PlaySound(snd::Shot);
}

void TBuletSprite::Step(int32_t moveCount) {
  TRaceSprite::Step(moveCount);
  Collide();
  if (Y < 0) {
    Kill();
    State().ShotInFlight = false;
  }
  if (State().RaceRunning) Y -= 20;
}

void TBuletSprite::HandleCollision(TSprite& other, bool& /*done*/) {
  // Only ordinary obstacle cars stop a shot; it passes through everything else.
  if (dynamic_cast<TWallSprite*>(&other) == nullptr) return;
  TRaceState& s = State();
  Host().PlaySound(snd::Explosion);
  new TBoomSprite(Host(), X, Y);
  other.Kill();
  s.ShotInFlight = false;
  s.Score += 20;
  new TWallSprite(Host());
  X -= 35;
  Y -= 35;
  Kill();
}

bool FireShot(IRaceHost& host) {
  TRaceState& s = host.RaceState();
  if (!s.RaceRunning || !s.HasGuns || s.ShotInFlight) return false;
  new TBuletSprite(host);
  if (--s.GunShots <= 0) s.HasGuns = false;
  return true;
}

}  // namespace bd
