#pragma once
// The score server's answer when the game asks for a race seed as a race
// starts: one "|"-separated line in the style of the version check's,
//
//   OK|SEED|TICKET|DAILY|
//
// SEED the seed in decimal (0 to 4294967295), TICKET the server's signature
// of it (lower-case hex; the game sends it back inside the race's recording)
// and DAILY the UTC date "YYYY-MM-DD" when it is the day's seed, the same for
// every player, else empty. The game and the server both read and write it
// here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bd {

struct TSeedReply {
  uint32_t Seed = 0;
  std::string Ticket;
  std::string DailyDate;  // empty for a seed of this race alone

  bool operator==(const TSeedReply&) const = default;
};

// The reply line. Throws std::invalid_argument for a ticket that is not
// lower-case hex or a daily date that is not "YYYY-MM-DD".
std::string BuildSeedReply(const TSeedReply& reply);

// Reads a reply line (a trailing line end is allowed); nothing when it is
// not exactly in the form above.
std::optional<TSeedReply> ParseSeedReply(std::string_view text);

// Whether `text` is a date written "YYYY-MM-DD" (digits in place, month
// 01-12, day 01-31).
bool IsSeedDate(std::string_view text);

}  // namespace bd
