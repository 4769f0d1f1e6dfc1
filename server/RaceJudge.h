#pragma once
// What the server asks of a recorded race before it lets a worker play it:
// a seed it may take (one it issued, with a good ticket, or the game's own
// when the operator allows those), and a race that fits in the time since
// its seed was issued, so that a race slowed down to be played with care
// does not pass.

#include <cstdint>
#include <optional>
#include <string>

#include "race/RaceFlow.h"
#include "server/CheckerProtocol.h"
#include "server/ScoreStore.h"
#include "server/SeedTickets.h"

namespace bd::server {

// The race frame's timer interval, the race's own: a recorded frame stands
// for its lag count of these.
inline constexpr int64_t kRaceFrameIntervalMs = RaceFrameMs;

// What a race passed with: how its score is to be stored.
struct TRaceVerdict {
  TCheckState Check = TCheckState::Unchecked;
  std::optional<std::string> DailyDate;
  std::string RaceId;  // a race is stored once
  int64_t RaceExpiresAtMs = 0;
};

// The shortest wall-clock time in which the race's frames can have been
// played.
int64_t PlayedMs(const TRecordingSummary& race);
// The play time allowed within `sinceSeedMs` of the seed's issue: a second
// and 2 % more for clocks that run apart.
int64_t AllowedPlayMs(int64_t sinceSeedMs);

// Judges the race's seed and time; a reason to refuse it, or how to store it.
std::variant<TRaceVerdict, std::string> JudgeRace(const TRecordingSummary& race, const TSeedTickets& tickets,
                                                  bool refuseOwnSeed, int64_t nowMs);

}  // namespace bd::server
