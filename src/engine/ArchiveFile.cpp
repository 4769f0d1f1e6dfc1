#include "engine/ArchiveFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "engine/Errors.h"

namespace bd {

std::vector<uint8_t> ReadArchiveFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) {
    const int err = errno;
    throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), std::strerror(err)));
  }
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace bd
