// The launcher of the installed game, run against a scratch installation
// whose game is a stand-in that reports where it was started and what it
// can reach from there.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace bd {
namespace {

namespace fs = std::filesystem;

const fs::path kDesktop = fs::path(__FILE__).parent_path().parent_path().parent_path() / "desktop";
const fs::path kLauncher = kDesktop / "bumperdash.sh";

// The stand-in game: prints its directory, its arguments and the data it
// reaches, and adds a line to the settings file as the game would.
constexpr const char* kFakeGame = R"sh(#!/bin/sh
echo "dir=$(pwd)"
echo "args=$#"
for a in "$@"; do echo "arg=$a"; done
cat Data/marker Music/marker pdata/marker
echo started >> Config.cfg
)sh";

std::string Quote(const fs::path& p) {
  std::string out = "'";
  for (char c : p.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string Slurp(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Write(const fs::path& p, const std::string& text) {
  fs::create_directories(p.parent_path());
  std::ofstream(p) << text;
}

class Launcher : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("bd-launcher-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    // Spaces in every path: the launcher must quote all of them.
    prefix = root_ / "the prefix";
    home = root_ / "a home";
    elsewhere = root_ / "somewhere else";
    fs::create_directories(prefix / "bin");
    fs::copy_file(kLauncher, prefix / "bin" / "bumperdash");
    Write(prefix / "libexec/bumperdash/bumperdash", kFakeGame);
    fs::permissions(prefix / "libexec/bumperdash/bumperdash", fs::perms::owner_all, fs::perm_options::add);
    for (const char* d : {"Data", "Music", "pdata"})
      Write(prefix / "share/bumperdash" / d / "marker", std::string("installed ") + d + "\n");
    fs::create_directories(home);
    fs::create_directories(elsewhere);
  }
  void TearDown() override { fs::remove_all(root_); }

  // Runs `command` from `elsewhere` with only the given environment; the
  // output of launcher and game, then the exit status.
  std::string Run(const std::string& environment, const std::string& command) {
    const std::string line = "cd " + Quote(elsewhere) + " && env -i PATH=/usr/bin:/bin " + environment + " " +
                             command + " 2>&1; echo \"status=$?\"";
    FILE* pipe = ::popen(line.c_str(), "r");
    std::string out;
    char buffer[256];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    if (pipe != nullptr) ::pclose(pipe);
    return out;
  }
  std::string Launch(const std::string& environment) {
    return Run(environment, Quote(prefix / "bin" / "bumperdash"));
  }
  std::string Started(const fs::path& dir) {
    return "dir=" + dir.string() + "\nargs=0\ninstalled Data\ninstalled Music\ninstalled pdata\nstatus=0\n";
  }

  fs::path root_, prefix, home, elsewhere;
};

// Where the player's directory goes, by the environment the game starts in.
TEST_F(Launcher, PlayerDirectoryFollowsTheXdgDataHome) {
  const fs::path xdg = root_ / "xdg data";
  const fs::path fallback = home / ".local/share/bumperdash";
  const struct {
    const char* what;
    std::string environment;
    fs::path dir;
  } cases[] = {
      {"set", "HOME=" + Quote(home) + " XDG_DATA_HOME=" + Quote(xdg), xdg / "bumperdash"},
      {"unset", "HOME=" + Quote(home), fallback},
      {"empty", "HOME=" + Quote(home) + " XDG_DATA_HOME=", fallback},
      {"relative, so not valid", "HOME=" + Quote(home) + " XDG_DATA_HOME=rel/dir", fallback},
      {"without HOME", "XDG_DATA_HOME=" + Quote(xdg), xdg / "bumperdash"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(c.dir);
    EXPECT_EQ(Launch(c.environment), Started(c.dir));
    EXPECT_EQ(Slurp(c.dir / "Config.cfg"), "started\n");
    for (const char* d : {"Data", "Music", "pdata"})
      EXPECT_EQ(fs::read_symlink(c.dir / d), prefix / "share/bumperdash" / d);
  }
  EXPECT_TRUE(fs::is_empty(elsewhere));
  EXPECT_FALSE(fs::exists(elsewhere / "rel"));
}

// Found through PATH or through a link in another directory, the launcher
// still finds its own installation.
TEST_F(Launcher, FindsItsInstallationThroughPathAndLinks) {
  const std::string env = "HOME=" + Quote(home);
  const fs::path dir = home / ".local/share/bumperdash";
  fs::create_directories(root_ / "games");
  fs::create_symlink(prefix / "bin" / "bumperdash", root_ / "games" / "bumperdash");
  EXPECT_EQ(Run(env, Quote(root_ / "games" / "bumperdash")), Started(dir));
  EXPECT_EQ(Run("PATH=" + Quote(prefix / "bin") + ":/usr/bin:/bin " + env, "bumperdash"), Started(dir));
  // The Debian package keeps it in <prefix>/games instead of <prefix>/bin.
  fs::create_directories(prefix / "games");
  fs::rename(prefix / "bin" / "bumperdash", prefix / "games" / "bumperdash");
  EXPECT_EQ(Run("PATH=" + Quote(prefix / "games") + ":/usr/bin:/bin " + env, "bumperdash"), Started(dir));
  // The settings file is the player's and outlives every start.
  EXPECT_EQ(Slurp(dir / "Config.cfg"), "started\nstarted\nstarted\n");
}

// The game gets the launcher's arguments, judges them itself, and finds a
// recording named relative to where the launcher was started, although it
// runs in the player's directory.
TEST_F(Launcher, HandsTheGameItsArgumentsWithTheRecordingFromTheStart) {
  const std::string env = "HOME=" + Quote(home);
  const fs::path dir = home / ".local/share/bumperdash";
  const std::string from = elsewhere.string();
  const struct {
    std::string args;
    std::string handed;
  } cases[] = {
      {"--replay 'my race.bdrec'", "args=2\narg=--replay\narg=" + from + "/my race.bdrec\n"},
      {"--replay /tmp/a.bdrec", "args=2\narg=--replay\narg=/tmp/a.bdrec\n"},
      {"--replay=sub/b.bdrec", "args=1\narg=--replay=" + from + "/sub/b.bdrec\n"},
      {"--replay=/tmp/c.bdrec", "args=1\narg=--replay=/tmp/c.bdrec\n"},
      {"--fullscreen extra", "args=2\narg=--fullscreen\narg=extra\n"},
      {"--replay", "args=1\narg=--replay\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(Run(env, Quote(prefix / "bin" / "bumperdash") + " " + c.args),
              "dir=" + dir.string() + "\n" + c.handed +
                  "installed Data\ninstalled Music\ninstalled pdata\nstatus=0\n");
  }
}

// Links left by an installation elsewhere follow the current one; what the
// player put there in place of a link stays theirs.
TEST_F(Launcher, RepointsOldLinksAndKeepsThePlayersOwnFiles) {
  const fs::path dir = home / ".local/share/bumperdash";
  fs::create_directories(dir);
  fs::create_symlink("/nonexistent/old/prefix/share/bumperdash/Data", dir / "Data");
  fs::create_directory_symlink(root_, dir / "Music");
  Write(dir / "pdata/marker", "the player's pdata\n");
  Write(dir / "Config.cfg", "kept\n");

  const std::string out = Launch("HOME=" + Quote(home));
  EXPECT_EQ(out, "dir=" + dir.string() +
                     "\nargs=0\ninstalled Data\ninstalled Music\nthe player's pdata\nstatus=0\n");
  EXPECT_EQ(fs::read_symlink(dir / "Data"), prefix / "share/bumperdash/Data");
  EXPECT_EQ(fs::read_symlink(dir / "Music"), prefix / "share/bumperdash/Music");
  EXPECT_FALSE(fs::is_symlink(dir / "pdata"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "pdata/pdata")));  // no link dropped inside it
  EXPECT_EQ(Slurp(dir / "Config.cfg"), "kept\nstarted\n");
}

// When there is no directory to give the game, it is not started: the
// launcher says why and fails.
TEST_F(Launcher, RefusesWithoutAUsableDirectory) {
  Write(root_ / "taken/bumperdash", "a file, not a directory\n");
  const struct {
    const char* what;
    std::string environment;
    const char* message;
  } cases[] = {
      {"no HOME, no XDG_DATA_HOME", "", "bumperdash: neither XDG_DATA_HOME nor HOME is set\n"},
      {"a file in the way", "XDG_DATA_HOME=" + Quote(root_ / "taken"), "bumperdash: cannot use "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string out = Launch(c.environment);
    EXPECT_EQ(out.rfind(c.message, 0), 0u) << out;
    EXPECT_NE(out.find("status=1\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("dir="), std::string::npos) << out;
  }
  fs::remove(prefix / "libexec/bumperdash/bumperdash");
  const std::string out = Launch("HOME=" + Quote(home));
  EXPECT_EQ(out, "bumperdash: the game is not installed in " + prefix.string() + "\nstatus=1\n");
}

// A loopback port that nothing listens on (it was free a moment ago).
int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t length = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length);
  ::close(fd);
  return ntohs(addr.sin_port);
}

bool Listening(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  return connected;
}

// With the game built for a score server on this machine, the launcher runs
// the real bumperdash-scores beside it when nothing answers there, keeps its
// table in the player's directory and stops it with the game.
TEST_F(Launcher, RunsALocalScoreServerOnlyWhenTheGamesServerIsHereAndSilent) {
  fs::copy_file(kDesktop / "with-local-scores.sh", prefix / "libexec/bumperdash/with-local-scores");
  fs::create_symlink(fs::path(BD_RUN_DIR) / "bumperdash-scores", prefix / "bin/bumperdash-scores");
  fs::create_directory_symlink(fs::path(BD_RUN_DIR) / "www", prefix / "share/bumperdash/www");
  const int port = FreePort();
  // The stand-in game asks the server it was built for whether it is well.
  Write(prefix / "libexec/bumperdash/bumperdash",
        "#!/bin/bash\nif { exec 3<>/dev/tcp/127.0.0.1/" + std::to_string(port) +
            "; } 2>/dev/null; then printf 'GET /healthz HTTP/1.0\\r\\n\\r\\n' >&3; echo \"server: $(tail -1 "
            "<&3)\"; "
            "else echo 'server: none'; fi\n");
  const fs::path dir = home / ".local/share/bumperdash";
  Write(prefix / "share/bumperdash/score-server", "http://127.0.0.1:" + std::to_string(port) + "\n");

  // Another server already answers there, as a first copy of the game's
  // does, writing the player's log: the game uses it, none is started, and
  // the log keeps what that server wrote.
  const fs::path other = root_ / "other server";
  fs::create_directories(other);
  const std::string firstLines = "the first copy's server was here\n";
  Write(dir / "scores.log", firstLines);
  const std::string start = "cd " + Quote(other) + " && (" + Quote(prefix / "bin/bumperdash-scores") +
                            " --listen 127.0.0.1:" + std::to_string(port) +
                            " --database scores.sqlite >out 2>>" + Quote(dir / "scores.log") +
                            " & echo $! >pid)";
  ASSERT_EQ(std::system(start.c_str()), 0);
  for (int i = 0; i < 200 && Slurp(other / "out").find("listening on") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  const std::string env = "HOME=" + Quote(home);
  EXPECT_EQ(Launch(env), "server: ok\nstatus=0\n");
  EXPECT_FALSE(fs::exists(dir / "scores.sqlite"));
  EXPECT_TRUE(Listening(port));
  EXPECT_EQ(Slurp(dir / "scores.log").substr(0, firstLines.size()), firstLines);
  // Gone for good, its last lines written: a server stops listening before
  // it has logged its stop.
  const std::string pid = Slurp(other / "pid").substr(0, Slurp(other / "pid").find('\n'));
  ::kill(std::stoi(pid), SIGTERM);
  const auto running = [&] {
    const std::string stat = Slurp(fs::path("/proc") / pid / "stat");
    const size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
  };
  for (int i = 0; i < 400 && running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  ASSERT_FALSE(running());

  // Nothing there: a local server answers the game, then goes with it. A
  // log grown past a megabyte is set aside whole, not emptied.
  const std::string bigLog(1100000, 'x');
  Write(dir / "scores.log", bigLog);
  EXPECT_EQ(Launch(env), "server: ok\nstatus=0\n");
  EXPECT_GT(fs::file_size(dir / "scores.sqlite"), 0u);
  EXPECT_FALSE(Listening(port));
  EXPECT_TRUE(Slurp(dir / "scores.log.old") == bigLog) << fs::exists(dir / "scores.log.old");
  EXPECT_TRUE(fs::exists(dir / "scores.log"));
  EXPECT_LT(fs::file_size(dir / "scores.log"), bigLog.size());

  // A game built for a public server is started alone.
  fs::remove(dir / "scores.sqlite");
  Write(prefix / "share/bumperdash/score-server", "https://scores.example.org\n");
  EXPECT_EQ(Launch(env), "server: none\nstatus=0\n");
  EXPECT_FALSE(fs::exists(dir / "scores.sqlite"));
}

}  // namespace
}  // namespace bd
