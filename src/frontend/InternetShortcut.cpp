#include "frontend/InternetShortcut.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace bd {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
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
    if (std::optional<std::string> url = ShortcutUrl(text.str())) return *url;
  }
  return path;
}

}  // namespace bd
