#include "server/Query.h"

#include <algorithm>

namespace bd::server {

namespace {
constexpr std::string_view kScriptPath = "/cgi/version.pl";
constexpr std::string_view kProgram = "BumperDash";
}  // namespace

TQuery TQuery::FromTarget(std::string_view target) {
  TQuery query;
  const size_t mark = target.find('?');
  if (mark == std::string_view::npos) return query;
  std::string_view rest = target.substr(mark + 1);
  while (!rest.empty()) {
    const size_t amp = rest.find('&');
    const std::string_view item = rest.substr(0, amp);
    rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
    if (item.empty()) continue;
    const size_t eq = item.find('=');
    query.items_.push_back({std::string(item.substr(0, eq)),
                            eq == std::string_view::npos ? std::string() : std::string(item.substr(eq + 1))});
  }
  return query;
}

size_t TQuery::Count(std::string_view key) const {
  return static_cast<size_t>(
      std::count_if(items_.begin(), items_.end(), [&](const TItem& i) { return i.Key == key; }));
}

std::string TQuery::Value(std::string_view key) const {
  for (const TItem& i : items_)
    if (i.Key == key) return i.Value;
  return {};
}

bool IsServedPath(std::string_view path) {
  return path == kScriptPath || ClassifyRequest(path, TQuery()) != TRoute::NotFound;
}

TRoute ClassifyRequest(std::string_view path, const TQuery& query) {
  if (path == "/") return TRoute::Home;
  if (path == "/healthz") return TRoute::Health;
  if (path == "/logo.png") return TRoute::Logo;
  if (path == "/favicon.png" || path == "/favicon.ico") return TRoute::Favicon;
  if (path != kScriptPath) return TRoute::NotFound;
  // Only this game's program, named once, and exactly one of the uses.
  if (query.Count("prg") != 1 || query.Value("prg") != kProgram) return TRoute::NotFound;
  const size_t uses = query.Count("version") + query.Count("hs") + query.Count("show") + query.Count("seed") +
                      query.Count("daily");
  if (uses != 1) return TRoute::NotFound;
  if (query.Has("version")) return TRoute::VersionCheck;
  if (query.Has("hs")) return TRoute::Report;
  if (query.Has("seed")) return TRoute::Seed;
  if (query.Has("daily")) return TRoute::DailySeed;
  return query.Count("type") == 1 && query.Value("type") == "0" ? TRoute::Table : TRoute::NotFound;
}

std::string_view RouteName(TRoute route) {
  switch (route) {
    case TRoute::Home:
      return "home";
    case TRoute::Health:
      return "healthz";
    case TRoute::Logo:
      return "logo";
    case TRoute::Favicon:
      return "favicon";
    case TRoute::VersionCheck:
      return "version";
    case TRoute::Report:
      return "report";
    case TRoute::Table:
      return "table";
    case TRoute::Seed:
      return "seed";
    case TRoute::DailySeed:
      return "daily-seed";
    case TRoute::NotFound:
      break;
  }
  return "unknown";
}

}  // namespace bd::server
