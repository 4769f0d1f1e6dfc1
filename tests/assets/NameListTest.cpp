// The game's code names pictures and sounds by literal strings in many
// places; the asset builder makes, and the asset tests load, the names of
// one list. Every literal name in the code must be on that list, so that a
// name added to the code cannot be forgotten in the data.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <span>
#include <sstream>
#include <string>

#include "app/AssetNames.h"

namespace bd {
namespace {

namespace fs = std::filesystem;

TEST(AssetNames, EveryNameTheCodeAsksForIsListed) {
  const fs::path src = fs::path(__FILE__).parent_path().parent_path().parent_path() / "src";
  ASSERT_TRUE(fs::is_directory(src)) << src;
  std::set<std::string> images, sounds;
  for (auto list : {std::span<const std::string_view>(assets::kMenuImages),
                    std::span<const std::string_view>(assets::kRaceImages)})
    for (std::string_view n : list) images.emplace(n);
  for (std::string_view n : assets::kSounds) sounds.emplace(n);

  const std::regex imageCall(R"re(\b(?:FindImage|UseImage)\(\s*"([^"]*)")re");
  const std::regex soundCall(R"re(\b(?:PlaySound|FindSound|StopSound)\(\s*"([^"]*)")re");
  std::set<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    std::ifstream in(entry.path());
    std::ostringstream content;
    content << in.rdbuf();
    const std::string text = content.str();
    const std::string file = fs::relative(entry.path(), src).string();
    for (const auto& [re, known] : {std::pair{&imageCall, &images}, std::pair{&soundCall, &sounds}}) {
      for (std::sregex_iterator m(text.begin(), text.end(), *re), end; m != end; ++m) {
        const std::string name = (*m)[1];
        if (name == "all") continue;  // StopSound's word for every sound
        found.insert(name);
        EXPECT_TRUE(known->count(name)) << file << " asks for \"" << name << "\", which is not listed";
      }
    }
  }
  // The scan really sees the calls (a picture and a sound the code is known to use).
  EXPECT_TRUE(found.count("logo_loading"));
  EXPECT_TRUE(found.count("boom_stena"));
}

}  // namespace
}  // namespace bd
