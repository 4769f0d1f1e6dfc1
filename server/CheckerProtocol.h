#pragma once
// The lines a checking worker writes to the server on its standard output.
// First, once it has read the recording from its standard input:
//
//   recording RULES SOURCE SEED FRAMES INTERVALS SCORE LEVEL RACE TICKET
//   undecodable REASON…
//
// (SOURCE 0 own, 1 server, 2 daily seed; INTERVALS the frame-timer intervals
// the race stands for, late frames counted whole; RACE a hex digest of the
// race's seed and inputs; TICKET "-" for none). The server then either lets
// it play the race (one byte on descriptor 3) or closes that pipe, and the
// worker answers
//
//   replayed SCORE LEVEL FRAMES
//   unfinished
//
// the second when the race did not end within the frame limit. Anything else
// is a worker that failed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "codec/Recording.h"
#include "server/RecordingReplay.h"

namespace bd::server {

// What the server needs to know of a recording before it is replayed.
struct TRecordingSummary {
  uint32_t RulesVersion = 0;
  TSeedSource SeedSource = TSeedSource::Own;
  uint32_t Seed = 0;
  uint32_t Frames = 0;
  uint64_t Intervals = 0;
  int32_t Score = 0;
  int32_t Level = 0;
  std::string RaceDigest;  // lower-case hex
  std::string SeedTicket;  // empty for none

  bool operator==(const TRecordingSummary&) const = default;
};

struct TUndecodable {
  std::string Reason;
  bool operator==(const TUndecodable&) const = default;
};

struct TUnfinished {
  bool operator==(const TUnfinished&) const = default;
};

// The frame-timer intervals a recording's frames stand for: each frame
// counts its lag (1 until the first lag event).
uint64_t PlayedIntervals(const TRecording& recording);

// The summary of a decoded recording (its digest included).
TRecordingSummary Summarise(const TRecording& recording);

std::string FormatFirstLine(const std::variant<TRecordingSummary, TUndecodable>& first);
// Nothing for a line in neither form (without its line end).
std::optional<std::variant<TRecordingSummary, TUndecodable>> ParseFirstLine(std::string_view line);

std::string FormatSecondLine(const std::variant<TReplayResult, TUnfinished>& second);
std::optional<std::variant<TReplayResult, TUnfinished>> ParseSecondLine(std::string_view line);

}  // namespace bd::server
