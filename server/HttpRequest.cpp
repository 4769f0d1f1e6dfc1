#include "server/HttpRequest.h"

#include <algorithm>

#include "codec/AsciiText.h"

namespace bd::server {

namespace {

// The characters of a method or a field name.
bool IsTokenChar(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsTokenChar);
}

// A field value may hold visible characters, blanks and any byte above
// 0x7F, but no other control character (a lone CR above all).
bool IsFieldValue(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u == '\t' || (u >= 0x20 && u != 0x7F);
  });
}

// A request target in origin form: "/" and visible ASCII.
bool IsOriginTarget(std::string_view text) {
  return !text.empty() && text.front() == '/' && std::all_of(text.begin(), text.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u < 0x7F;
  });
}

// Splits `rest` at its next line end (LF, or CR LF); false when no line
// end is left. The line comes without its end.
bool NextLine(std::string_view& rest, std::string_view& line) {
  const size_t lf = rest.find('\n');
  if (lf == std::string_view::npos) return false;
  line = rest.substr(0, lf);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  rest.remove_prefix(lf + 1);
  return true;
}

// Whether a comma-separated field value lists `token`.
bool ListsToken(std::string_view value, std::string_view token) {
  while (!value.empty()) {
    const size_t comma = value.find(',');
    if (EqualsNoCase(TrimBlanks(value.substr(0, comma)), token)) return true;
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  return false;
}

THeadRefusal Bad(std::string reason) { return {400, std::move(reason)}; }

}  // namespace

std::string THttpRequest::Header(std::string_view lowerName) const {
  for (const auto& [name, value] : Headers)
    if (name == lowerName) return value;
  return {};
}

size_t THttpRequest::HeaderCount(std::string_view lowerName) const {
  return static_cast<size_t>(std::count_if(Headers.begin(), Headers.end(),
                                           [&](const auto& field) { return field.first == lowerName; }));
}

size_t FindHeadEnd(std::string_view data) {
  std::string_view rest = data;
  std::string_view line;
  bool started = false;
  while (NextLine(rest, line)) {
    if (!line.empty())
      started = true;
    else if (started)
      return data.size() - rest.size();
  }
  return std::string_view::npos;
}

std::variant<THttpRequest, THeadRefusal> ParseRequestHead(std::string_view head) {
  std::string_view rest = head;
  std::string_view line;
  do {
    if (!NextLine(rest, line)) return Bad("incomplete request");
  } while (line.empty());

  // method SP target SP version, with single spaces and nothing else.
  const size_t sp1 = line.find(' ');
  const size_t sp2 = sp1 == std::string_view::npos ? sp1 : line.find(' ', sp1 + 1);
  if (sp2 == std::string_view::npos || line.find(' ', sp2 + 1) != std::string_view::npos)
    return Bad("malformed request line");
  THttpRequest request;
  const std::string_view method = line.substr(0, sp1);
  const std::string_view target = line.substr(sp1 + 1, sp2 - sp1 - 1);
  const std::string_view version = line.substr(sp2 + 1);
  if (!IsToken(method) || method.size() > 16) return Bad("malformed method");
  if (!IsOriginTarget(target)) return Bad("malformed request target");
  if (version == "HTTP/1.1")
    request.MinorVersion = 1;
  else if (version == "HTTP/1.0")
    request.MinorVersion = 0;
  else if (version.size() == 8 && version.starts_with("HTTP/") && version[6] == '.')
    return THeadRefusal{505, "only HTTP/1.0 and HTTP/1.1 are served"};
  else
    return Bad("malformed protocol version");
  request.Method = method;
  request.Target = target;
  request.Path = target.substr(0, target.find('?'));

  while (NextLine(rest, line) && !line.empty()) {
    // A continued field (a line starting with a blank) is an old form that
    // proxies read in different ways.
    if (line.front() == ' ' || line.front() == '\t') return Bad("folded header field");
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return Bad("malformed header field");
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = TrimBlanks(line.substr(colon + 1));
    // No blank may stand between the name and its colon.
    if (!IsToken(name)) return Bad("malformed header field name");
    if (!IsFieldValue(value)) return Bad("malformed header field value");
    if (request.Headers.size() == kMaxHeaderFields) return THeadRefusal{431, "too many header fields"};
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
    request.Headers.emplace_back(std::move(lower), std::string(value));
  }

  // Only a POST takes a body, of the length it announces. A body left unread
  // would be taken for the next request on the connection, so any other
  // sign of one refuses the request.
  if (request.HeaderCount("transfer-encoding") > 0) return Bad("request bodies are not accepted");
  const size_t lengths = request.HeaderCount("content-length");
  if (lengths > 1) return Bad("more than one Content-Length");
  if (lengths == 1) {
    const std::string length = request.Header("content-length");
    if (length.empty() ||
        !std::all_of(length.begin(), length.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return Bad("malformed Content-Length");
    const size_t digits = length.size() - std::min(length.size(), length.find_first_not_of('0'));
    if (digits > 0 && request.Method != "POST") return Bad("request bodies are not accepted");
    // More than 18 digits is more than any limit; it stands as the largest.
    request.ContentLength = digits > 18 ? UINT64_MAX : std::stoull(length);
  }

  const std::string connection = request.Header("connection");
  request.KeepAlive =
      request.MinorVersion == 1 ? !ListsToken(connection, "close") : ListsToken(connection, "keep-alive");
  return request;
}

}  // namespace bd::server
