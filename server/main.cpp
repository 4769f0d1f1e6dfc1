// bumperdash-scores --listen ADDRESS:PORT --database PATH [options]
//   The online high-score server of Bumper Dash; --help lists the options.
//   Prints "listening on ADDRESS:PORT" once it takes requests, logs one line
//   per request on standard error, and stops cleanly on SIGTERM or SIGINT.

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>

#include "server/CheckRecordingCommand.h"
#include "server/Log.h"
#include "server/OpenStore.h"
#include "server/Options.h"
#include "server/ScoreServer.h"
#include "server/Signals.h"

int main(int argc, char** argv) {
  using namespace bd::server;
  // The checking worker the server starts for each recording.
  if (argc >= 2 && std::string(argv[1]) == kCheckRecordingCommand)
    return RunCheckRecording(argc - 2, argv + 2);

  // Before any thread starts, so that none of them takes the signals.
  BlockStopSignals();

  TServerOptions options;
  if (const auto status = ParseOptions(argc, argv, options)) return *status;

  try {
    TScoreServer server(options);
    const int port = server.Bind();
    const std::string host = options.Listen.Host.find(':') != std::string::npos
                                 ? "[" + options.Listen.Host + "]"
                                 : options.Listen.Host;
    LogLine("database " + DatabaseForLog(options.Database.string()) + " at schema version " +
            std::to_string(server.Store().SchemaVersion()));
    std::printf("listening on %s:%d\n", host.c_str(), port);
    std::fflush(stdout);

    TStopSignalWaiter signals([&server](int signal) {
      LogLine(std::string("stopping on ") + (signal == SIGINT ? "SIGINT" : "SIGTERM"));
      server.Stop();
    });
    const bool ok = server.Run();
    LogLine("stopped");
    return ok ? 0 : 1;
  } catch (const std::exception& e) {
    LogLine(std::string("bumperdash-scores: ") + e.what());
    return 1;
  }
}
