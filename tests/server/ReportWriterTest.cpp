// The group-commit writer, with a store that records its batches.

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>

#include "server/ReportWriter.h"

namespace bd::server {
namespace {

using namespace std::chrono_literals;

// Keeps scores in memory; each batch takes a while, as a disk sync does.
class TSlowStore final : public IScoreStore {
 public:
  int SchemaVersion() override { return 1; }
  std::string TokenSecret(std::string_view candidate) override { return std::string(candidate); }
  std::vector<TStoreOutcome> Store(std::span<const TNewScore> scores) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(DelayMs.load()));
    std::lock_guard lock(mutex_);
    if (Fail) throw EStoreError("disk full");
    BatchSizes.push_back(scores.size());
    std::vector<TStoreOutcome> outcomes;
    for (const TNewScore& s : scores) {
      const bool fresh = tokens_.insert(s.TokenId).second;
      if (fresh) Stored.push_back(s);
      outcomes.push_back(fresh ? TStoreOutcome::Stored : TStoreOutcome::TokenUsed);
    }
    return outcomes;
  }
  std::vector<TStoredScore> Best(size_t) override { return {}; }
  std::optional<std::string> Recording(int64_t) override { return std::nullopt; }
  size_t ForgetUsedTokens(int64_t) override { return 0; }
  void Check() override {}

  std::atomic<bool> Fail{false};
  std::atomic<int> DelayMs{20};
  std::vector<size_t> BatchSizes;
  std::vector<TNewScore> Stored;

 private:
  std::mutex mutex_;
  std::set<std::string> tokens_;
};

TNewScore Score(int i) {
  TNewScore s;
  s.Name = "n" + std::to_string(i);
  s.TokenId = "t" + std::to_string(i);
  return s;
}

TEST(ReportWriter, ReportsThatArriveTogetherShareACommit) {
  TSlowStore store;
  std::atomic<int> commits{0};
  TReportWriter writer(store, [&] { ++commits; });
  std::vector<std::thread> threads;
  std::atomic<int> stored{0};
  for (int i = 0; i < 40; ++i)
    threads.emplace_back([&, i] { stored += writer.Submit(Score(i)) == TStoreOutcome::Stored; });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(stored, 40);
  EXPECT_EQ(store.Stored.size(), 40u);
  EXPECT_LT(store.BatchSizes.size(), 20u);
  EXPECT_EQ(commits, static_cast<int>(store.BatchSizes.size()));
  EXPECT_GT(store.Stored.front().StoredAtMs, 0);
  EXPECT_EQ(writer.Submit(Score(3)), TStoreOutcome::TokenUsed);
}

TEST(ReportWriter, AFailedCommitFailsEveryReportInIt) {
  TSlowStore store;
  std::vector<bool> batches;  // what the database's watch hears
  TReportWriter writer(store, nullptr, [&](bool stored) { batches.push_back(stored); });
  store.Fail = true;
  EXPECT_THROW(writer.Submit(Score(1)), EStoreError);
  store.Fail = false;
  EXPECT_EQ(writer.Submit(Score(1)), TStoreOutcome::Stored);
  EXPECT_EQ(batches, (std::vector<bool>{false, true}));
}

TEST(ReportWriter, AReportNotStoredByItsDeadlineIsNotAnsweredAsStored) {
  TSlowStore store;
  store.DelayMs = 400;  // a database that hangs
  TReportWriter writer(store, nullptr);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(writer.Submit(Score(1), start + 50ms), EStoreError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 300ms);
  // The writer goes on with it: stored later, though not answered so.
  writer.Stop();
  EXPECT_EQ(store.Stored.size(), 1u);
}

TEST(ReportWriter, StopStoresWhatIsQueuedAndTakesNoMore) {
  TSlowStore store;
  TReportWriter writer(store, nullptr);
  std::vector<std::thread> threads;
  std::atomic<int> stored{0}, refused{0};
  for (int i = 0; i < 20; ++i)
    threads.emplace_back([&, i] {
      try {
        stored += writer.Submit(Score(i)) == TStoreOutcome::Stored;
      } catch (const EWriterStopped&) {
        ++refused;
      }
    });
  std::this_thread::sleep_for(5ms);
  writer.Stop();
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(stored + refused, 20);
  EXPECT_EQ(static_cast<size_t>(stored.load()), store.Stored.size());
  EXPECT_THROW(writer.Submit(Score(99)), EWriterStopped);
}

}  // namespace
}  // namespace bd::server
