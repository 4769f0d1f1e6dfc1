#include "server/RecordingChecker.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>

namespace bd::server {

namespace {

using TClock = std::chrono::steady_clock;

#if defined(__SANITIZE_ADDRESS__)
// A sanitizer build's worker maps terabytes of shadow memory as it starts:
// no address-space limit lets it run, so that build goes without one.
constexpr bool kLimitAddressSpace = false;
#else
constexpr bool kLimitAddressSpace = true;
#endif

constexpr const char* kFailed = "checker failed";
constexpr const char* kTooLong = "checking took too long";
constexpr const char* kQueueFull = "checking queue full";

// The most a worker may write before its lines count as garbage.
constexpr size_t kMaxOutput = 4096;

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// One worker process and its three pipes.
class TWorker {
 public:
  // Starts the worker; Pid() < 0 when it could not be started.
  TWorker(const std::vector<std::string>& argv, const TCheckerSettings& settings) {
    int in[2], out[2], go[2];
    if (::pipe2(in, O_CLOEXEC) != 0) return;
    if (::pipe2(out, O_CLOEXEC) != 0) {
      ::close(in[0]), ::close(in[1]);
      return;
    }
    if (::pipe2(go, O_CLOEXEC) != 0) {
      ::close(in[0]), ::close(in[1]), ::close(out[0]), ::close(out[1]);
      return;
    }
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const rlimit cpu{static_cast<rlim_t>(settings.CpuSeconds), static_cast<rlim_t>(settings.CpuSeconds + 1)};
    const rlimit memory{static_cast<rlim_t>(settings.MemoryBytes), static_cast<rlim_t>(settings.MemoryBytes)};
    const rlimit noCore{0, 0};

    pid_ = ::fork();
    if (pid_ == 0) {
      // Only calls that are safe between fork and exec in a threaded program.
      ::dup2(in[0], STDIN_FILENO);
      ::dup2(out[1], STDOUT_FILENO);
      ::dup2(go[0], 3);
      ::close_range(4, ~0u, 0);
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      sigset_t none;
      ::sigemptyset(&none);
      ::sigprocmask(SIG_SETMASK, &none, nullptr);
      ::signal(SIGPIPE, SIG_DFL);
      ::setrlimit(RLIMIT_CPU, &cpu);
      if (kLimitAddressSpace && settings.MemoryBytes > 0) ::setrlimit(RLIMIT_AS, &memory);
      ::setrlimit(RLIMIT_CORE, &noCore);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    ::close(in[0]), ::close(out[1]), ::close(go[0]);
    in_ = in[1], out_ = out[0], go_ = go[1];
    if (pid_ < 0) {
      CloseFd(in_), CloseFd(out_), CloseFd(go_);
      return;
    }
    ::fcntl(in_, F_SETFL, O_NONBLOCK);
    ::fcntl(out_, F_SETFL, O_NONBLOCK);
  }

  ~TWorker() {
    CloseFd(in_), CloseFd(out_), CloseFd(go_);
    if (pid_ > 0 && !reaped_) {
      ::kill(pid_, SIGKILL);
      int status;
      while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
      }
    }
  }
  TWorker(const TWorker&) = delete;
  TWorker& operator=(const TWorker&) = delete;

  pid_t Pid() const { return pid_; }

  enum class TRead { Line, Ended, Late, TooMuch };

  // Writes what is left of `input` (then closes the worker's input) while
  // it reads the worker's output, until a whole line has come; the line
  // goes to `line` without its end.
  TRead NextLine(std::string_view& input, std::string& line, TClock::time_point deadline) {
    for (;;) {
      if (const size_t end = buffer_.find('\n'); end != std::string::npos) {
        line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return TRead::Line;
      }
      if (buffer_.size() > kMaxOutput) return TRead::TooMuch;
      if (out_ < 0) return TRead::Ended;
      if (input.empty()) CloseFd(in_);
      pollfd fds[2] = {{out_, POLLIN, 0}, {in_, POLLOUT, 0}};
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
      if (left <= 0) return TRead::Late;
      const int n = ::poll(fds, in_ >= 0 ? 2 : 1, static_cast<int>(std::min<int64_t>(left, 1000)));
      if (n < 0 && errno != EINTR) return TRead::Ended;
      if (n <= 0) continue;
      if (in_ >= 0 && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
        const ssize_t w = ::write(in_, input.data(), std::min<size_t>(input.size(), 65536));
        if (w > 0)
          input.remove_prefix(static_cast<size_t>(w));
        else if (w < 0 && errno != EAGAIN && errno != EINTR)
          input = {}, CloseFd(in_);  // the worker reads no more
      }
      if (fds[0].revents & (POLLIN | POLLERR | POLLHUP)) {
        char chunk[1024];
        const ssize_t r = ::read(out_, chunk, sizeof chunk);
        if (r > 0)
          buffer_.append(chunk, static_cast<size_t>(r));
        else if (r == 0 || (errno != EAGAIN && errno != EINTR))
          CloseFd(out_);
      }
    }
  }

  // Lets the race be played (`go`) or tells the worker it will not be.
  void Decide(bool go) {
    if (go) {
      const char byte = 'r';
      [[maybe_unused]] const auto w = ::write(go_, &byte, 1);
    }
    CloseFd(go_);
  }

