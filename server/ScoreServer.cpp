#include "server/ScoreServer.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "server/CheckRecordingCommand.h"
#include "server/Log.h"
#include "server/OpenStore.h"
#include "server/Pages.h"
#include "server/PostgresStore.h"
#include "server/RecordingReplay.h"
#include "server/SecurityHeaders.h"

namespace bd::server {

namespace {

// This program's own file, which runs the checks as its subcommand.
std::string OwnProgram() {
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0 || static_cast<size_t>(n) >= path.size())
    throw std::runtime_error("cannot find this program's own file");
  path.resize(static_cast<size_t>(n));
  return path;
}

TConnectionLimits LimitsFor(const TServerOptions& options) {
  TConnectionLimits limits;
  limits.ReadTime = std::chrono::milliseconds(std::llround(options.ReadSeconds * 1000));
  limits.MaxConnections = static_cast<size_t>(options.MaxConnections);
  limits.MaxConnectionsPerAddress = static_cast<size_t>(options.MaxConnectionsPerAddress);
  limits.LoopbackUnlimited = options.BehindProxy;
  return limits;
}

TCheckerSettings CheckerSettingsFor(const TServerOptions& options) {
  TCheckerSettings settings;
  if (options.CheckCommand.empty()) {
    const std::filesystem::path pictures =
        options.RacePictures.empty() ? DefaultRacePictures() : options.RacePictures;
    settings.Command = {OwnProgram(), kCheckRecordingCommand, "--race-pictures", pictures.string()};
    std::error_code ec;
    if (!std::filesystem::is_regular_file(pictures, ec))
      LogLine("no race pictures at " + pictures.string() +
              ": recordings cannot be checked (see --race-pictures)");
  } else {
    std::istringstream words(options.CheckCommand);
    for (std::string word; words >> word;) settings.Command.push_back(word);
  }
  settings.FrameLimit = static_cast<uint32_t>(options.CheckFrames);
  settings.CpuSeconds = options.CheckCpuSeconds;
  settings.MemoryBytes = static_cast<uint64_t>(options.CheckMemoryMb) << 20;
  settings.Deadline = std::chrono::milliseconds(std::llround(options.CheckSeconds * 1000));
  settings.Workers = options.CheckWorkers > 0 ? static_cast<size_t>(options.CheckWorkers)
                                              : std::max(1u, std::thread::hardware_concurrency());
  settings.QueueLength = static_cast<size_t>(options.CheckQueue);
  settings.QueueWait = std::chrono::milliseconds(std::llround(options.CheckWaitSeconds * 1000));
  return settings;
}

}  // namespace

TScoreServer::TScoreServer(const TServerOptions& options)
    : options_(options),
      web_(LoadWebFiles(options.WebDir.empty() ? DefaultWebDir() : options.WebDir)),
      homePage_(RenderHomePage()),
      limiter_(options.ReportsPerMinute),
      // Servers sharing a PostgreSQL database store each other's scores
      // unseen: their pages age out sooner.
      table_(IsPostgresAddress(options.Database.string()) ? std::chrono::seconds(1)
                                                          : std::chrono::seconds(5)),
      http_(
          LimitsFor(options), static_cast<size_t>(options.Threads),
          [this](const THttpRequest& request) { return Handle(request); },
          [](int status, std::string_view reason) {
            LogLine("refused a request: " + std::to_string(status) + " " + std::string(reason));
          }) {
  http_.SetCommonHeaders(SecurityHeaders(PageStyle()));
  housekeeping_ = std::thread([this] { Housekeeping(); });
}

TScoreServer::~TScoreServer() {
  Stop();
  {
    std::lock_guard lock(housekeepingMutex_);
    stopping_ = true;
  }
  housekeepingWake_.notify_all();
  if (housekeeping_.joinable()) housekeeping_.join();
}

int TScoreServer::Bind() {
  const int port = http_.Bind(options_.Listen.Host, options_.Listen.Port);
  if (port < 0)
    throw std::runtime_error("cannot listen on " + options_.Listen.Host + ":" +
                             std::to_string(options_.Listen.Port));
  // Only a server that has its address touches the database: one started
  // where another already answers leaves no file behind.
  store_ = OpenStore(options_.Database.string());
  database_ = std::make_unique<TDatabaseWatch>([this] { store_->Check(); });
  // The first server on a database makes the secret; the others take it.
  const std::string secret = store_->TokenSecret(RandomBytes(32));
  signer_ = std::make_unique<TTokenSigner>(secret, std::llround(options_.TokenMinutes * 60 * 1000));
  seeds_ = std::make_unique<TSeedTickets>(secret, std::llround(options_.SeedHours * 3600 * 1000));
  checker_ = std::make_unique<TRecordingChecker>(CheckerSettingsFor(options_));
  writer_ = std::make_unique<TReportWriter>(
      *store_, [this] { table_.Invalidate(); }, [this](bool stored) { database_->Saw(stored); });
  return port;
}

bool TScoreServer::Run() {
  const bool ok = http_.Serve();
  // Every request has been answered; the reports they queued are stored.
  if (writer_) writer_->Stop();
  {
    std::lock_guard lock(housekeepingMutex_);
    stopping_ = true;
  }
  housekeepingWake_.notify_all();
  if (housekeeping_.joinable()) housekeeping_.join();
  LogRefusals();
  return ok;
}

void TScoreServer::Stop() { http_.Stop(); }

void TScoreServer::Housekeeping() {
  std::unique_lock lock(housekeepingMutex_);
  while (!housekeepingWake_.wait_for(lock, std::chrono::minutes(1), [this] { return stopping_; })) {
    lock.unlock();
    LogRefusals();
    limiter_.Prune();
    lock.lock();
  }
}

void TScoreServer::LogRefusals() {
  if (const uint64_t refused = limiter_.TakeRefused(); refused > 0)
    LogLine("rate limit: refused " + std::to_string(refused) + " reports");
  const THttpServer::TCounts counts = http_.TakeCounts();
  if (counts.Refused > 0)
    LogLine("connection limits: refused " + std::to_string(counts.Refused) + " connections");
  if (counts.TimedOut > 0)
    LogLine("time limits: " + std::to_string(counts.TimedOut) + " connections sent no whole request in time");
}

}  // namespace bd::server
