#include "frontend/InternetShortcut.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "codec/AsciiText.h"

namespace bd {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// "scheme:" at the start, as in "http:", "https:", "file:" or "mailto:".
bool HasScheme(std::string_view url) {
  const size_t colon = url.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  if (!std::isalpha(static_cast<unsigned char>(url.front()))) return false;
  return std::all_of(url.begin(), url.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
  });
}

}  // namespace

std::optional<std::string> ShortcutUrl(std::string_view fileText) {
  bool inSection = false;
  while (!fileText.empty()) {
    const size_t end = fileText.find('\n');
    std::string_view line = Trim(fileText.substr(0, end));
    fileText = end == std::string_view::npos ? std::string_view{} : fileText.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      inSection = EqualsNoCase(line, "[InternetShortcut]");
      continue;
    }
    const size_t eq = line.find('=');
    if (!inSection || eq == std::string_view::npos) continue;
    if (!EqualsNoCase(Trim(line.substr(0, eq)), "URL")) continue;
    const std::string_view value = Trim(line.substr(eq + 1));
    if (value.empty()) return std::nullopt;
    return std::string(value);
  }
  return std::nullopt;
}

std::string ShellTarget(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (file) {
    std::ostringstream text;
    text << file.rdbuf();
    if (std::optional<std::string> url = ShortcutUrl(text.str())) {
      if (HasScheme(*url)) return *url;
      // A relative address names a file beside the shortcut, as the game's
      // own page is named, so that the shortcut works wherever the game is.
      return (std::filesystem::path(path).parent_path() / *url).lexically_normal().string();
    }
  }
  return path;
}

}  // namespace bd
