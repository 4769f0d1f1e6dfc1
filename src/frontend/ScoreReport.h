#pragma once
// Reporting a new high score to the online score server: a version check
// whose reply carries a token, then one GET that carries the encoded report.
// The online score table is a third address, opened in the browser.

#include <cstdint>
#include <string>
#include <string_view>

#include "codec/ScoreReportFormat.h"
#include "http/HttpClient.h"

namespace bd {

// Scheme, host and port of the score server, chosen when the game is built.
// A valid address in this environment variable stands in for it, so that a
// test can run its own server on a free port beside a player's local one.
constexpr const char* kScoreServerVariable = "BUMPERDASH_SCORE_SERVER";
std::string_view ScoreServerBase();
// The built-in address, or `fromEnvironment` when that is a valid one.
std::string_view ChooseScoreServer(const char* fromEnvironment);

std::string VersionCheckAddress(std::string_view base = ScoreServerBase());
std::string ScoreReportAddress(std::string_view encodedReport, std::string_view base = ScoreServerBase());
std::string OnlineTableAddress(std::string_view base = ScoreServerBase());
// The server's home page, which tells about the game and links its score
// table; the "about" help page names it when the server is a public one.
std::string ScoreServerHomePage(std::string_view base = ScoreServerBase());

// VersionReplyIsOk and ReportToken, which read the version reply, come with
// the report's format in codec/ScoreReportFormat.h.

// What goes to the server about one result.
struct TScoreSubmission {
  std::string PlayerName;  // Windows-1251
  int32_t Score = 0;
  std::string Country;  // Windows-1251, may be empty
};

// Runs the version check and, if the server is ready, sends the report.
// Returns false when the version check failed in any way (no connection, an
// error status, a time-out, a reply not starting with "OK"): nothing was sent
// and the caller tells the player it can't connect. A failure of the report
// request itself goes unnoticed, so true means "the server was ready".
bool SubmitScore(IHttpGet& client, const TScoreSubmission& submission,
                 std::string_view base = ScoreServerBase());

}  // namespace bd
