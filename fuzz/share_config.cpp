// The exit-screen description "pdata/config.ini". Its paths are looked up
// under a scratch directory holding a few files, so that the fuzzer can reach
// past the file checks; a description that is accepted must be consistent.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "frontend/ShareConfig.h"

namespace {

std::filesystem::path g_root;

void RemoveRoot() {
  std::error_code ignored;
  std::filesystem::remove_all(g_root, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (std::filesystem::temp_directory_path() / "bd-fuzz-share-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  g_root = pattern;
  std::atexit(RemoveRoot);
  std::filesystem::create_directories(g_root / "pdata");
  for (const char* name : {"pdata/back.jpg", "pdata/read_n.bmp", "pdata/read_h.bmp", "pdata/readme.txt",
                           "pdata/site_n.bmp", "pdata/site_h.bmp", "pdata/site.html", "pdata/exit_n.bmp",
                           "pdata/exit_h.bmp", "pdata/exit_d.bmp", "a"})
    std::ofstream(g_root / name) << "x";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const bd::TShareConfig config =
      bd::ReadShareConfigText(std::string(reinterpret_cast<const char*>(data), size), g_root);
  if (!config.Enabled) return 0;
  if (config.ButtonCount < 0 || static_cast<size_t>(config.ButtonCount) != config.Buttons.size()) std::abort();
  for (size_t i = 0; i < config.Buttons.size(); ++i)
    if (config.Buttons[i].IsExit() != (i + 1 == config.Buttons.size())) std::abort();
  if (config.Countdown < 0 || config.Countdown % 10 != 0 || config.CountdownColor > 0xFFFFFF) std::abort();
  if (!std::filesystem::is_regular_file(config.PicturePath)) std::abort();
  return 0;
}
