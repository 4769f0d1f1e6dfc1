#include "codec/ScoreReportFormat.h"

#include <array>
#include <stdexcept>

namespace bd {

namespace {

// The report's field names, in the order they are written.
constexpr std::array<std::string_view, 7> kFieldNames = {"type", "name", "score", "key", "p", "add", "z"};
constexpr int kTokenField = 5;

// Characters of "0" filling that make `length` a multiple of 5.
size_t FillingFor(size_t length) { return (5 - length % 5) % 5; }

}  // namespace

std::string BuildScoreReport(std::string_view playerName, int32_t score, std::string_view token,
                             std::string_view country) {
  std::string report = "type=0|name=";
  report += playerName;
  report += "|score=" + std::to_string(score);
  report += "|key=";
  report += ScoreReportKey;
  report += "|p=";
  report += token;
  report += "|add=";
  report += country;
  report += "|z=";
  // A whole number of 5-byte blocks encodes to whole 8-symbol groups with no
  // leading filler bits, which the server decodes exactly.
  report.append(FillingFor(report.size()), '0');
  return report;
}

std::optional<TScoreReportFields> ParseScoreReport(std::string_view report, std::string* reason) {
  auto refuse = [reason](std::string why) -> std::optional<TScoreReportFields> {
    if (reason) *reason = std::move(why);
    return std::nullopt;
  };

  std::array<std::string_view, kFieldNames.size()> values;
  std::string_view rest = report;
  for (size_t i = 0; i < kFieldNames.size(); ++i) {
    const bool last = i + 1 == kFieldNames.size();
    const size_t bar = rest.find('|');
    if (last != (bar == std::string_view::npos))
      return refuse(last ? "more fields than a report has" : "fields missing");
    const std::string_view field = rest.substr(0, bar);
    const std::string_view name = kFieldNames[i];
    if (field.size() <= name.size() || !field.starts_with(name) || field[name.size()] != '=')
      return refuse("field " + std::to_string(i + 1) + " is not \"" + std::string(name) + "=\"");
    values[i] = field.substr(name.size() + 1);
    if (!last) rest.remove_prefix(bar + 1);
  }

  // The filling: only "0", exactly as many as make the report a multiple of 5.
  const std::string_view filling = values.back();
  if (filling.find_first_not_of('0') != std::string_view::npos) return refuse("the z field is not filling");
  if (filling.size() != FillingFor(report.size() - filling.size()))
    return refuse("the filling does not make a multiple of 5 characters");

  TScoreReportFields fields;
  fields.Type = values[0];
  fields.PlayerName = values[1];
  fields.Score = values[2];
  fields.Key = values[3];
  fields.Token = values[4];
  fields.Country = values[5];
  return fields;
}

bool VersionReplyIsOk(std::string_view reply) { return reply.starts_with("OK"); }

std::string ReportToken(std::string_view reply) {
  // Each step takes the text before the next "|" and moves past it; a step
  // that finds no "|" yields an empty field and leaves the rest as it is.
  std::string_view rest = reply;
  std::string_view field;
  for (int i = 0; i < kTokenField; ++i) {
    const size_t bar = rest.find('|');
    if (bar == std::string_view::npos) {
      field = {};
      continue;
    }
    field = rest.substr(0, bar);
    rest.remove_prefix(bar + 1);
  }
  return std::string(field);
}

std::string BuildVersionReply(std::string_view token) {
  if (token.find('|') != std::string_view::npos) throw std::invalid_argument("a token cannot hold \"|\"");
  // OK, the program, the reply's layout version, an unused field, the token,
  // and an empty last field so that the token is followed by a "|" as well.
  std::string reply = "OK|BumperDash|1||";
  reply += token;
  reply += '|';
  return reply;
}

}  // namespace bd
