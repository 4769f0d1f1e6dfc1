#pragma once
// `bumperdash-scores check-recording --frame-limit N`: the checking worker,
// a process of its own for each recording the server checks, so that a
// recording that crashes or exhausts the race code costs that one report
// and never the server. It reads the recording on standard input and talks
// to the server as CheckerProtocol.h says; the server has set its limits on
// processor time and memory before it starts.

namespace bd::server {

// The name of the subcommand, the first argument.
inline constexpr const char* kCheckRecordingCommand = "check-recording";

// Runs the worker with the arguments after the subcommand's name; returns
// the exit status.
int RunCheckRecording(int argc, const char* const* argv);

}  // namespace bd::server