  // Waits for the worker's end until `deadline`, then kills it. Describes
  // how it ended: empty for a clean exit.
  std::string Reap(TClock::time_point deadline) {
    // A worker's output ends as it exits: waiting for that end first spares
    // polling for the exit.
    while (out_ >= 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
      pollfd p{out_, POLLIN, 0};
      if (left <= 0 || ::poll(&p, 1, static_cast<int>(std::min<int64_t>(left, 1000))) < 0) break;
      char chunk[1024];
      const ssize_t r = (p.revents & (POLLIN | POLLERR | POLLHUP)) ? ::read(out_, chunk, sizeof chunk) : 1;
      if (r == 0 || (r < 0 && errno != EAGAIN && errno != EINTR)) CloseFd(out_);
    }
    int status = 0;
    for (;;) {
      const pid_t done = ::waitpid(pid_, &status, WNOHANG);
      if (done == pid_) break;
      if (done < 0 && errno != EINTR) return "lost";
      if (TClock::now() >= deadline) {
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        reaped_ = true;
        return "did not exit in time";
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    reaped_ = true;
    if (WIFSIGNALED(status)) return std::string("killed by signal ") + std::to_string(WTERMSIG(status));
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
      return "exited with status " + std::to_string(WEXITSTATUS(status));
    return {};
  }

 private:
  pid_t pid_ = -1;
  int in_ = -1, out_ = -1, go_ = -1;
  std::string buffer_;
  bool reaped_ = false;
};

TCheckRefusal Refusal(std::string reason, std::string detail = {}) {
  return {std::move(reason), std::move(detail)};
}

}  // namespace

TRecordingChecker::TRecordingChecker(TCheckerSettings settings) : settings_(std::move(settings)) {
  argv_ = settings_.Command;
  argv_.push_back("--frame-limit");
  argv_.push_back(std::to_string(settings_.FrameLimit));
  // A worker that ends before it has read its recording must not end the
  // server with it.
  std::signal(SIGPIPE, SIG_IGN);
}

bool TRecordingChecker::TakeWorker(std::string& why) {
  std::unique_lock lock(mutex_);
  if (running_ < settings_.Workers) {
    ++running_;
    return true;
  }
  if (waiting_ >= settings_.QueueLength) {
    why = "no place in the queue";
    return false;
  }
  ++waiting_;
  const bool got =
      freed_.wait_for(lock, settings_.QueueWait, [this] { return running_ < settings_.Workers; });
  --waiting_;
  if (!got) {
    why = "no worker came free in time";
    return false;
  }
  ++running_;
  return true;
}

void TRecordingChecker::ReturnWorker() {
  {
    std::lock_guard lock(mutex_);
    --running_;
  }
  freed_.notify_one();
}

std::variant<TCheckedRace, TCheckRefusal> TRecordingChecker::Check(std::string_view recording,
                                                                   const TJudge& judge) {
  std::string why;
  if (!TakeWorker(why)) return Refusal(kQueueFull, why);
  auto result = Run(recording, judge);
  ReturnWorker();
  return result;
}

std::variant<TCheckedRace, TCheckRefusal> TRecordingChecker::Run(std::string_view recording,
                                                                 const TJudge& judge) {
  const auto deadline = TClock::now() + settings_.Deadline;
  TWorker worker(argv_, settings_);
  if (worker.Pid() < 0)
    return Refusal(kFailed, std::string("cannot start the worker: ") + std::strerror(errno));

  // How a worker that said nothing sensible ended, for the log.
  const auto failed = [&](const std::string& what) {
    const std::string end = worker.Reap(std::min(deadline, TClock::now() + std::chrono::milliseconds(100)));
    return Refusal(kFailed, what + (end.empty() ? "" : ", " + end));
  };

  std::string line;
  std::string_view input = recording;
  switch (worker.NextLine(input, line, deadline)) {
    case TWorker::TRead::Line:
      break;
    case TWorker::TRead::Late:
      return Refusal(kTooLong, "no summary within the deadline");
    case TWorker::TRead::TooMuch:
      return failed("garbage output");
    case TWorker::TRead::Ended:
      return failed("no summary");
  }
  const auto first = ParseFirstLine(line);
  if (!first) return failed("garbage output");
  if (const auto* bad = std::get_if<TUndecodable>(&*first)) {
    worker.Decide(false);
    return Refusal("the recording cannot be read: " + bad->Reason);
  }
  const TRecordingSummary& summary = std::get<TRecordingSummary>(*first);
  if (auto refusal = judge(summary)) {
    worker.Decide(false);
    return Refusal(*refusal);
  }

  worker.Decide(true);
  switch (worker.NextLine(input, line, deadline)) {
    case TWorker::TRead::Line:
      break;
    case TWorker::TRead::Late:
      return Refusal(kTooLong, "no result within the deadline");
    case TWorker::TRead::TooMuch:
      return failed("garbage output");
    case TWorker::TRead::Ended:
      return failed("no result");
  }
  const auto second = ParseSecondLine(line);
  if (!second) return failed("garbage output");
  // A result counts only from a worker that then ends cleanly.
  if (const std::string end = worker.Reap(deadline); !end.empty())
    return Refusal(kFailed, "after its result: " + end);
  if (std::holds_alternative<TUnfinished>(*second))
    return Refusal("the race does not end within " + std::to_string(settings_.FrameLimit) + " frames");
  return TCheckedRace{summary, std::get<TReplayResult>(*second)};
}

}  // namespace bd::server
