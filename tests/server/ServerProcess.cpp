#include "ServerProcess.h"

#include <fcntl.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <regex>
#include <stdexcept>
#include <thread>

#include "codec/Cp1251.h"
#include "codec/ScoreReportFormat.h"
#include "codec/SettingsCodec.h"
#include "server/OpenStore.h"

extern char** environ;

namespace bd::test {

namespace {

using namespace std::chrono_literals;

// Waits for the child to exit; its exit status, or -1 after `wait`.
int WaitExit(pid_t pid, std::chrono::milliseconds wait) {
  const auto until = std::chrono::steady_clock::now() + wait;
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (done < 0 || std::chrono::steady_clock::now() > until) return -1;
    std::this_thread::sleep_for(10ms);
  }
}

}  // namespace

TScratchDir::TScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "bd-server-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TScratchDir::~TScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string RunForOutput(const std::string& command) {
  std::string out;
  if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
    char chunk[4096];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
    ::pclose(pipe);
  }
  return out;
}

std::filesystem::path ServerProgram() { return std::filesystem::path(BD_RUN_DIR) / "bumperdash-scores"; }

TServerProcess::TServerProcess(const std::filesystem::path& database, const std::filesystem::path& logFile,
                               std::vector<std::string> args)
    : logFile_(logFile) {
  std::vector<std::string> argv = {ServerProgram().string(), "--listen", "127.0.0.1:0", "--database",
                                   database.string()};
  bool limitGiven = false;
  for (const std::string& a : args) limitGiven |= a == "--reports-per-minute";
  if (!limitGiven) args.insert(args.end(), {"--reports-per-minute", "0"});
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargv;
  for (std::string& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);

  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                   0644);
  const int rc = ::posix_spawn(&pid_, cargv[0], &actions, nullptr, cargv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (rc != 0) {
    ::close(out[0]);
    throw std::runtime_error("cannot start " + argv[0]);
  }

  // The first line on standard output tells the port; the sanitizer build
  // starts slowly, so allow it a while.
  std::string line;
  const auto until = std::chrono::steady_clock::now() + 30s;
  while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < until) {
    pollfd p{out[0], POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char chunk[256];
    const ssize_t n = ::read(out[0], chunk, sizeof chunk);
    if (n <= 0) break;
    line.append(chunk, static_cast<size_t>(n));
  }
  ::close(out[0]);
  std::smatch m;
  if (!std::regex_search(line, m, std::regex("^listening on 127\\.0\\.0\\.1:([0-9]+)\n"))) {
    Kill();
    throw std::runtime_error("the server did not start; it said \"" + line + "\" and logged:\n" + Log());
  }
  port_ = std::stoi(m[1]);
}

TServerProcess::~TServerProcess() {
  if (pid_ > 0) Terminate();
}

std::string TServerProcess::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

int TServerProcess::Terminate() {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGTERM);
  int status = WaitExit(pid_, 20s);
  if (status < 0) {
    ::kill(pid_, SIGKILL);
    WaitExit(pid_, 5s);
  }
  pid_ = -1;
  return status;
}

void TServerProcess::Kill() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  WaitExit(pid_, 10s);
  pid_ = -1;
}

std::string TServerProcess::Log() const {
  std::string text;
  if (std::FILE* file = std::fopen(logFile_.c_str(), "r")) {
    char chunk[4096];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
    std::fclose(file);
  }
  return text;
}

THttpReply HttpGet(const std::string& base, const std::string& target) {
  httplib::Client client(base);
  client.set_url_encode(false);
  client.set_connection_timeout(5);
  client.set_read_timeout(20);
  const auto result = client.Get(target.c_str());
  if (!result) return {};
  return {result->status, result->body};
}

THttpReply HttpPost(const std::string& base, const std::string& target, const std::string& body) {
  httplib::Client client(base);
  client.set_url_encode(false);
  client.set_connection_timeout(5);
  client.set_read_timeout(20);
  const auto result = client.Post(target.c_str(), body, "application/octet-stream");
  if (!result) return {};
  return {result->status, result->body};
}

std::string FreshToken(const std::string& base) {
  const THttpReply reply = HttpGet(base, kVersionTarget);
  if (reply.Status != 200 || !VersionReplyIsOk(reply.Body)) return {};
  return ReportToken(reply.Body);
}

std::string EncodedReport(const std::string& nameUtf8, int32_t score, const std::string& token,
                          const std::string& countryUtf8) {
  return EncodeSettingsValue(
      BuildScoreReport(Utf8ToCp1251(nameUtf8), score, token, Utf8ToCp1251(countryUtf8)));
}

int SendReport(const std::string& base, const std::string& nameUtf8, int32_t score,
               const std::string& countryUtf8) {
  const std::string token = FreshToken(base);
  return HttpGet(base, kReportTarget + EncodedReport(nameUtf8, score, token, countryUtf8)).Status;
}

std::vector<std::string> AllStoredNames(const std::string& database) {
  std::vector<std::string> names;
  for (const server::TStoredScore& s : server::OpenStore(database)->Best(1000000)) names.push_back(s.Name);
  return names;
}

TReportLoad SendReportsUntil(const std::string& base, size_t clients,
                             const std::function<void()>& interrupt) {
  std::atomic<bool> interrupted{false};
  std::mutex mutex;
  TReportLoad load;
  std::vector<std::thread> threads;
  for (size_t c = 0; c < clients; ++c)
    threads.emplace_back([&, c] {
      for (int i = 0; i < 20000; ++i) {
        const std::string name = "C" + std::to_string(c) + "n" + std::to_string(i);
        const int status = SendReport(base, name, 100000 - i);
        std::lock_guard lock(mutex);
        ++load.Sent;
        if (status == 200)
          load.Answered.push_back(name);
        else if (interrupted)
          break;
      }
    });
  interrupt();
  interrupted = true;
  for (std::thread& t : threads) t.join();
  return load;
}

std::vector<std::string> TableNames(const std::string& page) {
  // A name cell holds the name and, for narrow screens, the country.
  static const std::regex cell("<td class=\"name\">([^<]*)");
  std::vector<std::string> names;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), cell); it != std::sregex_iterator(); ++it)
    names.push_back((*it)[1]);
  return names;
}

}  // namespace bd::test
