#include "server/HttpResponse.h"

#include <array>
#include <cstdio>
#include <ctime>

#include "codec/AsciiText.h"

namespace bd::server {

void THttpResponse::Set(std::string_view name, std::string value) {
  for (auto& field : Headers)
    if (EqualsNoCase(field.first, name)) {
      field.second = std::move(value);
      return;
    }
  Headers.emplace_back(std::string(name), std::move(value));
}

std::string THttpResponse::Get(std::string_view name) const {
  for (const auto& field : Headers)
    if (EqualsNoCase(field.first, name)) return field.second;
  return {};
}

std::string_view StatusText(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 204:
      return "No Content";
    case 304:
      return "Not Modified";
    case 400:
      return "Bad Request";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 408:
      return "Request Timeout";
    case 409:
      return "Conflict";
    case 413:
      return "Content Too Large";
    case 429:
      return "Too Many Requests";
    case 431:
      return "Request Header Fields Too Large";
    case 500:
      return "Internal Server Error";
    case 503:
      return "Service Unavailable";
    case 505:
      return "HTTP Version Not Supported";
    default:
      return "Unknown";
  }
}

std::string HttpDate(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm utc{};
  gmtime_r(&t, &utc);
  // Day and month names are English whatever the locale.
  static constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<char, 40> text{};
  std::snprintf(text.data(), text.size(), "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[utc.tm_wday % 7],
                utc.tm_mday, kMonths[utc.tm_mon % 12], utc.tm_year + 1900, utc.tm_hour, utc.tm_min,
                utc.tm_sec);
  return text.data();
}

std::string SerializeResponse(const THttpResponse& response, bool headOnly, bool keepAlive,
                              std::string_view date) {
  std::string out;
  out.reserve(256 + response.Body.size());
  out += "HTTP/1.1 ";
  out += std::to_string(response.Status);
  out += ' ';
  out += StatusText(response.Status);
  out += "\r\nDate: ";
  out += date;
  out += "\r\n";
  if (!response.ContentType.empty()) {
    out += "Content-Type: ";
    out += response.ContentType;
    out += "\r\n";
  }
  for (const auto& [name, value] : response.Headers) {
    out += name;
    out += ": ";
    out += value;
    out += "\r\n";
  }
  const bool hasBody = response.Status != 204 && response.Status != 304;
  if (hasBody) {
    out += "Content-Length: ";
    out += std::to_string(response.Body.size());
    out += "\r\n";
  }
  out += keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
  if (!headOnly && hasBody) out += response.Body;
  return out;
}

}  // namespace bd::server
