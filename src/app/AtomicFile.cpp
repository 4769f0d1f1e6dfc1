#include "app/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace bd {
namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, const char* what, int err) {
  throw EInOutError(Format("Cannot write '%s' (%s): %s", path.c_str(), what, std::strerror(err)));
}

// Makes the rename itself durable. A failure here leaves a complete file
// either way, so it is not reported.
void SyncDirectoryOf(const std::filesystem::path& path) {
  std::filesystem::path dir = path.parent_path();
  if (dir.empty()) dir = ".";
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::filesystem::path TemporaryPathFor(const std::filesystem::path& path) {
  std::filesystem::path tmp = path;
  tmp += ".tmp";
  return tmp;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view data, const TWriteCall& write) {
  const std::filesystem::path tmp = TemporaryPathFor(path);

  // A crashed earlier save may have left its temporary file; start afresh
  // (O_EXCL below then also refuses to follow a planted link).
  if (::unlink(tmp.c_str()) != 0 && errno != ENOENT) Fail(tmp, "remove", errno);
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) Fail(tmp, "create", errno);

  auto abandon = [&](const char* what, int err) {
    ::close(fd);
    ::unlink(tmp.c_str());
    Fail(path, what, err);
  };

  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);

  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    const ssize_t n = write ? write(fd, p, left) : ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      abandon("write", errno);
    }
    if (n == 0) abandon("write", EIO);
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) abandon("flush", errno);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    Fail(path, "close", err);
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    Fail(path, "rename", err);
  }
  SyncDirectoryOf(path);
}

}  // namespace bd
