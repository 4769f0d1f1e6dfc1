#pragma once
// The pictures the pages show, read once at start from the web directory
// that the asset builder fills: the logo and the favicon. Only these names
// are served, so no request can reach any other file.

#include <filesystem>
#include <string>

namespace bd::server {

struct TWebFiles {
  std::string Logo;     // logo.png, empty when missing
  std::string Favicon;  // favicon.png, empty when missing
};

// Reads them from `dir`; a missing file is logged and left empty (the pages
// then show the logo's text instead).
TWebFiles LoadWebFiles(const std::filesystem::path& dir);

// "www" beside the running program, where the build puts the web files.
std::filesystem::path DefaultWebDir();

}  // namespace bd::server
