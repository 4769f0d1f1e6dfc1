#pragma once
// The query string of a request as the game writes it: "&"-separated items,
// each a bare key ("version") or key=value. Values are taken as sent: the
// game's keys and values need no escapes, and a value in any other form is
// refused by whoever reads it.

#include <string>
#include <string_view>
#include <vector>

namespace bd::server {

class TQuery {
 public:
  // `target` is the request target; the part after the first "?" is read.
  static TQuery FromTarget(std::string_view target);

  bool Has(std::string_view key) const { return Count(key) > 0; }
  size_t Count(std::string_view key) const;
  // The value of the first item with this key; empty if there is none.
  std::string Value(std::string_view key) const;

 private:
  struct TItem {
    std::string Key;
    std::string Value;
  };
  std::vector<TItem> items_;
};

// What a request asks for. The game's addresses share one path and differ by
// their keys: the version check, the report, the table, and the seed for a
// race ("seed" a fresh one, "daily" the day's).
enum class TRoute { Home, Health, Logo, Favicon, VersionCheck, Report, Table, Seed, DailySeed, NotFound };

TRoute ClassifyRequest(std::string_view path, const TQuery& query);

// Whether the server answers on `path` at all (with some query): another
// method than GET or HEAD there is told which ones are allowed.
bool IsServedPath(std::string_view path);

// A short name for the log.
std::string_view RouteName(TRoute route);

}  // namespace bd::server
