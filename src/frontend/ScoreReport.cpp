#include "frontend/ScoreReport.h"

#include <cstdlib>

#include "codec/ScoreReportFormat.h"
#include "codec/ScoreServerAddress.h"
#include "codec/SettingsCodec.h"

#ifndef BD_SCORE_SERVER
#error "BD_SCORE_SERVER must name the score server's base address"
#endif

namespace bd {

namespace {

constexpr std::string_view kScriptPath = "/cgi/version.pl?";

std::string Address(std::string_view base, std::string_view query) {
  std::string address(base);
  address += kScriptPath;
  address += query;
  return address;
}

}  // namespace

std::string_view ChooseScoreServer(const char* fromEnvironment) {
  if (fromEnvironment != nullptr && IsScoreServerBase(fromEnvironment)) return fromEnvironment;
  return BD_SCORE_SERVER;
}

std::string_view ScoreServerBase() {
  static const std::string_view base = ChooseScoreServer(std::getenv(kScoreServerVariable));
  return base;
}

std::string VersionCheckAddress(std::string_view base) { return Address(base, "version&prg=BumperDash"); }

std::string ScoreReportAddress(std::string_view encodedReport, std::string_view base) {
  return Address(base, "hs&prg=BumperDash&inf=") + std::string(encodedReport);
}

std::string OnlineTableAddress(std::string_view base) { return Address(base, "prg=BumperDash&show&type=0"); }

std::string ScoreServerHomePage(std::string_view base) { return std::string(base) + "/"; }

bool SubmitScore(IHttpGet& client, const TScoreSubmission& submission, std::string_view base) {
  std::string reply;
  try {
    reply = client.Get(VersionCheckAddress(base));
  } catch (const EError&) {
    reply.clear();  // any failure reads as an empty reply
  }
  if (!VersionReplyIsOk(reply)) return false;

  const std::string report =
      BuildScoreReport(submission.PlayerName, submission.Score, ReportToken(reply), submission.Country);
  try {
    client.Get(ScoreReportAddress(EncodeSettingsValue(report), base));
  } catch (const EError&) {
    // The server said it was ready; a lost report is not worth troubling the player.
  }
  return true;
}

}  // namespace bd
