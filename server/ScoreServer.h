#pragma once
// The whole score server: the store, the token signer, the report writer,
// the rate limit, the page cache and the HTTP routes, and their order of
// starting and stopping.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "server/DatabaseWatch.h"
#include "server/HttpServer.h"
#include "server/Options.h"
#include "server/Query.h"
#include "server/RateLimiter.h"
#include "server/RecordingChecker.h"
#include "server/ReportWriter.h"
#include "server/ScoreStore.h"
#include "server/SeedTickets.h"
#include "server/TableCache.h"
#include "server/Tokens.h"
#include "server/WebFiles.h"

namespace bd::server {

class TScoreServer {
 public:
  // Reads the web files. Throws std::runtime_error when it cannot.
  explicit TScoreServer(const TServerOptions& options);
  ~TScoreServer();
  TScoreServer(const TScoreServer&) = delete;
  TScoreServer& operator=(const TScoreServer&) = delete;

  // Binds the listening socket, then opens the database (running its
  // migrations); returns the port (the free one chosen for port 0). Throws
  // std::runtime_error when the address cannot be bound, EStoreError when
  // the database cannot be used.
  int Bind();

  // Serves until Stop(), then lets every request in flight finish and
  // stores every report that was taken. Returns false when serving failed.
  bool Run();

  // Asks Run() to end; from any thread, also before Run().
  void Stop();

  IScoreStore& Store() { return *store_; }  // after Bind()

 private:
  THttpResponse Handle(const THttpRequest& request);
  THttpResponse Route(const THttpRequest& request, const TQuery& query, TRoute route);
  THttpResponse Report(const THttpRequest& request, const TQuery& query);
  // A report with its race's recording (the request's body): stored as
  // checked once the race, played again, ends with the reported score.
  THttpResponse RecordedReport(const THttpRequest& request, TNewScore score);
  THttpResponse StoreScore(TNewScore score);
  THttpResponse SeedReply(bool daily);
  void Housekeeping();
  void LogRefusals();

  TServerOptions options_;
  std::unique_ptr<IScoreStore> store_;
  std::unique_ptr<TDatabaseWatch> database_;
  TWebFiles web_;
  std::string homePage_;
  std::unique_ptr<TTokenSigner> signer_;
  std::unique_ptr<TSeedTickets> seeds_;
  std::unique_ptr<TRecordingChecker> checker_;
  TRateLimiter limiter_;
  TTableCache table_;
  std::unique_ptr<TReportWriter> writer_;
  THttpServer http_;

  std::mutex housekeepingMutex_;
  std::condition_variable housekeepingWake_;
  bool stopping_ = false;
  std::thread housekeeping_;
};

}  // namespace bd::server
