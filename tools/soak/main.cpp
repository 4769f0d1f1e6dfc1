// Usage: soak [--minutes M | --seconds S] [--seed N] [--run-dir DIR] [options]
//
// Plays the whole game headless on the virtual clock for the given game time:
// a seeded bot drives races, walks the menus, pauses, answers confirmations,
// enters names, toggles options and full screen, and leaves the game now and
// then, after which a fresh instance starts in the same directory. It works
// in a scratch directory that links the built data of DIR (default: the
// build's run directory) and gives the game a loopback score server.
//
// It stops with status 1 and says why when frames stop coming, the game
// stands still too long, the sprite tree outgrows its bound, the resting heap
// grows after warm-up, the game reports an error in a message box, or a
// finished game's recording, played again headless, does not end as the game
// did. The
// sanitizer build adds its own checks (errors abort, leaks fail at exit). At
// the end it prints what was played and what it measured.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "Bot.h"
#include "Watch.h"
#include "app/MainForm.h"
#include "app/Version.h"
#include "engine/platform/headless/Headless.h"
#include "race/replay/Replay.h"
#include "support/LoopbackServer.h"

namespace fs = std::filesystem;

namespace {

// The game is stepped in slices of one frame, so that the bot sees every
// frame of a race.
constexpr uint32_t kSliceMs = 15;
// Sounds on the headless mixer play until told otherwise: every half second
// they are let finish, as short effects do.
constexpr uint32_t kSoundsEndEveryMs = 500;
constexpr uint32_t kProgressEveryMs = 60000;

struct TOptions {
  uint64_t GameMs = 120000;
  uint64_t Seed = 1;
  fs::path RunDir = BD_RUN_DIR;
  fs::path Scratch;
  bool KeepScratch = false;
  uint32_t LeaveAfterMs = 0;  // 0: a third of the run, at most four minutes
  bool Quiet = false;
  bool Trace = false;
  soak::TLimits Limits;
};

[[noreturn]] void Usage(const char* why) {
  std::fprintf(stderr,
               "soak: %s\n"
               "usage: soak [--minutes M | --seconds S] [--seed N] [--run-dir DIR] [--scratch DIR] [--keep]\n"
               "            [--warmup-seconds S] [--heap-growth-mib N] [--max-sprites N] [--stuck-seconds S]\n"
               "            [--leave-after-seconds S] [--quiet] [--trace]\n",
               why);
  std::exit(2);
}

TOptions ParseArguments(int argc, char** argv) {
  TOptions o;
  bool warmupGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Usage(("missing value after " + a).c_str());
      return argv[++i];
    };
    auto number = [&]() -> double {
      const std::string v = value();
      char* end = nullptr;
      const double d = std::strtod(v.c_str(), &end);
      if (end == v.c_str() || *end != '\0' || d < 0) Usage(("not a number: " + v).c_str());
      return d;
    };
    if (a == "--minutes") {
      o.GameMs = static_cast<uint64_t>(number() * 60000);
    } else if (a == "--seconds") {
      o.GameMs = static_cast<uint64_t>(number() * 1000);
    } else if (a == "--seed") {
      o.Seed = static_cast<uint64_t>(number());
    } else if (a == "--run-dir") {
      o.RunDir = value();
    } else if (a == "--scratch") {
      o.Scratch = value();
    } else if (a == "--keep") {
      o.KeepScratch = true;
    } else if (a == "--warmup-seconds") {
      o.Limits.WarmupMs = static_cast<uint64_t>(number() * 1000);
      warmupGiven = true;
    } else if (a == "--heap-growth-mib") {
      o.Limits.HeapGrowthBytes = static_cast<uint64_t>(number() * 1024 * 1024);
    } else if (a == "--max-sprites") {
      o.Limits.MaxSprites = static_cast<int>(number());
    } else if (a == "--stuck-seconds") {
      o.Limits.StuckMs = static_cast<uint32_t>(number() * 1000);
    } else if (a == "--leave-after-seconds") {
      o.LeaveAfterMs = static_cast<uint32_t>(number() * 1000);
    } else if (a == "--trace") {
      o.Trace = true;
      o.Limits.Trace = true;
    } else if (a == "--quiet") {
      o.Quiet = true;
    } else {
      Usage(("unknown argument " + a).c_str());
    }
  }
  if (o.GameMs == 0) Usage("no game time to play");
  // Warm-up: a quarter of the run, at most five minutes.
  if (!warmupGiven) o.Limits.WarmupMs = std::min<uint64_t>(o.GameMs / 4, 300000);
  if (o.LeaveAfterMs == 0) o.LeaveAfterMs = static_cast<uint32_t>(std::min<uint64_t>(o.GameMs / 3, 240000));
  return o;
}

