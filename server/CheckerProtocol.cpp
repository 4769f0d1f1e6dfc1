#include "server/CheckerProtocol.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "server/Tokens.h"

namespace bd::server {

namespace {

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  while (!line.empty()) {
    const size_t space = line.find(' ');
    words.push_back(line.substr(0, space));
    if (space == std::string_view::npos) break;
    line.remove_prefix(space + 1);
  }
  return words;
}

template <class T>
bool Number(std::string_view text, T& value) {
  if (text.empty() || text.size() > 20) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool IsHex(std::string_view text) {
  return !text.empty() && text.size() <= 256 && std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
  });
}

void Put(std::string& out, uint64_t value) {
  char digits[24];
  std::string_view written(
      digits, static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
  out += written;
}

}  // namespace

uint64_t PlayedIntervals(const TRecording& recording) {
  uint64_t total = 0;
  uint64_t lag = 1;
  uint32_t from = 0;  // the first frame played at `lag`
  for (const TInputEvent& e : recording.Events) {
    if (e.Kind != TInputKind::Lag) continue;
    const uint32_t at = std::min(e.Frame, recording.FrameCount);
    if (at > from) total += lag * (at - from);
    from = std::max(from, at);
    lag = e.Value;
  }
  if (recording.FrameCount > from) total += lag * (recording.FrameCount - from);
  return total;
}

TRecordingSummary Summarise(const TRecording& r) {
  TRecordingSummary s;
  s.RulesVersion = r.RulesVersion;
  s.SeedSource = r.SeedSource;
  s.Seed = r.Seed;
  s.Frames = r.FrameCount;
  s.Intervals = PlayedIntervals(r);
  s.Score = r.FinalScore;
  s.Level = r.FinalLevel;
  s.SeedTicket = r.SeedTicket;
  // The race is its seed and its inputs: the same race sent again, under
  // another name or with another token, has the same digest.
  std::string race = "seed " + std::to_string(r.Seed) + " frames " + std::to_string(r.FrameCount) + "\n";
  for (const TInputEvent& e : r.Events)
    race += std::to_string(e.Frame) + " " + std::to_string(static_cast<int>(e.Kind)) + " " +
            std::to_string(e.Value) + "\n";
  s.RaceDigest = ToHex(HmacSha256("bumperdash race", race));
  return s;
}

std::string FormatFirstLine(const std::variant<TRecordingSummary, TUndecodable>& first) {
  if (const auto* bad = std::get_if<TUndecodable>(&first)) {
    std::string reason = bad->Reason;
    std::replace(reason.begin(), reason.end(), '\n', ' ');
    return "undecodable " + reason + "\n";
  }
  const auto& s = std::get<TRecordingSummary>(first);
  std::string out = "recording";
  for (const uint64_t value : {uint64_t{s.RulesVersion}, uint64_t{static_cast<uint8_t>(s.SeedSource)},
                               uint64_t{s.Seed}, uint64_t{s.Frames}, s.Intervals}) {
    out += ' ';
    Put(out, value);
  }
  out += " " + std::to_string(s.Score) + " " + std::to_string(s.Level) + " " + s.RaceDigest + " " +
         (s.SeedTicket.empty() ? std::string("-") : s.SeedTicket) + "\n";
  return out;
}

std::optional<std::variant<TRecordingSummary, TUndecodable>> ParseFirstLine(std::string_view line) {
  if (line.starts_with("undecodable ")) return TUndecodable{std::string(line.substr(12))};
  const auto w = Words(line);
  if (w.size() != 10 || w[0] != "recording") return std::nullopt;
  TRecordingSummary s;
  unsigned source = 0;
  if (!Number(w[1], s.RulesVersion) || !Number(w[2], source) || source > 2 || !Number(w[3], s.Seed) ||
      !Number(w[4], s.Frames) || !Number(w[5], s.Intervals) || !Number(w[6], s.Score) ||
      !Number(w[7], s.Level) || !IsHex(w[8]) || !(w[9] == "-" || IsHex(w[9])))
    return std::nullopt;
  s.SeedSource = static_cast<TSeedSource>(source);
  s.RaceDigest = w[8];
  if (w[9] != "-") s.SeedTicket = w[9];
  return s;
}

std::string FormatSecondLine(const std::variant<TReplayResult, TUnfinished>& second) {
  if (std::holds_alternative<TUnfinished>(second)) return "unfinished\n";
  const auto& r = std::get<TReplayResult>(second);
  return "replayed " + std::to_string(r.Score) + " " + std::to_string(r.Level) + " " +
         std::to_string(r.Frames) + "\n";
}

std::optional<std::variant<TReplayResult, TUnfinished>> ParseSecondLine(std::string_view line) {
  if (line == "unfinished") return TUnfinished{};
  const auto w = Words(line);
  TReplayResult r;
  if (w.size() != 4 || w[0] != "replayed" || !Number(w[1], r.Score) || !Number(w[2], r.Level) ||
      !Number(w[3], r.Frames))
    return std::nullopt;
  return r;
}

}  // namespace bd::server
