#pragma once
// Where the server keeps the scores: one interface, so the same behaviour
// (and the same tests) holds for every kind of database behind it.

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace bd::server {

// The database could not do what was asked; nothing of that call was stored.
class EStoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How far a stored score was checked. A report without a recording (from a
// game that records none) is taken as it is; one with a recording is stored
// only after its replay reached exactly its score.
enum class TCheckState {
  Unchecked,
  Checked,         // replayed, on a seed the server issued (or the day's seed)
  CheckedOwnSeed,  // replayed, on a seed the game chose itself
};

// The name the database keeps for a state: "unchecked", "checked",
// "checked-own-seed".
std::string_view CheckStateName(TCheckState state);
// The inverse; Unchecked for a name it does not know.
TCheckState CheckStateFromName(std::string_view name);

// A report that passed every check, ready to be stored.
struct TNewScore {
  std::string Name;     // UTF-8, 1 to 10 characters
  std::string Country;  // UTF-8, may be empty
  int32_t Score = 0;    // 0 and above
  std::string TokenId;  // the token's own id: each is stored once at most
  int64_t TokenExpiresAtMs = 0;
  int64_t StoredAtMs = 0;  // when it was stored, ms since 1970 UTC

  TCheckState Check = TCheckState::Unchecked;
  std::optional<int32_t> Level;          // the level the game reached, when checked
  std::optional<int32_t> RulesVersion;   // the rules that replayed it
  std::optional<std::string> DailyDate;  // "YYYY-MM-DD" for a race on the day's seed
  std::string Recording;                 // the recording's bytes; empty for none
  // The id of the race itself (its seed ticket's, or one made from an own
  // seed's inputs), kept with the used tokens until RaceExpiresAtMs: one
  // race is stored once, whatever token it comes with. Empty for none.
  std::string RaceId;
  int64_t RaceExpiresAtMs = 0;
};

// A score as the table shows it.
struct TStoredScore {
  std::string Name;
  std::string Country;
  int32_t Score = 0;
  int64_t StoredAtMs = 0;

  int64_t Id = 0;  // the store's own number for the score
  TCheckState Check = TCheckState::Unchecked;
  std::optional<int32_t> Level = std::nullopt;
  std::optional<int32_t> RulesVersion = std::nullopt;
  std::optional<std::string> DailyDate = std::nullopt;

  bool operator==(const TStoredScore&) const = default;
};

enum class TStoreOutcome {
  Stored,
  TokenUsed,  // the token came with an earlier report: this one is not stored
  RaceUsed,   // the race came with an earlier report: this one is not stored
};

class IScoreStore {
 public:
  virtual ~IScoreStore() = default;

  // The schema version of the database, after the migrations that opening it ran.
  virtual int SchemaVersion() = 0;

  // The secret that signs tokens. A store that has none yet keeps
  // `candidate`; after that every call, from any server sharing the
  // database, returns the one kept.
  virtual std::string TokenSecret(std::string_view candidate) = 0;

  // Stores the scores in one transaction, which is on disk when this
  // returns. A score whose token was used before, or earlier in the same
  // call, is not stored. Throws EStoreError, having stored none of them,
  // when the transaction fails.
  virtual std::vector<TStoreOutcome> Store(std::span<const TNewScore> scores) = 0;

  // The best `limit` scores: higher scores first, equal scores in the order
  // they were stored (by time, then by arrival).
  virtual std::vector<TStoredScore> Best(size_t limit) = 0;

  // The recording stored with the score `scoreId`; nothing when it has none.
  virtual std::optional<std::string> Recording(int64_t scoreId) = 0;

  // Forgets the used tokens that expired before `beforeMs` (they are
  // refused as expired anyway); returns how many.
  virtual size_t ForgetUsedTokens(int64_t beforeMs) = 0;

  // Throws EStoreError when the database cannot be read.
  virtual void Check() = 0;
};

}  // namespace bd::server
