// The package check's mirror finder, run against scratch roots whose apt
// sources take the forms a Debian machine may have.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace bd {
namespace {

namespace fs = std::filesystem;

const fs::path kScript =
    fs::path(__FILE__).parent_path().parent_path().parent_path() / "scripts" / "debian-mirrors.sh";

struct TSourcesCase {
  const char* Name;
  // Files under etc/apt/, by their path there.
  std::map<std::string, std::string> Files;
  const char* Expected;  // the finder's output
};

const std::vector<TSourcesCase>& Cases() {
  static const std::vector<TSourcesCase> cases = {
      {"deb822_with_several_suites_and_components",
       {{"sources.list.d/debian.sources",
         "Types: deb deb-src\n"
         "# an earlier mirror, kept for reference\n"
         "URIs: http://mirror.example.org/debian/\n"
         "Suites: bookworm bookworm-updates\n"
         "Components: main contrib non-free-firmware\n"
         "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n"
         "\n"
         "Types: deb\n"
         "URIs: https://security.example.org/debian-security\n"
         "Suites: bookworm-security\n"
         "Components: main\n"}},
       "main http://mirror.example.org/debian\nsecurity https://security.example.org/debian-security\n"},
      {"one_line_form_with_options_and_comments",
       {{"sources.list",
         "# deb http://old.example.org/debian bookworm main\n"
         "deb-src http://src.example.org/debian bookworm main\n"
         "deb [arch=amd64 signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] "
         "http://one.example.org/debian bookworm main # the nearest\n"
         "deb http://one.example.org/debian-security bookworm-security main\n"}},
       "main http://one.example.org/debian\nsecurity http://one.example.org/debian-security\n"},
      {"file_cdrom_and_disabled_entries_are_skipped",
       {{"sources.list",
         "deb cdrom:[Debian GNU/Linux 12 DVD]/ bookworm main\n"
         "deb file:/srv/local-repo bookworm main\n"},
        {"sources.list.d/a-local.sources", "Types: deb\nURIs: file:/srv/repo\nSuites: bookworm\nComponents: main\n"},
        {"sources.list.d/b-off.sources",
         "Types: deb\nURIs: http://off.example.org/debian\nSuites: bookworm bookworm-security\n"
         "Components: main\nEnabled: no\n"},
        {"sources.list.d/c-debian.list",
         "deb ftp://ftp.example.org/debian bookworm main\n"
         "deb http://ftp.example.org/debian-security bookworm/updates main\n"},
        {"sources.list.d/d-ignored.list.disabled", "deb http://ignored.example.org/debian bookworm main\n"}},
       "main ftp://ftp.example.org/debian\nsecurity http://ftp.example.org/debian-security\n"},
      {"this_release_before_another_and_other_vendors_never",
       {{"sources.list.d/a-vendor.sources",
         "Types: deb\nURIs: https://vendor.example.com/apt\nSuites: nodistro\nComponents: main\n"},
        {"sources.list.d/b-trixie.list", "deb http://next.example.org/debian trixie main\n"},
        {"sources.list.d/c-bookworm.sources",
         "Types: deb\n"
         "URIs:\n"
         " http://this.example.org/debian\n"
         "Suites: bookworm\n"
         "Components: main\n"}},
       "main http://this.example.org/debian\n"},
      {"none_at_all", {}, ""},
  };
  return cases;
}

class DebianMirrors : public ::testing::TestWithParam<size_t> {};

TEST_P(DebianMirrors, FindsTheMachinesMirrors) {
  const TSourcesCase& c = Cases()[GetParam()];
  const fs::path root = fs::temp_directory_path() / ("bd-mirrors-" + std::to_string(::getpid()) + "-" + c.Name);
  fs::remove_all(root);
  fs::create_directories(root / "etc/apt/sources.list.d");
  for (const auto& [path, text] : c.Files) std::ofstream(root / "etc/apt" / path) << text;

  const std::string command = "'" + kScript.string() + "' '" + root.string() + "' bookworm";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  std::array<char, 256> buffer{};
  while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) output += buffer.data();
  EXPECT_EQ(::pclose(pipe), 0);
  EXPECT_EQ(output, c.Expected);
  fs::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(SourcesFiles, DebianMirrors, ::testing::Range<size_t>(0, Cases().size()),
                         [](const ::testing::TestParamInfo<size_t>& param) { return Cases()[param.param].Name; });

}  // namespace
}  // namespace bd
