#include "engine/ArchiveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/Errors.h"

namespace bd {

namespace {

[[noreturn]] void CannotOpen(const std::string& fileName, const char* reason) {
  throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), reason));
}

}  // namespace

std::vector<uint8_t> ReadArchiveFile(const std::string& fileName) {
  // Not blocking: a pipe in the file's place must not stall the game; it is
  // refused below like a folder.
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) CannotOpen(fileName, std::strerror(errno));
  struct stat st {};
  const char* refusal = nullptr;
  if (::fstat(fd, &st) != 0)
    refusal = std::strerror(errno);
  else if (S_ISDIR(st.st_mode))
    refusal = std::strerror(EISDIR);
  else if (!S_ISREG(st.st_mode))
    refusal = "Not a regular file";
  if (refusal != nullptr) {
    ::close(fd);
    CannotOpen(fileName, refusal);
  }

  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(st.st_size));
  uint8_t buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      bytes.insert(bytes.end(), buffer, buffer + n);
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      const int err = errno;
      ::close(fd);
      CannotOpen(fileName, std::strerror(err));
    }
  }
  ::close(fd);
  return bytes;
}

void LoadArchiveFile(const std::string& fileName, const std::function<void(std::span<const uint8_t>)>& load) {
  const std::vector<uint8_t> bytes = ReadArchiveFile(fileName);
  try {
    load(bytes);
  } catch (EError& e) {
    if (bytes.empty())
      e.SetMessage(Format("The file \"%s\" is empty.", fileName.c_str()));
    else
      e.SetMessage(Format("The file \"%s\" is damaged (%s).", fileName.c_str(), e.what()));
    throw;
  }
}

}  // namespace bd
