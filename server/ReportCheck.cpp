#include "server/ReportCheck.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "codec/Cp1251.h"
#include "codec/ScoreReportFormat.h"
#include "codec/SettingsCodec.h"

namespace bd::server {

namespace {

constexpr int kBadRequest = 400;
constexpr int kForbidden = 403;

bool IsAlphabetSymbol(char c) { return SettingsAlphabet.find(c) != std::string_view::npos; }

// The score's digits: a whole number from 0 to 2 147 483 647, written as the
// game writes it (no sign, no leading zeros).
bool ParseScore(std::string_view digits, int32_t& score) {
  if (digits.empty() || (digits.size() > 1 && digits[0] == '0')) return false;
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return false;
  if (value > std::numeric_limits<int32_t>::max()) return false;
  score = static_cast<int32_t>(value);
  return true;
}

// Empty when `text` may be stored as a name or country of at most `maxLength`
// characters, else why not.
std::string JudgeText(std::string_view what, std::string_view text, size_t minLength, size_t maxLength) {
  if (text.size() < minLength) return std::string(what) + " is empty";
  if (text.size() > maxLength)
    return std::string(what) + " is longer than " + std::to_string(maxLength) + " characters";
  if (!std::all_of(text.begin(), text.end(),
                   [](char c) { return IsStorableCharacter(static_cast<unsigned char>(c)); }))
    return std::string(what) + " holds a character that is not allowed";
  return {};
}

// Spaces around a name or country are an accident of typing (or of a hand
// edited settings file): "Петя " and "Петя" are one player.
std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

// The game's entry fields take digits, Latin letters and the Cyrillic
// letters (with Ё and ё), so that is all an honest report holds. The name and
// country in a report come from the settings file, though, which a player
// may edit by hand, so the server takes every printable Windows-1251
// character: spaces and punctuation as well, since the table page escapes
// everything it shows. It refuses what would break the report or the page's
// text: control characters (and DEL), the undefined code 0x98, the
// invisible no-break space and soft hyphen, and "|", which separates the
// report's fields (a report with one in a value has too many fields and is
// refused before this is asked).
bool IsStorableCharacter(unsigned char c) {
  if (c < 0x20 || c == 0x7F || c == 0x98 || c == 0xA0 || c == 0xAD) return false;
  return c != '|';
}

std::variant<TNewScore, TRefusal> CheckReport(std::string_view encoded, const TTokenSigner& signer,
                                              int64_t nowMs) {
  if (encoded.empty()) return TRefusal{kBadRequest, "no report"};
  if (encoded.size() > kMaxEncodedReport) return TRefusal{kBadRequest, "the report is too long"};
  if (!std::all_of(encoded.begin(), encoded.end(), IsAlphabetSymbol))
    return TRefusal{kBadRequest, "the report holds symbols outside its alphabet"};
  // Every 5 characters of a report become 8 symbols; anything else was cut
  // or padded on the way.
  if (encoded.size() % 8 != 0) return TRefusal{kBadRequest, "the report is not whole groups of 8 symbols"};

  const std::string report = DecodeSettingsValue(encoded);
  std::string reason;
  const auto fields = ParseScoreReport(report, &reason);
  if (!fields) return TRefusal{kBadRequest, "not a score report: " + reason};
  if (fields->Type != "0") return TRefusal{kBadRequest, "unknown report type"};
  if (fields->Key != std::string(1, ScoreReportKey)) return TRefusal{kBadRequest, "wrong key"};
  const std::string_view name = TrimSpaces(fields->PlayerName);
  const std::string_view country = TrimSpaces(fields->Country);
  if (std::string why = JudgeText("the name", name, 1, kMaxNameLength); !why.empty())
    return TRefusal{kBadRequest, why};
  if (std::string why = JudgeText("the country", country, 0, kMaxCountryLength); !why.empty())
    return TRefusal{kBadRequest, why};
  TNewScore score;
  if (!ParseScore(fields->Score, score.Score))
    return TRefusal{kBadRequest, "the score is not a whole number from 0 to 2147483647"};

  if (fields->Token.empty()) return TRefusal{kForbidden, "no token"};
  const TTokenCheck token = signer.Check(fields->Token, nowMs);
  if (token.Verdict == TTokenVerdict::Unknown) return TRefusal{kForbidden, "unknown token"};
  if (token.Verdict == TTokenVerdict::Expired) return TRefusal{kForbidden, "the token has expired"};

  score.Name = Cp1251ToUtf8(name);
  score.Country = Cp1251ToUtf8(country);
  score.TokenId = token.Id;
  score.TokenExpiresAtMs = token.ExpiresAtMs;
  return score;
}

}  // namespace bd::server
