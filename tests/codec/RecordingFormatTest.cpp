// The recording file: what the game writes reads back exactly, the bytes are
// laid out as docs/recording-format.md says, and a damaged or hand-made file
// is refused with its fault, without memory beyond the bounds.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "LargestAllocation.h"
#include "codec/Cp1251.h"
#include "codec/RecordingFormat.h"
#include "common/SampleRecording.h"

namespace bd {
namespace {

using enum TRecordingFault;

std::string Deflated(std::string_view bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string out(size, '\0');
  EXPECT_EQ(
      compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                static_cast<uLong>(bytes.size()), Z_BEST_COMPRESSION),
      Z_OK);
  out.resize(size);
  return out;
}

std::string Le(uint32_t v, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  return out;
}

std::string Varint(uint64_t v) {
  std::string out;
  for (; v >= 0x80; v >>= 7) out.push_back(static_cast<char>((v & 0x7F) | 0x80));
  out.push_back(static_cast<char>(v));
  return out;
}

// One event of the uncompressed stream: frame delta, kind, value.
std::string Event(uint64_t delta, uint64_t kind, uint64_t value) {
  return Varint(delta) + Varint(kind) + Varint(value);
}

// A recording file put together field by field as the document describes
// it, so that any field can hold what the game never writes.
struct THandMade {
  uint16_t Version = 1;
  uint32_t RulesVersion = 3;
  uint32_t Seed = 0xC0FFEE;
  uint8_t SeedSource = 1;
  int32_t Score = 1250;
  int32_t Level = 2;
  uint32_t FrameCount = 100;
  std::string Name = "Ace";
  std::string Ticket = "ab12";
  std::string Events = Event(0, 1, 1) + Event(7, 0, 2) + Event(1, 0, 1);
  uint32_t EventCount = 3;
  std::optional<uint32_t> EventBytes;     // default: the size of Events
  std::optional<std::string> Compressed;  // default: Events deflated

