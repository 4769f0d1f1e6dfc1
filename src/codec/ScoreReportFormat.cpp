#include "codec/ScoreReportFormat.h"

namespace bd {

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
  report.append((5 - report.size() % 5) % 5, '0');
  return report;
}

}  // namespace bd
