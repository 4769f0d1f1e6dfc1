#include "codec/RecordingFormat.h"

#include <zlib.h>

#include <optional>
#include <stdexcept>

#include "codec/CompressedBytes.h"
#include "codec/CountText.h"
#include "codec/RecordingEvents.h"

namespace bd {
namespace {

// Offsets of the fields every version keeps, and of the checksummed part.
constexpr size_t kVersionOffset = 4;
constexpr size_t kFileSizeOffset = 6;
constexpr size_t kChecksumOffset = 10;
constexpr size_t kChecksummedOffset = 14;

uint32_t Crc32(std::string_view bytes) {
  return static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

void PutU8(std::string& out, uint32_t v) { out.push_back(static_cast<char>(v & 0xFF)); }
void PutU16(std::string& out, uint32_t v) {
  PutU8(out, v);
  PutU8(out, v >> 8);
}
void PutU32(std::string& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
void SetU32(std::string& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Little-endian fields from the front of the file; running past the end
// sets a flag instead of reading, and every later read gives zero.
class TFieldReader {
 public:
  explicit TFieldReader(std::string_view bytes) : rest_(bytes) {}

  bool Overrun() const { return overrun_; }
  std::string_view Rest() const { return rest_; }

  std::string_view Bytes(size_t n) {
    if (overrun_ || n > rest_.size()) {
      overrun_ = true;
      return {};
    }
    const std::string_view out = rest_.substr(0, n);
    rest_.remove_prefix(n);
    return out;
  }
  uint32_t Number(size_t n) {
    uint32_t v = 0;
    const std::string_view b = Bytes(n);
    for (size_t i = 0; i < b.size(); ++i)
      v |= static_cast<uint32_t>(static_cast<unsigned char>(b[i])) << (8 * i);
    return v;
  }
  uint8_t U8() { return static_cast<uint8_t>(Number(1)); }
  uint16_t U16() { return static_cast<uint16_t>(Number(2)); }
  uint32_t U32() { return Number(4); }
  int32_t I32() { return static_cast<int32_t>(Number(4)); }

 private:
  std::string_view rest_;
  bool overrun_ = false;
};

TRecordingRefusal Refusal(TRecordingFault fault, std::string reason) { return {fault, std::move(reason)}; }

// The magic number, the version, the declared size and the checksum: what
// tells whether these bytes are an intact recording of a layout we read.
std::optional<TRecordingRefusal> CheckFrame(std::string_view bytes) {
  using enum TRecordingFault;
  if (bytes.size() > kMaxRecordingFileBytes)
    return Refusal(TooLarge, "the file has " + CountText(bytes.size(), "byte") + ", more than the " +
                                 std::to_string(kMaxRecordingFileBytes) + " a recording may have");
  if (!bytes.starts_with(kRecordingMagic)) {
    if (!bytes.empty() && kRecordingMagic.starts_with(bytes))
      return Refusal(Truncated, "the file ends in its magic number");
    return Refusal(NotARecording, "the file does not start with a recording's magic number");
  }
  if (bytes.size() < kFileSizeOffset) return Refusal(Truncated, "the file ends before its format version");
  TFieldReader head(bytes.substr(kVersionOffset));
  const uint16_t version = head.U16();
  if (version != kRecordingFormatVersion)
    return Refusal(UnknownVersion, "the file is of format version " + std::to_string(version) +
                                       ", this game reads version " +
                                       std::to_string(kRecordingFormatVersion));
  if (bytes.size() < kChecksummedOffset) return Refusal(Truncated, "the file ends before its checksum");
  const uint32_t declaredSize = head.U32();
  const uint32_t checksum = head.U32();
  if (declaredSize > bytes.size())
    return Refusal(Truncated, "the file has " + CountText(bytes.size(), "byte") + " of the " +
                                  std::to_string(declaredSize) + " it was written with");
  if (declaredSize < bytes.size())
    return Refusal(TrailingBytes, CountText(bytes.size() - declaredSize, "byte") + " follow the " +
                                      std::to_string(declaredSize) + " the file was written with");
  if (Crc32(bytes.substr(kChecksummedOffset)) != checksum)
    return Refusal(ChecksumMismatch,
                   "the checksum does not match: the file was changed after it was written");
  return std::nullopt;
}

}  // namespace

std::string EncodeRecording(const TRecording& r) {
  if (const std::string fault = RecordingFault(r); !fault.empty())
    throw std::invalid_argument("cannot write the recording: " + fault);
  const std::string events = WriteRecordingEvents(r.Events);
  if (events.size() > kMaxRecordingEventBytes)
    throw std::invalid_argument("cannot write the recording: its events take more than " +
                                std::to_string(kMaxRecordingEventBytes) + " bytes");

  std::string out(kRecordingMagic);
  PutU16(out, kRecordingFormatVersion);
  PutU32(out, 0);  // the file's size and
  PutU32(out, 0);  // its checksum, set below
  PutU32(out, r.RulesVersion);
  PutU32(out, r.Seed);
  PutU8(out, static_cast<uint8_t>(r.SeedSource));
  PutU32(out, static_cast<uint32_t>(r.FinalScore));
  PutU32(out, static_cast<uint32_t>(r.FinalLevel));
  PutU32(out, r.FrameCount);
  PutU32(out, static_cast<uint32_t>(r.Events.size()));
  PutU32(out, static_cast<uint32_t>(events.size()));
  PutU8(out, static_cast<uint32_t>(r.PlayerName.size()));
  out += r.PlayerName;
  PutU16(out, static_cast<uint32_t>(r.SeedTicket.size()));
  out += r.SeedTicket;
  out += DeflateBytes(events);

  if (out.size() > kMaxRecordingFileBytes)
    throw std::invalid_argument("cannot write the recording: the file would take more than " +
                                std::to_string(kMaxRecordingFileBytes) + " bytes");
  SetU32(out, kFileSizeOffset, static_cast<uint32_t>(out.size()));
  SetU32(out, kChecksumOffset, Crc32(std::string_view(out).substr(kChecksummedOffset)));
  return out;
}

std::variant<TRecording, TRecordingRefusal> DecodeRecording(std::string_view bytes) {
  using enum TRecordingFault;
  if (auto refusal = CheckFrame(bytes)) return *refusal;

  TFieldReader in(bytes.substr(kChecksummedOffset));
  TRecording r;
  r.RulesVersion = in.U32();
  r.Seed = in.U32();
  r.SeedSource = static_cast<TSeedSource>(in.U8());
  r.FinalScore = in.I32();
  r.FinalLevel = in.I32();
  r.FrameCount = in.U32();
  const uint32_t eventCount = in.U32();
  const uint32_t eventBytes = in.U32();
  const uint8_t nameLength = in.U8();
  if (nameLength > kMaxRecordingNameBytes)
    return Refusal(BadHeader,
                   "the player's name is longer than " + std::to_string(kMaxRecordingNameBytes) + " bytes");
  r.PlayerName = in.Bytes(nameLength);
  const uint16_t ticketLength = in.U16();
  if (ticketLength > kMaxRecordingTicketBytes)
    return Refusal(BadHeader,
                   "the seed ticket is longer than " + std::to_string(kMaxRecordingTicketBytes) + " bytes");
  r.SeedTicket = in.Bytes(ticketLength);
  if (in.Overrun()) return Refusal(BadHeader, "the header runs past the end of the file");
  if (const std::string fault = RecordingHeaderFault(r); !fault.empty()) return Refusal(BadHeader, fault);
  if (eventBytes > kMaxRecordingEventBytes)
    return Refusal(TooLarge, "the events take " + CountText(eventBytes, "byte") + ", more than the " +
                                 std::to_string(kMaxRecordingEventBytes) + " a recording may have");

  std::string reason;
  const std::optional<std::string> events = InflateExactly(in.Rest(), eventBytes, &reason);
  if (!events) return Refusal(BadEvents, reason);
  if (reason = ReadRecordingEvents(*events, eventCount, r.Events); !reason.empty())
    return Refusal(BadEvents, reason);
  if (reason = RecordingEventsFault(r); !reason.empty()) return Refusal(BadEvents, reason);
  return r;
}

}  // namespace bd
