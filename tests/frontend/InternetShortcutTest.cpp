#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "frontend/InternetShortcut.h"

namespace bd {
namespace {

TEST(InternetShortcut, AddressIsReadFromItsSection) {
  struct Case {
    const char* text;
    std::optional<std::string> url;
  };
  const Case cases[] = {
      {"[InternetShortcut]\r\nURL=http://games.example/more\r\n", "http://games.example/more"},
      {"[internetshortcut]\nurl = http://a.example/ \n", "http://a.example/"},
      {"[DEFAULT]\r\nBASEURL=http://wrong.example/\r\n[InternetShortcut]\r\nIconIndex=0\r\nURL=http://"
       "b.example/\r\n",
       "http://b.example/"},
      {"[Other]\nURL=http://wrong.example/\n", std::nullopt},
      {"[InternetShortcut]\nURL=\n", std::nullopt},
      {"URL=http://no-section.example/\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortcutUrl(c.text), c.url) << c.text;
}

TEST(InternetShortcut, ShellGetsTheAddressOrTheFileItself) {
  const auto dir = std::filesystem::temp_directory_path() / "bd-shortcut-test";
  std::filesystem::create_directories(dir);
  const std::string link = (dir / "more.url").string();
  const std::string plain = (dir / "notes.txt").string();
  std::ofstream(link) << "[InternetShortcut]\r\nURL=http://games.example/\r\n";
  std::ofstream(plain) << "just text\n";
  EXPECT_EQ(ShellTarget(link), "http://games.example/");
  EXPECT_EQ(ShellTarget(plain), plain);
  // An address without a scheme is a file beside the shortcut.
  const struct {
    const char* url;
    std::string target;
  } relative[] = {
      {"pdata/site.html", (dir / "pdata/site.html").string()},
      {"./pdata/../pdata/site.html", (dir / "pdata/site.html").string()},
      {"file:///usr/share/doc/x.html", "file:///usr/share/doc/x.html"},
      {"mailto:team@example.org", "mailto:team@example.org"},
  };
  for (const auto& c : relative) {
    std::ofstream(link) << "[InternetShortcut]\r\nURL=" << c.url << "\r\n";
    EXPECT_EQ(ShellTarget(link), c.target) << c.url;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace bd
