// The HTTP routes of the score server: the game's uses of its one address,
// the two pages' pictures, the home page and the health check.

#include <cmath>

#include "codec/ScoreReportFormat.h"
#include "codec/SeedReplyFormat.h"
#include "server/ClientAddress.h"
#include "server/Clock.h"
#include "server/Log.h"
#include "server/Pages.h"
#include "server/Query.h"
#include "server/ReportCheck.h"
#include "server/ScoreServer.h"

namespace bd::server {

namespace {

constexpr const char* kText = "text/plain; charset=utf-8";
constexpr const char* kHtml = "text/html; charset=utf-8";
// While the database is away nothing can be stored or shown: the game shows
// its message for a failed request, and a player tries again later.
constexpr const char* kDatabaseAway = "the score database is unavailable just now: try again in a minute\n";

THttpResponse Reply(int status, std::string body, const char* type) {
  THttpResponse res;
  res.Status = status;
  res.Body = std::move(body);
  res.ContentType = type;
  return res;
}

// Answers that belong to one moment and one client are not kept by caches.
THttpResponse NoStore(THttpResponse res) {
  res.Set("Cache-Control", "no-store");
  return res;
}

// A service that is away for a while tells clients when to ask again.
THttpResponse Unavailable(THttpResponse res, int seconds) {
  res.Set("Retry-After", std::to_string(seconds));
  return res;
}

THttpResponse Picture(const std::string& png) {
  if (png.empty()) return Reply(404, "not found\n", kText);
  THttpResponse res = Reply(200, png, "image/png");
  res.Set("Cache-Control", "public, max-age=86400");
  return res;
}

}  // namespace

THttpResponse TScoreServer::Handle(const THttpRequest& req) {
  const TQuery query = TQuery::FromTarget(req.Target);
  const TRoute route = ClassifyRequest(req.Path, query);
  THttpResponse res = Route(req, query, route);
  const auto took = std::chrono::steady_clock::now() - req.Received;
  LogLine(RequestLogText(req.Method, RouteName(route), res.Status,
                         std::chrono::duration<double, std::milli>(took).count()));
  return res;
}

THttpResponse TScoreServer::Route(const THttpRequest& req, const TQuery& query, TRoute route) {
  // A report may come with its race's recording as a POST's body.
  const bool recordedReport = req.Method == "POST" && route == TRoute::Report;
  if (req.Method != "GET" && req.Method != "HEAD" && !recordedReport) {
    if (!IsServedPath(req.Path)) return Reply(404, "not found\n", kText);
    THttpResponse res = Reply(405, "only GET and HEAD are answered here\n", kText);
    res.Set("Allow", route == TRoute::Report ? "GET, HEAD, POST" : "GET, HEAD");
    return res;
  }
  switch (route) {
    case TRoute::Home: {
      THttpResponse res = Reply(200, homePage_, kHtml);
      res.Set("Cache-Control", "public, max-age=300");
      return res;
    }

    case TRoute::Health:
      try {
        store_->Check();
        database_->Saw(true);
        return NoStore(Reply(200, "ok\n", kText));
      } catch (const std::exception& e) {
        LogLine(std::string("health check: ") + e.what());
        database_->Saw(false);
        return NoStore(Unavailable(Reply(503, "the database cannot be read\n", kText), 10));
      }

    case TRoute::Logo:
      return Picture(web_.Logo);
    case TRoute::Favicon:
      return Picture(web_.Favicon);

    case TRoute::VersionCheck:
      // A token now would only lead to a report that cannot be stored.
      if (!database_->Up()) return NoStore(Unavailable(Reply(503, kDatabaseAway, kText), 60));
      return NoStore(Reply(200, BuildVersionReply(signer_->Issue(UnixMillis())), kText));

    case TRoute::Report:
      return NoStore(Report(req, query));

    case TRoute::Seed:
    case TRoute::DailySeed:
      return NoStore(SeedReply(route == TRoute::DailySeed));

    case TRoute::Table: {
      if (!database_->Up()) return Unavailable(Reply(503, RenderUnavailablePage(), kHtml), 60);
      try {
        const auto page = table_.Get([this] { return RenderTablePage(store_->Best(kTableRows)); });
        THttpResponse res = Reply(200, *page, kHtml);
        res.Set("Cache-Control", "no-cache");
        return res;
      } catch (const std::exception& e) {
        LogLine(std::string("cannot read the table: ") + e.what());
        database_->Saw(false);
        return Unavailable(Reply(503, RenderUnavailablePage(), kHtml), 60);
      }
    }

    case TRoute::NotFound:
      break;
  }
  return Reply(404, "not found\n", kText);
}

THttpResponse TScoreServer::Report(const THttpRequest& req, const TQuery& query) {
  const std::string client = ClientAddress(req.Peer, req.Header("x-forwarded-for"), options_.BehindProxy);
  if (!limiter_.Allow(LimitKey(client))) {
    THttpResponse res = Reply(429, "too many reports from this address: try again in a minute\n", kText);
    res.Set("Retry-After", "60");
    return res;
  }
  if (query.Count("inf") > 1) return Reply(400, "more than one report\n", kText);
  auto checked = CheckReport(query.Value("inf"), *signer_, UnixMillis());
  if (const auto* refusal = std::get_if<TRefusal>(&checked))
    return Reply(refusal->Status, refusal->Reason + "\n", kText);
  if (req.Method == "POST") return RecordedReport(req, std::move(std::get<TNewScore>(checked)));
  if (options_.CheckedOnly)
    return Reply(403, "this server takes only checked scores: the report needs its race's recording\n",
                 kText);
  return StoreScore(std::move(std::get<TNewScore>(checked)));
}

THttpResponse TScoreServer::SeedReply(bool daily) {
  const int64_t now = UnixMillis();
  const TIssuedSeed seed = daily ? seeds_->IssueDaily(now) : seeds_->IssueFresh(now);
  return Reply(200, BuildSeedReply({seed.Seed, seed.Ticket, seed.DailyDate}), kText);
}

THttpResponse TScoreServer::StoreScore(TNewScore score) {
  if (!database_->Up()) return Unavailable(Reply(503, kDatabaseAway, kText), 60);
  try {
    // Answered within the request time limit, stored or not.
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(std::llround(options_.ReadSeconds * 1000));
    switch (writer_->Submit(std::move(score), deadline)) {
      case TStoreOutcome::TokenUsed:
        return Reply(409, "the token was used already\n", kText);
      case TStoreOutcome::RaceUsed:
        LogLine("refused a checked report: its race was stored before");
        return Reply(409, "this race was reported already\n", kText);
      case TStoreOutcome::Stored:
        break;
    }
    return Reply(200, "OK stored\n", kText);
  } catch (const EWriterStopped&) {
    return Unavailable(Reply(503, "the server is stopping\n", kText), 5);
  } catch (const std::exception& e) {
    LogLine(std::string("cannot store a report: ") + e.what());
    return Unavailable(Reply(503, "the report could not be stored\n", kText), 10);
  }
}

}  // namespace bd::server
