#include <gtest/gtest.h>

#include <stdexcept>

#include "server/Pages.h"
#include "server/TableCache.h"

namespace bd::server {
namespace {

TEST(Pages, EveryStoredTextIsEscaped) {
  const std::pair<const char*, const char*> cases[] = {
      {"plain", "plain"},
      {"<script>", "&lt;script&gt;"},
      {"a&b", "a&amp;b"},
      {"\"q\" 'a'", "&quot;q&quot; &#39;a&#39;"},
      {"&lt;", "&amp;lt;"},
      {"Пётр", "Пётр"},
  };
  for (const auto& [text, escaped] : cases) EXPECT_EQ(HtmlEscape(text), escaped);

  const TStoredScore rows[] = {{"<img src=x onerror=alert(1)>", "\"><b>", 10, 0}};
  const std::string page = RenderTablePage(rows);
  EXPECT_EQ(page.find("<img src=x"), std::string::npos);
  EXPECT_EQ(page.find("\"><b>"), std::string::npos);
  EXPECT_NE(page.find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
  EXPECT_NE(page.find("&quot;&gt;&lt;b&gt;"), std::string::npos);
}

TEST(Pages, TheTableRanksTheRowsAsGiven) {
  const TStoredScore rows[] = {{"First", "RU", 300, 1'700'000'000'000}, {"Second", "", 200, 0}};
  const std::string page = RenderTablePage(rows);
  const size_t first = page.find("<tr class=\"top\"><td>1</td><td class=\"name\">First");
  const size_t second = page.find("<tr class=\"top\"><td>2</td><td class=\"name\">Second");
  EXPECT_NE(first, std::string::npos);
  EXPECT_NE(second, std::string::npos);
  EXPECT_LT(first, second);
  EXPECT_NE(page.find("<td class=\"date\">2023-11-14 22:13</td>"), std::string::npos);
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page.find("name=\"viewport\""), std::string::npos);
  EXPECT_EQ(page.find("<script"), std::string::npos);
  EXPECT_NE(RenderTablePage({}).find("No scores yet"), std::string::npos);
}

TEST(TableCache, RendersAgainOnlyWhenInvalidatedOrAged) {
  TTableCache cache(std::chrono::hours(1));
  int renders = 0;
  const auto render = [&] { return "page " + std::to_string(++renders); };
  EXPECT_EQ(*cache.Get(render), "page 1");
  EXPECT_EQ(*cache.Get(render), "page 1");
  cache.Invalidate();
  EXPECT_EQ(*cache.Get(render), "page 2");
  // A failed render leaves no page behind to be served as current.
  cache.Invalidate();
  EXPECT_THROW(cache.Get([]() -> std::string { throw std::runtime_error("database gone"); }), std::runtime_error);
  EXPECT_EQ(*cache.Get(render), "page 3");

  TTableCache aging(std::chrono::milliseconds(0));
  EXPECT_EQ(*aging.Get(render), "page 4");
  EXPECT_EQ(*aging.Get(render), "page 5");
}

}  // namespace
}  // namespace bd::server
