#include "codec/SeedReplyFormat.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <vector>

namespace bd {

namespace {

// A ticket is at most this long; anything longer is no ticket of ours.
constexpr size_t kMaxTicketLength = 256;

bool IsTicket(std::string_view text) {
  return !text.empty() && text.size() <= kMaxTicketLength &&
         std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
  int value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}

// The seed as the server writes it: decimal, no sign, no leading zeros.
std::optional<uint32_t> ParseSeed(std::string_view digits) {
  if (!IsDigits(digits) || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || value > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(value);
}

}  // namespace

bool IsSeedDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  const std::string_view year = text.substr(0, 4), month = text.substr(5, 2), day = text.substr(8, 2);
  if (!IsDigits(year) || !IsDigits(month) || !IsDigits(day)) return false;
  return Number(month) >= 1 && Number(month) <= 12 && Number(day) >= 1 && Number(day) <= 31;
}

std::string BuildSeedReply(const TSeedReply& reply) {
  if (!IsTicket(reply.Ticket)) throw std::invalid_argument("a seed ticket is lower-case hex");
  if (!reply.DailyDate.empty() && !IsSeedDate(reply.DailyDate))
    throw std::invalid_argument("a daily date is written YYYY-MM-DD");
  return "OK|" + std::to_string(reply.Seed) + "|" + reply.Ticket + "|" + reply.DailyDate + "|";
}

std::optional<TSeedReply> ParseSeedReply(std::string_view text) {
  if (text.ends_with("\r\n"))
    text.remove_suffix(2);
  else if (text.ends_with('\n'))
    text.remove_suffix(1);
  std::vector<std::string_view> fields;
  while (!text.empty()) {
    const size_t bar = text.find('|');
    if (bar == std::string_view::npos) return std::nullopt;  // every field ends with "|"
    fields.push_back(text.substr(0, bar));
    text.remove_prefix(bar + 1);
  }
  if (fields.size() != 4 || fields[0] != "OK") return std::nullopt;
  const auto seed = ParseSeed(fields[1]);
  if (!seed || !IsTicket(fields[2])) return std::nullopt;
  if (!fields[3].empty() && !IsSeedDate(fields[3])) return std::nullopt;
  return TSeedReply{*seed, std::string(fields[2]), std::string(fields[3])};
}

}  // namespace bd
