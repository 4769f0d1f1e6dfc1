#include "server/WebFiles.h"

#include <cstdio>
#include <system_error>

#include "server/Log.h"

namespace bd::server {

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::string bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char chunk[65536];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
    if (std::ferror(file)) bytes.clear();
    std::fclose(file);
  }
  if (bytes.empty()) LogLine("no web file " + path.string() + ": the pages go without it");
  return bytes;
}

}  // namespace

TWebFiles LoadWebFiles(const std::filesystem::path& dir) {
  return {ReadFile(dir / "logo.png"), ReadFile(dir / "favicon.png")};
}

std::filesystem::path DefaultWebDir() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path("www") : self.parent_path() / "www";
}

}  // namespace bd::server
