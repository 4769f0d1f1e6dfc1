#include "support/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace bd::test {

namespace {

constexpr int kPollMs = 20;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// A socket bound to an ephemeral loopback port; returns the descriptor and the port.
int BindLoopback(uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket() failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("bind() on loopback failed");
  }
  port = ntohs(address.sin_port);
  return fd;
}

const char* Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

bool SendAll(int fd, const std::string& data) {
  size_t sent = 0;
  while (sent < data.size()) {
    const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string TRecordedRequest::Header(const std::string& name) const {
  const std::string wanted = Lower(name);
  for (const auto& [key, value] : Headers)
    if (Lower(key) == wanted) return value;
  return {};
}

bool TRecordedRequest::HasHeader(const std::string& name) const {
  const std::string wanted = Lower(name);
  return std::any_of(Headers.begin(), Headers.end(), [&](const auto& h) { return Lower(h.first) == wanted; });
}

TLoopbackServer::TLoopbackServer(THandler handler) : handler_(std::move(handler)) {
  listener_ = BindLoopback(port_);
  if (::listen(listener_, 8) != 0) {
    ::close(listener_);
    throw std::runtime_error("listen() failed");
  }
  thread_ = std::thread([this] { Run(); });
}

TLoopbackServer::~TLoopbackServer() {
  stop_ = true;
  thread_.join();
  ::close(listener_);
}

std::string TLoopbackServer::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<TRecordedRequest> TLoopbackServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void TLoopbackServer::Run() {
  while (!stop_) {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, kPollMs) <= 0) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    Serve(connection);
    ::close(connection);
  }
}

void TLoopbackServer::Serve(int connection) {
  // Read up to the blank line that ends the request head; GET has no body.
  std::string head;
  while (!stop_ && head.find("\r\n\r\n") == std::string::npos) {
    pollfd p{connection, POLLIN, 0};
    if (::poll(&p, 1, kPollMs) <= 0) continue;
    char buffer[4096];
    const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    head.append(buffer, static_cast<size_t>(n));
  }
  if (stop_) return;

  TRecordedRequest request;
  size_t lineStart = 0;
  bool first = true;
  for (;;) {
    const size_t lineEnd = head.find("\r\n", lineStart);
    if (lineEnd == std::string::npos || lineEnd == lineStart) break;
    const std::string line = head.substr(lineStart, lineEnd - lineStart);
    lineStart = lineEnd + 2;
    if (first) {
      const size_t a = line.find(' ');
      const size_t b = line.find(' ', a + 1);
      request.Method = line.substr(0, a);
      request.Target = line.substr(a + 1, b - a - 1);
      first = false;
      continue;
    }
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    size_t valueStart = colon + 1;
    while (valueStart < line.size() && line[valueStart] == ' ') ++valueStart;
    request.Headers.emplace_back(line.substr(0, colon), line.substr(valueStart));
  }
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }

  const TCannedReply reply = handler_(request);
  if (reply.Silent) {
    while (!stop_) ::poll(nullptr, 0, kPollMs);
    return;
  }
  std::string response = "HTTP/1.1 " + std::to_string(reply.Status) + " " + Reason(reply.Status) + "\r\n";
  response += "Content-Type: text/html\r\n";
  response += "Content-Length: " + std::to_string(reply.Body.size()) + "\r\n";
  response += "Connection: close\r\n";
  for (const std::string& header : reply.ExtraHeaders) response += header + "\r\n";
  response += "\r\n";
  response += reply.Body;
  SendAll(connection, response);
}

TRefusingPort::TRefusingPort() { socket_ = BindLoopback(port_); }

TRefusingPort::~TRefusingPort() { ::close(socket_); }

std::string TRefusingPort::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

}  // namespace bd::test
