#include "server/ReportWriter.h"

#include <string>
#include <vector>

#include "server/Clock.h"
#include "server/Log.h"

namespace bd::server {

TReportWriter::TReportWriter(IScoreStore& store, std::function<void()> onStored, TSettings settings,
                             std::function<void(bool)> onBatch)
    : store_(store),
      onStored_(std::move(onStored)),
      onBatch_(std::move(onBatch)),
      settings_(settings),
      thread_([this] { Run(); }) {}

TReportWriter::TReportWriter(IScoreStore& store, std::function<void()> onStored, std::function<void(bool)> onBatch)
    : TReportWriter(store, std::move(onStored), TSettings{}, std::move(onBatch)) {}

TReportWriter::~TReportWriter() { Stop(); }

TStoreOutcome TReportWriter::Submit(TNewScore score) {
  return Submit(std::move(score), std::chrono::steady_clock::time_point::max());
}

TStoreOutcome TReportWriter::Submit(TNewScore score, std::chrono::steady_clock::time_point deadline) {
  std::future<TStoreOutcome> done;
  {
    std::lock_guard lock(mutex_);
    if (stopping_) throw EWriterStopped();
    TPending& pending = queue_.emplace_back(TPending{std::move(score), {}});
    done = pending.Done.get_future();
  }
  wake_.notify_one();
  if (deadline != std::chrono::steady_clock::time_point::max() &&
      done.wait_until(deadline) != std::future_status::ready)
    throw EStoreError("the database did not store the report in time");
  return done.get();
}

void TReportWriter::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void TReportWriter::Run() {
  auto nextForget = std::chrono::steady_clock::now() + settings_.ForgetEvery;
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait_until(lock, nextForget, [this] { return stopping_ || !queue_.empty(); });
    if (!queue_.empty()) {
      std::deque<TPending> batch;
      while (!queue_.empty() && batch.size() < settings_.MaxBatch) {
        batch.push_back(std::move(queue_.front()));
        queue_.pop_front();
      }
      lock.unlock();
      WriteBatch(batch);
      lock.lock();
      continue;  // drain what came meanwhile before anything else
    }
    if (stopping_) return;
    if (std::chrono::steady_clock::now() >= nextForget) {
      lock.unlock();
      try {
        const size_t forgotten = store_.ForgetUsedTokens(UnixMillis() - settings_.ForgetAfterMs);
        if (forgotten > 0) LogLine("forgot " + std::to_string(forgotten) + " expired used tokens");
      } catch (const std::exception& e) {
        LogLine(std::string("cannot forget expired tokens: ") + e.what());
      }
      nextForget = std::chrono::steady_clock::now() + settings_.ForgetEvery;
      lock.lock();
    }
  }
}

void TReportWriter::WriteBatch(std::deque<TPending>& batch) {
  std::vector<TNewScore> scores;
  scores.reserve(batch.size());
  const int64_t now = UnixMillis();
  for (TPending& p : batch) {
    p.Score.StoredAtMs = now;
    scores.push_back(p.Score);
  }
  std::vector<TStoreOutcome> outcomes;
  try {
    outcomes = store_.Store(scores);
    if (outcomes.size() != batch.size()) throw EStoreError("the store answered for a different number of reports");
  } catch (...) {
    LogLine("a batch of " + std::to_string(batch.size()) + " reports could not be stored");
    if (onBatch_) onBatch_(false);
    for (TPending& p : batch) p.Done.set_exception(std::current_exception());
    return;
  }
  if (onBatch_) onBatch_(true);
  bool stored = false;
  for (size_t i = 0; i < batch.size(); ++i) stored |= outcomes[i] == TStoreOutcome::Stored;
  // The page cache learns of the new scores before anyone hears they are
  // stored, so a player who looks right after finds theirs.
  if (stored && onStored_) onStored_();
  for (size_t i = 0; i < batch.size(); ++i) batch[i].Done.set_value(outcomes[i]);
}

}  // namespace bd::server
