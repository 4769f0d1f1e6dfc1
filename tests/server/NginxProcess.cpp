#include "NginxProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace bd::test {

namespace {

using namespace std::chrono_literals;

bool Accepts(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  return ok;
}

std::filesystem::path NginxProgram() {
  for (const char* p : {"/usr/sbin/nginx", "/usr/bin/nginx"})
    if (::access(p, X_OK) == 0) return p;
  throw std::runtime_error("nginx is not installed: run scripts/install-deps.sh");
}

}  // namespace

int FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof addr;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("no free loopback port");
  }
  ::close(fd);
  return ntohs(addr.sin_port);
}

TNginxProcess::TNginxProcess(const std::vector<int>& upstreamPorts) {
  Start([upstreamPorts](int port) {
    std::ostringstream site;
    site << "  upstream scores {\n";
    for (int p : upstreamPorts) site << "    server 127.0.0.1:" << p << " max_fails=1 fail_timeout=10s;\n";
    site << "    keepalive 64;\n  }\n"
         << "  server {\n    listen 127.0.0.1:" << port << ";\n"
         << "    location / {\n      proxy_pass http://scores;\n      proxy_http_version 1.1;\n"
         << "      proxy_set_header Connection \"\";\n      proxy_set_header X-Forwarded-For $remote_addr;\n"
         << "      proxy_connect_timeout 1s;\n      proxy_read_timeout 15s;\n"
         << "      proxy_next_upstream error timeout;\n    }\n  }\n";
    return site.str();
  });
}

TNginxProcess::TNginxProcess(const std::function<std::string(int port)>& site) { Start(site); }

std::string SampleSite(int port, int upstreamPort) {
  const auto path =
      std::filesystem::path(BD_SOURCE_DIR) / "server" / "deploy" / "nginx-bumperdash-scores.conf";
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::stringstream whole;
  whole << in.rdbuf();
  const std::string text = whole.str();
  // The site's second server block: the one that proxies.
  const size_t tls = text.find("listen 443");
  const size_t begin = text.rfind("server {", tls);
  if (tls == std::string::npos || begin == std::string::npos)
    throw std::runtime_error("no TLS server block in " + path.string());
  size_t end = begin + 8;
  for (int depth = 1; depth > 0 && end < text.size(); ++end)
    depth += text[end] == '{' ? 1 : text[end] == '}' ? -1 : 0;
  std::istringstream block(text.substr(begin, end - begin));
  std::string site, line;
  const std::string upstream = "127.0.0.1:27183";
  while (std::getline(block, line)) {
    if (line.find("ssl") != std::string::npos || line.find("listen ") != std::string::npos) continue;
    if (const size_t at = line.find(upstream); at != std::string::npos)
      line.replace(at, upstream.size(), "127.0.0.1:" + std::to_string(upstreamPort));
    site += line + "\n";
    if (line.starts_with("server {")) site += "    listen 127.0.0.1:" + std::to_string(port) + ";\n";
  }
  return site;
}

void TNginxProcess::Start(const std::function<std::string(int port)>& site) {
  std::string pattern = (std::filesystem::temp_directory_path() / "bd-nginx-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  // Its workers may run as another user than the test; they read nothing
  // here but may keep temporary files.
  ::chmod(dir_.c_str(), 0755);
  // Another program may take the chosen port before nginx binds it.
  for (int attempt = 0; attempt < 5; ++attempt)
    if (TryStart(site)) return;
  const std::string log = ErrorLog();
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
  throw std::runtime_error("nginx did not start:\n" + log);
}

bool TNginxProcess::TryStart(const std::function<std::string(int port)>& site) {
  port_ = FreeLoopbackPort();
  const std::string d = dir_.string();
  std::ostringstream conf;
  conf << "daemon off;\nworker_processes 1;\npid " << d << "/nginx.pid;\nerror_log " << d
       << "/error.log warn;\n"
       << "events { worker_connections 1024; }\n"
       << "http {\n  access_log off;\n"
       << "  client_body_temp_path " << d << "/body;\n  proxy_temp_path " << d << "/proxy;\n"
       << "  fastcgi_temp_path " << d << "/fastcgi;\n  uwsgi_temp_path " << d << "/uwsgi;\n"
       << "  scgi_temp_path " << d << "/scgi;\n"
       << site(port_) << "}\n";
  std::ofstream(dir_ / "nginx.conf") << conf.str();

  const std::string program = NginxProgram().string();
  const std::string prefix = d + "/", errors = d + "/error.log", config = d + "/nginx.conf";
  std::vector<std::string> args = {program, "-p", prefix, "-e", errors, "-c", config};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                   0644);
  const int rc = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + program);

  const auto until = std::chrono::steady_clock::now() + 20s;
  while (std::chrono::steady_clock::now() < until) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return false;
    }
    if (Accepts(port_)) return true;
    std::this_thread::sleep_for(20ms);
  }
  StopProcess();
  return false;
}

void TNginxProcess::StopProcess() {
  if (pid_ <= 0) return;
  // SIGTERM: a fast stop of the master and its worker.
  ::kill(pid_, SIGTERM);
  const auto until = std::chrono::steady_clock::now() + 10s;
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(10ms);
  if (::waitpid(pid_, &status, WNOHANG) == 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
  }
  pid_ = -1;
}

TNginxProcess::~TNginxProcess() {
  StopProcess();
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string TNginxProcess::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::string TNginxProcess::ErrorLog() const {
  std::ifstream in(dir_ / "error.log");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace bd::test
