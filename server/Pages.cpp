#include "server/Pages.h"

#include <cstdio>
#include <ctime>

namespace bd::server {

namespace {

constexpr std::string_view kTableAddress = "/cgi/version.pl?prg=BumperDash&amp;show&amp;type=0";

// The look of the game's menus: a sky backdrop, blue panels with thick dark
// outlines and rounded corners, a yellow title bar, white rows.
constexpr std::string_view kStyle = R"css(
:root{--ink:#211714;--panel:#5279a2;--sky1:#3f9ae8;--sky2:#bfe8ff;--gold1:#fff27a;--gold2:#f59a1a}
*{box-sizing:border-box}
body{margin:0;min-height:100vh;font-family:"DejaVu Sans",Verdana,Arial,sans-serif;color:var(--ink);
background:linear-gradient(var(--sky1),var(--sky2) 60%,#9ad45a 60%,#4a9a2a)}
header{text-align:center;padding:12px 8px 0}
header img{width:min(520px,92vw);height:auto}
header .title{font:italic bold 2.4rem "DejaVu Sans",sans-serif;color:var(--gold2);text-shadow:2px 2px 0 var(--ink)}
main{max-width:760px;margin:8px auto 24px;padding:0 8px}
.panel{background:var(--panel);border:4px solid var(--ink);border-radius:18px;padding:10px 10px 14px;
box-shadow:0 6px 0 rgba(0,0,0,.25)}
h1{margin:0 0 10px;padding:6px 10px;text-align:center;font-size:1.6rem;font-weight:normal;
background:linear-gradient(var(--gold1),var(--gold2));border:3px solid var(--ink);border-radius:12px}
table{width:100%;border-collapse:separate;border-spacing:0 5px}
th{background:linear-gradient(var(--gold1),var(--gold2));text-align:left;padding:4px 8px;font-size:.85rem;
text-transform:uppercase;letter-spacing:.05em}
td{background:#fff;padding:5px 8px;border-top:2px solid var(--ink);border-bottom:2px solid var(--ink)}
th:first-child,td:first-child{border-left:2px solid var(--ink);border-radius:10px 0 0 10px;text-align:right;width:3.2em}
th:last-child,td:last-child{border-right:2px solid var(--ink);border-radius:0 10px 10px 0}
th{border:2px solid var(--ink);border-left:0;border-right:0}
td.score{font-weight:bold;text-align:right;font-variant-numeric:tabular-nums}
th.score{text-align:right}
td.date{white-space:nowrap;font-size:.85rem}
td.name{overflow-wrap:anywhere}
tr.top td{background:#fff8d0}
.country-line{display:none;font-size:.8rem;color:#4a4a4a}
p{line-height:1.5;background:#fff;border:2px solid var(--ink);border-radius:12px;padding:10px 14px;margin:8px 0}
.empty{text-align:center}
a.button{display:inline-block;margin:8px 0;padding:10px 22px;border:3px solid var(--ink);border-radius:999px;
color:#fff;font-weight:bold;text-decoration:none;text-shadow:1px 1px 0 var(--ink);
background:linear-gradient(#4aa2f0,#1a4c96)}
a.button:hover,a.button:focus{color:var(--ink);text-shadow:none;background:linear-gradient(var(--gold1),var(--gold2))}
.center{text-align:center}
footer{text-align:center;font-size:.8rem;padding-bottom:16px}
@media (max-width:520px){
 h1{font-size:1.25rem}
 th.country,td.country{display:none}
 .country-line{display:block}
 td,th{padding:4px 5px}
 td.date{font-size:.75rem;white-space:normal}
}
)css";

// The page around `body`: head, style, logo.
std::string Page(std::string_view title, std::string_view body) {
  std::string html;
  html.reserve(body.size() + kStyle.size() + 1024);
  html += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  html += title;
  html += "</title>\n<link rel=\"icon\" type=\"image/png\" href=\"/favicon.png\">\n<style>";
  html += kStyle;
  html += "</style>\n</head>\n<body>\n<header><a href=\"/\"><img src=\"/logo.png\" alt=\"Bumper Dash\" "
          "width=\"520\" height=\"130\"></a></header>\n<main>\n";
  html += body;
  html += "</main>\n<footer>Bumper Dash online high scores</footer>\n</body>\n</html>\n";
  return html;
}

}  // namespace

std::string_view PageStyle() { return kStyle; }

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 16);
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string FormatUtcMinute(int64_t unixMillis) {
  const auto seconds = static_cast<std::time_t>(unixMillis / 1000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                utc.tm_hour, utc.tm_min);
  return text;
}

std::string RenderTablePage(std::span<const TStoredScore> best) {
  std::string body = "<div class=\"panel\">\n<h1>Online high scores</h1>\n";
  if (best.empty()) {
    body += "<p class=\"empty\">No scores yet. Race, set a high score and send it from the game!</p>\n";
  } else {
    body +=
        "<table>\n<thead><tr><th>#</th><th>Name</th><th class=\"country\">Country</th>"
        "<th class=\"score\">Score</th><th>Date (UTC)</th></tr></thead>\n<tbody>\n";
    int rank = 0;
    for (const TStoredScore& s : best) {
      ++rank;
      const std::string country = HtmlEscape(s.Country);
      body += rank <= 3 ? "<tr class=\"top\">" : "<tr>";
      body += "<td>" + std::to_string(rank) + "</td><td class=\"name\">" + HtmlEscape(s.Name);
      if (!country.empty()) body += "<span class=\"country-line\">" + country + "</span>";
      body += "</td><td class=\"country\">" + country + "</td><td class=\"score\">" + std::to_string(s.Score) +
              "</td><td class=\"date\">" + FormatUtcMinute(s.StoredAtMs) + "</td></tr>\n";
    }
    body += "</tbody>\n</table>\n";
  }
  body += "<div class=\"center\"><a class=\"button\" href=\"/\">About the game</a></div>\n</div>\n";
  return Page("Bumper Dash: online high scores", body);
}

std::string RenderUnavailablePage() {
  return Page("Bumper Dash: online high scores",
              "<div class=\"panel\">\n<h1>Online high scores</h1>\n"
              "<p class=\"empty\">The table is unavailable just now. Please try again in a minute.</p>\n"
              "<div class=\"center\"><a class=\"button\" href=\"/\">About the game</a></div>\n</div>\n");
}

std::string RenderHomePage() {
  std::string body =
      "<div class=\"panel\">\n<h1>Bumper Dash</h1>\n"
      "<p>Bumper Dash is an arcade racing game for the desktop. Your car holds the bottom of a four-lane road "
      "that scrolls ever faster: steer between the lanes, speed up, brake and shoot, dodge the traffic, the "
      "poles, the puddles, the creeping chasm and the meteorites, and pick up lives, repair kits, guns and "
      "nitro on the way. Every level is longer than the last, until the last life is lost.</p>\n"
      "<p>When a race ends with a score for the table, type your name, tick the box to send it, and it "
      "joins the players' scores here. Set your country in the game's options.</p>\n"
      "<p>The game, its pictures, sounds and music, and this server are free software: you may share and "
      "change them under the GNU General Public License, version 3 or later.</p>\n"
      "<div class=\"center\"><a class=\"button\" href=\"";
  body += kTableAddress;
  body += "\">Online high scores</a></div>\n</div>\n";
  return Page("Bumper Dash", body);
}

}  // namespace bd::server
