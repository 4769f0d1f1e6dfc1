#pragma once
// Stores reports with group commit: the request threads hand their scores to
// one writer thread and wait; the writer stores everything that has queued
// up in one transaction, then answers each waiting request. A report is
// answered as stored only once it is on disk, and a burst of reports costs
// one disk sync per batch instead of one each.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "server/ScoreStore.h"

namespace bd::server {

// The writer has stopped and takes no more reports.
class EWriterStopped : public std::runtime_error {
 public:
  EWriterStopped() : std::runtime_error("the score writer has stopped") {}
};

class TReportWriter {
 public:
  struct TSettings {
    size_t MaxBatch = 256;
    // How often used tokens past their expiry are forgotten, and how long
    // after their expiry they are kept (a margin for clocks that step back).
    std::chrono::milliseconds ForgetEvery = std::chrono::minutes(10);
    int64_t ForgetAfterMs = 60 * 60 * 1000;
  };

  // `onStored` runs on the writer thread after each commit that stored at
  // least one score (the table page's cache listens to it).
  // `onBatch`, when given, hears after each batch whether it could be
  // stored (the database's watch listens to it).
  TReportWriter(IScoreStore& store, std::function<void()> onStored, TSettings settings,
                std::function<void(bool)> onBatch = {});
  TReportWriter(IScoreStore& store, std::function<void()> onStored, std::function<void(bool)> onBatch = {});
  ~TReportWriter();
  TReportWriter(const TReportWriter&) = delete;
  TReportWriter& operator=(const TReportWriter&) = delete;

  // Stores one score and waits until it is committed. The stored time is set
  // here, when its batch is written. Throws EStoreError when the batch could
  // not be stored, EWriterStopped after Stop().
  TStoreOutcome Submit(TNewScore score);
  // The same, but gives up waiting at `deadline` with EStoreError: the
  // report may still be stored after, but is not answered as stored.
  TStoreOutcome Submit(TNewScore score, std::chrono::steady_clock::time_point deadline);

  // Stores what is queued, then ends the writer thread. Later calls to
  // Submit throw EWriterStopped.
  void Stop();

 private:
  struct TPending {
    TNewScore Score;
    std::promise<TStoreOutcome> Done;
  };
  void Run();
  void WriteBatch(std::deque<TPending>& batch);

  IScoreStore& store_;
  std::function<void()> onStored_;
  std::function<void(bool)> onBatch_;
  TSettings settings_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<TPending> queue_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace bd::server
