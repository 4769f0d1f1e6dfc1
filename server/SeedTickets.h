#pragma once
// The seeds the server hands out as a race starts, and the tickets that
// prove it did. A checked score's recording carries its seed and ticket: a
// race on a seed the server chose cannot have been picked from many seeds
// tried at home, and the ticket's time of issue bounds when the race began.
//
// A ticket is signed like the report tokens (HMAC-SHA256 under the secret
// kept in the database), so any server sharing the database takes any
// other's tickets without a lookup. It holds what kind of seed it is for,
// the seed, the day (for the day's seed), 8 random bytes that make each
// ticket one of a kind, and its time of issue and expiry, all written as
// lower-case hex.
//
// The day's seed is the same for every player and every server: it is
// derived from the secret and the UTC date, so nobody without the secret
// knows tomorrow's.

#include <cstdint>
#include <string>
#include <string_view>

namespace bd::server {

struct TIssuedSeed {
  uint32_t Seed = 0;
  std::string Ticket;
  std::string DailyDate;  // "YYYY-MM-DD" for the day's seed, else empty
};

enum class TSeedVerdict {
  Valid,    // a seed the server issued for one race
  Daily,    // the day's seed of DailyDate
  Unknown,  // not a ticket of a server with this secret, or not for this seed
  Expired,
};

struct TSeedCheck {
  TSeedVerdict Verdict = TSeedVerdict::Unknown;
  std::string DailyDate;   // for Daily
  int64_t IssuedAtMs = 0;  // for Valid and Daily: when the race could start at the earliest
  int64_t ExpiresAtMs = 0;
  std::string Id;  // the random part in hex: a ticket stands for one race
};

// "YYYY-MM-DD" of the UTC day that holds `unixMs`.
std::string UtcDate(int64_t unixMs);

class TSeedTickets {
 public:
  // `secret` as for the tokens; `lifetimeMs` how long a ticket stays good:
  // the longest game from its start to its report.
  TSeedTickets(std::string secret, int64_t lifetimeMs);

  // A fresh seed from the system's generator, with its ticket.
  TIssuedSeed IssueFresh(int64_t nowMs) const;
  // The seed of the UTC day that holds `nowMs`, with a ticket of its own.
  TIssuedSeed IssueDaily(int64_t nowMs) const;
  // The day's seed of `date` ("YYYY-MM-DD").
  uint32_t DailySeed(std::string_view date) const;

  // Whether `ticket` is ours, is for `seed` and is still good at `nowMs`.
  TSeedCheck Check(std::string_view ticket, uint32_t seed, int64_t nowMs) const;

 private:
  std::string Sign(uint8_t kind, uint32_t seed, uint32_t day, int64_t nowMs) const;
  std::string Mac(std::string_view signedPart) const;

  std::string secret_;
  int64_t lifetimeMs_;
};

}  // namespace bd::server
