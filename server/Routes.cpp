// The HTTP routes of the score server: the game's three uses of its one
// address, the two pages' pictures, the home page and the health check.

#include <cmath>

#include "codec/ScoreReportFormat.h"
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

void Reply(httplib::Response& res, int status, const std::string& body, const char* type) {
  res.status = status;
  res.set_content(body, type);
}

// Answers that belong to one moment and one client are not kept by caches.
void NoStore(httplib::Response& res) { res.set_header("Cache-Control", "no-store"); }

void ServePicture(httplib::Response& res, const std::string& png) {
  if (png.empty()) return Reply(res, 404, "not found\n", kText);
  res.set_header("Cache-Control", "public, max-age=86400");
  Reply(res, 200, png, "image/png");
}

}  // namespace

void TScoreServer::InstallRoutes() {
  http_.Get("/", [this](const httplib::Request&, httplib::Response& res) { Reply(res, 200, homePage_, kHtml); });

  http_.Get("/healthz", [this](const httplib::Request&, httplib::Response& res) {
    NoStore(res);
    try {
      store_->Check();
      database_->Saw(true);
      Reply(res, 200, "ok\n", kText);
    } catch (const std::exception& e) {
      LogLine(std::string("health check: ") + e.what());
      database_->Saw(false);
      Reply(res, 503, "the database cannot be read\n", kText);
    }
  });

  http_.Get("/logo\\.png", [this](const httplib::Request&, httplib::Response& res) { ServePicture(res, web_.Logo); });
  http_.Get("/favicon\\.(png|ico)",
            [this](const httplib::Request&, httplib::Response& res) { ServePicture(res, web_.Favicon); });

  http_.Get("/cgi/version\\.pl", [this](const httplib::Request& req, httplib::Response& res) {
    const TQuery query = TQuery::FromTarget(req.target);
    switch (ClassifyRequest(req.path, query)) {
      case TRoute::VersionCheck:
        NoStore(res);
        // A token now would only lead to a report that cannot be stored.
        if (!database_->Up()) return Reply(res, 503, kDatabaseAway, kText);
        return Reply(res, 200, BuildVersionReply(signer_->Issue(UnixMillis())), kText);

      case TRoute::Report: {
        NoStore(res);
        if (!limiter_.Allow(
                ClientAddress(req.remote_addr, req.get_header_value("X-Forwarded-For"), options_.BehindProxy)))
          return Reply(res, 429, "too many reports from this address: try again in a minute\n", kText);
        if (query.Count("inf") > 1) return Reply(res, 400, "more than one report\n", kText);
        auto checked = CheckReport(query.Value("inf"), *signer_, UnixMillis());
        if (const auto* refusal = std::get_if<TRefusal>(&checked))
          return Reply(res, refusal->Status, refusal->Reason + "\n", kText);
        if (!database_->Up()) return Reply(res, 503, kDatabaseAway, kText);
        try {
          // Answered within the request time limit, stored or not.
          const auto deadline =
              std::chrono::steady_clock::now() + std::chrono::milliseconds(std::llround(options_.ReadSeconds * 1000));
          if (writer_->Submit(std::move(std::get<TNewScore>(checked)), deadline) == TStoreOutcome::TokenUsed)
            return Reply(res, 409, "the token was used already\n", kText);
          return Reply(res, 200, "OK stored\n", kText);
        } catch (const EWriterStopped&) {
          return Reply(res, 503, "the server is stopping\n", kText);
        } catch (const std::exception& e) {
          LogLine(std::string("cannot store a report: ") + e.what());
          return Reply(res, 503, "the report could not be stored\n", kText);
        }
      }

      case TRoute::Table:
        res.set_header("Cache-Control", "no-cache");
        if (!database_->Up()) return Reply(res, 503, RenderUnavailablePage(), kHtml);
        try {
          const auto page = table_.Get([this] { return RenderTablePage(store_->Best(kTableRows)); });
          return Reply(res, 200, *page, kHtml);
        } catch (const std::exception& e) {
          LogLine(std::string("cannot read the table: ") + e.what());
          database_->Saw(false);
          return Reply(res, 503, RenderUnavailablePage(), kHtml);
        }

      default:
        return Reply(res, 404, "not found\n", kText);
    }
  });

  // Statuses the library sets by itself (unknown path, malformed request)
  // get a short text too.
  http_.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) res.set_content(res.status == 404 ? "not found\n" : "bad request\n", kText);
  });
  http_.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr error) {
    try {
      if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
      LogLine(std::string("request failed: ") + e.what());
    } catch (...) {
      LogLine("request failed");
    }
    Reply(res, 500, "internal error\n", kText);
  });
  http_.set_logger([](const httplib::Request& req, const httplib::Response& res) {
    const auto took = std::chrono::steady_clock::now() - THttpServer::RequestStart();
    const TRoute route = req.path.empty() ? TRoute::NotFound : ClassifyRequest(req.path, TQuery::FromTarget(req.target));
    LogLine(RequestLogText(req.method, RouteName(route), res.status,
                           std::chrono::duration<double, std::milli>(took).count()));
  });
}

}  // namespace bd::server