// The scratch directory: the built data linked in, the optional shortcut
// files the game opens, and room for the settings file it writes.
fs::path PrepareScratch(const TOptions& o) {
  fs::path dir = o.Scratch;
  if (dir.empty()) {
    std::string pattern = (fs::temp_directory_path() / "bd-soak-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch directory");
    dir = pattern;
  } else {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  const fs::path run = fs::absolute(o.RunDir);
  for (const char* folder : {"Data", "Music", "pdata"}) {
    if (!fs::exists(run / folder)) {
      if (std::string(folder) == "pdata") continue;  // the exit screen is optional
      throw std::runtime_error("no " + std::string(folder) + " in " + run.string() + " (build the game first)");
    }
    fs::create_directory_symlink(run / folder, dir / folder);
  }
  for (const char* shortcut : {"moregames.url", "play.url"})
    std::ofstream(dir / shortcut, std::ios::binary) << "[InternetShortcut]\r\nURL=http://127.0.0.1/\r\n";
  return dir;
}

// One run of the program: platform, application and form.
struct TInstance {
  std::unique_ptr<bd::THeadlessPlatform> Platform = std::make_unique<bd::THeadlessPlatform>();
  std::unique_ptr<bd::TApplication> App;
  std::unique_ptr<bd::TMainForm> Form;
  uint32_t Clock = 0;       // the clock at the last look
  uint32_t SoundsEndAt = 0;
  uint64_t MusicSamples = 0;  // music frames the device has taken so far
};

double MiB(uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

void PrintSummary(const TOptions& o, uint64_t gameMs, double wallSeconds, int instances,
                  const soak::TBot& bot, const soak::TWatch& watch) {
  const soak::TPlayStats& p = bot.Stats();
  const soak::TWatch::TFigures& f = watch.Figures();
  std::printf("soak summary (seed %llu)\n", static_cast<unsigned long long>(o.Seed));
  std::printf("  game time played   %.1f min (%.0f s), wall time %.1f s\n", static_cast<double>(gameMs) / 60000.0,
              static_cast<double>(gameMs) / 1000.0, wallSeconds);
  std::printf("  game instances     %d (left the game %d times)\n", instances, p.LeftTheGame);
  std::printf("  games played       %d started (%d on a game controller), %d ended on the game-over screen,\n"
              "                     %d names entered\n",
              p.GamesStarted, p.PadGames, p.GamesOver, p.NamesEntered);
  std::printf("  levels             highest level reached %d, %d levels completed\n", p.MaxLevel,
              p.LevelsCompleted);
  std::printf("  screens visited   ");
  for (const auto& [s, n] : p.ScreenVisits) std::printf(" %s %d,", soak::ScreenName(s).c_str(), n);
  std::printf("\n");
  std::printf("  player did         %d pauses, %d exit confirmations, %d full-screen toggles, %d focus losses,\n"
              "                     %d display losses, %d option toggles, %d help page turns, %d table clears,\n"
              "                     %d aimed shots, %d key medleys, %d menu items chosen with the arrows\n",
              p.Pauses, p.ExitConfirmations, p.FullScreenToggles, p.FocusLosses, p.DisplayLosses,
              p.OptionToggles, p.HelpPageTurns, p.TableClears, p.Shots, p.KeyMedleys, p.KeyMenuChoices);
  std::printf("  without a pointer  %d stretches from the main menu on, %d things done on screens and questions\n",
              p.NoPointerVisits, p.NoPointerActions);
  std::printf("  frames drawn       %llu\n", static_cast<unsigned long long>(f.FramesDrawn));
  std::printf("  sprites            start %d, end %d, most %d (bound %d)\n", f.SpritesStart, f.SpritesEnd,
              f.SpritesMax, o.Limits.MaxSprites);
  std::printf("  heap (%s)\n", soak::HeapMeasure());
  std::printf("                     start %.1f MiB, end %.1f MiB, most %.1f MiB\n", MiB(f.MemoryStart.Heap),
              MiB(f.MemoryEnd.Heap), MiB(f.MemoryMax.Heap));
  std::printf("                     peak in the first %.0f s %.1f MiB, after it %.1f MiB\n",
              static_cast<double>(o.Limits.WarmupMs) / 1000.0, MiB(f.WarmupPeak), MiB(f.PeakAfterWarmup));
  std::printf("                     resting on the main menu after warm-up: first %.1f MiB, last %.1f MiB, "
              "most %.1f MiB over %d samples (bound +%.1f MiB)\n",
              MiB(f.RestFirst), MiB(f.RestLast), MiB(f.RestMax), f.RestSamples, MiB(o.Limits.HeapGrowthBytes));
  std::printf("  resident set       start %.1f MiB, end %.1f MiB, most %.1f MiB\n", MiB(f.MemoryStart.Rss),
              MiB(f.MemoryEnd.Rss), MiB(f.MemoryMax.Rss));
  std::fflush(stdout);
}

int Run(const TOptions& o) {
  const auto wallStart = std::chrono::steady_clock::now();
  const fs::path scratch = PrepareScratch(o);
  const fs::path oldDir = fs::current_path();
  fs::current_path(scratch);

  // The score server answers that it is ready and takes every report.
  bd::test::TLoopbackServer server([](const bd::test::TRecordedRequest& r) {
    if (r.Target.find("version") != std::string::npos) return bd::test::Answer(200, "OK|1|0|soak|0|token|");
    return bd::test::Answer(200, "OK");
  });

  soak::TBot bot(o.Seed, o.LeaveAfterMs, o.Trace);
  soak::TWatch watch(o.Limits);
  std::unique_ptr<TInstance> game;
  // Every game that ends is played again from its recording.
  std::optional<bd::TRaceImages> raceImages;
  bool gameWasOver = false;
  int replays = 0;
  uint64_t played = 0;
  uint64_t nextProgress = kProgressEveryMs;
  int instances = 0;
  std::string failure;

  auto endInstance = [&] {
    bot.Detach();
    watch.Detach();
    game->Form.reset();
    game->App.reset();
    game.reset();
  };

  try {
    while (played < o.GameMs && failure.empty()) {
      if (!game) {
        game = std::make_unique<TInstance>();
        game->App = std::make_unique<bd::TApplication>(game->Platform->Get());
        game->App->Title = bd::kGameTitle;
        game->Form = std::make_unique<bd::TMainForm>(*game->App);
        game->Form->ScoreServer = server.Base();
        game->Form->Show();
        game->Clock = game->Platform->clock.Milliseconds();
        game->MusicSamples =
            static_cast<uint64_t>(game->Clock) * static_cast<uint64_t>(game->Platform->audio.OutputRate()) / 1000;
        game->SoundsEndAt = game->Clock + kSoundsEndEveryMs;
        ++instances;
        gameWasOver = false;
        bot.Attach(*game->Platform, *game->Form);
        watch.Attach(*game->Platform, *game->App, *game->Form);
      }
      bd::THeadlessPlatform& platform = *game->Platform;
      bot.Tick();
      game->App->RunUntil(platform.clock.Milliseconds() + kSliceMs);
      const uint32_t now = platform.clock.Milliseconds();
      played += now - game->Clock;
      // The sound device asks for the music of the time that passed, so the
      // songs play on, end and start again as they would be heard.
      const uint64_t samples = static_cast<uint64_t>(now) * static_cast<uint64_t>(platform.audio.OutputRate()) / 1000;
      platform.audio.PullMusic(static_cast<int>(samples - game->MusicSamples));
      game->MusicSamples = samples;
      game->Clock = now;

      if (!platform.messageBox.Messages().empty()) {
        failure = "the game reported: " + platform.messageBox.Messages().front().text;
        break;
      }
      if (static_cast<int32_t>(now - game->SoundsEndAt) >= 0) {
        platform.audio.FinishAll();
        platform.audio.ClearEvents();
        game->SoundsEndAt = now + kSoundsEndEveryMs;
      }
      failure = watch.Check(played, bot.HoldingStill());
      const bd::TRecording* recording = game->Form->LastRecording();
      if (failure.empty() && recording != nullptr && !gameWasOver) {
        if (!raceImages) raceImages = bd::TRaceImages::FromFile(bd::GraphicsMainPath);
        const bd::TReplayResult replay = bd::ReplayRecording(*recording, *raceImages);
        ++replays;
        if (!bd::ReplayConfirms(*recording, replay) || replay.LevelHashes != game->Form->RaceSession.LevelHashes())
          failure = "a game's recording did not replay to its end: score " + std::to_string(replay.FinalScore) +
                    " of " + std::to_string(recording->FinalScore) + ", level " + std::to_string(replay.FinalLevel) +
                    " of " + std::to_string(recording->FinalLevel) + ", " + std::to_string(replay.Frames) +
                    " frames of " + std::to_string(recording->FrameCount);
      }
      gameWasOver = recording != nullptr;
      if (!o.Quiet && played >= nextProgress) {
        nextProgress += kProgressEveryMs;
        const soak::TMemory m = soak::SampleMemory();
        std::printf("soak: %5.1f min  %-11s level %2d  sprites %3d  heap %6.1f MiB  rss %6.1f MiB\n",
                    static_cast<double>(played) / 60000.0, soak::ScreenName(game->Form->CurrentScreen).c_str(),
                    game->Form->RaceState.Level, soak::CountSprites(game->Form->SpriteEngine.Engine()), MiB(m.Heap),
                    MiB(m.Rss));
        std::fflush(stdout);
      }
      // The player left the game: the program ended; start it again.
      if (game->App->Terminated()) endInstance();
    }
  } catch (const std::exception& e) {
    failure = std::string("the soak itself failed: ") + e.what();
  }
  const uint8_t lastScreen = game ? game->Form->CurrentScreen : 0;
  if (game) endInstance();

  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  PrintSummary(o, played, wall, instances, bot, watch);
  std::printf("  replays            %d finished games played again from their recordings\n", replays);
  fs::current_path(oldDir);
  if (!failure.empty()) {
    // The directory stays, with the settings file the game wrote.
    std::fprintf(stderr, "soak: FAILED after %.1f s of game time on the %s: %s (directory %s)\n",
                 static_cast<double>(played) / 1000.0, soak::ScreenName(lastScreen).c_str(), failure.c_str(),
                 scratch.string().c_str());
    return 1;
  }
  if (!o.KeepScratch) fs::remove_all(scratch);
  std::printf("soak: passed\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const TOptions options = ParseArguments(argc, argv);
  try {
    return Run(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "soak: %s\n", e.what());
    return 1;
  }
}
