#pragma once
// The fields every reply of a public web service carries, so that a browser
// neither guesses a reply's type, nor runs or loads anything a page does
// not need, nor shows a page inside another site's frame, nor tells other
// sites which page a player came from.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bd::server {

// "'sha256-…'": the form a content security policy allows an inline
// style or script by.
std::string CspHash(std::string_view content);

// The fields, with a policy that allows the pages' one inline style sheet
// (`style`) and their pictures from this server, and nothing else.
std::vector<std::pair<std::string, std::string>> SecurityHeaders(std::string_view style);

}  // namespace bd::server
