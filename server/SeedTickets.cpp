#include "server/SeedTickets.h"

#include <openssl/crypto.h>

#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "server/Tokens.h"

namespace bd::server {

namespace {

// The layout of a ticket's bytes, before hex.
constexpr size_t kKindAt = 0;
constexpr size_t kSeedAt = 1;
constexpr size_t kDayAt = 5;
constexpr size_t kNonceAt = 9;
constexpr size_t kNonceBytes = 8;
constexpr size_t kIssuedAt = 17;
constexpr size_t kExpiresAt = 25;
constexpr size_t kSignedBytes = 33;
constexpr size_t kMacBytes = 16;
constexpr size_t kTicketBytes = kSignedBytes + kMacBytes;

constexpr uint8_t kFreshKind = 1;
constexpr uint8_t kDailyKind = 2;

// Signatures of tickets and of the day's seeds are kept apart from the
// tokens' (and from each other) by a prefix: no one of them passes for
// another.
constexpr std::string_view kTicketDomain = "bumperdash seed ticket\n";
constexpr std::string_view kDailyDomain = "bumperdash daily seed\n";

void PutBigEndian(std::string& out, uint64_t value, int bytes) {
  for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

uint64_t GetBigEndian(std::string_view raw, size_t at, size_t bytes) {
  uint64_t value = 0;
  for (size_t i = at; i < at + bytes; ++i) value = (value << 8) | static_cast<unsigned char>(raw[i]);
  return value;
}

using TDays = std::chrono::duration<int64_t, std::ratio<86400>>;

uint32_t DayNumber(int64_t unixMs) {
  return static_cast<uint32_t>(std::chrono::floor<TDays>(std::chrono::milliseconds(unixMs)).count());
}

std::string DateOfDay(uint32_t day) {
  const std::chrono::year_month_day date{std::chrono::sys_days(std::chrono::days(day))};
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return text;
}

}  // namespace

std::string UtcDate(int64_t unixMs) { return DateOfDay(DayNumber(unixMs)); }

TSeedTickets::TSeedTickets(std::string secret, int64_t lifetimeMs)
    : secret_(std::move(secret)), lifetimeMs_(lifetimeMs) {
  if (secret_.empty()) throw std::invalid_argument("a ticket secret cannot be empty");
}

std::string TSeedTickets::Mac(std::string_view signedPart) const {
  return HmacSha256(secret_, std::string(kTicketDomain) + std::string(signedPart)).substr(0, kMacBytes);
}

std::string TSeedTickets::Sign(uint8_t kind, uint32_t seed, uint32_t day, int64_t nowMs) const {
  std::string raw(1, static_cast<char>(kind));
  PutBigEndian(raw, seed, 4);
  PutBigEndian(raw, day, 4);
  raw += RandomBytes(kNonceBytes);
  PutBigEndian(raw, static_cast<uint64_t>(nowMs), 8);
  PutBigEndian(raw, static_cast<uint64_t>(nowMs + lifetimeMs_), 8);
  raw += Mac(raw);
  return ToHex(raw);
}

TIssuedSeed TSeedTickets::IssueFresh(int64_t nowMs) const {
  const std::string bytes = RandomBytes(4);
  const auto seed = static_cast<uint32_t>(GetBigEndian(bytes, 0, 4));
  return {seed, Sign(kFreshKind, seed, 0, nowMs), {}};
}

uint32_t TSeedTickets::DailySeed(std::string_view date) const {
  const std::string mac = HmacSha256(secret_, std::string(kDailyDomain) + std::string(date));
  return static_cast<uint32_t>(GetBigEndian(mac, 0, 4));
}

TIssuedSeed TSeedTickets::IssueDaily(int64_t nowMs) const {
  const uint32_t day = DayNumber(nowMs);
  const std::string date = DateOfDay(day);
  const uint32_t seed = DailySeed(date);
  return {seed, Sign(kDailyKind, seed, day, nowMs), date};
}

TSeedCheck TSeedTickets::Check(std::string_view ticket, uint32_t seed, int64_t nowMs) const {
  TSeedCheck check;
  std::string raw;
  if (ticket.size() != kTicketBytes * 2 || !FromHex(ticket, raw)) return check;
  const std::string expected = Mac(std::string_view(raw).substr(0, kSignedBytes));
  if (CRYPTO_memcmp(expected.data(), raw.data() + kSignedBytes, kMacBytes) != 0) return check;

  const auto kind = static_cast<uint8_t>(raw[kKindAt]);
  const auto day = static_cast<uint32_t>(GetBigEndian(raw, kDayAt, 4));
  if (GetBigEndian(raw, kSeedAt, 4) != seed) return check;
  if (kind == kDailyKind) {
    check.DailyDate = DateOfDay(day);
    if (DailySeed(check.DailyDate) != seed) return check;
  } else if (kind != kFreshKind || day != 0) {
    return check;
  }
  check.Id = ToHex(std::string_view(raw).substr(kNonceAt, kNonceBytes));
  check.IssuedAtMs = static_cast<int64_t>(GetBigEndian(raw, kIssuedAt, 8));
  check.ExpiresAtMs = static_cast<int64_t>(GetBigEndian(raw, kExpiresAt, 8));
  if (nowMs >= check.ExpiresAtMs)
    check.Verdict = TSeedVerdict::Expired;
  else
    check.Verdict = kind == kDailyKind ? TSeedVerdict::Daily : TSeedVerdict::Valid;
  return check;
}

}  // namespace bd::server
