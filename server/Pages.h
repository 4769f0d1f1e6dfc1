#pragma once
// The server's two pages for people: the home page and the online table.
// Plain HTML with inline CSS in the game's colours (sky, blue panels, yellow
// headings, dark ink outlines), no scripts, readable from a phone up to a
// desktop.

#include <span>
#include <string>
#include <string_view>

#include "server/ScoreStore.h"

namespace bd::server {

// How many scores the table shows.
inline constexpr size_t kTableRows = 100;

// The style sheet every page carries in its head (the replies' content
// security policy allows it by its hash).
std::string_view PageStyle();

// `text` with &, <, >, " and ' written as character references.
std::string HtmlEscape(std::string_view text);

// "2024-05-01 14:03" for a time in ms since 1970, in UTC.
std::string FormatUtcMinute(int64_t unixMillis);

// The table of the best scores, ranked from 1, in the order given.
std::string RenderTablePage(std::span<const TStoredScore> best);

// The table's page while the scores cannot be read.
std::string RenderUnavailablePage();

// What the game is, and the way to its table.
std::string RenderHomePage();

}  // namespace bd::server
