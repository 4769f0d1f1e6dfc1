#include "server/RaceJudge.h"

#include <limits>

namespace bd::server {

int64_t PlayedMs(const TRecordingSummary& race) {
  return static_cast<int64_t>(race.Intervals) * kRaceFrameIntervalMs;
}

int64_t AllowedPlayMs(int64_t sinceSeedMs) { return sinceSeedMs + 1000 + sinceSeedMs / 50; }

std::variant<TRaceVerdict, std::string> JudgeRace(const TRecordingSummary& race, const TSeedTickets& tickets,
                                                  bool refuseOwnSeed, int64_t nowMs) {
  TRaceVerdict verdict;
  if (race.SeedSource == TSeedSource::Own) {
    if (refuseOwnSeed) return std::string("this server takes no races on a seed the game chose itself");
    // No server saw the race start, so its time cannot be bounded; the score
    // is marked for what it is. The same race is still stored once.
    verdict.Check = TCheckState::CheckedOwnSeed;
    verdict.RaceId = "own:" + race.RaceDigest;
    verdict.RaceExpiresAtMs = std::numeric_limits<int64_t>::max();
    return verdict;
  }
  if (race.SeedTicket.empty()) return std::string("the race's seed has no ticket");
  const TSeedCheck ticket = tickets.Check(race.SeedTicket, race.Seed, nowMs);
  switch (ticket.Verdict) {
    case TSeedVerdict::Unknown:
      return std::string("the seed ticket is not valid for this seed");
    case TSeedVerdict::Expired:
      return std::string("the seed ticket has expired");
    case TSeedVerdict::Valid:
      if (race.SeedSource != TSeedSource::Server)
        return std::string("the seed ticket is not for a day's race");
      break;
    case TSeedVerdict::Daily:
      if (race.SeedSource != TSeedSource::Daily) return std::string("the seed ticket is for a day's race");
      verdict.DailyDate = ticket.DailyDate;
      break;
  }
  if (PlayedMs(race) > AllowedPlayMs(nowMs - ticket.IssuedAtMs))
    return "the race's " + std::to_string(race.Frames) + " frames need " +
           std::to_string(PlayedMs(race) / 1000) + " s, more than the time since its seed was issued";
  verdict.Check = TCheckState::Checked;
  verdict.RaceId = "ticket:" + ticket.Id;
  verdict.RaceExpiresAtMs = ticket.ExpiresAtMs;
  return verdict;
}

}  // namespace bd::server
