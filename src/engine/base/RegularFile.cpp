#include "engine/base/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace bd {

namespace {

TFileRead Failure(int error, const char* reason) {
  TFileRead failed;
  failed.error = error;
  failed.reason = reason;
  return failed;
}

}  // namespace

TFileRead ReadRegularFile(const std::string& path, size_t maxBytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Failure(errno, std::strerror(errno));
  TFileRead read;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    read = Failure(errno, std::strerror(errno));
  } else if (S_ISDIR(st.st_mode)) {
    read = Failure(EISDIR, std::strerror(EISDIR));
  } else if (!S_ISREG(st.st_mode)) {
    read = Failure(EINVAL, "Not a regular file");
  } else {
    read.bytes.reserve(std::min(static_cast<size_t>(st.st_size), maxBytes));
    uint8_t buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n > 0) {
        read.bytes.insert(read.bytes.end(), buffer, buffer + n);
        if (read.bytes.size() > maxBytes) {
          read = Failure(EFBIG, std::strerror(EFBIG));
          break;
        }
      } else if (n == 0) {
        break;
      } else if (errno != EINTR) {
        read = Failure(errno, std::strerror(errno));
        break;
      }
    }
  }
  ::close(fd);
  return read;
}

}  // namespace bd
