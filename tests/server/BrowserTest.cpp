// The online table in a real browser: headless Chromium loads the page from
// the real server, and its rendered text shows the stored names, Cyrillic
// ones included, with markup in a name shown as text. The screenshots (a
// desktop and a phone) stay in the build tree under tests/server/.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ServerProcess.h"

namespace bd::test {
namespace {

constexpr const char* kChromium = "/usr/bin/chromium";

// Runs Chromium headless on `url` with `what` (--dump-dom, --screenshot=…);
// returns its standard output, and with `console` its log too (where the
// page's console messages go, a refusal by the content security policy
// among them).
std::string Chromium(const std::string& url, const std::string& what, const std::filesystem::path& profile,
                     bool console = false) {
  const std::string command = std::string(kChromium) +
                              " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
                              " --disable-background-networking --disable-component-update --disable-sync"
                              " --hide-scrollbars --user-data-dir=" +
                              profile.string() + (console ? " --enable-logging=stderr --v=0 " : " ") + what +
                              " '" + url + (console ? "' 2>&1" : "' 2>/dev/null");
  return RunForOutput(command);
}

bool IsPng(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  char magic[8] = {};
  in.read(magic, sizeof magic);
  return in && std::string(magic + 1, 3) == "PNG" && std::filesystem::file_size(file) > 10000;
}

TEST(Browser, TheTableShowsTheStoredNames) {
  // Installed by scripts/install-deps.sh: its absence is a failure, not a skip.
  ASSERT_TRUE(std::filesystem::exists(kChromium)) << kChromium << " is missing";

  TScratchDir dir;
  TServerProcess server(dir.Path() / "scores.db", dir.Path() / "server.log");
  ASSERT_EQ(SendReport(server.Base(), "Пётр", 90210, "Україна"), 200);
  ASSERT_EQ(SendReport(server.Base(), "<i>Tag</i>", 4000, "UK"), 200);
  ASSERT_EQ(SendReport(server.Base(), "Anna", 4000, "DE"), 200);  // a tie: the earlier one first
  for (int i = 0; i < 12; ++i)
    ASSERT_EQ(SendReport(server.Base(), "Racer" + std::to_string(i), 300 - i, "FR"), 200);

  const std::string url = server.Base() + kTableTarget;
  const std::string dom = Chromium(url, "--dump-dom", dir.Path() / "profile-dom");
  ASSERT_NE(dom.find("Online high scores"), std::string::npos) << dom.substr(0, 500);
  EXPECT_NE(dom.find("Пётр"), std::string::npos);
  EXPECT_NE(dom.find("Україна"), std::string::npos);
  // Markup in a name is text in the page, not an element.
  EXPECT_NE(dom.find("&lt;i&gt;Tag&lt;/i&gt;"), std::string::npos);
  EXPECT_EQ(dom.find("<i>Tag</i>"), std::string::npos);
  const size_t petr = dom.find("Пётр"), tag = dom.find("&lt;i&gt;Tag"), anna = dom.find("Anna");
  EXPECT_LT(petr, tag);
  EXPECT_LT(tag, anna);
  EXPECT_EQ(dom.find("<script"), std::string::npos);
  // The replies' security policy lets the pages' own style and pictures
  // through, and the browser has nothing to refuse.
  for (const std::string& page : {url, server.Base() + "/"}) {
    const std::string log = Chromium(page, "--dump-dom", dir.Path() / "profile-console", true);
    EXPECT_NE(log.find("</html>"), std::string::npos) << page;
    EXPECT_EQ(log.find("Content Security Policy"), std::string::npos) << page << "\n" << log.substr(0, 2000);
  }

  const std::filesystem::path out = BD_SERVER_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(out);
  struct TView {
    const char* File;
    const char* Size;
  };
  for (const TView& view : {TView{"table-desktop.png", "1280,900"}, TView{"table-phone.png", "390,844"}}) {
    std::filesystem::remove(out / view.File);
    Chromium(url, "--screenshot=" + (out / view.File).string() + " --window-size=" + view.Size,
             dir.Path() / (std::string("profile-") + view.File));
    EXPECT_TRUE(IsPng(out / view.File)) << out / view.File;
  }
  std::filesystem::remove(out / "home-desktop.png");
  Chromium(server.Base() + "/",
           "--screenshot=" + (out / "home-desktop.png").string() + " --window-size=1280,900",
           dir.Path() / "profile-home");
  EXPECT_TRUE(IsPng(out / "home-desktop.png"));
}

}  // namespace
}  // namespace bd::test
