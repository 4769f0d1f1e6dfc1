#pragma once
// Judging a score report: the encoded "inf" value is decoded with the
// settings code, split into its fields, and every field is checked before
// anything may be stored.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "server/ScoreStore.h"
#include "server/Tokens.h"

namespace bd::server {

// The longest encoded report taken at all; a real one is well under 300.
inline constexpr size_t kMaxEncodedReport = 1024;
// Name and country lengths in characters, as the game's entry fields allow.
inline constexpr size_t kMaxNameLength = 10;
inline constexpr size_t kMaxCountryLength = 10;

struct TRefusal {
  int Status;          // an HTTP status of 400 and above
  std::string Reason;  // short, for the reply body
};

// Whether a Windows-1251 character may stand in a stored name or country.
bool IsStorableCharacter(unsigned char c);

// Checks the report against the game's format and the token against the
// signer. A report that passes becomes a score to store (without its stored
// time); any other is refused with a status and a reason. That the token has
// not been used is checked when the score is stored.
std::variant<TNewScore, TRefusal> CheckReport(std::string_view encoded, const TTokenSigner& signer, int64_t nowMs);

}  // namespace bd::server
