// The score server under load, in-process on a loopback port:
//  - the table page over HTTP with 1 000 000 stored scores, as players see
//    it (mostly from the page cache), with its 50th and 99th percentile;
//  - the same page rendered straight from the database, as after every new
//    score (the cache's worst case);
//  - reports per second from several clients at once (version check and
//    report each, every report committed to disk before its answer).
// The million scores are made once per run in a temporary directory.
// Then the real program in three set-ups side by side (see `setups` below):
// one server on SQLite, one on PostgreSQL, two on PostgreSQL behind nginx.
//   build/bench/bd_bench --benchmark_filter='BySetup|Uncached'
// runs those and the uncached pages alone.
#include <benchmark/benchmark.h>

#include <httplib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <cstdio>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "codec/ScoreReportFormat.h"
#include "codec/SettingsCodec.h"
#include "server/Pages.h"
#include "server/ScoreServer.h"
#include "server/PostgresStore.h"
#include "server/SqliteStore.h"
#include "NginxProcess.h"
#include "PostgresProcess.h"
#include "ServerProcess.h"

namespace bd::server {
namespace {

// One player's round: a version check, then a report with the token it
// gave; true when the report was stored.
bool ReportOnce(httplib::Client& client, const std::string& name, int32_t score) {
  const auto version = client.Get("/cgi/version.pl?version&prg=BumperDash");
  if (!version || version->status != 200) return false;
  const std::string report = BuildScoreReport(name, score, ReportToken(version->body), "RU");
  const auto stored = client.Get(("/cgi/version.pl?hs&prg=BumperDash&inf=" + EncodeSettingsValue(report)).c_str());
  return stored && stored->status == 200;
}

constexpr int kStoredScores = 1'000'000;

// A directory of this run's, removed with everything in it at exit.
struct TScratchDir {
  TScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "bd-server-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    path = pattern;
  }
  ~TScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::filesystem::path path;
};

const std::filesystem::path& ScratchDir() {
  static const TScratchDir dir;
  return dir.path;
}

// A database with a million scores, many of them equal, spread over a year.
std::filesystem::path MillionScores() {
  static const std::filesystem::path path = [] {
    const auto p = ScratchDir() / "million.db";
    TSqliteStore store(p);
    std::vector<TNewScore> batch;
    for (int i = 0; i < kStoredScores; ++i) {
      TNewScore s;
      s.Name = "Player" + std::to_string(i % 5000);
      s.Country = i % 3 ? "RU" : "";
      s.Score = static_cast<int32_t>((static_cast<int64_t>(i) * 7919) % 250000);
      s.TokenId = "bench-" + std::to_string(i);
      s.TokenExpiresAtMs = 0;
      s.StoredAtMs = 1'700'000'000'000 + static_cast<int64_t>(i) * 31'000;
      batch.push_back(std::move(s));
      if (batch.size() == 20000) {
        store.Store(batch);
        batch.clear();
      }
    }
    return p;
  }();
  return path;
}

// A server on 127.0.0.1 with its own thread, stopped at the end.
class TRunningServer {
 public:
  explicit TRunningServer(const std::filesystem::path& database) {
    TServerOptions options;
    options.Listen = {"127.0.0.1", 0};
    options.Database = database;
    options.WebDir = ScratchDir();
    options.ReportsPerMinute = 0;
    // Every player of the benchmark comes from this machine's address.
    options.MaxConnectionsPerAddress = 1024;
    server_ = std::make_unique<TScoreServer>(options);
    port_ = server_->Bind();
    thread_ = std::thread([this] { server_->Run(); });
  }
  ~TRunningServer() {
    server_->Stop();
    thread_.join();
  }
  TRunningServer(const TRunningServer&) = delete;
  TRunningServer& operator=(const TRunningServer&) = delete;
  int Port() const { return port_; }

 private:
  std::unique_ptr<TScoreServer> server_;
  int port_ = 0;
  std::thread thread_;
};

void ReportPercentiles(benchmark::State& state, std::vector<double>& ms) {
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  state.counters["p50_ms"] = ms[ms.size() / 2];
  state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
  state.counters["max_ms"] = ms.back();
}

void BM_TablePageOverHttp(benchmark::State& state) {
  TRunningServer server(MillionScores());
  httplib::Client client("127.0.0.1", server.Port());
  client.set_keep_alive(true);
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const auto reply = client.Get("/cgi/version.pl?prg=BumperDash&show&type=0");
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (!reply || reply->status != 200) state.SkipWithError("the table page failed");
  }
  ReportPercentiles(state, ms);
}
BENCHMARK(BM_TablePageOverHttp)->Iterations(3000)->Unit(benchmark::kMillisecond);