  std::string Bytes() const {
    std::string out = "BDR\x1A" + Le(Version, 2) + Le(0, 4) + Le(0, 4);
    out += Le(RulesVersion, 4) + Le(Seed, 4) + Le(SeedSource, 1) + Le(static_cast<uint32_t>(Score), 4) +
           Le(static_cast<uint32_t>(Level), 4) + Le(FrameCount, 4) + Le(EventCount, 4) +
           Le(EventBytes.value_or(static_cast<uint32_t>(Events.size())), 4);
    out += Le(static_cast<uint32_t>(Name.size()), 1) + Name + Le(static_cast<uint32_t>(Ticket.size()), 2) +
           Ticket;
    out += Compressed.value_or(Deflated(Events));
    ResealRecording(out);
    return out;
  }
};

std::string Resealed(std::string bytes) {
  ResealRecording(bytes);
  return bytes;
}

// The refusal of `bytes`, failing the test when they were accepted.
TRecordingRefusal RefusalOf(std::string_view bytes) {
  auto decoded = DecodeRecording(bytes);
  if (auto* refusal = std::get_if<TRecordingRefusal>(&decoded)) return *refusal;
  ADD_FAILURE() << "accepted";
  return {};
}

TRecording EveryKindAtItsEdges() {
  TRecording r;
  r.RulesVersion = UINT32_MAX;
  r.Seed = UINT32_MAX;
  r.SeedSource = TSeedSource::Daily;
  r.PlayerName = W("Ёлка Юля");
  r.FinalScore = INT32_MAX;
  r.FinalLevel = INT32_MAX;
  r.FrameCount = kMaxRecordingFrames;
  r.Events = {
      {0, TInputKind::Lag, UINT32_MAX},
      {0, TInputKind::KeysHeld, UINT32_MAX},
      {0, TInputKind::KeyPress, UINT32_MAX},
      {0, TInputKind::KeyPress, 0},
      {1, TInputKind::Focus, 0},
      {127, TInputKind::Focus, 1},
      {128, TInputKind::ExitQuestion, 1},
      {16511, TInputKind::ExitQuestion, 0},
      {16512, TInputKind::ExitQuestion, 2},
      {kMaxRecordingFrames - 1, TInputKind::Lag, 1},
  };
  return r;
}

// Two hours with an event on every frame: a machine too slow for the game
// alternates late and punctual frames all the way.
TRecording LateOnEveryFrameForTwoHours() {
  TRecording r;
  r.RulesVersion = 1;
  r.FrameCount = 2 * 60 * kSampleFramesPerMinute;
  for (uint32_t f = 0; f < r.FrameCount; ++f) r.Events.push_back({f, TInputKind::Lag, f % 2 ? 1u : 2u});
  return r;
}

TEST(RecordingFormat, WhatIsWrittenReadsBackExactly) {
  TRecording empty;
  empty.RulesVersion = 1;
  TRecording longestStrings = MakeSampleRecording(7, 600);
  longestStrings.PlayerName = std::string(kMaxRecordingNameBytes, '\xFF');
  longestStrings.SeedTicket = std::string(kMaxRecordingTicketBytes, '~');
  TRecording daily = MakeSampleRecording(8, 2000);
  daily.SeedSource = TSeedSource::Daily;
  daily.SeedTicket.clear();

  const struct {
    const char* Name;
    TRecording Recording;
  } cases[] = {
      {"no events, nothing played", empty},
      {"longest name and ticket", longestStrings},
      {"a day's seed without a ticket", daily},
      {"every kind at its edges", EveryKindAtItsEdges()},
      {"a two-hour game", MakeSampleRecording(9, 120 * kSampleFramesPerMinute)},
      {"an event on every frame for two hours", LateOnEveryFrameForTwoHours()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string bytes = EncodeRecording(c.Recording);
    const auto decoded = DecodeRecording(bytes);
    ASSERT_TRUE(std::holds_alternative<TRecording>(decoded)) << std::get<TRecordingRefusal>(decoded).Reason;
    EXPECT_EQ(std::get<TRecording>(decoded), c.Recording);
  }
}

TEST(RecordingFormat, TheBytesAreLaidOutAsDocumented) {
  TRecording r;
  r.RulesVersion = 3;
  r.Seed = 0xC0FFEE;
  r.SeedSource = TSeedSource::Server;
  r.SeedTicket = "ab12";
  r.PlayerName = "Ace";
  r.FinalScore = 1250;
  r.FinalLevel = 2;
  r.FrameCount = 100;
  r.Events = {{0, TInputKind::KeysHeld, 1}, {7, TInputKind::Lag, 2}, {8, TInputKind::Lag, 1}};

  const std::string bytes = EncodeRecording(r);
  EXPECT_EQ(bytes, THandMade{}.Bytes());
  EXPECT_EQ(bytes.substr(0, 6), std::string("BDR\x1A\x01\x00", 6));
}

// A good file of a few minutes' play to damage.
const std::string& GoodFile() {
  static const std::string bytes = EncodeRecording(MakeSampleRecording(3, 3 * kSampleFramesPerMinute));
  return bytes;
}

TEST(RecordingFormat, DamagedFilesAreRefusedWithTheirFault) {
  const std::string& good = GoodFile();
  const size_t size = good.size();
  auto with = [&good](size_t at, char byte) {
    std::string b = good;
    b[at] = byte;
    return b;
  };
  const struct {
    const char* Name;
    std::string Bytes;
    TRecordingFault Fault;
  } cases[] = {
      {"empty", "", NotARecording},
      {"another kind of file", "\x89PNG\r\n\x1A\n" + good.substr(8), NotARecording},
      {"magic changed", with(2, 'X'), NotARecording},
      {"a newer format version", with(4, 2), UnknownVersion},
      {"format version 0", with(4, 0), UnknownVersion},
      {"format version 257", with(5, 1), UnknownVersion},
      {"cut in the magic", good.substr(0, 3), Truncated},
      {"cut in the version", good.substr(0, 5), Truncated},
      {"cut in the checksum", good.substr(0, 12), Truncated},
      {"cut in the header", good.substr(0, 30), Truncated},
      {"cut in the events", good.substr(0, size / 2), Truncated},
      {"last byte missing", good.substr(0, size - 1), Truncated},
      {"a byte appended", good + '\0', TrailingBytes},
      {"a second file appended", good + good, TrailingBytes},
      {"larger than a recording may be", good + std::string(kMaxRecordingFileBytes, '\0'), TooLarge},
      {"size field changed", with(7, static_cast<char>(good[7] + 1)), Truncated},
      {"cut in the header and sealed again", Resealed(good.substr(0, 30)), BadHeader},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TRecordingRefusal refusal = RefusalOf(c.Bytes);
    EXPECT_EQ(refusal.Fault, c.Fault) << refusal.Reason;
    EXPECT_FALSE(refusal.Reason.empty());
  }
}

TEST(RecordingFormat, AChangedByteAnywhereIsRefused) {
  const std::string& good = GoodFile();
  for (size_t at = 0; at < good.size(); ++at) {
    for (const uint8_t flip : {0x01, 0x80}) {
      std::string bytes = good;
      bytes[at] = static_cast<char>(bytes[at] ^ flip);
      const TRecordingRefusal refusal = RefusalOf(bytes);
      // Past the size field the checksum catches it, the checksum itself included.
      if (at >= 10) {
        EXPECT_EQ(refusal.Fault, ChecksumMismatch) << "byte " << at << ": " << refusal.Reason;
      }
    }
  }
}

TEST(RecordingFormat, FilesBreakingTheRulesAreRefusedEvenWithAGoodChecksum) {
  using TChange = std::function<void(THandMade&)>;
  const std::string bomb = Deflated(std::string(64 << 20, '\0'));
  auto OnlyEvent = [](std::string event) -> TChange {
    return [event](THandMade& f) {
      f.Events = event;
      f.EventCount = 1;
    };
  };
  const struct {
    const char* Name;
    TChange Change;
    TRecordingFault Fault;
  } cases[] = {
      {"name longer than its bound", [](THandMade& f) { f.Name.assign(kMaxRecordingNameBytes + 1, 'a'); },
       BadHeader},
      {"ticket longer than its bound",
       [](THandMade& f) { f.Ticket.assign(kMaxRecordingTicketBytes + 1, 'a'); }, BadHeader},
      {"a line break in the name", [](THandMade& f) { f.Name = "A\nB"; }, BadHeader},
      {"a space in the ticket", [](THandMade& f) { f.Ticket = "ab 12"; }, BadHeader},
      {"unknown seed source", [](THandMade& f) { f.SeedSource = 3; }, BadHeader},
      {"own seed with a ticket", [](THandMade& f) { f.SeedSource = 0; }, BadHeader},
      {"server's seed without a ticket", [](THandMade& f) { f.Ticket.clear(); }, BadHeader},
      {"rules version 0", [](THandMade& f) { f.RulesVersion = 0; }, BadHeader},
      {"negative score", [](THandMade& f) { f.Score = -1; }, BadHeader},
      {"negative level", [](THandMade& f) { f.Level = -1; }, BadHeader},
      {"too many frames", [](THandMade& f) { f.FrameCount = kMaxRecordingFrames + 1; }, BadHeader},
      {"no compressed events at all", [](THandMade& f) { f.Compressed = ""; }, BadEvents},
      {"unknown kind",
       [](THandMade& f) {
         f.Events += Event(1, kInputKindCount, 0);
         ++f.EventCount;
       },
       BadEvents},
      {"an event on the frame count", [](THandMade& f) { f.FrameCount = 8; }, BadEvents},
      {"frames beyond 32 bits",
       [](THandMade& f) {
         f.Events += Event(UINT32_MAX, 1, 0);
         ++f.EventCount;
         f.FrameCount = kMaxRecordingFrames;
       },
       BadEvents},
      {"a value of more than five bytes", OnlyEvent(Event(0, 1, 1ull << 35)), BadEvents},
      {"a value beyond 32 bits", OnlyEvent(Event(0, 1, 1ull << 32)), BadEvents},
      {"lag of 0", OnlyEvent(Event(0, 0, 0)), BadEvents},
      {"focus 2", OnlyEvent(Event(0, 3, 2)), BadEvents},
      {"exit question 3", OnlyEvent(Event(0, 4, 3)), BadEvents},
      {"the last event cut off",
       [](THandMade& f) {
         f.Events = Event(0, 1, 1) + Event(300, 1, 1);
         f.Events.pop_back();
         f.EventCount = 2;
       },
       BadEvents},
      {"an event fewer than counted", [](THandMade& f) { ++f.EventCount; }, BadEvents},
      {"an event more than counted", [](THandMade& f) { --f.EventCount; }, BadEvents},
      {"count beyond what the bytes hold", [](THandMade& f) { f.EventCount = UINT32_MAX; }, BadEvents},
      {"events inflating to more than declared", [](THandMade& f) { f.EventBytes = 8; }, BadEvents},
      {"events inflating to less than declared", [](THandMade& f) { f.EventBytes = 10; }, BadEvents},
      {"more event bytes declared than allowed",
       [](THandMade& f) { f.EventBytes = static_cast<uint32_t>(kMaxRecordingEventBytes + 1); }, TooLarge},
      {"compressed events cut short", [](THandMade& f) { f.Compressed = Deflated(f.Events).substr(0, 6); },
       BadEvents},
      {"bytes after the compressed events", [](THandMade& f) { f.Compressed = Deflated(f.Events) + "x"; },
       BadEvents},
      {"events stored without compression", [](THandMade& f) { f.Compressed = f.Events; }, BadEvents},
      {"inflation bomb declaring its true size",
       [&bomb](THandMade& f) {
         f.Compressed = bomb;
         f.EventBytes = 64 << 20;
       },
       TooLarge},
      {"inflation bomb declaring the largest size allowed",
       [&bomb](THandMade& f) {
         f.Compressed = bomb;
         f.EventBytes = static_cast<uint32_t>(kMaxRecordingEventBytes);
       },
       BadEvents},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    THandMade file;
    c.Change(file);
    const std::string bytes = file.Bytes();
    const testing::TLargestAllocation largest;
    const TRecordingRefusal refusal = RefusalOf(bytes);
    EXPECT_EQ(refusal.Fault, c.Fault) << refusal.Reason;
    EXPECT_FALSE(refusal.Reason.empty());
    // Whatever the file claims, the reader keeps to its bound.
    EXPECT_LE(largest.Bytes(), kMaxRecordingEventBytes);
  }
}

TEST(RecordingFormat, TheGameCannotWriteWhatItWouldRefuse) {
  using TChange = std::function<void(TRecording&)>;
  const struct {
    const char* Name;
    TChange Change;
  } cases[] = {
      {"events out of frame order", [](TRecording& r) { std::swap(r.Events[0], r.Events.back()); }},
      {"an event on the frame count", [](TRecording& r) { r.Events.back().Frame = r.FrameCount; }},
      {"unknown kind", [](TRecording& r) { r.Events[0].Kind = static_cast<TInputKind>(kInputKindCount); }},
      {"lag of 0",
       [](TRecording& r) {
         r.Events[0] = {r.Events[0].Frame, TInputKind::Lag, 0};
       }},
      {"unknown seed source", [](TRecording& r) { r.SeedSource = static_cast<TSeedSource>(3); }},
      {"own seed with a ticket", [](TRecording& r) { r.SeedSource = TSeedSource::Own; }},
      {"name longer than its bound",
       [](TRecording& r) { r.PlayerName.assign(kMaxRecordingNameBytes + 1, 'a'); }},
      {"rules version not set", [](TRecording& r) { r.RulesVersion = 0; }},
      {"more frames than allowed", [](TRecording& r) { r.FrameCount = kMaxRecordingFrames + 1; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TRecording r = MakeSampleRecording(4, kSampleFramesPerMinute);
    c.Change(r);
    EXPECT_FALSE(RecordingFault(r).empty());
    EXPECT_THROW(EncodeRecording(r), std::invalid_argument);
  }
}

}  // namespace
}  // namespace bd
