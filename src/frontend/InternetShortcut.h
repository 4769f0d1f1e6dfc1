#pragma once
// Internet-shortcut files (".url"): a small INI text whose [InternetShortcut]
// section names the address to open, as in
//   [InternetShortcut]
//   URL=http://www.example.org/
// The desktop does not open such files by itself, so the game reads the
// address and hands that to the shell.

#include <optional>
#include <string>
#include <string_view>

namespace bd {

// The URL= value of the [InternetShortcut] section (the key in any case,
// spaces around the value trimmed, a CR/LF or LF file); nothing when the
// text holds none.
std::optional<std::string> ShortcutUrl(std::string_view fileText);

// What the shell should open for the local file `path`: the address inside
// a readable shortcut file, otherwise the file itself. An address without a
// scheme ("pdata/site.html") is a file path relative to the shortcut's folder.
std::string ShellTarget(const std::string& path);

}  // namespace bd