void BM_TablePageUncached(benchmark::State& state) {
  TSqliteStore store(MillionScores());
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const std::string page = RenderTablePage(store.Best(kTableRows));
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    benchmark::DoNotOptimize(page.data());
  }
  ReportPercentiles(state, ms);
}
BENCHMARK(BM_TablePageUncached)->Iterations(1000)->Unit(benchmark::kMillisecond);

// Reports from several players at once, each a version check and a report
// on its own keep-alive connection, as fast as the server answers: the
// reports accepted per second and the time from the version check to the
// report's answer. Bounded by a count per connection and a time limit.
void BM_ReportsFromManyClients(benchmark::State& state) {
  const auto database = ScratchDir() / ("reports-" + std::to_string(state.range(0)) + ".db");
  TRunningServer server(database);
  const int clients = static_cast<int>(state.range(0));
  const int reportsPerClient = std::max(200, 6400 / clients);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::vector<double> ms;
  std::mutex msMutex;
  std::atomic<int> accepted{0};
  for (auto _ : state) {
    std::atomic<int> failed{0};
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c)
      threads.emplace_back([&, c] {
        httplib::Client client("127.0.0.1", server.Port());
        client.set_keep_alive(true);
        std::vector<double> mine;
        for (int i = 0; i < reportsPerClient && std::chrono::steady_clock::now() < deadline; ++i) {
          const auto start = std::chrono::steady_clock::now();
          if (!ReportOnce(client, "C" + std::to_string(c), i)) {
            ++failed;
            continue;
          }
          ++accepted;
          mine.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::lock_guard lock(msMutex);
        ms.insert(ms.end(), mine.begin(), mine.end());
      });
    for (std::thread& t : threads) t.join();
    if (failed > 0) state.SkipWithError("reports failed");
  }
  state.SetItemsProcessed(accepted.load());
  ReportPercentiles(state, ms);
}
BENCHMARK(BM_ReportsFromManyClients)->Arg(1)->Arg(16)->Arg(64)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---------------------------------------------------------------------------
// The same load on three set-ups of the real program, one after another in
// one run, so their figures stand side by side:
//   0  one server on SQLite;
//   1  one server on PostgreSQL (a scratch cluster on a Unix socket);
//   2  two servers on that PostgreSQL database behind nginx.
// Every store holds the million scores first, so the table page is measured
// on a full table and reports go into one. Everything runs on this machine:
// the clients, the servers, PostgreSQL and nginx share its cores.
namespace setups {

const char* const kSetupNames[] = {"sqlite_1_instance", "postgres_1_instance", "postgres_2_instances_nginx"};

test::TPostgresServer& Postgres() {
  static test::TPostgresServer server(test::TPostgresServer::TSettings{"256MB"});
  return server;
}

// A PostgreSQL database with the same million scores as MillionScores().
const std::string& PostgresMillionScores() {
  static const std::string address = [] {
    const std::string a = Postgres().NewDatabase();
    { TPostgresStore store(a); }  // the schema
    Postgres().Sql(a,
                   "INSERT INTO scores (name, country, score, stored_at) "
                   "SELECT 'Player' || (i % 5000), CASE WHEN i % 3 = 0 THEN '' ELSE 'RU' END, "
                   "(i::bigint * 7919) % 250000, 1700000000000 + i::bigint * 31000 "
                   "FROM generate_series(0, " + std::to_string(kStoredScores - 1) + ") AS i; ANALYZE scores");
    return a;
  }();
  return address;
}

// The processor time a process and all its descendants have used so far, in
// seconds (of the ones alive now).
double TreeCpuSeconds(pid_t root) {
  std::map<pid_t, std::pair<pid_t, double>> processes;  // pid: parent, seconds
  const double tick = static_cast<double>(::sysconf(_SC_CLK_TCK));
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::FILE* file = std::fopen((entry.path() / "stat").c_str(), "r");
    if (!file) continue;
    char line[1024] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    if (!read) continue;
    const std::string stat = line;
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    std::vector<std::string> f;
    while (fields >> field) f.push_back(field);
    if (f.size() < 13) continue;  // state, ppid, … utime (12th), stime (13th)
    processes[std::stoi(name)] = {std::stoi(f[1]), (std::stod(f[11]) + std::stod(f[12])) / tick};
  }
  double seconds = 0;
  for (const auto& [pid, info] : processes) {
    for (pid_t p = pid; p > 1;) {
      if (p == root) {
        seconds += info.second;
        break;
      }
      const auto it = processes.find(p);
      if (it == processes.end()) break;
      p = it->second.first;
    }
  }
  return seconds;
}

double OwnCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The servers of one set-up, and the address the players use.
class TSetup {
 public:
  explicit TSetup(int kind) {
    const std::string database =
        kind == 0 ? MillionScores().string() : PostgresMillionScores();
    const int instances = kind == 2 ? 2 : 1;
    postgres_ = kind != 0;
    std::vector<int> ports;
    for (int i = 0; i < instances; ++i) {
      servers_.push_back(std::make_unique<test::TServerProcess>(
          database, ScratchDir() / ("setup" + std::to_string(kind) + "-" + std::to_string(i) + ".log"),
          // Every player (and the proxy) comes from this machine's address.
          std::vector<std::string>{"--web-dir", ScratchDir().string(), "--max-connections-per-address", "1024"}));
      ports.push_back(servers_.back()->Port());
    }
    if (kind == 2) {
      proxy_ = std::make_unique<test::TNginxProcess>(ports);
      port_ = proxy_->Port();
    } else {
      port_ = ports[0];
    }
  }
  int Port() const { return port_; }

  // Processor seconds used so far by the servers, by PostgreSQL and by nginx.
  std::map<std::string, double> CpuSeconds() const {
    std::map<std::string, double> cpu;
    for (const auto& s : servers_) cpu["servers"] += TreeCpuSeconds(s->Pid());
    if (postgres_) cpu["postgres"] = TreeCpuSeconds(Postgres().Pid());
    if (proxy_) cpu["nginx"] = TreeCpuSeconds(proxy_->Pid());
    cpu["clients"] = OwnCpuSeconds();
    return cpu;
  }

 private:
  bool postgres_ = false;
  std::vector<std::unique_ptr<test::TServerProcess>> servers_;
  std::unique_ptr<test::TNginxProcess> proxy_;
  int port_ = 0;
};

// 64 players for a fixed time, each a version check and a report on its own
// keep-alive connection, as fast as they are answered.
void BM_ReportsBySetup(benchmark::State& state) {
  TSetup setup(static_cast<int>(state.range(0)));
  state.SetLabel(kSetupNames[state.range(0)]);
  constexpr int kClients = 64;
  std::vector<double> ms;
  std::mutex msMutex;
  std::atomic<int> accepted{0}, failed{0};
  double seconds = 0;
  const auto cpuBefore = setup.CpuSeconds();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + std::chrono::seconds(8);
    std::vector<std::thread> threads;
    for (int c = 0; c < kClients; ++c)
      threads.emplace_back([&, c] {
        httplib::Client client("127.0.0.1", setup.Port());
        client.set_keep_alive(true);
        std::vector<double> mine;
        for (int i = 0; std::chrono::steady_clock::now() < deadline; ++i) {
          const auto begin = std::chrono::steady_clock::now();
          if (!ReportOnce(client, "B" + std::to_string(c), i)) {
            ++failed;
            continue;
          }
          ++accepted;
          mine.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count());
        }
        std::lock_guard lock(msMutex);
        ms.insert(ms.end(), mine.begin(), mine.end());
      });
    for (std::thread& t : threads) t.join();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  // Where the processor time went, per report: on a machine this small the
  // parts share its cores, so these say what limits the rate.
  for (const auto& [part, after] : setup.CpuSeconds())
    state.counters["cpu_us_per_report_" + part] = (after - cpuBefore.at(part)) * 1e6 / std::max(1, accepted.load());
  if (failed > 0) state.SkipWithError("reports failed");
  state.counters["reports_per_s"] = accepted / seconds;
  ReportPercentiles(state, ms);
}
BENCHMARK(BM_ReportsBySetup)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The table page as players see it through each set-up, with the million
// scores (and the reports of the benchmark before) stored.
void BM_TablePageBySetup(benchmark::State& state) {
  TSetup setup(static_cast<int>(state.range(0)));
  state.SetLabel(kSetupNames[state.range(0)]);
  httplib::Client client("127.0.0.1", setup.Port());
  client.set_keep_alive(true);
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const auto reply = client.Get("/cgi/version.pl?prg=BumperDash&show&type=0");
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    if (!reply || reply->status != 200) state.SkipWithError("the table page failed");
  }
  ReportPercentiles(state, ms);
}
BENCHMARK(BM_TablePageBySetup)->DenseRange(0, 2)->Iterations(3000)->Unit(benchmark::kMillisecond);

// The page rendered straight from PostgreSQL, as after every new score.
void BM_TablePageUncachedPostgres(benchmark::State& state) {
  TPostgresStore store(PostgresMillionScores());
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const std::string page = RenderTablePage(store.Best(kTableRows));
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    benchmark::DoNotOptimize(page.data());
  }
  ReportPercentiles(state, ms);
}
BENCHMARK(BM_TablePageUncachedPostgres)->Iterations(1000)->Unit(benchmark::kMillisecond);

}  // namespace setups

}  // namespace
}  // namespace bd::server
