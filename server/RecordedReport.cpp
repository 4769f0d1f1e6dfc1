// A score report that comes with its race's recording: the race is played
// again by a checking worker, and the score is stored as checked only when
// the replay ends with exactly the reported score. Each refusal is logged
// with its reason, and nothing is stored.

#include "server/Clock.h"
#include "server/Log.h"
#include "server/RaceJudge.h"
#include "server/ScoreServer.h"

namespace bd::server {

namespace {

constexpr const char* kText = "text/plain; charset=utf-8";

THttpResponse Refuse(int status, const std::string& reason, const std::string& detail = {}) {
  LogLine("refused a checked report: " + reason + (detail.empty() ? "" : " (" + detail + ")"));
  THttpResponse res;
  res.Status = status;
  res.Body = reason + "\n";
  res.ContentType = kText;
  // A full queue passes; the game may send the same report again shortly.
  if (status == 503) res.Set("Retry-After", "5");
  return res;
}

}  // namespace

THttpResponse TScoreServer::RecordedReport(const THttpRequest& req, TNewScore score) {
  if (req.Body.empty()) return Refuse(400, "no recording");
  std::variant<TRaceVerdict, std::string> judged = std::string();
  const auto outcome =
      checker_->Check(req.Body, [&](const TRecordingSummary& race) -> std::optional<std::string> {
        judged = JudgeRace(race, *seeds_, options_.RefuseOwnSeed, UnixMillis());
        if (const auto* why = std::get_if<std::string>(&judged)) return *why;
        return std::nullopt;
      });
  if (const auto* refusal = std::get_if<TCheckRefusal>(&outcome)) {
    const int status = refusal->Reason == "checking queue full"                      ? 503
                       : refusal->Reason.starts_with("the recording cannot be read") ? 400
                                                                                     : 403;
    return Refuse(status, refusal->Reason, refusal->Detail);
  }

  const TCheckedRace& race = std::get<TCheckedRace>(outcome);
  if (race.Replay.Score != score.Score)
    return Refuse(403, "the race played again ends with score " + std::to_string(race.Replay.Score) +
                           ", not " + std::to_string(score.Score));
  const TRaceVerdict& verdict = std::get<TRaceVerdict>(judged);
  score.Check = verdict.Check;
  score.Level = race.Replay.Level;
  score.RulesVersion = static_cast<int32_t>(race.Recording.RulesVersion);
  score.DailyDate = verdict.DailyDate;
  score.Recording = req.Body;
  score.RaceId = verdict.RaceId;
  score.RaceExpiresAtMs = verdict.RaceExpiresAtMs;
  return StoreScore(std::move(score));
}

}  // namespace bd::server
