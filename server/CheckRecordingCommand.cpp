#include "server/CheckRecordingCommand.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "server/CheckerProtocol.h"
#include "server/HttpServer.h"

namespace bd::server {

namespace {

// Everything on standard input, up to one byte more than a body may hold.
std::string ReadAll(int fd) {
  std::string bytes;
  const size_t most = TConnectionLimits{}.MaxBodyBytes + 1;
  char chunk[16384];
  while (bytes.size() < most) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.append(chunk, static_cast<size_t>(n));
  }
  return bytes;
}

void Say(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

// Whether the server lets the race be played: one byte on descriptor 3.
bool GoAhead() {
  char go = 0;
  for (;;) {
    const ssize_t n = ::read(3, &go, 1);
    if (n < 0 && errno == EINTR) continue;
    return n == 1;
  }
}

}  // namespace

int RunCheckRecording(int argc, const char* const* argv) {
  unsigned long frameLimit = 0;
  std::filesystem::path racePictures = DefaultRacePictures();
  bool usage = argc % 2 != 0;
  for (int i = 0; !usage && i < argc; i += 2) {
    const std::string_view name = argv[i];
    if (name == "--frame-limit")
      usage = (frameLimit = std::strtoul(argv[i + 1], nullptr, 10)) == 0;
    else if (name == "--race-pictures")
      racePictures = argv[i + 1];
    else
      usage = true;
  }
  if (usage || frameLimit == 0) {
    std::fprintf(stderr, "usage: bumperdash-scores %s [--race-pictures FILE] --frame-limit N < RECORDING\n",
                 kCheckRecordingCommand);
    return 2;
  }
  const std::string bytes = ReadAll(STDIN_FILENO);
  const auto replay = GameRecordingReplay(racePictures);
  auto decoded = replay->Decode(bytes);
  if (const auto* why = std::get_if<std::string>(&decoded)) {
    Say(FormatFirstLine(TUndecodable{*why}));
    return 0;
  }
  const TRecording& recording = std::get<TRecording>(decoded);
  Say(FormatFirstLine(Summarise(recording)));
  if (!GoAhead()) return 0;
  std::optional<TReplayResult> result;
  try {
    result = replay->Replay(recording, static_cast<uint32_t>(frameLimit));
  } catch (const std::exception& e) {
    // Without its pictures the race cannot be played: the server counts
    // this check as a failed one, and its log gets the reason.
    std::fprintf(stderr, "bumperdash-scores %s: %s\n", kCheckRecordingCommand, e.what());
    return 1;
  }
  if (result)
    Say(FormatSecondLine(*result));
  else
    Say(FormatSecondLine(TUnfinished{}));
  return 0;
}

}  // namespace bd::server
