#include "app/Settings.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <map>
#include <optional>
#include <ostream>

#include "codec/SettingsCodec.h"
#include "engine/base/RegularFile.h"

namespace bd {
namespace {

constexpr int kTableFirstLine = 6;  // 1-based number of entry 0's name line
// A real settings file is well under a kilobyte; anything near this size is
// not one, and reading it whole would only cost memory.
constexpr size_t kMaxSettingsFileBytes = 1 << 20;
constexpr int kMaxBadSettingsCopies = 99;

std::string_view Flag(bool on) { return on ? "true" : "false"; }

// Splits the file into lines; CR LF, a lone LF and a lone CR all end a line,
// so a file saved by any editor reads the same.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// Control characters cannot be typed into a name or a country; a text
// holding them comes from a damaged or badly edited line.
bool IsPlainText(std::string_view s) {
  return std::none_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

std::optional<int32_t> ParseScore(std::string_view s) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  int32_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

}  // namespace

std::string SettingsFileText(const TSettingsValues& values) {
  std::string out;
  auto line = [&out](std::string_view encoded) {
    out += encoded;
    out += "\r\n";
  };
  line(EncodeSettingsValue(Flag(values.FullScreen)));
  line(EncodeSettingsValue(Flag(values.Music)));
  line(EncodeSettingsValue(Flag(values.Sound)));
  line(EncodeSettingsValue(PadSettingsValue(values.Country)));
  line(EncodeSettingsValue(PadSettingsValue(values.PlayerName)));
  for (const auto& entry : values.Table) {
    line(EncodeSettingsValue(PadSettingsValue(entry.Name)));
    line(EncodeSettingsValue(PadSettingsValue(std::to_string(entry.Score))));
  }
  return out;
}

std::vector<std::string> ApplySettingsText(std::string_view text, TSettingsValues& values) {
  const std::vector<std::string_view> lines = SplitLines(text);
  // Decoded value of a 1-based line number; missing lines are empty.
  auto value = [&lines](int number) {
    const size_t i = static_cast<size_t>(number - 1);
    return i < lines.size() ? DecodeSettingsValue(lines[i]) : std::string();
  };
  std::map<int, std::string> problems;  // by line number, the first one found
  auto complain = [&problems](int number, const std::string& what) {
    problems.emplace(number, std::string(SettingsFileName) + " line " + std::to_string(number) + ": " + what);
  };
  auto applyText = [&](int number, std::string& target, const char* what) {
    const std::string v{StripSettingsPadding(value(number))};
    if (!IsPlainText(v))
      complain(number, std::string(what) + " holds control characters, kept the previous one");
    else if (v.size() > SettingsTextMaxLength)
      // Longer than anyone can type: it would run out of its box on screen.
      complain(number, std::string(what) + " is longer than " + std::to_string(SettingsTextMaxLength) +
                           " characters, kept the previous one");
    else
      target = v;
  };

  if (value(1) != "false") values.FullScreen = true;
  if (value(2) == "false") values.Music = false;
  if (value(3) == "false") values.Sound = false;
  applyText(4, values.Country, "country");
  applyText(5, values.PlayerName, "player name");

  for (int k = 0; k < HighScoreCount; ++k) {
    const int nameLine = kTableFirstLine + 2 * k;
    TLocal_HighScores& entry = values.Table[static_cast<size_t>(k)];
    if (!value(nameLine).empty()) applyText(nameLine, entry.Name, "high-score name");

    const std::string score = value(nameLine + 1);
    if (score.empty()) continue;
    if (const auto parsed = ParseScore(StripSettingsPadding(score)))
      entry.Score = *parsed;
    else
      complain(nameLine + 1, "score is not a whole number, kept " + std::to_string(entry.Score));
  }

  // Symbols that are not of the alphabet are skipped, so a hand-edited line
  // still reads; but no editor puts control characters into a line. They
  // mean a damaged file, even where what remains happened to be usable.
  for (int number = 1; number <= SettingsLineCount && static_cast<size_t>(number) <= lines.size(); ++number) {
    const std::string_view line = lines[static_cast<size_t>(number - 1)];
    const bool damaged = std::any_of(
        line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
    if (damaged) complain(number, "holds control characters, a sign of a damaged file; they were skipped");
  }
  std::vector<std::string> report;
  for (auto& [number, problem] : problems) report.push_back(std::move(problem));
  return report;
}

bool LoadSettingsFile(const std::filesystem::path& path, TSettingsValues& values, std::ostream& log) {
  const TFileRead read = ReadRegularFile(path.string(), kMaxSettingsFileBytes);
  if (read.error == ENOENT) return false;
  if (read.error != 0) {
    const std::string reason = read.error == EFBIG ? "far too large for a settings file" : read.reason;
    log << "Cannot read '" << path.string() << "' (" << reason << "), keeping the default settings\n";
    return false;
  }
  const std::string_view text(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size());
  for (const auto& problem : ApplySettingsText(text, values)) log << problem << '\n';
  return true;
}

std::filesystem::path KeepBadSettingsFile(const std::filesystem::path& path, bool readable,
                                          std::string& error) {
  namespace fs = std::filesystem;
  for (int n = 1; n <= kMaxBadSettingsCopies; ++n) {
    fs::path keep = path;
    keep += n == 1 ? std::string(".bad") : ".bad" + std::to_string(n);
    std::error_code ec;
    // An earlier damaged file is never overwritten.
    if (fs::exists(fs::symlink_status(keep, ec))) continue;
    if (readable)
      fs::copy_file(path, keep, fs::copy_options::none, ec);
    else
      fs::rename(path, keep, ec);
    if (!ec) return keep;
    error = ec.message();
    return {};
  }
  error = "no free name for a copy";
  return {};
}

void SaveSettingsFile(const std::filesystem::path& path, const TSettingsValues& values,
                      const TWriteCall& write) {
  WriteFileAtomically(path, SettingsFileText(values), write);
}

}  // namespace bd
