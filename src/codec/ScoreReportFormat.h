#pragma once
// The score report as the game writes it and the score server reads it:
// "type=0|name=…|score=…|key=…|p=…|add=…|z=" followed by "0" characters up
// to a multiple of 5 characters, then encoded with the settings code. Name,
// token and country are Windows-1251 text.

#include <cstdint>
#include <string>
#include <string_view>

namespace bd {

// The one-character key field of every report.
inline constexpr char ScoreReportKey = 'B';

// The plain report; name, token and country go in unchanged.
std::string BuildScoreReport(std::string_view playerName, int32_t score, std::string_view token,
                             std::string_view country);

}  // namespace bd
