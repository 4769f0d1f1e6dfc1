#include "server/Signals.h"

#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <ctime>

namespace bd::server {

namespace {

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  return set;
}

}  // namespace

void BlockStopSignals() {
  const sigset_t set = StopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  // A client that hangs up mid-reply must not end the server.
  signal(SIGPIPE, SIG_IGN);
}

TStopSignalWaiter::TStopSignalWaiter(std::function<void(int)> onStop)
    : thread_([this, onStop = std::move(onStop)] {
        const sigset_t set = StopSignals();
        // Wakes now and then to see whether it is still wanted.
        const timespec tick{0, 200 * 1000 * 1000};
        while (!done_) {
          const int received = sigtimedwait(&set, nullptr, &tick);
          if (received > 0) {
            onStop(received);
            return;
          }
        }
      }) {}

TStopSignalWaiter::~TStopSignalWaiter() {
  done_ = true;
  thread_.join();
}

}  // namespace bd::server
