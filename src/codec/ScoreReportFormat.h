#pragma once
// The score report as the game writes it and the score server reads it:
// "type=0|name=…|score=…|key=…|p=…|add=…|z=" followed by "0" characters up
// to a multiple of 5 characters, then encoded with the settings code. Name,
// token and country are Windows-1251 text.
//
// The version check that comes before it is answered with a "|"-separated
// line that starts with "OK" and carries the report's token as its fifth
// field; the game and the server both read and write it here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bd {

// The one-character key field of every report.
inline constexpr char ScoreReportKey = 'B';

// The plain report; name, token and country go in unchanged.
std::string BuildScoreReport(std::string_view playerName, int32_t score, std::string_view token,
                             std::string_view country);

// The values of a plain report, as sent: Windows-1251 text, the score still
// as its characters. Nothing here has been judged beyond the report's form.
struct TScoreReportFields {
  std::string Type;
  std::string PlayerName;
  std::string Score;
  std::string Key;
  std::string Token;
  std::string Country;
};

// The inverse of BuildScoreReport: splits a plain report into its seven
// "|"-separated fields, which must carry the names type, name, score, key, p,
// add and z in that order, each followed by "=", with z's value nothing but
// the "0" filling that makes the whole a multiple of 5 characters. A value
// runs to the next "|", so it may hold "=" but never "|". Returns nothing
// and puts a short reason (in English) into `reason` when the text is not in
// that form.
std::optional<TScoreReportFields> ParseScoreReport(std::string_view report, std::string* reason = nullptr);

// The server is ready for a report when its reply starts with "OK" (exact case).
bool VersionReplyIsOk(std::string_view reply);

// The fifth "|"-separated field of the version reply; empty when the reply
// has fewer than five "|".
std::string ReportToken(std::string_view reply);

// The server's reply to the version check, carrying `token` where
// ReportToken finds it. The token must not contain "|" (std::invalid_argument).
std::string BuildVersionReply(std::string_view token);

}  // namespace bd
